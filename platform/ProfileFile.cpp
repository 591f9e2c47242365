#include "ProfileFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

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

}  // namespace

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
    std::ifstream in(resolve_profile_path(file_name), std::ios::binary);
    if (in) {
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        if (find_profile_value(text, section, key, value)) {
            return truncate_utf8(value, buffer_size - 1);
        }
    }
    std::string_view def = default_value;
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return truncate_utf8(def, buffer_size - 1);
}

}  // namespace telvia
