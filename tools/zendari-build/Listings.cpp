#include "Listings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

#include "data/Cp949.h"
#include "data/regions.h"
#include "index/index_format.h"

namespace zendari::build {
namespace {

constexpr std::string_view kListingsHeader =
    "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_code\tdetail";
constexpr std::string_view kDongsHeader = "dong_code\tpostal_code\tname";
constexpr std::array<std::string_view, 10> kListingColumns = {
    "name",   "dong_code", "area_code", "exchange",    "line",
    "suffix", "lot_main",  "lot_sub",   "postal_code", "detail"};
constexpr std::array<std::string_view, 3> kDongColumns = {"dong_code", "postal_code", "name"};
constexpr std::size_t kMaxNameBytes = index_format::kMaxKeyLength;
constexpr std::size_t kMaxDetailBytes = 1000;
// A dong table entry's field 1 holds at most 199 bytes: "(NNN-NNN) " (10), the name, and
// the 10 bytes that readers cut.
constexpr std::size_t kMaxDongNameBytes = 199 - 10 - 10;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads a text file line by line in large chunks; lines end in LF, a CR before it is dropped.
class LineReader {
public:
    explicit LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {
        open_error_ = file_ ? 0 : errno;
        // A folder opens for reading on Linux; only its first read fails.
        std::error_code ec;
        if (file_ && std::filesystem::is_directory(path, ec)) {
            file_.reset();
            open_error_ = EISDIR;
        }
        if (file_) std::setvbuf(file_.get(), nullptr, _IONBF, 0);
        buffer_.resize(1 << 22);
    }
    bool ok() const { return file_ != nullptr; }
    // Why the file did not open.
    const char* open_error() const { return std::strerror(open_error_); }
    bool failed() const { return failed_; }
    // The next line (without its end), or false at the end of the file.
    bool next(std::string_view& line) {
        for (;;) {
            const char* begin = buffer_.data() + start_;
            const char* nl = static_cast<const char*>(std::memchr(begin, '\n', end_ - start_));
            if (nl != nullptr) {
                line = std::string_view(begin, static_cast<std::size_t>(nl - begin));
                start_ = static_cast<std::size_t>(nl - buffer_.data()) + 1;
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            if (eof_) {
                if (start_ == end_) return false;
                line = std::string_view(begin, end_ - start_);
                start_ = end_;
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            // Keep the partial line and refill.
            std::memmove(buffer_.data(), begin, end_ - start_);
            end_ -= start_;
            start_ = 0;
            if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
            const std::size_t n =
                std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
            if (n == 0) {
                eof_ = true;
                failed_ = std::ferror(file_.get()) != 0;
            }
            end_ += n;
        }
    }

private:
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> buffer_;
    std::size_t start_ = 0, end_ = 0;
    bool eof_ = false, failed_ = false;
    int open_error_ = 0;
};

std::string where(const std::string& path, std::uint64_t line, std::string_view column) {
    return std::filesystem::path(path).filename().string() + ":" + std::to_string(line) + ": " +
           std::string(column) + ": ";
}

// Splits at tabs into exactly N fields; returns the number found (more than N counts N+1).
template <std::size_t N>
std::size_t split(std::string_view line, std::array<std::string_view, N>& fields) {
    std::size_t n = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (n == N) return N + 1;
        fields[n++] = line.substr(
            start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (tab == std::string_view::npos) return n;
        start = tab + 1;
    }
}

bool all_digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal 0..32767; the reason on failure.
const char* parse_small(std::string_view s, std::int16_t& out) {
    if (s.empty()) return "empty";
    if (!all_digits(s)) return "not a number";
    // The value decides, not the width: "000085" is 85.
    while (s.size() > 1 && s.front() == '0') s.remove_prefix(1);
    if (s.size() > 5) return "out of range (0..32767)";
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    if (v > 32767) return "out of range (0..32767)";
    out = static_cast<std::int16_t>(v);
    return nullptr;
}

const char* parse_dong_code(std::string_view s, std::int32_t& out) {
    if (s.size() != 8 || !all_digits(s)) return "not an 8-digit dong code";
    std::from_chars(s.data(), s.data() + s.size(), out);
    if (region_of_dong_code(out) < 0) return "dong code belongs to no region";
    return nullptr;
}

const char* parse_postal(std::string_view s, std::int32_t& out) {
    if (s.size() != 6 || !all_digits(s) || s[0] == '0') return "not a 6-digit postal code";
    std::from_chars(s.data(), s.data() + s.size(), out);
    return nullptr;
}

bool is_ascii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-8 text to CP949 with the checks every text on the CD shares; the reason on failure.
const char* to_cp949(TextConverter& converter, std::string_view utf8, std::string& out,
                     std::size_t max_bytes) {
    out.clear();
    if (is_ascii(utf8)) {
        out.assign(utf8);
    } else if (!converter.convert(utf8, out)) {
        return "not valid UTF-8 text that code page 949 can hold";
    }
    if (out.size() > max_bytes) return "too long";
    if (out.find(':') != std::string::npos) return "contains ':'";
    if (out.find('|') != std::string::npos) return "contains '|'";
    if (out.find('\0') != std::string::npos) return "contains a NUL byte";
    return nullptr;
}

}  // namespace

bool read_dongs(const std::string& path, ListingSet& set, std::string& error) {
    LineReader reader(path);
    if (!reader.ok()) {
        error = where(path, 1, "header") + "cannot read the file (" + reader.open_error() + ")";
        return false;
    }
    TextConverter converter(TextConverter::Direction::kUtf8ToCp949);
    std::string_view line;
    std::uint64_t number = 0;
    std::string name;
    while (reader.next(line)) {
        ++number;
        if (number == 1) {
            if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
            if (line != kDongsHeader) {
                error =
                    where(path, 1, "header") + "expected \"dong_code<TAB>postal_code<TAB>name\"";
                return false;
            }
            continue;
        }
        if (line.empty()) continue;  // a blank line (often the file's last) holds no dong
        std::array<std::string_view, 3> f;
        const std::size_t n = split(line, f);
        if (n != 3) {
            error = where(path, number, n < 3 ? kDongColumns[n] : kDongColumns[2]) +
                    (n < 3 ? "missing field" : "too many fields");
            return false;
        }
        Dong dong;
        std::int32_t postal = 0;
        if (const char* why = parse_dong_code(f[0], dong.code)) {
            error = where(path, number, "dong_code") + why;
            return false;
        }
        if (const char* why = parse_postal(f[1], postal)) {
            error = where(path, number, "postal_code") + why;
            return false;
        }
        if (f[2].empty()) {
            error = where(path, number, "name") + "empty";
            return false;
        }
        if (const char* why = to_cp949(converter, f[2], name, kMaxDongNameBytes)) {
            error = where(path, number, "name") + why;
            return false;
        }
        dong.text =
            "(" + std::string(f[1].substr(0, 3)) + "-" + std::string(f[1].substr(3)) + ") " + name;
        set.dongs.push_back(std::move(dong));
    }
    if (reader.failed()) {
        error = where(path, number + 1, "header") + "read error";
        return false;
    }
    if (number == 0) {
        error = where(path, 1, "header") + "missing";
        return false;
    }
    // Ascending code; a duplicate is reported at its later line.
    std::vector<std::size_t> order(set.dongs.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return set.dongs[a].code < set.dongs[b].code;
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (set.dongs[order[i]].code == set.dongs[order[i - 1]].code) {
            error = where(path, std::max(order[i], order[i - 1]) + 2, "dong_code") +
                    "duplicate dong code";
            return false;
        }
    }
    std::vector<Dong> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(std::move(set.dongs[i]));
    set.dongs = std::move(sorted);
    return true;
}

bool read_listings(const std::string& path, ListingSet& set, std::string& error,
                   bool show_progress) {
    LineReader reader(path);
    if (!reader.ok()) {
        error = where(path, 1, "header") + "cannot read the file (" + reader.open_error() + ")";
        return false;
    }
    std::error_code ec;
    const auto file_size = std::filesystem::file_size(path, ec);
    if (!ec) {
        // The arena needs less than the file (CP949 is shorter than UTF-8); untouched
        // reserved pages cost nothing.
        set.arena.reserve(file_size);
        set.listings.reserve(std::min<std::uintmax_t>(file_size / 24 + 16, kMaxRecords));
    }
    TextConverter converter(TextConverter::Direction::kUtf8ToCp949);
    std::string_view line;
    std::uint64_t number = 0;
    std::string name, detail;
    auto fail = [&](std::string_view column, std::string_view why) {
        error = where(path, number, column) + std::string(why);
        return false;
    };
    while (reader.next(line)) {
        ++number;
        if (number == 1) {
            if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
            if (line != kListingsHeader) {
                return fail("header",
                            "expected the ten columns name, dong_code, area_code, exchange, "
                            "line, suffix, lot_main, lot_sub, postal_code, detail");
            }
            continue;
        }
        if (line.empty()) continue;  // a blank line holds no listing
        if (set.listings.size() == static_cast<std::size_t>(kMaxRecords)) {
            return fail("name", "more than 11900000 listings (the directory CD's limit)");
        }
        std::array<std::string_view, 10> f;
        const std::size_t n = split(line, f);
        if (n != 10) {
            return fail(n < 10 ? kListingColumns[n] : kListingColumns[9],
                        n < 10 ? "missing field" : "too many fields");
        }
        Listing l;
        if (f[0].empty()) return fail("name", "empty");
        if (const char* why = to_cp949(converter, f[0], name, kMaxNameBytes))
            return fail("name", why);
        if (index_format::is_end_key(name))
            return fail("name", "begins with a byte of 0xF9 or above");
        std::int32_t code = 0;
        if (const char* why = parse_dong_code(f[1], code)) return fail("dong_code", why);
        const auto dong =
            std::lower_bound(set.dongs.begin(), set.dongs.end(), code,
                             [](const Dong& d, std::int32_t c) { return d.code < c; });
        if (dong == set.dongs.end() || dong->code != code)
            return fail("dong_code", "not listed in the dongs file");
        l.dong = static_cast<std::int32_t>(dong - set.dongs.begin());
        l.region = static_cast<std::uint8_t>(region_of_dong_code(code));
        const std::string_view area = f[2];
        if (area.size() < 2 || area.size() > 4 || area[0] != '0' || !all_digits(area) ||
            (area.size() > 2 && area[1] == '0')) {
            return fail("area_code", "not an area code (0 and 1 to 3 digits, such as 02 or 032)");
        }
        int area_value = 0;
        std::from_chars(area.data() + 1, area.data() + area.size(), area_value);
        l.record.area = static_cast<std::uint16_t>(area_value);
        if (const char* why = parse_small(f[3], l.record.exchange)) return fail("exchange", why);
        if (const char* why = parse_small(f[4], l.record.line)) return fail("line", why);
        if (const char* why = parse_small(f[5], l.record.suffix)) return fail("suffix", why);
        if (const char* why = parse_small(f[6], l.record.lot_main)) return fail("lot_main", why);
        if (const char* why = parse_small(f[7], l.record.lot_sub)) return fail("lot_sub", why);
        if (const char* why = parse_postal(f[8], l.record.postal)) return fail("postal_code", why);
        if (const char* why = to_cp949(converter, f[9], detail, kMaxDetailBytes))
            return fail("detail", why);
        l.text_at = set.arena.size();
        l.name_length = static_cast<std::uint8_t>(name.size());
        l.detail_length = static_cast<std::uint16_t>(detail.size());
        set.arena.insert(set.arena.end(), name.begin(), name.end());
        set.arena.insert(set.arena.end(), detail.begin(), detail.end());
        set.listings.push_back(l);
        if (show_progress && set.listings.size() % 1'000'000 == 0) {
            std::fprintf(stderr, "zendari-build: %zu listings read\n", set.listings.size());
        }
    }
    if (reader.failed()) {
        ++number;
        return fail("name", "read error");
    }
    if (number == 0) {
        number = 1;
        return fail("header", "missing");
    }
    return true;
}

}  // namespace zendari::build
