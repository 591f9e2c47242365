// The name cursor: the selected region's name index and the key the cursor stands on. Name
// lookup (FindKey, GetNext) and the dong and surname scans share it, so a scan page goes on
// from wherever a lookup left it. One per process, as the control's instances share it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "index/Nodix.h"

namespace zendari {

class IndexFile;

class NameCursor {
public:
    NameCursor() = default;
    NameCursor(const NameCursor&) = delete;
    NameCursor& operator=(const NameCursor&) = delete;
    ~NameCursor() { close_index(handle_); }

    // Selects a region: closes the index held and opens `path`; false (closed) when it does
    // not open. The key is kept: the main program selects the region again before every page
    // of a dong scan (and on every keystroke), and the next page goes on after the key the
    // last one stopped at. That key is found in the new index when a walk next needs it.
    [[nodiscard]] bool open(const std::string& path);
    void close();
    // Region selection without reading Quenby.INI or touching the index: true when `region`
    // is the region open, the Windows directory is the same, and either the CD held when the
    // region was selected is held still (no other index would be admitted) or nothing has
    // happened in the watched folders (Quenby.INI's and the index's) since. The cursor is then
    // as open() would leave it. The main program selects the region on every keystroke, so
    // this is the common case, and under a held CD it makes no system call.
    bool reselect(int region);
    // Notes that the index open is `region`'s, selected at change watch `generation` under
    // the file admission `hold` (both taken before the path was read).
    void selected(int region, std::uint64_t generation, std::uint64_t hold);
    bool is_open() const noexcept { return open_; }
    // The index open: its path as Quenby.INI gave it, and the verified file (null when closed).
    // Auxiliary files of the region (its consonant index) are found beside it and checked
    // against it.
    const std::string& path() const noexcept { return path_; }
    const std::shared_ptr<const IndexFile>& file() const noexcept { return file_; }

    // Stands on `key` when the index has it, and returns true; otherwise on the first key
    // after it (past every key when none follows). A text longer than kMaxKeyLength or
    // holding a NUL is never a key.
    bool find(std::string_view key);
    // A walk that goes on from the cursor calls this first: the kept key found in an index
    // opened since. Its value is the new index's (another region files the same name under
    // other records); a key the new index lacks gives way to the first key after it.
    void place();

    // The key the cursor stands on: text and value (the name's first record).
    std::string_view text() const noexcept;
    std::int32_t value() const noexcept { return key_.value; }
    // A lookup sorted after every key: the cursor stands on no key.
    bool past_last_key() const noexcept { return past_last_key_; }
    // Nothing is left to walk: the cursor stands on the end key or past every key.
    bool at_end() const noexcept;
    // A cursor that holds no key yet (no lookup has placed it since the process started)
    // moves onto the first key, so a walk begins with the first name.
    void enter_if_empty();

    // Moves to the next key; false (the key unchanged) on the last key or a closed index.
    bool step() { return next_key(key_, handle_) != 0; }
    // What `steps` calls of step() would do, in one decode; returns the keys passed.
    std::uint32_t skip(std::uint32_t steps) { return skip_keys(key_, handle_, steps); }

    // The index itself, for the searches by ordinal and value of the dong scans.
    const IndexHandle& handle() const noexcept { return handle_; }

private:
    IndexHandle handle_{};
    IndexKey key_{};
    std::string path_;
    std::shared_ptr<const IndexFile> file_;
    bool open_ = false;
    bool past_last_key_ = false;
    bool unplaced_ = false;  // the index was opened again under a key not yet found in it
    int region_ = -1;        // the region open, for reselect()
    std::uint64_t generation_ = 0;
    std::uint64_t hold_ = 0;         // the file admission hold in force at selection, 0 for none
    std::string windows_directory_;  // the variables the Windows directory is made of
};

}  // namespace zendari
