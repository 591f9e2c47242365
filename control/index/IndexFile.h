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
#include <vector>

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
        std::uint64_t at = 0;     // entry offset; block == block_count() means past the end
        std::uint32_t index = 0;  // of the entry in its block
        IndexEntry previous;
        IndexEntry match;  // the key at the position when found
        bool found = false;
    };
    Position lower_bound(std::string_view target) const noexcept;

    std::uint32_t keys_per_block() const noexcept { return keys_per_block_; }
    // True when the values rise strictly from key to key and the first is at least 1, as in
    // a region name index (values are first record numbers). Such a file keeps its values in
    // a flat table (4 bytes a key, gathered while verifying), so the searches on values below
    // touch no block but the one of the key they return.
    bool values_ascending() const noexcept { return values_ascending_; }
    // REQUIRES values_ascending(). The value of the key at `ordinal`, 0 past the last key.
    // O(1).
    std::int32_t value_at(std::uint32_t ordinal) const noexcept {
        return ordinal < values_.size() ? values_[ordinal] : 0;
    }

    // The key at `ordinal` (< key_count), and where the entry after it starts. O(keys per
    // block).
    bool entry_at(std::uint32_t ordinal, IndexEntry& entry,
                  std::uint64_t* after = nullptr) const noexcept;

    // REQUIRES values_ascending(). The largest ordinal in [lo, hi) whose value is <= value
    // (-1 if none), its key, and the value of the key after it (0 past the last key).
    // As below, and one block decode.
    struct ValueHit {
        std::int64_t ordinal = -1;
        IndexEntry entry;
        std::int32_t next_value = 0;
    };
    ValueHit last_with_value_at_most(std::int32_t value, std::uint32_t lo,
                                     std::uint32_t hi) const noexcept;
    // The same ordinal without decoding its key. O(log (hi - lo)) probes of a small table
    // of every 16th value, and four of the value table.
    std::int64_t last_ordinal_with_value_at_most(std::int32_t value, std::uint32_t lo,
                                                 std::uint32_t hi) const noexcept;
    // The same for many values at once, out[k] for values[k] (out as long as values): the
    // searches go level by level over a batch of values, so their cache misses overlap (a
    // dong page's matches).
    void last_ordinals_with_value_at_most(std::span<const std::int32_t> values, std::uint32_t lo,
                                          std::uint32_t hi,
                                          std::span<std::int64_t> out) const noexcept;
    // Hints that the key at `ordinal` is read soon (its block is asked for); changes nothing.
    void prefetch_entry(std::uint32_t ordinal) const noexcept;

    // Keys read by ordinal, mostly rising (the names of a dong page's matches): a key later in
    // the block of the one read before is decoded on from there, not from the block's start.
    class KeyReader {
    public:
        explicit KeyReader(const IndexFile& file) noexcept : file_(file) {}
        // The key at `ordinal`; null past the last key or on bytes that do not decode (which a
        // verified file never holds). Valid until the next call.
        const IndexEntry* at(std::uint32_t ordinal) noexcept;

    private:
        const IndexFile& file_;
        std::uint32_t block_ = UINT32_MAX;  // the block entry_ lies in, none yet
        std::uint32_t decoded_ = 0;         // entries of block_ decoded, entry_ the last
        std::uint64_t after_ = 0;           // where the next entry of block_ starts
        IndexEntry entry_;
    };

    // Loads without the cache; for tests and the verifier.
    static std::unique_ptr<IndexFile> load(const std::string& path);

private:
    IndexFile() = default;
    bool verify() noexcept;
    std::string_view first_key(std::uint32_t block, IndexEntry& scratch) const noexcept;
    // Decodes `count` entries of `block` from `at`, an entry's start, into `entry`, which
    // holds the key before it (length 0 at the block's start); returns where the entry after
    // the last one starts, 0 when the bytes do not decode. On 0 the entry is left unfinished.
    std::uint64_t decode_on(std::uint32_t block, std::uint64_t at, std::uint32_t count,
                            IndexEntry& entry) const noexcept;

    MappedFile file_;
    std::span<const std::byte> bytes_;
    std::uint32_t key_count_ = 0;
    std::uint32_t block_count_ = 0;
    std::uint32_t keys_per_block_ = 0;
    std::uint64_t directory_ = 0;
    bool values_ascending_ = false;
    std::vector<std::int32_t> values_;  // every key's value when ascending, else empty
    static constexpr std::uint32_t kStride = 16;
    std::vector<std::int32_t> samples_;  // values_[0], values_[kStride], ...
    // Each block's first key's leading eight bytes, big-endian and padded with zeros, for
    // the search of lower_bound (8 bytes a block, gathered while verifying).
    static std::uint64_t key_prefix(std::string_view key) noexcept;
    std::vector<std::uint64_t> first_prefixes_;
};

}  // namespace zendari
