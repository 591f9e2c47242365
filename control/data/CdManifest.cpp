#include "data/CdManifest.h"

#include <charconv>
#include <cstring>

#include "common/Checksum.h"

namespace zendari {
namespace {

constexpr std::string_view kFirstLine = "TVMANIFEST 1";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kMaxNameLength = 255;

std::uint64_t checksum_of(std::string_view text) {
    return checksum64({reinterpret_cast<const std::byte*>(text.data()), text.size()});
}

std::string hex16(std::uint64_t v) {
    char buffer[17];
    for (int i = 15; i >= 0; --i, v >>= 4) buffer[i] = "0123456789abcdef"[v & 0xF];
    return {buffer, 16};
}

bool read_hex16(std::string_view s, std::uint64_t& v) {
    if (s.size() != 16) return false;
    v = 0;
    for (const char c : s) {
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) return false;
        v = (v << 4) | static_cast<std::uint64_t>(d);
    }
    return true;
}

// A decimal without sign or leading zeros (as written).
bool read_decimal(std::string_view s, std::uint64_t& v) {
    if (s.empty() || (s.size() > 1 && s[0] == '0')) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size();
}

bool plain_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..") return false;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F || c == '/' || c == '\\') return false;
    }
    return true;
}

// Splits `line` at single blanks into exactly `n` fields.
template <std::size_t N>
bool fields_of(std::string_view line, std::string_view (&out)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t blank = line.find(' ');
        if ((blank == std::string_view::npos) != (i + 1 == N)) return false;
        out[i] = line.substr(0, blank);
        if (out[i].empty()) return false;
        line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
    }
    return true;
}

}  // namespace

std::string manifest_text(std::span<const ManifestEntry> entries) {
    std::string text = std::string(kFirstLine) + std::string(kLineEnd);
    for (const ManifestEntry& e : entries) {
        text += e.auxiliary ? "aux " : "file ";
        text += e.in_data_folder ? "data " : "index ";
        text += e.name + " " + std::to_string(e.size) + " " + hex16(e.checksum);
        text += kLineEnd;
    }
    const std::uint64_t sum = checksum_of(text);
    text += "end " + std::to_string(entries.size()) + " " + hex16(sum) + std::string(kLineEnd);
    return text;
}

std::optional<std::vector<ManifestEntry>> parse_manifest(std::string_view text) {
    std::vector<ManifestEntry> entries;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        const std::size_t end = text.find(kLineEnd, at);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(at, end - at);
        const std::size_t next = end + kLineEnd.size();
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
        } else if (line.starts_with("end ")) {
            std::string_view f[3];
            std::uint64_t count = 0, sum = 0;
            if (!fields_of(line, f) || !read_decimal(f[1], count) || !read_hex16(f[2], sum))
                return std::nullopt;
            if (count != entries.size() || sum != checksum_of(text.substr(0, at)) ||
                next != text.size())
                return std::nullopt;
            return entries;
        } else {
            std::string_view f[5];
            ManifestEntry e;
            if (!fields_of(line, f)) return std::nullopt;
            if (f[0] != "file" && f[0] != "aux") return std::nullopt;
            if (f[1] != "data" && f[1] != "index") return std::nullopt;
            if (!plain_name(f[2]) || !read_decimal(f[3], e.size) || !read_hex16(f[4], e.checksum))
                return std::nullopt;
            e.auxiliary = f[0] == "aux";
            e.in_data_folder = f[1] == "data";
            e.name.assign(f[2]);
            entries.push_back(std::move(e));
        }
        at = next;
    }
    return std::nullopt;  // no end line: cut short
}

}  // namespace zendari
