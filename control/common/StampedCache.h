// A few loaded files kept while they stay unchanged, most recent first: the readers of the
// index files (a region selection opens its index again) share one loaded copy per file. Each
// entry carries its FileStamp, so a hit costs nothing while the watched folder is quiet and a
// stat call otherwise; a file that changed is loaded afresh.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "common/ChangeWatch.h"

namespace zendari {

template <class T>
class StampedCache {
public:
    explicit StampedCache(std::size_t capacity) : capacity_(capacity) {}

    // The kept copy of `path` that `fits` accepts, while the file is unchanged; otherwise
    // load() (a shared_ptr<const T>, null when the file does not load) kept in its place.
    template <class Fits, class Load>
    std::shared_ptr<const T> get(const std::string& path, Fits&& fits, Load&& load) {
        if (path.empty()) return nullptr;
        std::lock_guard lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->path != path || !fits(*it->value)) continue;
            if (it->stamp.unchanged(path)) {
                entries_.splice(entries_.begin(), entries_, it);
                return entries_.front().value;
            }
            entries_.erase(it);
            break;
        }
        FileStamp stamp;
        if (!stamp.take(path)) return nullptr;
        std::shared_ptr<const T> value = load();
        if (!value) return nullptr;
        entries_.push_front({path, stamp, value});
        if (entries_.size() > capacity_) entries_.pop_back();
        return value;
    }

private:
    struct Entry {
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const T> value;
    };
    std::size_t capacity_;
    std::mutex mutex_;
    std::list<Entry> entries_;
};

}  // namespace zendari
