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

#include "common/BlockFileHeader.h"

namespace zendari::chosung_format {

inline constexpr char kMagic[8] = {'T', 'V', 'C', 'H', 'O', 'S', 'G', '\x1a'};
inline constexpr std::uint32_t kVersion = 1;
// The header is the name index's (common/BlockFileHeader.h), its count the entries'.
inline constexpr std::size_t kHeaderSize = block_file::kHeaderSize;
inline constexpr std::size_t kBodyChecksumAt = block_file::kBodyChecksumAt;
inline constexpr std::size_t kHeaderChecksumAt = block_file::kHeaderChecksumAt;

inline constexpr std::uint32_t kDefaultEntriesPerBlock = 16;
inline constexpr std::uint32_t kMaxEntriesPerBlock = 1024;
// Name length byte and ordinal around the name's bytes.
inline constexpr std::size_t kEntryFixedSize = 1 + 4;
// The file beside a region name index: its name with this extension instead of the index's.
inline constexpr const char* kExtension = ".cho";

}  // namespace zendari::chosung_format
