// Byte layout of the consonant index ("SEOUL.cho" beside "SEOUL.ndx"), an auxiliary file of
// ours: a region's names ordered by their initial-consonant strings, so that typing ㄱㅇㅅ finds
// 김영수 with one binary search. Each entry names its key in the region name index by ordinal;
// the reader checks every entry against that index before it uses the file, and answers
// without it (no names) when anything disagrees.
//
//   header (64 bytes) | blocks of entries | directory: block_count + 1 x u32 block starts
//   entry: u8 name length n (1..127) | n bytes of the name | u32 ordinal in the name index
//   order: consonant string ascending, then record count descending, then name ascending
#pragma once

#include <cstddef>
#include <cstdint>

namespace zendari::chosung_format {

inline constexpr char kMagic[8] = {'T', 'V', 'C', 'H', 'O', 'S', 'G', '\x1a'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kMagicAt = 0;             // 8 bytes
inline constexpr std::size_t kVersionAt = 8;           // u32
inline constexpr std::size_t kEntryCountAt = 12;       // u32, = the name index's keys - 1
inline constexpr std::size_t kBlockCountAt = 16;       // u32
inline constexpr std::size_t kEntriesPerBlockAt = 20;  // u32, 1..1024
inline constexpr std::size_t kDirectoryAt = 24;        // u64, file offset of the directory
inline constexpr std::size_t kFileSizeAt = 32;         // u64, < 4 GiB
inline constexpr std::size_t kBodyChecksumAt = 40;     // u64 over bytes [64, file size)
inline constexpr std::size_t kReservedAt = 48;         // u64, zero
inline constexpr std::size_t kHeaderChecksumAt = 56;   // u64 over bytes [0, 56)

inline constexpr std::uint32_t kDefaultEntriesPerBlock = 16;
inline constexpr std::uint32_t kMaxEntriesPerBlock = 1024;
// Name length byte and ordinal around the name's bytes.
inline constexpr std::size_t kEntryFixedSize = 1 + 4;
// The file beside a region name index: its name with this extension instead of the index's.
inline constexpr const char* kExtension = ".cho";

}  // namespace zendari::chosung_format
