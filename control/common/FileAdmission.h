// Which files the readers of this process may still open. Once the control has opened a CD
// it holds to that CD: the files that were part of it then, known by device, inode, size and
// modification time, and no other. A CD rebuilt or replaced while the control runs (new
// files under the old names, or a Quenby.INI that names other folders) is then refused file
// by file instead of being read beside the old one, which would mix two CDs' answers.
// Until something is held every file is admitted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace zendari {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t mtime_ns = 0;
    static FileIdentity of(const struct stat& st) noexcept {
        return {st.st_dev, st.st_ino, st.st_size,
                std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
    }
    bool operator==(const FileIdentity&) const = default;
};

// From now on only these files are admitted.
void admit_only(std::vector<FileIdentity> files);
// Every file is admitted again (a fresh process; tests that start the readers afresh).
void admit_all();
// Whether files are being held to a set.
bool admission_held();
// Which hold is in force: a number that names it, never the same for two holds in a process,
// or 0 when none is (every file admitted). Lock-free, for callers on the keystroke path: what a
// reader opened under the hold still in force cannot have been replaced by anything it would
// admit, so it need not look again.
std::uint64_t admission_hold() noexcept;
// Whether the file with status `st` may be opened. A refusal is said once on standard error
// for `path`, with the reason.
bool file_admitted(const std::string& path, const struct stat& st);

}  // namespace zendari
