#include "index/Nodix.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "index/IndexFile.h"

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
    const std::size_t length = strnlen(key.text, 127);
    const IndexFile::Position pos = state->file->lower_bound({key.text, length});
    if (pos.found) {
        key.value = pos.match.value;
        state->block = pos.block;
        state->previous = pos.match;
        state->at = state->file->decode(pos.block, pos.at, state->previous);
        if (state->at == state->file->block_end(pos.block)) {
            ++state->block;
            if (state->block < state->file->block_count())
                state->at = state->file->block_begin(state->block);
        }
        return 1;
    }
    state->block = pos.block;
    state->at = pos.at;
    state->previous = pos.previous;
    return 0;
}

int next_key(IndexKey& key, IndexHandle& handle) {
    HandleState* state = state_of(handle);
    if (state == nullptr) return 0;
    const IndexFile& file = *state->file;
    if (state->block >= file.block_count()) return 0;
    IndexEntry entry = state->previous;
    const std::uint64_t after = file.decode(state->block, state->at, entry);
    if (after == 0) return 0;
    copy_out(entry, key);
    state->previous = entry;
    state->at = after;
    if (after == file.block_end(state->block)) {
        ++state->block;
        if (state->block < file.block_count()) state->at = file.block_begin(state->block);
    }
    return 1;
}

}  // namespace zendari
