// The dong table: entry n (1-based) is a ':'-separated CP949 record in the text file, found
// through the offset file, a flat array of little-endian u32 offsets that keeps one more
// offset than entries (entry n runs from offset n-1 up to offset n).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "data/FileWindow.h"

namespace zendari {

class DongTable {
public:
    static constexpr std::int32_t kOutOfRange = -203;
    static constexpr std::int32_t kTextWindow = 65'536;
    static constexpr std::int32_t kOffsetWindow = 4'096;

    // Opens the text and offset files. Only a never-opened table opens; success is status 0.
    [[nodiscard]] bool open(const std::string& text_path, const std::string& offset_path);

    struct Entry {
        std::span<const std::byte> text;  // empty = none; valid until the next entry() call
        std::int32_t start = -1;
        std::int32_t length = 0;
    };
    // Entry n. An out-of-range n sets kOutOfRange, which the next call clears; any other
    // failing status makes every call return none.
    Entry entry(std::int32_t n);

    std::int32_t status() const noexcept { return status_; }
    std::int32_t entry_count() const noexcept { return entry_count_; }
    const FileWindow& text_window() const noexcept { return text_; }

private:
    std::int32_t status_ = FileWindow::kNeverOpened;
    std::int32_t entry_count_ = 0;
    FileWindow text_;
    FileWindow offsets_;
};

// Field 1 of a dong table entry (the text after the first ':' up to the next ':' or NUL)
// with its last 10 bytes cut: the printable dong name. An entry without a ':' reads "0".
std::string dong_name_of_entry(std::span<const std::byte> entry);

}  // namespace zendari
