#include "data/TelEnvironment.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <utility>

#include <sys/stat.h>

#include "ProfileFile.h"
#include "common/ChangeWatch.h"

namespace zendari {
namespace {

constexpr std::string_view kSection = "TELEPHONE_ENVIRONMENT";
constexpr std::size_t kDirectoryBuffer = 260;
constexpr std::size_t kFileNameBuffer = 50;
constexpr char kSeparator = '/';

}  // namespace

TelEnvironment::TelEnvironment(std::string file_name) : file_name_(std::move(file_name)) {}

std::string TelEnvironment::normalise_directory(std::string value) {
    if (value.empty() || value.back() != kSeparator) value.push_back(kSeparator);
    // Old installs wrote " D:" for a CD in drive D: and meant drive C:. Only a value in that
    // drive form is rewritten: a native path such as /Data/ keeps its 'D'.
    if (value.size() > 2 && value[0] == ' ' && value[1] == 'D' && value[2] == ':') {
        value[1] = 'C';
        value[0] = ' ';
    }
    const std::size_t first = value.find_first_not_of(" \t");
    value.erase(0, first == std::string::npos ? value.size() : first);
    return value;
}

namespace {

// At most `limit` bytes of `s`, never ending inside a UTF-8 character (the profile reader's
// buffer rule).
std::string cut_to(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return std::string(s);
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return std::string(s.substr(0, n));
}

// The last Quenby.INI read, kept while the file on disk is unchanged (same device, inode,
// size and modification time), so a path costs no reading and parsing of the file; an edit
// of the file still shows at the next call. While nothing happens in the file's folder (the
// change watch) not even a stat is needed: the main program selects a region on every
// keystroke.
class ProfileSnapshot {
public:
    std::string value(const std::string& file_name, std::string_view key, std::size_t buffer) {
        // Where the bare name is looked up: the Windows directory of the moment.
        const bool bare = file_name.find_first_of("/\\") == std::string::npos;
        std::filesystem::path lookup =
            bare ? telvia::windows_directory() / file_name : std::filesystem::path(file_name);
        std::lock_guard lock(mutex_);
        ChangeWatch& watch = ChangeWatch::instance();
        if (!watched_ || lookup != lookup_ || watch.generation() != generation_) {
            watched_ = false;
            const std::filesystem::path path = telvia::resolve_profile_path(file_name);
            lookup_ = std::move(lookup);
            const bool watching = watch.watch(path.parent_path().string());
            const std::uint64_t generation = watch.generation();
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) return {};
            refresh(path, st);
            watched_ = watching;
            generation_ = generation;
        }
        return memo(key, buffer);
    }

private:
    void refresh(const std::filesystem::path& path, const struct stat& st) {
        const std::int64_t mtime =
            std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
        if (path != path_ || st.st_dev != device_ || st.st_ino != inode_ || st.st_size != size_ ||
            mtime != mtime_) {
            std::ifstream in(path, std::ios::binary);
            text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            path_ = path;
            device_ = st.st_dev;
            inode_ = st.st_ino;
            size_ = st.st_size;
            mtime_ = mtime;
            values_.clear();
        }
    }

    const std::string& memo(std::string_view key, std::size_t buffer) {
        std::string memo_key(key);
        memo_key += '\0';
        memo_key += std::to_string(buffer);
        auto it = values_.find(memo_key);
        if (it == values_.end()) {
            std::string raw;
            if (!telvia::find_profile_value(text_, kSection, key, raw)) raw.clear();
            it = values_.emplace(std::move(memo_key), cut_to(raw, buffer - 1)).first;
        }
        return it->second;
    }

    std::mutex mutex_;
    bool watched_ = false;  // path_ was checked at generation_ of a watched folder
    std::uint64_t generation_ = 0;
    std::filesystem::path lookup_;  // the name looked up, before its case-blind resolution
    std::filesystem::path path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    off_t size_ = -1;
    std::int64_t mtime_ = 0;
    std::string text_;
    std::unordered_map<std::string, std::string> values_;
};

std::string profile_value(const std::string& file_name, std::string_view key, std::size_t buffer) {
    static ProfileSnapshot snapshot;
    return snapshot.value(file_name, key, buffer);
}

}  // namespace

std::string TelEnvironment::directory(std::string_view key) const {
    return normalise_directory(profile_value(file_name_, key, kDirectoryBuffer));
}

std::string TelEnvironment::file_path(std::string_view directory_key, std::string_view key) const {
    const std::string name = profile_value(file_name_, key, kFileNameBuffer);
    if (name.empty()) return {};
    return directory(directory_key) + name;
}

std::string TelEnvironment::data_directory() const {
    return directory("TelDataPath");
}
std::string TelEnvironment::index_directory() const {
    return directory("TelDataPath2");
}

std::string TelEnvironment::data_file_path(std::string_view key) const {
    return file_path("TelDataPath", key);
}

std::string TelEnvironment::index_file_path(std::string_view key) const {
    return file_path("TelDataPath2", key);
}

}  // namespace zendari
