// Byte layout of a line offset file ("10_1.lof"), written by the CD builder beside each line
// block file: where each detail line starts, so a reader finds line k without splitting the
// block. Readers check it against the block file and build the table themselves otherwise.
//
//   magic "TVLOF1\r\n" | u32 line count n | u32 zero | u64 block file size |
//   (n + 1) x u32: start of line k (0-based), then the block file size
#pragma once

#include <cstddef>
#include <cstdint>

namespace zendari::lof_format {

inline constexpr char kMagic[8] = {'T', 'V', 'L', 'O', 'F', '1', '\r', '\n'};
inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kLineCountAt = 8;
inline constexpr std::size_t kBlockSizeAt = 16;

}  // namespace zendari::lof_format
