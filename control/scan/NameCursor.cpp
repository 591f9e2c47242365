#include "scan/NameCursor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "common/ChangeWatch.h"
#include "common/FileAdmission.h"
#include "index/index_format.h"

namespace zendari {

bool NameCursor::open(const std::string& path) {
    close();
    if (open_index(path.c_str(), handle_, 0, 0) == 0) return false;
    open_ = true;
    path_ = path;
    file_ = index_file_of(handle_);
    unplaced_ = key_.text[0] != '\0';
    return true;
}

void NameCursor::close() {
    close_index(handle_);
    open_ = false;
    path_.clear();
    file_.reset();
    past_last_key_ = false;
    region_ = -1;
}

namespace {
// What the Windows directory is made of (telvia::windows_directory), without building it.
std::string windows_directory_sources() {
    std::string s;
    for (const char* name : {"WINDIR", "XDG_CONFIG_HOME", "HOME"}) {
        if (const char* v = std::getenv(name)) s += v;
        s.push_back('\0');
    }
    return s;
}
bool same_windows_directory(const std::string& sources) {
    std::size_t at = 0;
    for (const char* name : {"WINDIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        const std::string_view value = v ? v : "";
        if (sources.compare(at, value.size(), value) != 0 || at + value.size() >= sources.size() ||
            sources[at + value.size()] != '\0')
            return false;
        at += value.size() + 1;
    }
    return at == sources.size();
}
}  // namespace

bool NameCursor::reselect(int region) {
    if (!open_ || region != region_ || !same_windows_directory(windows_directory_)) return false;
    // The index was opened under the hold still in force: whatever the folders hold now,
    // opening again could only give the same file or refuse a new one, and the one open goes
    // on answering from the CD held. Otherwise a change in the watched folders sends the
    // caller to open the index again.
    const bool held_since = hold_ != 0 && admission_hold() == hold_;
    if (!held_since && ChangeWatch::instance().generation() != generation_) return false;
    past_last_key_ = false;
    unplaced_ = key_.text[0] != '\0';
    return true;
}

void NameCursor::selected(int region, std::uint64_t generation, std::uint64_t hold) {
    region_ = region;
    generation_ = generation;
    hold_ = hold;
    windows_directory_ = windows_directory_sources();
}

bool NameCursor::find(std::string_view key) {
    std::memset(key_.text, 0, sizeof key_.text);
    // A key is 1 to 127 bytes without NUL (the key record holds 127 bytes and its NUL). A
    // longer text, or one holding a NUL, is no key: it matches nothing, and it sorts right
    // after its part before the cut, so the cursor goes to the first key after that part.
    const std::string_view part =
        key.substr(0, std::min(key.find('\0'), index_format::kMaxKeyLength));
    std::memcpy(key_.text, part.data(), part.size());
    past_last_key_ = false;
    unplaced_ = false;
    if (find_key(key_, handle_) != 0 && part.size() == key.size()) return true;
    if (!step() && open_) past_last_key_ = true;
    return false;
}

void NameCursor::place() {
    if (!unplaced_) return;
    unplaced_ = false;
    IndexKey probe = key_;
    if (find_key(probe, handle_) != 0) {
        key_.value = probe.value;
    } else if (!step()) {
        past_last_key_ = true;
    }
}

std::string_view NameCursor::text() const noexcept {
    return {key_.text, strnlen(key_.text, index_format::kMaxKeyLength)};
}

bool NameCursor::at_end() const noexcept {
    return past_last_key_ || index_format::is_end_key(text());
}

void NameCursor::enter_if_empty() {
    if (key_.value == 0 && key_.text[0] == '\0' && !past_last_key_ && !step())
        past_last_key_ = true;
}

}  // namespace zendari
