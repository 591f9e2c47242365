// Little-endian loads and stores for the CD's binary files. Every multi-byte number on the
// CD is little-endian; going through memcpy keeps us clear of alignment and aliasing traps.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zendari {

// Reverses the bytes of an unsigned or signed integer (std::byteswap arrives with C++23).
template <typename T>
constexpr T swap_bytes(T v) noexcept {
    T out{};
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out = static_cast<T>((out << 8) | ((v >> (8 * i)) & 0xFF));
    }
    return out;
}

template <typename T>
inline T load_le(const std::byte* p) noexcept {
    T v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) v = swap_bytes(v);
    return v;
}

template <typename T>
inline void store_le(std::byte* p, T v) noexcept {
    if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) v = swap_bytes(v);
    std::memcpy(p, &v, sizeof v);
}

inline std::uint16_t load_u16le(const std::byte* p) noexcept {
    return load_le<std::uint16_t>(p);
}
inline std::uint32_t load_u32le(const std::byte* p) noexcept {
    return load_le<std::uint32_t>(p);
}
inline std::int32_t load_i32le(const std::byte* p) noexcept {
    return load_le<std::int32_t>(p);
}
inline std::uint64_t load_u64le(const std::byte* p) noexcept {
    return load_le<std::uint64_t>(p);
}

}  // namespace zendari
