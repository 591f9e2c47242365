// Read-only access to one CD file through a window: Read hands out `length` bytes at an
// offset, which stay valid until the next Read or Reopen. The file is memory-mapped; the
// window keeps its bookkeeping (size, offset, status codes) so callers see the behaviour of a
// buffered reader: a request larger than the window fails, a request past the end fails once.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/MappedFile.h"

namespace zendari {

class FileWindow {
public:
    static constexpr std::int32_t kReady = 0;
    static constexpr std::int32_t kNeverOpened = -31;
    static constexpr std::int32_t kNoMemory = -1;
    static constexpr std::int32_t kOpenFailed = -10;
    static constexpr std::int32_t kSeekFailed = -11;
    static constexpr std::int32_t kPastEnd = -100;

    FileWindow() = default;
    FileWindow(FileWindow&&) noexcept = default;
    FileWindow& operator=(FileWindow&&) noexcept = default;
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;

    // Opens `path` with a window of `window_size` bytes. Only a never-opened window opens;
    // otherwise returns false and changes nothing. A window at least as large as the file
    // holds the whole file.
    [[nodiscard]] bool open(const std::string& path, std::int32_t window_size);

    // Opens the kept path again with a new window size. False only when never opened;
    // otherwise true whatever the outcome, which status() tells. A mapping that is already
    // held is kept (the file cannot have changed); only a failed opening is retried.
    bool reopen(std::int32_t window_size);

    // `length` bytes at `offset`, or an empty span: when the status is neither ready nor
    // past-the-end (a past-the-end status is cleared first), when length is not in
    // 1..window size, or when the request ends past the file (status becomes kPastEnd).
    std::span<const std::byte> read(std::int64_t offset, std::int32_t length);

    std::int32_t status() const noexcept { return status_; }
    std::int64_t file_size() const noexcept { return file_size_; }
    std::int32_t window_size() const noexcept { return window_size_; }
    std::int64_t window_offset() const noexcept { return window_offset_; }
    // True when the window holds the whole file (read at opening, file handle closed).
    bool holds_whole_file() const noexcept { return whole_; }
    // The whole mapped file, for readers that check it in place; empty when not mapped.
    std::span<const std::byte> mapped_bytes() const noexcept;

private:
    void open_kept(std::int32_t window_size);

    std::int32_t status_ = kNeverOpened;
    std::int64_t file_size_ = 0;
    std::int32_t window_size_ = 0;
    std::int64_t window_offset_ = -1;
    bool whole_ = false;
    std::string path_;
    MappedFile file_;
};

}  // namespace zendari
