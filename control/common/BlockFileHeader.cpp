#include "common/BlockFileHeader.h"

#include <cstring>

#include "common/ByteOrder.h"
#include "common/Checksum.h"

namespace zendari::block_file {

void stamp(std::span<std::byte> image, const char (&magic)[8], const Fields& fields) {
    std::byte* h = image.data();
    std::memcpy(h + kMagicAt, magic, sizeof magic);
    store_le(h + kVersionAt, fields.version);
    store_le(h + kCountAt, fields.count);
    store_le(h + kBlockCountAt, fields.block_count);
    store_le(h + kPerBlockAt, fields.per_block);
    store_le(h + kDirectoryAt, fields.directory);
    store_le(h + kFileSizeAt, static_cast<std::uint64_t>(image.size()));
    store_le(h + kBodyChecksumAt, checksum64(image.subspan(kHeaderSize)));
    store_le<std::uint64_t>(h + kReservedAt, 0);
    store_le(h + kHeaderChecksumAt, checksum64(image.first(kHeaderChecksumAt)));
}

bool read(std::span<const std::byte> image, const char (&magic)[8], std::uint32_t version,
          std::uint32_t most_per_block, Fields& fields) {
    if (image.size() < kHeaderSize || image.size() > 0xFFFFFFFFull) return false;
    const std::byte* h = image.data();
    if (std::memcmp(h + kMagicAt, magic, sizeof magic) != 0) return false;
    if (load_u64le(h + kHeaderChecksumAt) != checksum64(image.first(kHeaderChecksumAt)))
        return false;
    if (load_u32le(h + kVersionAt) != version) return false;
    if (load_u64le(h + kFileSizeAt) != image.size()) return false;
    if (load_u64le(h + kBodyChecksumAt) != checksum64(image.subspan(kHeaderSize))) return false;
    fields.version = version;
    fields.count = load_u32le(h + kCountAt);
    fields.block_count = load_u32le(h + kBlockCountAt);
    fields.per_block = load_u32le(h + kPerBlockAt);
    fields.directory = load_u64le(h + kDirectoryAt);
    if (fields.per_block == 0 || fields.per_block > most_per_block) return false;
    if (fields.block_count !=
        (std::uint64_t{fields.count} + fields.per_block - 1) / fields.per_block)
        return false;
    if (fields.directory < kHeaderSize || fields.directory > image.size()) return false;
    return image.size() - fields.directory == 4 * (std::uint64_t{fields.block_count} + 1);
}

}  // namespace zendari::block_file
