#include "Disk.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendari::build {
namespace {

namespace fs = std::filesystem;

std::atomic<std::uint64_t> changes{0};
std::atomic<std::uint64_t> failing_change{0};
std::atomic<DiskFault> failure{DiskFault::kFull};

// Counts one change; true when the seam says this one fails (errno is then ENOSPC).
bool seam_fails() {
    const std::uint64_t n = ++changes;
    if (failing_change == 0 || n != failing_change) return false;
    if (failure == DiskFault::kKilled) ::kill(::getpid(), SIGKILL);
    errno = ENOSPC;
    return true;
}

std::string reason(const fs::path& path, int error_number) {
    return "cannot write " + path.string() + ": " + std::strerror(error_number);
}

constexpr std::size_t kBufferSize = 1 << 20;

}  // namespace

void disk_fault_at(std::uint64_t n, DiskFault fault) {
    changes = 0;
    failing_change = n;
    failure = fault;
}

std::uint64_t disk_changes() {
    return changes;
}

OutputFile::OutputFile(fs::path path) : path_(std::move(path)) {
    if (seam_fails()) {
        fail(errno);
        return;
    }
    file_ = std::fopen(path_.c_str(), "wbx");  // a new file: the build folder starts empty
    if (file_ == nullptr) {
        fail(errno);
        return;
    }
    buffer_ = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void OutputFile::fail(int error_number) {
    if (error_.empty()) error_ = reason(path_, error_number);
}

void OutputFile::write(const void* data, std::size_t n) {
    if (!error_.empty() || n == 0) return;
    if (seam_fails() || std::fwrite(data, 1, n, file_) != n) fail(errno);
}

bool OutputFile::close() {
    if (file_ == nullptr) return error_.empty();
    std::FILE* f = std::exchange(file_, nullptr);
    const bool seam = error_.empty() && seam_fails();
    const int seam_errno = errno;
    if (std::fflush(f) != 0) fail(errno);
    if (seam) fail(seam_errno);
    if (std::fclose(f) != 0) fail(errno);
    return error_.empty();
}

bool write_file(const fs::path& path, std::string_view bytes, std::string& error) {
    OutputFile out(path);
    out.write(bytes);
    if (out.close()) return true;
    error = out.error();
    return false;
}

bool make_folder(const fs::path& path, std::string& error) {
    if (seam_fails() || ::mkdir(path.c_str(), 0777) != 0) {
        error = "cannot create " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool rename_entry(const fs::path& from, const fs::path& to, std::string& error) {
    if (seam_fails() || ::rename(from.c_str(), to.c_str()) != 0) {
        error = "cannot move " + from.string() + " to " + to.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool link_file(const fs::path& from, const fs::path& to, std::string& error) {
    if (seam_fails() || ::link(from.c_str(), to.c_str()) != 0) {
        error = "cannot link " + from.string() + " as " + to.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool sync_entry(const fs::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (seam_fails() || fd < 0 || ::fsync(fd) != 0) {
        error = reason(path, errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace zendari::build
