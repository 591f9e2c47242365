#include "ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telvia {
namespace {

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    }
    return true;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\0';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// At most `limit` bytes of `s`, never ending inside a UTF-8 multi-byte character.
std::string truncate_utf8(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return std::string(s);
    std::size_t cut = limit;
    // Step back over continuation bytes to the lead byte of the character at the cut.
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
    return std::string(s.substr(0, cut));
}

const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

// Closes a descriptor when it goes.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

bool read_profile_file(const std::filesystem::path& path, std::string& text, std::string& error) {
    text.clear();
    error.clear();
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer forever.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = std::string(kind_of(st.st_mode)) + ", not a profile file";
        return false;
    }
    const auto too_large = [&] {
        error =
            "larger than " + std::to_string(kMaxProfileBytes >> 10) + " KiB, not a profile file";
        text.clear();
        return false;
    };
    if (static_cast<std::uint64_t>(st.st_size) > kMaxProfileBytes) return too_large();
    // The size may change under us: read up to one byte past the limit, never more.
    text.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == text.size()) {
            if (text.size() > kMaxProfileBytes) return too_large();
            text.resize(std::min(text.size() * 2, kMaxProfileBytes + 1));
        }
        const ssize_t n = ::read(file.fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::strerror(errno);
            text.clear();
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return true;
}

namespace {

// Says once per process, for a path and a reason, that a profile is passed over.
void tell_unusable(const std::filesystem::path& path, const std::string& error) {
    static std::mutex mutex;
    static std::set<std::pair<std::string, std::string>> told;
    const std::lock_guard lock(mutex);
    if (told.emplace(path.string(), error).second)
        std::fprintf(stderr, "%s: %s; its settings are not read\n", path.c_str(), error.c_str());
}

}  // namespace

std::string load_profile_text(const std::filesystem::path& path) {
    std::string text, error;
    if (read_profile_file(path, text, error) || error.empty()) return text;
    tell_unusable(path, error);
    return {};
}

bool profile_file_usable(const std::filesystem::path& path) {
    std::string text, error;
    if (read_profile_file(path, text, error) || error.empty()) return true;
    tell_unusable(path, error);
    return false;
}

std::filesystem::path windows_directory() {
    if (const char* w = std::getenv("WINDIR"); w && *w) return std::filesystem::path(w);
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        return std::filesystem::path(x) / "telvia" / "windows";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".config" / "telvia" / "windows";
}

std::filesystem::path resolve_profile_path(std::string_view file_name) {
    std::string name(file_name);
    const bool bare = name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
    std::filesystem::path p = bare ? windows_directory() / name : std::filesystem::path(name);
    std::error_code ec;
    if (std::filesystem::exists(p, ec)) return p;
    const std::string wanted = p.filename().string();
    const std::filesystem::path dir = p.has_parent_path() ? p.parent_path() : ".";
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (iequals(it->path().filename().string(), wanted)) return it->path();
    }
    return p;
}

bool find_profile_value(std::string_view text, std::string_view section, std::string_view key,
                        std::string& value) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark
    bool in_section = false;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = trim(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            std::string_view name =
                trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            // The first section of that name is the one read; later duplicates are ignored.
            if (in_section) return false;
            in_section = iequals(name, section);
            continue;
        }
        if (!in_section) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !iequals(trim(line.substr(0, eq)), key)) continue;
        std::string_view v = trim(line.substr(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            v = v.substr(1, v.size() - 2);
        }
        value.assign(v);
        return true;
    }
    return false;
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    std::string_view file_name) {
    if (buffer_size == 0) return {};
    std::string value;
    const std::string text = load_profile_text(resolve_profile_path(file_name));
    if (find_profile_value(text, section, key, value)) return truncate_utf8(value, buffer_size - 1);
    std::string_view def = default_value;
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return truncate_utf8(def, buffer_size - 1);
}

}  // namespace telvia
