#include "BusinessListing.h"

#include <fstream>
#include <string>

#include "Rng.h"

namespace zendari::sample {
namespace {

// A kind of business: the word that ends its name and its category (a code "@" name).
struct Trade {
    std::string_view word;
    std::string_view code;
    std::string_view category;
};

constexpr Trade kTrades[] = {
    {"약국", "3301", "약국"},     {"식당", "1201", "한식"},
    {"분식", "1202", "분식"},     {"치과의원", "3101", "치과의원"},
    {"내과", "3102", "내과의원"}, {"부동산", "4101", "부동산중개"},
    {"세탁소", "5101", "세탁"},   {"서점", "6101", "서점"},
    {"철물", "6201", "철물"},     {"카센터", "7101", "자동차정비"},
    {"미용실", "5201", "미용"},   {"꽃집", "6301", "꽃집"},
    {"상사", "8101", "도매"},     {"학원", "9101", "학원"},
    {"정육점", "6401", "정육"},   {"안경원", "3401", "안경"},
};

// First words of the invented names.
constexpr std::string_view kNameWords[] = {
    "한빛", "푸른솔", "새봄", "늘푸른", "다온", "해솔",   "온누리", "가람", "미래", "동산",
    "백두", "한마음", "솔빛", "으뜸",   "바른", "참좋은", "행복",   "소망", "초록", "하나로"};

constexpr std::string_view kDepartments[] = {"", "", "", "본점", "영업부", "총무부", "지점"};

std::string postcode(std::uint32_t postal) {
    const std::string digits = std::to_string(postal);
    return digits.substr(0, 3) + "-" + digits.substr(3);
}

}  // namespace

telvia::Status write_business_listing(const Geography& geo, std::uint64_t seed,
                                      const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return telvia::Status(telvia::Status::Code::kIoError, "cannot write " + file.string());
    out << kBusinessHeader;
    for (std::size_t i = 0; i < geo.dongs.size(); ++i) {
        const DongInfo& dong = geo.dongs[i];
        Rng rng(seed, 0xB0510000u + i);
        if (!rng.chance(333)) continue;
        const TopPlace& top = geo.tops[dong.top];
        const std::int64_t shops = rng.between(1, 3);
        for (std::int64_t s = 0; s < shops; ++s) {
            const Trade& trade = kTrades[rng.below(std::size(kTrades))];
            std::string company =
                std::string(kNameWords[rng.below(std::size(kNameWords))]) + std::string(trade.word);
            if (trade.word == "상사" && rng.chance(500)) company = "(주)" + company;
            // Most categories carry their code, some only the name.
            const std::string category =
                rng.chance(800) ? std::string(trade.code) + "@" + std::string(trade.category)
                                : std::string(trade.category);
            const std::string number = std::to_string(rng.between(200, 999)) + "-" +
                                       std::to_string(rng.between(1000, 9999));
            out << company << '\t' << category << '\t' << postcode(dong.postal) << '\t'
                << dong.address << ' ' << rng.between(1, 999) << '\t' << top.phone << '\t' << number
                << '\t' << kDepartments[rng.below(std::size(kDepartments))] << '\t' << dong.code
                << '\n';
        }
    }
    out.close();
    if (!out)
        return telvia::Status(telvia::Status::Code::kIoError, "cannot write " + file.string());
    return telvia::Status();
}

}  // namespace zendari::sample
