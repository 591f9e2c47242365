#include "data/OpenedCd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProfileFile.h"
#include "common/Checksum.h"
#include "common/FileAdmission.h"
#include "common/MappedFile.h"
#include "data/CdManifest.h"
#include "data/TelEnvironment.h"
#include "data/record_format.h"
#include "data/regions.h"
#include "index/IndexFile.h"

namespace zendari {
namespace {

constexpr std::string_view kSentinel = "\xF9\xBB";
constexpr std::size_t kFilterEntrySize = 4;

void say(const std::string& what, const std::string& reason) {
    std::fprintf(stderr, "Zendari: %s: %s\n", what.c_str(), reason.c_str());
}

// The same, once per process, for what every reader of the CD would say again.
void say_once(const std::string& what, const std::string& reason) {
    static std::mutex mutex;
    static std::set<std::pair<std::string, std::string>> told;
    const std::lock_guard lock(mutex);
    if (told.emplace(what, reason).second) say(what, reason);
}

// The keys of Quenby.INI that name files of the CD, besides the region indexes.
constexpr std::string_view kDataKeys[] = {"인명"};
constexpr std::string_view kIndexKeys[] = {"인명FLT", "ZKWD",  "ZCOD",
                                           "ZIDX",    "ZPOST", kManifestKey};

std::vector<std::string> named_files(const TelEnvironment& env) {
    std::vector<std::string> paths;
    for (const std::string_view key : kDataKeys) paths.push_back(env.data_file_path(key));
    for (const std::string_view key : kIndexKeys) paths.push_back(env.index_file_path(key));
    for (const std::string_view key : kRegionKeys) paths.push_back(env.index_file_path(key));
    return paths;
}

void add_identity(const std::string& path, std::vector<FileIdentity>& out) {
    struct stat st {};
    if (!path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        out.push_back(FileIdentity::of(st));
}

void add_folder(const std::string& folder, std::vector<FileIdentity>& out) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* e = ::readdir(dir)) add_identity(folder + e->d_name, out);
    ::closedir(dir);
}

// The master or filter file against the records the region indexes name.
bool check_count(const std::string& path, std::uint64_t size, std::size_t record_size,
                 std::uint64_t needed, bool exactly) {
    if (size % record_size != 0) {
        say(path, std::to_string(size) + " bytes is not a whole number of " +
                      std::to_string(record_size) + "-byte records: the file is cut short");
        return false;
    }
    const std::uint64_t held = size / record_size;
    if (held == needed || (!exactly && held > needed)) return true;
    say(path, "holds " + std::to_string(held) + " records where the region indexes name " +
                  (exactly ? "" : "at least ") + std::to_string(needed) +
                  ": the file is cut short or belongs to another CD");
    return false;
}

std::optional<std::vector<ManifestEntry>> read_manifest(const std::string& path, bool& present) {
    present = false;
    if (path.empty() || !why_unreadable(path).empty()) return std::nullopt;
    present = true;
    MappedFile file;
    if (!file.open(path)) return std::nullopt;
    const auto bytes = file.bytes();
    return parse_manifest({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::string entry_path(const TelEnvironment& env, const ManifestEntry& e) {
    return (e.in_data_folder ? env.data_directory() : env.index_directory()) + e.name;
}

}  // namespace

std::string why_unreadable(const std::string& path) {
    if (path.empty()) return "no file named";
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? "no such file" : std::strerror(errno);
    struct stat st {};
    const bool stat_ok = ::fstat(fd, &st) == 0;
    const int stat_errno = errno;
    ::close(fd);
    if (!stat_ok) return std::strerror(stat_errno);
    if (S_ISDIR(st.st_mode)) return "a folder, not a file";
    if (S_ISFIFO(st.st_mode)) return "a FIFO, not a file";
    if (!S_ISREG(st.st_mode)) return "a device or special file, not a file";
    return {};
}

void report_unopened(const TelEnvironment& env, std::string_view key, const std::string& path,
                     std::string_view fallback) {
    if (path.empty()) {
        const std::filesystem::path profile = env.profile_path();
        std::string text, error;
        if (!telvia::read_profile_file(profile, text, error)) {
            // A profile that cannot be read its reader has named already.
            if (error.empty())
                say_once(profile.string(), "no such file (WINDIR names the folder of Quenby.INI)");
        } else {
            say(profile.string(),
                "names no file under the key " + std::string(key) + " of [TELEPHONE_ENVIRONMENT]");
        }
        return;
    }
    const std::string why = why_unreadable(path);
    say(path, !why.empty()       ? why
              : fallback.empty() ? std::string("cannot be read")
                                 : std::string(fallback));
}

void report_unreadable_once(const std::string& path) {
    if (const std::string why = why_unreadable(path); !why.empty()) say_once(path, why);
}

void hold_cd(const TelEnvironment& env) {
    if (admission_held()) return;
    std::vector<FileIdentity> files;
    add_folder(env.data_directory(), files);
    add_folder(env.index_directory(), files);
    for (const std::string& path : named_files(env)) add_identity(path, files);
    admit_only(std::move(files));
}

bool check_cd(const TelEnvironment& env, std::optional<std::uint64_t> master_size,
              std::uint64_t filter_size) {
    // The sentinel of each region index is one past the region's last record, and the
    // regions follow each other in the master file: the largest sentinel tells the count.
    std::uint64_t needed = 0;
    bool every_region = true;
    for (const std::string_view key : kRegionKeys) {
        const auto index = IndexFile::open_shared(env.index_file_path(key));
        IndexEntry last;
        if (!index || index->key_count() == 0 || !index->entry_at(index->key_count() - 1, last) ||
            last.view() != kSentinel || last.value < 1) {
            every_region = false;  // the region says so itself when it is selected
            continue;
        }
        needed = std::max<std::uint64_t>(needed, static_cast<std::uint64_t>(last.value) - 1);
    }
    bool ok = true;
    if (master_size)
        ok = check_count(env.data_file_path("인명"), *master_size, kRecordSize, needed,
                         every_region) &&
             ok;
    ok = check_count(env.index_file_path("인명FLT"), filter_size, kFilterEntrySize, needed,
                     every_region) &&
         ok;

    bool present = false;
    const std::string manifest_path = env.index_file_path(kManifestKey);
    const auto manifest = read_manifest(manifest_path, present);
    if (present && !manifest)
        say(manifest_path, "damaged; the sizes of the CD's files go unchecked");
    for (const ManifestEntry& e : manifest.value_or(std::vector<ManifestEntry>{})) {
        if (e.auxiliary) continue;  // their readers check them and do without
        const std::string path = entry_path(env, e);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            // Its reader says what a missing file means (the master file's message, an empty
            // detail line): the manifest only adds that the CD had it.
            say(path, "missing (the CD's manifest lists it)");
        } else if (static_cast<std::uint64_t>(st.st_size) != e.size) {
            say(path, std::to_string(st.st_size) + " bytes where the CD's manifest says " +
                          std::to_string(e.size) + ": the file is cut short or replaced");
            ok = false;
        }
    }
    return ok;
}

CdVerification verify_cd(const TelEnvironment& env) {
    CdVerification v;
    v.manifest = env.index_file_path(kManifestKey);
    bool present = false;
    const auto manifest = read_manifest(v.manifest, present);
    if (!manifest) return v;
    v.manifest_usable = true;
    for (const ManifestEntry& e : *manifest) {
        const std::string path = entry_path(env, e);
        if (const std::string why = why_unreadable(path); !why.empty()) {
            v.problems.push_back(path + ": " + why);
            continue;
        }
        MappedFile file;
        if (!file.open(path)) {
            v.problems.push_back(path + ": cannot be read");
        } else if (file.size() != e.size) {
            v.problems.push_back(path + ": " + std::to_string(file.size()) +
                                 " bytes where the manifest says " + std::to_string(e.size));
        } else if (checksum64(file.bytes()) != e.checksum) {
            v.problems.push_back(path + ": damaged (its checksum differs from the manifest's)");
        } else {
            ++v.checked;
        }
    }
    return v;
}

}  // namespace zendari
