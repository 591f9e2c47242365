#include "scan/NameCursor.h"

#include <algorithm>
#include <cstring>

#include "index/index_format.h"

namespace zendari {

bool NameCursor::open(const std::string& path) {
    close();
    if (open_index(path.c_str(), handle_, 0, 0) == 0) return false;
    open_ = true;
    unplaced_ = key_.text[0] != '\0';
    return true;
}

void NameCursor::close() {
    close_index(handle_);
    open_ = false;
    past_last_key_ = false;
}

bool NameCursor::find(std::string_view key) {
    std::memset(key_.text, 0, sizeof key_.text);
    std::memcpy(key_.text, key.data(), std::min(key.size(), index_format::kMaxKeyLength));
    past_last_key_ = false;
    unplaced_ = false;
    if (find_key(key_, handle_) != 0) return true;
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
