#include "common/FileAdmission.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

namespace zendari {
namespace {

struct Admission {
    std::mutex mutex;
    bool held = false;
    std::vector<FileIdentity> files;  // sorted by device and inode
    std::set<std::string> told;
};

std::atomic<std::uint64_t> holds{0};  // holds taken in this process
std::atomic<std::uint64_t> hold_in_force{0};

Admission& admission() {
    static Admission a;
    return a;
}

bool by_inode(const FileIdentity& a, const FileIdentity& b) {
    return std::pair(a.device, a.inode) < std::pair(b.device, b.inode);
}

}  // namespace

void admit_only(std::vector<FileIdentity> files) {
    std::sort(files.begin(), files.end(), by_inode);
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    a.files = std::move(files);
    a.held = true;
    hold_in_force.store(holds.fetch_add(1) + 1);
}

void admit_all() {
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    a.files.clear();
    a.told.clear();
    a.held = false;
    hold_in_force.store(0);
}

bool admission_held() {
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    return a.held;
}

std::uint64_t admission_hold() noexcept {
    return hold_in_force.load();
}

bool file_admitted(const std::string& path, const struct stat& st) {
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    if (!a.held) return true;
    const FileIdentity id = FileIdentity::of(st);
    const auto it = std::lower_bound(a.files.begin(), a.files.end(), id, by_inode);
    if (it != a.files.end() && *it == id) return true;
    if (a.told.insert(path).second) {
        std::fprintf(stderr,
                     "Zendari: %s: not a file of the directory CD opened at start (the CD "
                     "changed since); start the program again to use the new CD\n",
                     path.c_str());
    }
    return false;
}

}  // namespace zendari
