// A fast 64-bit checksum over a byte range, used by the headers of our binary CD files to
// tell a damaged or foreign file from a good one. Not cryptographic.
#pragma once

#include <cstdint>
#include <span>

#include "common/ByteOrder.h"

namespace zendari {

inline std::uint64_t checksum64(std::span<const std::byte> bytes) noexcept {
    constexpr std::uint64_t kMul1 = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMul2 = 0xC2B2AE3D27D4EB4Full;
    std::uint64_t h = 0x27D4EB2F165667C5ull ^ (bytes.size() * kMul1);
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        h ^= load_u64le(bytes.data() + i) * kMul1;
        h = ((h << 31) | (h >> 33)) * kMul2;
    }
    for (; i < bytes.size(); ++i) {
        h ^= static_cast<std::uint64_t>(bytes[i]) * kMul1;
        h = ((h << 23) | (h >> 41)) * kMul2;
    }
    h ^= h >> 29;
    h *= kMul1;
    h ^= h >> 32;
    return h;
}

}  // namespace zendari
