// The fuzzer's bytes as one of our block files (name indexes, consonant indexes) with its size
// and checksums made right, so that the mutations reach the checks behind the checksums:
// random bytes almost never pass them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/BlockFileHeader.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"

namespace telvia::fuzz {

inline std::string with_block_file_checksums(std::string bytes) {
    namespace bf = zendari::block_file;
    if (bytes.size() < bf::kHeaderSize) return bytes;
    auto* b = reinterpret_cast<std::byte*>(bytes.data());
    const std::span<const std::byte> all(b, bytes.size());
    zendari::store_le<std::uint64_t>(b + bf::kFileSizeAt, bytes.size());
    zendari::store_le(b + bf::kBodyChecksumAt, zendari::checksum64(all.subspan(bf::kHeaderSize)));
    zendari::store_le(b + bf::kHeaderChecksumAt,
                      zendari::checksum64(all.first(bf::kHeaderChecksumAt)));
    return bytes;
}

}  // namespace telvia::fuzz
