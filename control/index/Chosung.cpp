#include "index/Chosung.h"

#include <array>
#include <cstring>

#include "data/Cp949.h"

namespace zendari::chosung {
namespace {

constexpr unsigned char kLeadFirst = 0x81, kTrailFirst = 0x41;
constexpr std::size_t kLeads = 0xFE - kLeadFirst + 1, kTrails = 0xFE - kTrailFirst + 1;

// Trail bytes of the 19 initial consonants' jamo, in the order of the syllable formula
// (syllable = 0xAC00 + (initial x 21 + vowel) x 28 + final).
constexpr std::array<std::uint8_t, 19> kInitialTrail = {0xA1, 0xA2, 0xA4, 0xA7, 0xA8, 0xA9, 0xB1,
                                                        0xB2, 0xB3, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9,
                                                        0xBA, 0xBB, 0xBC, 0xBD, 0xBE};

// The initials of every CP949 double-byte code, made once from the 11,172 syllables: the
// common 2,350 do not follow a formula in CP949, so iconv places them.
class SyllableTable {
public:
    SyllableTable() {
        std::string utf16;
        utf16.reserve(2 * 11172);
        for (char32_t c = 0xAC00; c <= 0xD7A3; ++c) {
            utf16.push_back(static_cast<char>(c & 0xFF));
            utf16.push_back(static_cast<char>(c >> 8));
        }
        std::string cp949;
        TextConverter converter(TextConverter::Direction::kUtf16ToCp949);
        if (!converter.convert(utf16, cp949) || cp949.size() != utf16.size()) return;
        for (std::size_t k = 0; k < 11172; ++k) {
            const auto lead = static_cast<unsigned char>(cp949[2 * k]);
            const auto trail = static_cast<unsigned char>(cp949[2 * k + 1]);
            if (lead < kLeadFirst || trail < kTrailFirst) continue;
            initial_[(lead - kLeadFirst) * kTrails + (trail - kTrailFirst)] =
                kInitialTrail[k / (21 * 28)];
        }
    }
    std::uint8_t at(unsigned char lead, unsigned char trail) const noexcept {
        if (lead < kLeadFirst || lead == 0xFF || trail < kTrailFirst || trail == 0xFF) return 0;
        return initial_[(lead - kLeadFirst) * kTrails + (trail - kTrailFirst)];
    }

private:
    std::array<std::uint8_t, kLeads * kTrails> initial_{};
};

const SyllableTable& table() {
    static const SyllableTable t;
    return t;
}

// The two consonants of a cluster jamo (by trail byte), or {0, 0}.
std::array<std::uint8_t, 2> cluster(unsigned char trail) noexcept {
    switch (trail) {
        case 0xA3:
            return {0xA1, 0xB5};  // ㄳ
        case 0xA5:
            return {0xA4, 0xB8};  // ㄵ
        case 0xA6:
            return {0xA4, 0xBE};  // ㄶ
        case 0xAA:
            return {0xA9, 0xA1};  // ㄺ
        case 0xAB:
            return {0xA9, 0xB1};  // ㄻ
        case 0xAC:
            return {0xA9, 0xB2};  // ㄼ
        case 0xAD:
            return {0xA9, 0xB5};  // ㄽ
        case 0xAE:
            return {0xA9, 0xBC};  // ㄾ
        case 0xAF:
            return {0xA9, 0xBD};  // ㄿ
        case 0xB0:
            return {0xA9, 0xBE};  // ㅀ
        case 0xB4:
            return {0xB2, 0xB5};  // ㅄ
        default:
            return {0, 0};
    }
}

}  // namespace

std::uint8_t syllable_initial(unsigned char lead, unsigned char trail) noexcept {
    return table().at(lead, trail);
}

bool is_initial_jamo(unsigned char lead, unsigned char trail) noexcept {
    if (lead != kJamoLead) return false;
    for (const std::uint8_t t : kInitialTrail)
        if (t == trail) return true;
    return false;
}

void append_consonants(std::string_view name, std::string& out) {
    const SyllableTable& t = table();
    const std::size_t start = out.size();
    out.append(name);
    char* p = out.data() + start;
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        if (char_size(lead) == 1 || i + 1 == name.size()) {
            ++i;
            continue;
        }
        if (const std::uint8_t initial = t.at(lead, static_cast<unsigned char>(name[i + 1]))) {
            p[i] = static_cast<char>(kJamoLead);
            p[i + 1] = static_cast<char>(initial);
        }
        i += 2;
    }
}

std::string consonants(std::string_view name) {
    std::string out;
    append_consonants(name, out);
    return out;
}

int compare_consonants(std::string_view name, std::string_view consonants) noexcept {
    const SyllableTable& t = table();
    const std::size_t n = std::min(name.size(), consonants.size());
    for (std::size_t i = 0; i < n;) {
        auto a = static_cast<unsigned char>(name[i]);
        if (char_size(a) == 2 && i + 1 < name.size()) {
            auto b = static_cast<unsigned char>(name[i + 1]);
            if (const std::uint8_t initial = t.at(a, b)) {
                a = kJamoLead;
                b = initial;
            }
            const auto c = static_cast<unsigned char>(consonants[i]);
            if (a != c) return a < c ? -1 : 1;
            if (i + 1 == n) break;  // `consonants` ends inside this character
            const auto d = static_cast<unsigned char>(consonants[i + 1]);
            if (b != d) return b < d ? -1 : 1;
            i += 2;
        } else {
            const auto c = static_cast<unsigned char>(consonants[i]);
            if (a != c) return a < c ? -1 : 1;
            ++i;
        }
    }
    if (name.size() == consonants.size()) return 0;
    return name.size() < consonants.size() ? -1 : 1;
}

ChosungQuery::ChosungQuery(std::string_view typed) {
    pattern_.reserve(typed.size() + 8);
    for (std::size_t i = 0; i < typed.size();) {
        const auto lead = static_cast<unsigned char>(typed[i]);
        if (char_size(lead) == 2 && i + 1 < typed.size()) {
            const auto trail = static_cast<unsigned char>(typed[i + 1]);
            if (const auto pair = cluster(trail); lead == kJamoLead && pair[0] != 0) {
                for (const std::uint8_t t : pair) {
                    pattern_.push_back(static_cast<char>(kJamoLead));
                    pattern_.push_back(static_cast<char>(t));
                }
            } else {
                pattern_.append(typed.substr(i, 2));
                if (!is_initial_jamo(lead, trail)) has_exact_ = true;
            }
            i += 2;
        } else {
            pattern_.push_back(typed[i]);
            has_exact_ = true;
            ++i;
        }
    }
    prefix_ = consonants(pattern_);
}

bool ChosungQuery::matches(std::string_view name) const noexcept {
    if (name.size() < pattern_.size()) return false;
    if (!has_exact_) return true;
    for (std::size_t i = 0; i < pattern_.size();) {
        const auto lead = static_cast<unsigned char>(pattern_[i]);
        const std::size_t n = std::min(char_size(lead), pattern_.size() - i);
        if (!(n == 2 && is_initial_jamo(lead, static_cast<unsigned char>(pattern_[i + 1]))) &&
            std::memcmp(name.data() + i, pattern_.data() + i, n) != 0)
            return false;
        i += n;
    }
    return true;
}

}  // namespace zendari::chosung
