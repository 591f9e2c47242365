#include "common/ChangeWatch.h"

#include <cerrno>
#include <filesystem>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendari {
namespace {

// Everything that can change what a path in the folder names or holds.
constexpr std::uint32_t kEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                                  IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

ChangeWatch& ChangeWatch::instance() {
    static ChangeWatch watch;
    return watch;
}

ChangeWatch::ChangeWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

ChangeWatch::~ChangeWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool ChangeWatch::watch(const std::string& directory) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || directory.empty()) {
        degraded_ = true;
        return false;
    }
    drain();
    if (folders_.contains(directory)) return true;
    const int wd = inotify_add_watch(fd_, directory.c_str(), kEvents | IN_ONLYDIR);
    if (wd < 0) {
        // A folder that is not there holds no file to keep; anything else (the limits of
        // inotify) leaves changes unseen, so every call counts as one from now on.
        if (errno != ENOENT && errno != ENOTDIR) degraded_ = true;
        return false;
    }
    folders_[directory] = wd;  // a folder watched under two names shares the descriptor
    ++generation_;
    return true;
}

std::uint64_t ChangeWatch::generation() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || degraded_ || folders_.empty()) return ++generation_;
    drain();
    return generation_;
}

void ChangeWatch::drain() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // EAGAIN: nothing (more) happened
        ++generation_;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            // The folder itself went away: forget it, so the next watch() adds it again.
            if (e->mask & IN_IGNORED)
                std::erase_if(folders_, [e](const auto& f) { return f.second == e->wd; });
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
}

bool FileStamp::identify(const std::string& path, Identity& out) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    out = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
           static_cast<std::int64_t>(st.st_size),
           std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
    return true;
}

bool FileStamp::take(const std::string& path) {
    ChangeWatch& watch = ChangeWatch::instance();
    // The generation is noted before the stat: a change after it moves the generation.
    const bool watching = watch.watch(std::filesystem::path(path).parent_path().string());
    const std::uint64_t generation = watch.generation();
    watched_ = false;
    if (!identify(path, identity_)) return false;
    watched_ = watching;
    generation_ = generation;
    return true;
}

bool FileStamp::unchanged(const std::string& path) {
    if (watched_ && ChangeWatch::instance().generation() == generation_) return true;
    const Identity before = identity_;
    return take(path) && identity_ == before;
}

}  // namespace zendari
