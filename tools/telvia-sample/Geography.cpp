#include "Geography.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace zendari::sample {
namespace {

constexpr std::array<std::string_view, 10> kRegionBox{
    "서울(과천/광명)", "부산/울산/경남", "대구/경북", "인천/경기", "광주/전남",
    "대전/충남",       "강원",           "충북",      "전북",      "제주"};

constexpr std::string_view kDong = "동";

[[noreturn]] void fail(std::string_view line, const char* why) {
    std::fprintf(stderr, "telvia-sample: place list: %s: %.*s\n", why,
                 static_cast<int>(line.size()), line.data());
    std::abort();
}

std::vector<std::string_view> split_words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool all_digits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::uint32_t to_number(std::string_view s, std::string_view line) {
    std::uint32_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || p != s.data() + s.size()) fail(line, "not a number");
    return v;
}

// "창신2동" -> "창신" (the stem shared by the numbered dongs of one group); "" when the name
// is not of that shape.
std::string_view numbered_stem(std::string_view name) {
    if (name.size() <= kDong.size() || !name.ends_with(kDong)) return {};
    std::size_t end = name.size() - kDong.size();
    std::size_t i = end;
    while (i > 0 && name[i - 1] >= '0' && name[i - 1] <= '9') --i;
    if (i == end || i == 0) return {};
    return name.substr(0, i);
}

bool is_rural(std::string_view name) {
    return name.ends_with("읍") || name.ends_with("면");
}

class Parser {
public:
    explicit Parser(Geography& geo) : geo_(geo) {}

    // First pass: codes given explicitly are reserved so automatic codes never take them.
    void reserve(std::string_view text) {
        for_each_line(text, [&](std::string_view line, const std::vector<std::string_view>& w) {
            if ((w[0] == "D" || w[0] == "G" || w[0] == "C") && w.size() > 1 && all_digits(w[1]))
                reserved_.insert(std::string(w[1]));
            (void)line;
        });
    }

    void parse(std::string_view text) {
        for_each_line(text, [&](std::string_view line, const std::vector<std::string_view>& w) {
            parse_line(line, w);
        });
    }

private:
    template <typename F>
    static void for_each_line(std::string_view text, F&& f) {
        while (!text.empty()) {
            const std::size_t nl = text.find('\n');
            std::string_view line = text.substr(0, nl);
            text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
            if (line.empty() || line[0] == '#') continue;
            const auto words = split_words(line);
            if (!words.empty()) f(line, words);
        }
    }

    void parse_line(std::string_view line, const std::vector<std::string_view>& w) {
        const std::string_view kind = w[0];
        if (kind == "R") {
            if (w.size() < 2) fail(line, "region without number");
            area_ = static_cast<int>(to_number(w[1], line));
            if (area_ > 9) fail(line, "region number out of range");
        } else if (kind == "P") {
            parse_top(line, w);
        } else if (kind == "D") {
            parse_district(line, w, 2);
        } else if (kind == "C") {
            if (w.size() < 3 || !all_digits(w[1]) || w[1].size() != 2) fail(line, "bad city");
            city_code_ = std::string(w[1]);
            city_name_ = std::string(w[2]);
            city_next_ = 1;
            geo_.rows.push_back({area_, 2, city_name_, city_code_});
        } else if (kind == "G") {
            if (city_code_.empty()) fail(line, "district outside a city");
            parse_district(line, w, 3);
        } else {
            fail(line, "unknown line kind");
        }
    }

    void parse_top(std::string_view line, const std::vector<std::string_view>& w) {
        if (w.size() != 6 || area_ < 0) fail(line, "bad province line");
        TopPlace top;
        top.area_number = area_;
        top.area_code = std::string(w[1]);
        top.name = std::string(w[2]);
        top.address_word = std::string(w[3]);
        const std::size_t colon = top.area_code.find(':');
        if (colon == std::string::npos) fail(line, "province code without telephone prefix");
        top.phone = top.area_code.substr(0, colon);
        prefixes_ = split_colon(std::string_view(top.area_code).substr(colon + 1));
        postal_next_ = to_number(w[4], line);
        top.population_k = to_number(w[5], line);
        geo_.rows.push_back({area_, 1, top.name, top.area_code});
        geo_.tops.push_back(std::move(top));
        city_code_.clear();
        auto_next_ = 1;
    }

    static std::vector<std::string> split_colon(std::string_view s) {
        std::vector<std::string> parts;
        while (true) {
            const std::size_t c = s.find(':');
            parts.emplace_back(s.substr(0, c));
            if (c == std::string_view::npos) break;
            s = s.substr(c + 1);
        }
        return parts;
    }

    // "D [code] name [: dongs]" at level 2, or "G [code] name [: dongs]" (level 3) in a city.
    void parse_district(std::string_view line, const std::vector<std::string_view>& w, int level) {
        if (geo_.tops.empty()) fail(line, "district before its province");
        std::size_t i = 1;
        std::string code;
        if (i < w.size() && all_digits(w[i])) {
            code = std::string(w[i++]);
        } else {
            code = level == 2 ? next_auto_code(line) : next_city_code(line);
        }
        if (code.size() != 4) fail(line, "district code must have 4 digits");
        if (level == 3 && !code.starts_with(city_code_)) fail(line, "district outside its city");
        if (!used_.insert(code).second) fail(line, "district code used twice");
        if (i >= w.size()) fail(line, "district without name");
        const std::string name(w[i++]);
        std::vector<std::string> dongs;
        if (i < w.size()) {
            if (w[i] != ":") fail(line, "expected ':' before the dongs");
            for (++i; i < w.size(); ++i) dongs.emplace_back(w[i]);
        } else {
            dongs = plausible_dongs(name);
        }
        if (level == 2) city_code_.clear();
        const TopPlace& top = geo_.tops.back();
        std::string address = top.address_word + " ";
        if (level == 3) address += city_name_ + " ";
        address += name + " ";
        geo_.rows.push_back({area_, level, name, code});
        add_dongs(line, code, address, dongs, level + 1, postal_next_++);
    }

    std::string next_auto_code(std::string_view line) {
        const std::string& prefix = prefixes_.back();
        if (prefix.size() != 2) fail(line, "automatic codes need a two-digit prefix");
        for (; auto_next_ < 100; ++auto_next_) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%s%02u", prefix.c_str(), auto_next_);
            if (!reserved_.contains(buf) && !used_.contains(buf)) {
                ++auto_next_;
                return buf;
            }
        }
        fail(line, "no automatic code left");
    }

    std::string next_city_code(std::string_view line) {
        if (city_next_ >= 100) fail(line, "too many districts in a city");
        char buf[16];
        std::snprintf(buf, sizeof buf, "%s%02u", city_code_.c_str(), city_next_++);
        return buf;
    }

    // Numbered dongs that follow each other with one stem ("창신1동", "창신2동") form a group:
    // a 6-digit row for the whole group, then one 8-digit row per dong, all at `level`.
    void add_dongs(std::string_view line, const std::string& district, const std::string& address,
                   const std::vector<std::string>& names, int level, std::uint32_t postal3) {
        if (postal3 < 100 || postal3 > 999) fail(line, "postal prefix out of range");
        std::uint32_t group = 0;
        std::size_t i = 0;
        const std::uint32_t base = to_number(district, line) * 10000;
        while (i < names.size()) {
            const std::string_view stem = numbered_stem(names[i]);
            std::size_t j = i + 1;
            if (!stem.empty())
                while (j < names.size() && numbered_stem(names[j]) == stem) ++j;
            if (++group > 99) fail(line, "more than 99 dong groups in a district");
            const std::uint32_t group_code = base + group * 100;
            if (j - i >= 2) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "%06u", group_code / 100);
                geo_.rows.push_back({area_, level, std::string(stem) + std::string(kDong), buf});
            } else {
                j = i + 1;
            }
            for (std::size_t k = i; k < j; ++k) {
                const std::uint32_t sub = static_cast<std::uint32_t>(k - i) + 1;
                if (sub > 99) fail(line, "too many dongs in a group");
                DongInfo d;
                d.code = group_code + sub;
                d.postal = postal3 * 1000 + (group * 10 + (sub - 1) % 10) % 1000;
                d.name = names[k];
                d.address = address + names[k];
                d.top = static_cast<std::uint16_t>(geo_.tops.size() - 1);
                d.rural = is_rural(names[k]);
                geo_.rows.push_back({area_, level, d.name, std::to_string(d.code)});
                geo_.dongs.push_back(std::move(d));
            }
            i = j;
        }
    }

    Geography& geo_;
    int area_ = -1;
    std::vector<std::string> prefixes_;
    std::uint32_t postal_next_ = 0;
    std::uint32_t auto_next_ = 1;
    std::string city_code_, city_name_;
    std::uint32_t city_next_ = 1;
    std::set<std::string> reserved_, used_;
};

}  // namespace

Geography build_geography() {
    Geography geo;
    Parser parser(geo);
    const std::array<std::string_view, 4> parts{geo_data_regions_0_1(), geo_data_regions_2_3(),
                                                geo_data_regions_4_6(), geo_data_regions_7_9()};
    for (auto text : parts) parser.reserve(text);
    for (auto text : parts) parser.parse(text);
    return geo;
}

std::string_view region_box_name(int area_number) {
    return area_number >= 0 && area_number < 10 ? kRegionBox[static_cast<std::size_t>(area_number)]
                                                : std::string_view{};
}

int index_region_of_area_code(std::string_view area_code) {
    if (area_code.starts_with("7203") || area_code.starts_with("7204")) return 10;
    const std::string_view two = area_code.substr(0, 2);
    if (two == "20" || two == "21" || two == "22" || two == "23" || two == "24") return 72;
    if (two == "40") return 74;
    if (two == "45") return 76;
    if (two == "55") return 80;
    if (two == "65") return 84;
    int v = 0;
    std::from_chars(two.data(), two.data() + two.size(), v);
    return v;
}

int index_region_of_dong(std::uint32_t dong_code) {
    if (dong_code < 10000000 || dong_code > 99999999) return 0;
    const std::uint32_t four = dong_code / 10000;
    if (four == 7203 || four == 7204) return 10;
    const std::uint32_t two = dong_code / 1000000;
    switch (two) {
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
        case 16:
        case 70:
        case 72:
        case 74:
        case 76:
        case 78:
        case 80:
        case 82:
        case 84:
        case 86:
            return static_cast<int>(two);
        case 20:
        case 21:
        case 22:
        case 23:
        case 24:
            return 72;
        case 40:
            return 74;
        case 45:
            return 76;
        case 55:
            return 80;
        case 65:
            return 84;
        default:
            return 0;
    }
}

}  // namespace zendari::sample
