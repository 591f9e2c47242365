#include "Names.h"

#include <array>

namespace zendari::sample {
namespace {

// Shares after the national census, in parts per million. The table covers about 98% of the
// population; the thousands of rarer surnames are left out, so draws are relative to its sum.
constexpr std::array<SurnameShare, 103> kSurnames{{
    {"김", 215000}, {"이", 148000}, {"박", 84500}, {"최", 47500}, {"정", 48000}, {"강", 24000},
    {"조", 21500},  {"윤", 20500},  {"장", 20000}, {"임", 17000}, {"한", 15500}, {"오", 15300},
    {"서", 15000},  {"신", 17000},  {"권", 14200}, {"황", 14200}, {"안", 13800}, {"송", 13300},
    {"전", 14000},  {"홍", 11500},  {"유", 14000}, {"고", 9400},  {"문", 9300},  {"양", 9300},
    {"손", 9200},   {"배", 8300},   {"백", 7600},  {"허", 6700},  {"남", 6000},  {"심", 5700},
    {"노", 6000},   {"하", 4700},   {"곽", 4200},  {"성", 4200},  {"차", 4000},  {"주", 4600},
    {"우", 4000},   {"구", 4200},   {"민", 3600},  {"진", 4000},  {"나", 4000},  {"지", 4000},
    {"엄", 3000},   {"채", 2600},   {"원", 3000},  {"천", 2500},  {"방", 2300},  {"공", 2100},
    {"현", 2000},   {"함", 1900},   {"변", 3000},  {"염", 1600},  {"여", 1700},  {"추", 1300},
    {"도", 1300},   {"소", 900},    {"석", 900},   {"선", 800},   {"설", 800},   {"마", 800},
    {"길", 800},    {"연", 800},    {"위", 600},   {"표", 600},   {"명", 600},   {"기", 500},
    {"반", 500},    {"라", 400},    {"왕", 500},   {"금", 400},   {"옥", 400},   {"육", 700},
    {"인", 600},    {"맹", 300},    {"제", 300},   {"모", 300},   {"탁", 200},   {"국", 200},
    {"어", 200},    {"은", 200},    {"편", 200},   {"용", 200},   {"예", 150},   {"경", 150},
    {"봉", 150},    {"사", 120},    {"부", 120},   {"가", 100},   {"복", 100},   {"태", 100},
    {"남궁", 400},  {"황보", 200},  {"제갈", 110}, {"선우", 70},  {"독고", 40},  {"사공", 80},
    {"목", 80},     {"형", 60},     {"피", 60},    {"두", 30},    {"감", 60},    {"류", 8000},
    {"빈", 40},
}};

struct Syllable {
    std::string_view text;
    std::uint32_t weight;
};

constexpr std::array<Syllable, 72> kFirst{{
    {"영", 100}, {"정", 90}, {"성", 85}, {"상", 80}, {"종", 70}, {"재", 65}, {"경", 65}, {"동", 60},
    {"진", 55},  {"명", 55}, {"광", 50}, {"기", 50}, {"병", 50}, {"용", 50}, {"순", 50}, {"석", 45},
    {"인", 45},  {"창", 45}, {"현", 45}, {"춘", 40}, {"민", 40}, {"승", 40}, {"수", 40}, {"혜", 35},
    {"은", 35},  {"미", 35}, {"옥", 35}, {"태", 35}, {"희", 30}, {"철", 30}, {"대", 30}, {"준", 30},
    {"형", 30},  {"한", 25}, {"원", 25}, {"해", 25}, {"호", 25}, {"윤", 25}, {"선", 25}, {"봉", 25},
    {"만", 20},  {"길", 20}, {"덕", 20}, {"문", 20}, {"복", 20}, {"연", 20}, {"지", 20}, {"주", 20},
    {"학", 20},  {"효", 15}, {"귀", 15}, {"금", 15}, {"말", 12}, {"숙", 15}, {"애", 12}, {"화", 12},
    {"충", 12},  {"홍", 12}, {"익", 10}, {"양", 10}, {"하", 10}, {"세", 10}, {"우", 10}, {"도", 10},
    {"두", 8},   {"남", 8},  {"청", 6},  {"예", 5},  {"갑", 4},  {"을", 3},  {"판", 3},  {"엽", 2},
}};

constexpr std::array<Syllable, 72> kSecond{{
    {"수", 90}, {"호", 85}, {"희", 80}, {"숙", 80}, {"자", 75}, {"철", 70}, {"식", 60}, {"민", 55},
    {"영", 55}, {"순", 55}, {"진", 50}, {"현", 50}, {"훈", 45}, {"준", 45}, {"우", 45}, {"미", 45},
    {"옥", 45}, {"환", 40}, {"석", 40}, {"일", 40}, {"주", 40}, {"남", 35}, {"기", 35}, {"덕", 30},
    {"섭", 30}, {"규", 30}, {"구", 30}, {"성", 30}, {"용", 30}, {"국", 30}, {"근", 30}, {"태", 30},
    {"길", 25}, {"선", 25}, {"애", 25}, {"란", 25}, {"화", 25}, {"연", 25}, {"정", 25}, {"경", 25},
    {"봉", 20}, {"만", 20}, {"열", 20}, {"욱", 20}, {"원", 20}, {"웅", 20}, {"은", 20}, {"조", 15},
    {"택", 15}, {"아", 15}, {"혁", 15}, {"분", 12}, {"배", 12}, {"표", 10}, {"득", 10}, {"삼", 10},
    {"례", 10}, {"찬", 10}, {"님", 8},  {"녀", 8},  {"하", 8},  {"범", 8},  {"래", 5},  {"빈", 5},
    {"엽", 3},  {"탁", 3},  {"필", 6},  {"팔", 4},  {"칠", 3},  {"업", 3},  {"곤", 2},  {"묵", 2},
}};

// The wide pool: syllables of the initials, vowels and finals that Korean given names use.
// Composed from their jamo indexes, so it includes syllables beyond the 2,350 of KS X 1001
// (CP949 encodes every modern syllable).
constexpr std::array<int, 14> kWideInitials = {0, 2, 3, 5, 6, 7, 9, 11, 12, 14, 15, 16, 17, 18};
constexpr std::array<int, 15> kWideVowels = {0, 1, 2, 4, 5, 6, 8, 9, 12, 13, 14, 17, 18, 19, 20};
constexpr std::array<int, 7> kWideFinals = {0, 1, 4, 8, 16, 17, 21};

void append_utf8(char32_t c, std::string& out) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

}  // namespace

std::span<const SurnameShare> surname_shares() {
    return kSurnames;
}

std::uint32_t surname_share_total() {
    std::uint32_t total = 0;
    for (const auto& s : kSurnames) total += s.per_million;
    return total;
}

NameSampler::NameSampler(NamePool pool) : pool_(pool) {
    for (const auto& s : kSurnames) surnames_.add(s.surname, s.per_million);
    for (const auto& s : kFirst) first_syllables_.add(s.text, s.weight);
    for (const auto& s : kSecond) second_syllables_.add(s.text, s.weight);
    if (pool_ != NamePool::kDiverse) return;
    for (const int initial : kWideInitials)
        for (const int vowel : kWideVowels)
            for (const int final : kWideFinals) {
                std::string text;
                append_utf8(static_cast<char32_t>(0xAC00 + (initial * 21 + vowel) * 28 + final),
                            text);
                wide_text_.push_back(std::move(text));
            }
    wide_.assign(wide_text_.begin(), wide_text_.end());
}

const std::string_view& NameSampler::syllable(Rng& rng,
                                              const WeightedTable<std::string_view>& common) const {
    if (pool_ == NamePool::kDiverse && rng.below(2) == 0) return wide_[rng.below(wide_.size())];
    return common.draw(rng);
}

void NameSampler::draw(Rng& rng, std::string& out) const {
    out += surnames_.draw(rng);
    // About one subscriber in forty has a one-syllable given name.
    if (rng.below(40) == 0) {
        out += syllable(rng, second_syllables_);
        return;
    }
    out += syllable(rng, first_syllables_);
    out += syllable(rng, second_syllables_);
}

}  // namespace zendari::sample
