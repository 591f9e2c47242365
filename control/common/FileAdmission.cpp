#include "common/FileAdmission.h"

#include <algorithm>
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
}

void admit_all() {
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    a.files.clear();
    a.told.clear();
    a.held = false;
}

bool admission_held() {
    Admission& a = admission();
    const std::lock_guard lock(a.mutex);
    return a.held;
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
