#include "data/FileWindow.h"

namespace zendari {

bool FileWindow::open(const std::string& path, std::int32_t window_size) {
    if (status_ != kNeverOpened) return false;
    path_ = path;
    open_kept(window_size);
    return status_ == kReady;
}

bool FileWindow::reopen(std::int32_t window_size) {
    if (status_ == kNeverOpened) return false;
    open_kept(window_size);
    return true;
}

void FileWindow::open_kept(std::int32_t window_size) {
    status_ = kReady;
    window_offset_ = -1;
    whole_ = false;
    window_size_ = window_size;
    file_size_ = 0;
    // The CD's files do not change while the program runs, so a mapping already held serves
    // the reopened window; reopening per name of a scan then costs no system call.
    if (!file_.is_open() && !file_.open(path_)) {
        status_ = kOpenFailed;
        return;
    }
    file_size_ = static_cast<std::int64_t>(file_.size());
    if (window_size < 0) {  // a window of negative size cannot be allocated
        status_ = kNoMemory;
        return;
    }
    if (window_size_ >= file_size_) {
        window_size_ = static_cast<std::int32_t>(file_size_);
        window_offset_ = 0;
        whole_ = true;
    }
}

std::span<const std::byte> FileWindow::read(std::int64_t offset, std::int32_t length) {
    if (status_ == kPastEnd) status_ = kReady;
    if (status_ != kReady) return {};
    if (length <= 0 || length > window_size_) return {};
    if (offset < 0) {
        status_ = kSeekFailed;
        return {};
    }
    if (offset + length > file_size_) {
        status_ = kPastEnd;
        return {};
    }
    if (window_offset_ < 0 || offset < window_offset_ ||
        offset + length > window_offset_ + window_size_) {
        window_offset_ = offset;  // a refill starts at the first byte requested
    }
    return file_.bytes().subspan(static_cast<std::size_t>(offset),
                                 static_cast<std::size_t>(length));
}

std::span<const std::byte> FileWindow::mapped_bytes() const noexcept {
    return file_.bytes();
}

}  // namespace zendari
