// One verified, memory-mapped index file. Verification (checksums, directory, every block,
// key order) happens once when the file is loaded, so lookups decode without surprises; the
// decoders still check every bound. Files are shared between handles through a small cache,
// which makes re-opening the same index (each region selection does) cost one stat call.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/MappedFile.h"

namespace zendari {

// A decoded key: text (not NUL-terminated) and value.
struct IndexEntry {
    char text[128];
    std::uint8_t length = 0;
    std::int32_t value = 0;
    std::string_view view() const noexcept { return {text, length}; }
};

class IndexFile {
public:
    // Loads and verifies `path`, or returns the cached copy when the file is unchanged
    // (same device, inode, size and modification time). Null for a bad or missing file.
    static std::shared_ptr<const IndexFile> open_shared(const std::string& path);

    std::uint32_t key_count() const noexcept { return key_count_; }
    std::uint32_t block_count() const noexcept { return block_count_; }
    std::uint64_t block_begin(std::uint32_t block) const noexcept;  // file offset
    std::uint64_t block_end(std::uint32_t block) const noexcept;

    // Decodes the entry at file offset `at` of `block`, given the previous key of the block
    // in `entry` (ignored for the first entry). On success overwrites `entry`, returns the
    // offset of the following entry; returns 0 when the bytes do not form an entry.
    std::uint64_t decode(std::uint32_t block, std::uint64_t at, IndexEntry& entry) const noexcept;

    // Position of the first key >= target: the block and the offset of the entry, with the
    // key that precedes it inside the block (for decoding). `found` tells an exact match.
    struct Position {
        std::uint32_t block = 0;
        std::uint64_t at = 0;  // entry offset; block == block_count() means past the end
        IndexEntry previous;
        IndexEntry match;  // the key at the position when found
        bool found = false;
    };
    Position lower_bound(std::string_view target) const noexcept;

    // Loads without the cache; for tests and the verifier.
    static std::unique_ptr<IndexFile> load(const std::string& path);

private:
    IndexFile() = default;
    bool verify() noexcept;
    std::string_view first_key(std::uint32_t block, IndexEntry& scratch) const noexcept;

    MappedFile file_;
    std::span<const std::byte> bytes_;
    std::uint32_t key_count_ = 0;
    std::uint32_t block_count_ = 0;
    std::uint32_t keys_per_block_ = 0;
    std::uint64_t directory_ = 0;
};

}  // namespace zendari
