#include "index/Nodix.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "index/IndexFile.h"
#include "index/index_format.h"

namespace zendari {
namespace {

constexpr std::uint32_t kOpenTag = 0x4E4F4458;  // "NODX"

// The cursor kept inside an open handle: the entry next_key decodes next, and the key that
// precedes it in its block (prefix compression needs it).
struct HandleState {
    std::uint32_t tag = kOpenTag;
    std::shared_ptr<const IndexFile> file;
    std::uint32_t block = 0;  // == block_count: past the last key
    std::uint64_t at = 0;
    std::uint32_t index = 0;  // of the entry at `at` in its block
    IndexEntry previous;
};
static_assert(sizeof(HandleState) <= sizeof(IndexHandle::opaque));
static_assert(alignof(HandleState) <= alignof(IndexHandle));

HandleState* state_of(IndexHandle& handle) {
    std::uint32_t tag;
    std::memcpy(&tag, handle.opaque, sizeof tag);
    if (tag != kOpenTag) return nullptr;
    return std::launder(reinterpret_cast<HandleState*>(handle.opaque));
}

const HandleState* state_of(const IndexHandle& handle) {
    std::uint32_t tag;
    std::memcpy(&tag, handle.opaque, sizeof tag);
    if (tag != kOpenTag) return nullptr;
    return std::launder(reinterpret_cast<const HandleState*>(handle.opaque));
}

// Moves the cursor past the entry that ends at `after` (entry `index` of `block`).
void step_past(HandleState& state, std::uint32_t block, std::uint32_t index, std::uint64_t after) {
    state.block = block;
    state.at = after;
    state.index = index + 1;
    if (after == state.file->block_end(block)) {
        ++state.block;
        state.index = 0;
        if (state.block < state.file->block_count())
            state.at = state.file->block_begin(state.block);
    }
}

void copy_out(const IndexEntry& entry, IndexKey& key) {
    std::memcpy(key.text, entry.text, entry.length);
    key.text[entry.length] = '\0';
    key.value = entry.value;
}

}  // namespace

int open_index(const char* path, IndexHandle& handle, int /*reserved1*/, int /*reserved2*/) {
    close_index(handle);
    if (path == nullptr) return 0;
    auto file = IndexFile::open_shared(path);
    if (!file) return 0;
    auto* state = new (handle.opaque) HandleState();
    state->at = file->block_count() == 0 ? 0 : file->block_begin(0);
    state->file = std::move(file);
    return 1;
}

void close_index(IndexHandle& handle) {
    if (HandleState* state = state_of(handle)) state->~HandleState();
    std::memset(handle.opaque, 0, sizeof handle.opaque);
}

int find_key(IndexKey& key, IndexHandle& handle) {
    HandleState* state = state_of(handle);
    if (state == nullptr) return 0;
    const std::size_t length = strnlen(key.text, index_format::kMaxKeyLength);
    const IndexFile::Position pos = state->file->lower_bound({key.text, length});
    if (pos.found) {
        key.value = pos.match.value;
        state->previous = pos.match;
        const std::uint64_t after = state->file->decode(pos.block, pos.at, state->previous);
        step_past(*state, pos.block, pos.index, after);
        return 1;
    }
    state->block = pos.block;
    state->at = pos.at;
    state->index = pos.index;
    state->previous = pos.previous;
    return 0;
}

int next_key(IndexKey& key, IndexHandle& handle) {
    HandleState* state = state_of(handle);
    if (state == nullptr) return 0;
    const IndexFile& file = *state->file;
    if (state->block >= file.block_count()) return 0;
    // Decoded in place: the entry shares its first bytes with the previous key, and decode
    // writes nothing unless the entry is whole.
    const std::uint64_t after = file.decode(state->block, state->at, state->previous);
    if (after == 0) return 0;
    copy_out(state->previous, key);
    step_past(*state, state->block, state->index, after);
    return 1;
}

bool index_cursor(const IndexHandle& handle, IndexCursor& cursor) {
    const HandleState* state = state_of(handle);
    if (state == nullptr) return false;
    const IndexFile& file = *state->file;
    cursor.key_count = file.key_count();
    cursor.next = state->block >= file.block_count()
                      ? file.key_count()
                      : state->block * file.keys_per_block() + state->index;
    cursor.values_ascending = file.values_ascending();
    return true;
}

bool index_key_at(const IndexHandle& handle, std::uint32_t ordinal, IndexKey& key) {
    const HandleState* state = state_of(handle);
    IndexEntry entry;
    if (state == nullptr || !state->file->entry_at(ordinal, entry)) return false;
    copy_out(entry, key);
    return true;
}

std::int32_t index_value_at(const IndexHandle& handle, std::uint32_t ordinal) {
    const HandleState* state = state_of(handle);
    return state == nullptr ? 0 : state->file->value_at(ordinal);
}

void index_prefetch_key(const IndexHandle& handle, std::uint32_t ordinal) {
    if (const HandleState* state = state_of(handle)) state->file->prefetch_entry(ordinal);
}

std::uint32_t skip_keys(IndexKey& key, IndexHandle& handle, std::uint32_t steps) {
    IndexCursor cursor;
    HandleState* state = state_of(handle);
    if (steps == 0 || !index_cursor(handle, cursor) || cursor.next >= cursor.key_count) return 0;
    const std::uint32_t last =
        std::min<std::uint64_t>(std::uint64_t{cursor.next} + steps - 1, cursor.key_count - 1);
    IndexEntry entry;
    std::uint64_t after = 0;
    if (!state->file->entry_at(last, entry, &after)) return 0;
    copy_out(entry, key);
    state->previous = entry;
    const std::uint32_t per_block = state->file->keys_per_block();
    step_past(*state, last / per_block, last % per_block, after);
    return last - cursor.next + 1;
}

std::int64_t index_last_with_value_at_most(const IndexHandle& handle, std::int32_t value,
                                           std::uint32_t lo, std::uint32_t hi, IndexKey* key,
                                           std::int32_t* next_value) {
    const HandleState* state = state_of(handle);
    if (state == nullptr || !state->file->values_ascending()) return -1;
    if (key == nullptr) {  // the key's text is not wanted: no block is decoded
        const std::int64_t ordinal = state->file->last_ordinal_with_value_at_most(value, lo, hi);
        if (ordinal >= 0 && next_value != nullptr)
            *next_value = state->file->value_at(static_cast<std::uint32_t>(ordinal) + 1);
        return ordinal;
    }
    const IndexFile::ValueHit hit = state->file->last_with_value_at_most(value, lo, hi);
    if (hit.ordinal >= 0 && key != nullptr) copy_out(hit.entry, *key);
    if (hit.ordinal >= 0 && next_value != nullptr) *next_value = hit.next_value;
    return hit.ordinal;
}

std::shared_ptr<const IndexFile> index_file_of(const IndexHandle& handle) {
    const HandleState* state = state_of(handle);
    return state == nullptr ? nullptr : state->file;
}

}  // namespace zendari
