#include "LibraryCheck.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendari {
namespace {

#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#else
constexpr int kMachine = -1;  // not checked
#endif

// Reads exactly `n` bytes at `offset`; false when the file is shorter or the read fails.
bool read_at(int fd, std::uint64_t offset, void* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, static_cast<char*>(out) + done, n - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Whether [offset, offset + count * size) lies inside a file of `file_size` bytes.
bool inside(std::uint64_t offset, std::uint64_t count, std::uint64_t size,
            std::uint64_t file_size) {
    if (count != 0 && size > (file_size / count)) return false;
    return offset <= file_size && count * size <= file_size - offset;
}

std::string check(int fd, std::uint64_t file_size) {
    Elf64_Ehdr h{};
    if (file_size == 0) return "an empty file, not a control library";
    if (file_size < EI_NIDENT || !read_at(fd, 0, h.e_ident, EI_NIDENT) ||
        std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0)
        return "not a shared library (no ELF header)";
    if (h.e_ident[EI_CLASS] != ELFCLASS64 || h.e_ident[EI_DATA] != ELFDATA2LSB)
        return "a shared library for another kind of machine";
    if (!read_at(fd, 0, &h, sizeof h)) return "cut short inside its ELF header";
    if (h.e_type != ET_DYN) return "an ELF file but not a shared library";
    if (kMachine >= 0 && h.e_machine != kMachine)
        return "a shared library for another kind of machine";
    if (h.e_phentsize != sizeof(Elf64_Phdr) || h.e_phnum == 0 ||
        !inside(h.e_phoff, h.e_phnum, sizeof(Elf64_Phdr), file_size))
        return "cut short or damaged (its program headers lie outside the file)";
    if (h.e_shnum != 0 && (h.e_shentsize != sizeof(Elf64_Shdr) ||
                           !inside(h.e_shoff, h.e_shnum, sizeof(Elf64_Shdr), file_size)))
        return "cut short or damaged (its section headers lie outside the file)";
    std::vector<Elf64_Phdr> segments(h.e_phnum);
    if (!read_at(fd, h.e_phoff, segments.data(), segments.size() * sizeof(Elf64_Phdr)))
        return "cut short or damaged (its program headers cannot be read)";
    for (const Elf64_Phdr& p : segments) {
        if (p.p_type == PT_LOAD && !inside(p.p_offset, 1, p.p_filesz, file_size))
            return "cut short or damaged (a segment to load lies outside the file)";
    }
    return {};
}

}  // namespace

std::string why_not_a_library(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? "a folder, not a control library"
                                  : "not a regular file, so not a control library";
    } else {
        why = check(fd, static_cast<std::uint64_t>(st.st_size));
    }
    ::close(fd);
    return why;
}

}  // namespace zendari
