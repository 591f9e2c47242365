// The ordered key index library: maps a CP949 key text to a 32-bit value and walks keys in
// ascending byte order. The caller owns the handle and the key record; the library keeps
// its cursor inside the handle. Files are static, memory-mapped and verified when opened.
#pragma once

#include <cstdint>
#include <memory>

namespace zendari {

class IndexFile;

// Opaque state of one open index, owned by the caller. A zero-filled handle is "never
// opened"; close_index accepts it. Never copy an open handle byte-wise.
struct IndexHandle {
    alignas(8) unsigned char opaque[1128];
};
static_assert(sizeof(IndexHandle) == 1128);

// Key record shared by caller and library.
struct IndexKey {
    std::uint32_t reserved;  // neither read nor written by the library
    std::int32_t value;
    char text[128];  // NUL-terminated CP949
};

// Opens `path` on `handle` (closing whatever the handle held). Returns non-zero on success;
// 0 for a missing, truncated, damaged or foreign file, leaving the handle closed. The last
// two arguments are reserved and must be 0.
int open_index(const char* path, IndexHandle& handle, int reserved1 = 0, int reserved2 = 0);

// Releases the handle; harmless on a never-opened or already closed handle.
void close_index(IndexHandle& handle);

// Exact lookup of key.text (at most 127 bytes are considered). On a hit returns non-zero,
// stores the key's value in key.value and leaves the cursor on that key. On a miss returns
// 0, leaves key unchanged, and leaves the cursor so that next_key yields the first key that
// sorts after the text. O(log n) probes. Returns 0 on a handle that is not open.
int find_key(IndexKey& key, IndexHandle& handle);

// Moves the cursor to the next key in ascending order and stores its text and value in
// `key`. On the last key (or a handle that is not open) leaves `key` unchanged and returns
// 0; otherwise returns non-zero.
int next_key(IndexKey& key, IndexHandle& handle);

// Extras of this library beyond the four calls above, for a dong scan that passes over many
// names at once. Key ordinals count from 0 in key order.
struct IndexCursor {
    std::uint32_t key_count = 0;
    std::uint32_t next = 0;         // ordinal next_key would yield; key_count past the last
    bool values_ascending = false;  // values rise strictly from key to key, the first >= 1
};
// False on a handle that is not open.
bool index_cursor(const IndexHandle& handle, IndexCursor& cursor);
// The key at `ordinal` without moving the cursor; false past the last key.
bool index_key_at(const IndexHandle& handle, std::uint32_t ordinal, IndexKey& key);
// With ascending values: the value of the key at `ordinal` without decoding it, O(1); 0 past
// the last key, on a handle that is not open, or when values do not ascend.
std::int32_t index_value_at(const IndexHandle& handle, std::uint32_t ordinal);
// Hints that the key at `ordinal` is read soon, so its cache misses overlap other work.
void index_prefetch_key(const IndexHandle& handle, std::uint32_t ordinal);
// Does what `steps` calls of next_key would do, in one decode; returns the keys passed.
std::uint32_t skip_keys(IndexKey& key, IndexHandle& handle, std::uint32_t steps);
// With ascending values: the largest ordinal in [lo, hi) whose value is <= value, or -1;
// with its key and the value of the key after it (0 past the last key) when asked for.
// Without `key` no block is decoded: O(log (hi - lo)).
std::int64_t index_last_with_value_at_most(const IndexHandle& handle, std::int32_t value,
                                           std::uint32_t lo, std::uint32_t hi,
                                           IndexKey* key = nullptr,
                                           std::int32_t* next_value = nullptr);
// The verified file an open handle reads (null when the handle is not open), for the readers
// of auxiliary files that are checked against it, such as the consonant index.
std::shared_ptr<const IndexFile> index_file_of(const IndexHandle& handle);

}  // namespace zendari
