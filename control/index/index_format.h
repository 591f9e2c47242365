// Byte layout of our ordered key index files (see doc/index_format.md). The file is written
// once by IndexWriter and only read afterwards: a header, prefix-compressed key blocks and a
// directory of block offsets for binary search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/BlockFileHeader.h"

namespace zendari::index_format {

inline constexpr char kMagic[8] = {'T', 'V', 'N', 'O', 'D', 'I', 'X', '\x1a'};
inline constexpr std::uint32_t kVersion = 1;

// Header fields (offsets into the header shared with the consonant index).
inline constexpr std::size_t kHeaderSize = block_file::kHeaderSize;
inline constexpr std::size_t kMagicAt = block_file::kMagicAt;
inline constexpr std::size_t kVersionAt = block_file::kVersionAt;
inline constexpr std::size_t kKeyCountAt = block_file::kCountAt;
inline constexpr std::size_t kBlockCountAt = block_file::kBlockCountAt;
inline constexpr std::size_t kKeysPerBlockAt = block_file::kPerBlockAt;
inline constexpr std::size_t kDirectoryAt = block_file::kDirectoryAt;
inline constexpr std::size_t kFileSizeAt = block_file::kFileSizeAt;
inline constexpr std::size_t kBodyChecksumAt = block_file::kBodyChecksumAt;
inline constexpr std::size_t kReservedAt = block_file::kReservedAt;
inline constexpr std::size_t kHeaderChecksumAt = block_file::kHeaderChecksumAt;

// A key is at most 127 bytes so that it fits the key record's 128-byte text with its NUL.
inline constexpr std::size_t kMaxKeyLength = 127;

// A region name index ends with the end key, whose value is one past the region's last
// record. Names never begin with its first byte or any byte above (the CD builder refuses
// them), so one rule tells the end everywhere: a key that begins with 0xF9 or above is the
// end of the names.
inline constexpr std::string_view kEndKey = "\xF9\xBB";
inline constexpr unsigned char kEndKeyLead = 0xF9;
inline constexpr bool is_end_key(std::string_view key) noexcept {
    return !key.empty() && static_cast<unsigned char>(key.front()) >= kEndKeyLead;
}
inline constexpr std::uint32_t kDefaultKeysPerBlock = 16;
inline constexpr std::uint32_t kMaxKeysPerBlock = 1024;

// Entry: u8 bytes shared with the previous key of the block, u8 suffix length, the suffix,
// i32 value. The first entry of a block shares nothing, so a block decodes on its own.
inline constexpr std::size_t kEntryFixedSize = 2 + 4;

}  // namespace zendari::index_format
