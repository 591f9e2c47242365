// The 64-byte header that our block files share (the region name indexes and the consonant
// indexes beside them): magic, version, entry count, block count, entries per block, the
// directory's offset, the file size, a checksum of the body, a reserved word and the header's
// own checksum. Offsets in doc/index_format.md; each file keeps its own magic and version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zendari::block_file {

inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kMagicAt = 0;            // 8 bytes
inline constexpr std::size_t kVersionAt = 8;          // u32
inline constexpr std::size_t kCountAt = 12;           // u32, entries (keys)
inline constexpr std::size_t kBlockCountAt = 16;      // u32
inline constexpr std::size_t kPerBlockAt = 20;        // u32
inline constexpr std::size_t kDirectoryAt = 24;       // u64, file offset of the directory
inline constexpr std::size_t kFileSizeAt = 32;        // u64
inline constexpr std::size_t kBodyChecksumAt = 40;    // u64 over bytes [kHeaderSize, size)
inline constexpr std::size_t kReservedAt = 48;        // u64, zero
inline constexpr std::size_t kHeaderChecksumAt = 56;  // u64 over bytes [0, 56)

struct Fields {
    std::uint32_t version = 0;
    std::uint32_t count = 0;
    std::uint32_t block_count = 0;
    std::uint32_t per_block = 0;
    std::uint64_t directory = 0;
};

// Writes the header of the whole file `image` (body already in place): `fields`, the size,
// and both checksums.
void stamp(std::span<std::byte> image, const char (&magic)[8], const Fields& fields);

// Reads the header of the whole file `image`: false unless the magic, the header checksum,
// `version`, the size (that of `image`, below 4 GiB) and the body checksum are right, and the
// layout adds up: 1 to `most_per_block` entries a block, as many blocks as the count needs,
// and the directory (one more start than blocks) ending the file after the header. What the
// blocks hold is the caller's to check.
[[nodiscard]] bool read(std::span<const std::byte> image, const char (&magic)[8],
                        std::uint32_t version, std::uint32_t most_per_block, Fields& fields);

}  // namespace zendari::block_file
