// What the fuzz targets share: the fuzzer's bytes as a file the readers can open by path (in
// a folder in memory where the system offers one, so a run hardly touches the disk), and the
// cutting of one input into the several files of a CD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <stdlib.h>
#include <unistd.h>

namespace telvia::fuzz {

// A folder of its own for the process's run, in memory where the system offers it, for
// readers that find files beside each other by name. Removed when the process ends normally
// (a replay); a fuzzing run that ends by a crash leaves it for the system's cleaning.
inline const std::string& scratch_folder() {
    // Never destroyed, so the handler at exit still finds the name.
    static const std::string* const folder = [] {
        std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              std::string("/telvia-fuzz-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return new std::string(pattern);
    }();
    static const bool removed_at_exit = std::atexit([] {
                                            std::error_code ec;
                                            std::filesystem::remove_all(*folder, ec);
                                        }) == 0;
    (void)removed_at_exit;
    return *folder;
}

// A regular file holding `bytes`, in the scratch folder (in memory where the system offers
// it), named by path() while the object lives. Every object has a path of its own: readers
// that keep files by path (the index and consonant index caches) must never be handed an
// earlier input's file for this one.
class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes) {
        static unsigned long long made = 0;
        path_ = scratch_folder() + "/input-" + std::to_string(++made);
        if (FILE* f = std::fopen(path_.c_str(), "wb")) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() { ::unlink(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes `bytes` as the file `name` of the scratch folder, as a new file (a new inode, so
// readers that remember files by identity see a different file) and returns its path.
inline std::string put_file(const std::string& name, std::string_view bytes) {
    const std::string path = scratch_folder() + "/" + name;
    const std::string temporary = path + ".new";
    if (FILE* f = std::fopen(temporary.c_str(), "wb")) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        std::rename(temporary.c_str(), path.c_str());
    }
    return path;
}

// A promise of a reader that does not hold: the fuzzer takes the abort as a finding.
inline void check(bool condition) {
    if (!condition) std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The parts of an input cut at every "\n--8<--\n" line: the seeds are CD files joined that
// way, and a mutation that breaks a separator merges two files, which the readers must bear
// too. Missing parts are empty.
inline std::vector<std::string_view> split_parts(std::string_view input, std::size_t count) {
    constexpr std::string_view kSeparator = "\n--8<--\n";
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

}  // namespace telvia::fuzz
