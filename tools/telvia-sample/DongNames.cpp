// Plausible dong names for the districts whose real dongs are not listed: stems that recur in
// real place names all over the country, drawn by a fixed hash of the district's name.
#include <array>
#include <set>

#include "Geography.h"
#include "Rng.h"

namespace zendari::sample {
namespace {

constexpr std::array<std::string_view, 120> kTownStems{
    "신흥", "남산", "대신", "서부", "동부", "평화", "신촌", "월산", "송정", "봉명", "용두", "산성",
    "상대", "하대", "대흥", "태평", "문화", "명륜", "신안", "도화", "옥동", "삼산", "효자", "대명",
    "봉덕", "신암", "지산", "황금", "두산", "상인", "월성", "도원", "구암", "복현", "침산", "비산",
    "평리", "내당", "죽전", "성당", "장기", "송현", "대곡", "진천", "유천", "월곡", "화정", "금호",
    "풍암", "농성", "동명", "산수", "지원", "학운", "계림", "운암", "일곡", "매곡", "오치", "석곡",
    "두암", "문흥", "각화", "용봉", "중흥", "우산", "풍향", "봉선", "방림", "사직", "양림", "주월",
    "백운", "효덕", "송암", "덕흥", "신창", "하남", "도산", "신가", "운남", "동곡", "선암", "덕천",
    "만덕", "구포", "화명", "금곡", "명장", "안락", "수안", "복산", "온천", "거제", "연산", "망미",
    "광안", "남천", "대연", "용호", "문현", "감만", "우암", "재송", "반송", "청학", "동삼", "영선",
    "봉래", "초량", "수정", "좌천", "범일", "부전", "전포", "양정", "개금", "당감", "가야", "괴정"};

constexpr std::array<std::string_view, 60> kVillageStems{
    "서", "동", "남", "북", "상", "하", "내", "외", "금", "용", "대", "소", "신", "고", "송",
    "청", "화", "봉", "월", "산", "천", "양", "안", "연", "장", "덕", "구", "석", "백", "평",
    "학", "도", "오", "가", "문", "원", "진", "성", "운", "미", "초", "마", "계", "지", "황",
    "수", "옥", "율", "탄", "은", "사", "춘", "단", "부", "정", "강", "매", "칠", "삼", "이"};

constexpr std::array<std::string_view, 24> kVillageEnds{
    "천", "산", "곡", "계", "촌", "평", "포", "동", "전", "암", "정", "림",
    "창", "원", "수", "양", "진", "현", "남", "북", "강", "서", "남", "성"};

std::string_view base_of(std::string_view district) {
    // "의정부시" -> "의정부"; a one-syllable base ("중구" -> "중") stays as it is.
    return district.substr(0, district.size() - 3);
}

}  // namespace

std::vector<std::string> plausible_dongs(std::string_view district) {
    Rng rng(Rng::hash(district));
    std::vector<std::string> out;
    std::set<std::string> seen;
    auto add = [&](std::string name) {
        if (seen.insert(name).second) out.push_back(std::move(name));
    };
    auto village = [&](std::string_view suffix) {
        std::string name(kVillageStems[rng.below(kVillageStems.size())]);
        name += kVillageEnds[rng.below(kVillageEnds.size())];
        name += suffix;
        add(std::move(name));
    };
    const bool county = district.ends_with("군");
    const bool city = district.ends_with("시");
    if (county) {
        add(std::string(base_of(district)) + "읍");
        if (rng.chance(300)) village("읍");
        const int villages = static_cast<int>(rng.between(5, 11));
        while (static_cast<int>(out.size()) < villages + 1) village("면");
        return out;
    }
    add("중앙동");
    const int towns = static_cast<int>(city ? rng.between(9, 20) : rng.between(8, 16));
    while (static_cast<int>(out.size()) < towns) {
        const std::string_view stem = kTownStems[rng.below(kTownStems.size())];
        if (seen.contains(std::string(stem) + "동") || seen.contains(std::string(stem) + "1동"))
            continue;
        if (rng.chance(250)) {
            const int n = static_cast<int>(rng.between(2, 4));
            for (int k = 1; k <= n; ++k) add(std::string(stem) + std::to_string(k) + "동");
        } else {
            add(std::string(stem) + "동");
        }
    }
    if (city) {
        // Most cities keep a rural fringe of townships and villages.
        const int rural = static_cast<int>(rng.between(0, 4));
        if (rural > 0) village("읍");
        for (int k = 1; k < rural; ++k) village("면");
    }
    return out;
}

}  // namespace zendari::sample
