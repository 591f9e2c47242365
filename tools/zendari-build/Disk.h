// Every change the builder makes to the disk goes through here: files written, folders made,
// entries renamed. That gives a failure one form, "cannot write PATH: REASON" with the
// system's reason (No space left on device), and gives the tests one seam that makes the Nth
// change fail as a full disk would, to show that a failed build leaves DIR as it was.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace zendari::build {

// Test seam: at the nth change from now on (1: the next one) the disk is full (ENOSPC), or
// the process is killed (SIGKILL) before the change is made; n = 0 turns it off. Also starts
// the count of disk_changes() afresh.
enum class DiskFault { kFull, kKilled };
void disk_fault_at(std::uint64_t n, DiskFault fault = DiskFault::kFull);
// Changes asked for since the count began (failed ones included).
std::uint64_t disk_changes();

// A new file written through a large buffer; the first failure is kept and every later call
// does nothing. close() must be called: it reports a failure of the last writes.
class OutputFile {
public:
    explicit OutputFile(std::filesystem::path path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    void write(const void* data, std::size_t n);
    void write(std::string_view s) { write(s.data(), s.size()); }
    // Flushes and closes. False with error() set when any step failed.
    [[nodiscard]] bool close();
    const std::string& error() const { return error_; }
    const std::filesystem::path& path() const { return path_; }

private:
    void fail(int error_number);
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::string error_;
};

// Writes `bytes` as the file `path`. False with `error` set on failure.
[[nodiscard]] bool write_file(const std::filesystem::path& path, std::string_view bytes,
                              std::string& error);
[[nodiscard]] bool make_folder(const std::filesystem::path& path, std::string& error);
// rename(2): atomic, replacing a file (or an empty folder) at `to`.
[[nodiscard]] bool rename_entry(const std::filesystem::path& from, const std::filesystem::path& to,
                                std::string& error);
// A second name for the file `from` (a hard link).
[[nodiscard]] bool link_file(const std::filesystem::path& from, const std::filesystem::path& to,
                             std::string& error);
// Makes the data written to `path` (a file or folder) durable before a rename relies on it.
[[nodiscard]] bool sync_entry(const std::filesystem::path& path, std::string& error);

}  // namespace zendari::build
