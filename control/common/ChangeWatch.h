// Tells cheaply whether a file in a few watched folders may have changed, so the readers
// that keep a file while it is unchanged (Quenby.INI, the index files) need not stat it on
// every call: one inotify instance, drained without blocking, costs one read() when nothing
// happened. Coarse by design: any event in a watched folder moves the generation. Once some
// folder cannot be watched (no inotify, its limits reached) the generation moves on every
// call, so callers fall back to checking their files themselves.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace zendari {

class ChangeWatch {
public:
    // The process's watch, shared by every reader.
    static ChangeWatch& instance();

    ChangeWatch();
    ~ChangeWatch();
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // Starts watching `directory` (once; later calls are free). False when it cannot be
    // watched; from then on the generation moves on every call.
    bool watch(const std::string& directory);

    // A number that moves whenever some watched folder may have changed since the last call.
    // A reader that noted the generation while the folder was watched and checked the file
    // then may trust its copy while the generation stays the same.
    std::uint64_t generation();

private:
    void drain();  // REQUIRES mutex_ held

    std::mutex mutex_;
    int fd_ = -1;
    bool degraded_ = false;  // a folder could not be watched: every call is a change
    std::uint64_t generation_ = 1;
    std::map<std::string, int> folders_;  // folder -> watch descriptor
};

// What a cache keeps of a file it holds, to tell later whether the path still names that
// file (same device, inode, size and modification time): free while nothing happened in the
// file's watched folder, one stat otherwise.
class FileStamp {
public:
    // Stamps `path` as it is now; false when it cannot be stat'ed.
    [[nodiscard]] bool take(const std::string& path);
    // Whether `path` still names the stamped file; renews the stamp's watch when it does.
    [[nodiscard]] bool unchanged(const std::string& path);

private:
    struct Identity {
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = -1, mtime_ns = 0;
        bool operator==(const Identity&) const = default;
    };
    static bool identify(const std::string& path, Identity& out);

    Identity identity_;
    bool watched_ = false;  // identity_ was checked at generation_ of a watched folder
    std::uint64_t generation_ = 0;
};

}  // namespace zendari
