// Byte layout of the dong posting file, an auxiliary file of ours: for every dong code the
// ascending record numbers of its subscribers. It lets a dong scan jump to the matches of a
// record range instead of testing every record's filter entry. The header binds the file to
// the filter file it was made from; a reader that finds any mismatch ignores the file.
//
//   header (64 bytes) | directory: dong_count x {i32 code, u32 first, u32 count}, ascending
//   code | postings: record_count x u32 record number
#pragma once

#include <cstddef>
#include <cstdint>

namespace zendari::posting_format {

inline constexpr char kMagic[8] = {'T', 'V', 'D', 'P', 'O', 'S', 'T', '\x1a'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kMagicAt = 0;            // 8 bytes
inline constexpr std::size_t kVersionAt = 8;          // u32
inline constexpr std::size_t kDongCountAt = 12;       // u32
inline constexpr std::size_t kRecordCountAt = 16;     // u32, = filter file size / 4
inline constexpr std::size_t kReservedAt = 20;        // u32, zero
inline constexpr std::size_t kFilterChecksumAt = 24;  // u64, checksum64 of the filter file
inline constexpr std::size_t kFileSizeAt = 32;        // u64
inline constexpr std::size_t kBodyChecksumAt = 40;    // u64 over bytes [64, file size)
inline constexpr std::size_t kHeaderChecksumAt = 56;  // u64 over bytes [0, 56)
inline constexpr std::size_t kDirectoryEntrySize = 12;
inline constexpr std::size_t kPostingSize = 4;  // u32 record number

}  // namespace zendari::posting_format
