// The name entry string of a name lookup, "%s:%ld:%ld:" (name, first record, record count),
// composed on the stack and copied out once: a keystroke asks for thirty of them. The name is
// copied in first, so the cursor it came from may move on before the numbers are known.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "index/index_format.h"

namespace zendari {

class NameEntry {
public:
    explicit NameEntry(std::string_view name) noexcept
        : at_(entry_ + std::min(name.size(), index_format::kMaxKeyLength)) {
        std::memcpy(entry_, name.data(), static_cast<std::size_t>(at_ - entry_));
    }
    std::string finish(std::int64_t first, std::int64_t count) {
        *at_++ = ':';
        at_ = std::to_chars(at_, at_ + kDigits, first).ptr;
        *at_++ = ':';
        at_ = std::to_chars(at_, at_ + kDigits, count).ptr;
        *at_++ = ':';
        return std::string(entry_, at_);
    }

private:
    static constexpr std::size_t kDigits = 20;
    char entry_[index_format::kMaxKeyLength + 2 * kDigits + 3];
    char* at_;
};

}  // namespace zendari
