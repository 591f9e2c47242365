// Byte layout of the filter file ("인명FLT"): no header, one little-endian i32 dong code per
// master record, entry r (1-based) at byte (r - 1) x kEntrySize.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/ByteOrder.h"

namespace zendari::filter_format {

inline constexpr std::size_t kEntrySize = 4;

// The dong code of entry k (0-based) of `entries`.
inline std::int32_t code_at(const std::byte* entries, std::uint64_t k) noexcept {
    return load_i32le(entries + kEntrySize * k);
}

}  // namespace zendari::filter_format
