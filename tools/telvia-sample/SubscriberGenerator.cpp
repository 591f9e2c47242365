#include "SubscriberGenerator.h"

#include <array>
#include <charconv>

namespace zendari::sample {
namespace {

constexpr std::array<std::string_view, 40> kBuilders{
    "현대", "삼성",   "한양", "대우", "럭키",   "우성", "한신", "미성", "삼익", "극동",
    "동아", "벽산",   "쌍용", "롯데", "라이프", "청구", "대림", "한보", "경남", "선경",
    "금호", "코오롱", "두산", "진로", "신동아", "한라", "효성", "동부", "우방", "화성",
    "부영", "삼환",   "건영", "성원", "풍림",   "신안", "태영", "동신", "보성", "영남"};

constexpr std::array<std::string_view, 16> kVillaNames{
    "한빛", "그린", "우정", "행복", "새한", "대원",   "세림", "동산",
    "한솔", "미소", "은하", "장미", "목련", "진달래", "하나", "청솔"};

constexpr std::array<std::string_view, 12> kVillageParts{
    "윗마을", "아랫마을", "새마을", "양지마을", "음지마을", "큰마을",
    "안골",   "새터",     "장터",   "샘골",     "도장골",   "원당"};

void append_int(std::string& out, std::int64_t v) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

}  // namespace

SubscriberGenerator::SubscriberGenerator(const Geography& geo, std::uint64_t seed, NamePool names)
    : geo_(geo), seed_(seed), names_(names) {}

void SubscriberGenerator::begin_dong(std::size_t index) {
    dong_ = &geo_.dongs[index];
    rng_ = Rng(seed_, dong_->code);
    const TopPlace& top = geo_.tops[dong_->top];
    phone_ = top.phone;
    urban_ = !dong_->rural;
    // Seoul and the metropolitan cities moved to four-digit exchanges early.
    const bool metro = top.name.ends_with("시");
    const std::uint32_t four_digit = phone_ == "02" ? 600 : metro ? 350 : 120;
    exchanges_.clear();
    const int n_exchanges = static_cast<int>(rng_.between(urban_ ? 2 : 1, urban_ ? 5 : 2));
    for (int k = 0; k < n_exchanges; ++k)
        exchanges_.push_back(static_cast<int>(rng_.chance(four_digit) ? rng_.between(2000, 9999)
                                                                      : rng_.between(200, 999)));
    complexes_.clear();
    villas_.clear();
    if (urban_) {
        const int n_complexes = static_cast<int>(rng_.between(0, 5));
        for (int k = 0; k < n_complexes; ++k) {
            std::string c;
            if (rng_.chance(150)) {
                c = "주공";
                append_int(c, rng_.between(1, 12));
                c += "단지";
            } else {
                c = kBuilders[rng_.below(kBuilders.size())];
                if (rng_.chance(300)) {
                    append_int(c, rng_.between(1, 3));
                    c += "차";
                }
            }
            c += "아파트";
            complexes_.push_back(std::move(c));
        }
        const int n_villas = static_cast<int>(rng_.between(1, 4));
        for (int k = 0; k < n_villas; ++k) {
            std::string v(kVillaNames[rng_.below(kVillaNames.size())]);
            v += rng_.chance(700) ? "빌라" : "맨션";
            villas_.push_back(std::move(v));
        }
    }
    lot_max_ = static_cast<int>(urban_ ? rng_.between(150, 1200) : rng_.between(300, 1800));
}

void SubscriberGenerator::next(Listing& out) {
    out.name.clear();
    names_.draw(rng_, out.name);
    out.dong_code = dong_->code;
    out.area_code = phone_;
    out.exchange = exchanges_[rng_.below(exchanges_.size())];
    // Some lines below 1000, so the four-digit display ("0045") is exercised.
    out.line = static_cast<int>(rng_.chance(90) ? rng_.between(1, 999) : rng_.between(1000, 9999));
    out.suffix = rng_.chance(25) ? static_cast<int>(rng_.between(1, 9)) : 0;
    if (rng_.chance(15)) {
        out.lot_main = 0;
        out.lot_sub = rng_.chance(500) ? static_cast<int>(rng_.between(1, 60)) : 0;
    } else {
        out.lot_main = static_cast<int>(rng_.between(1, lot_max_));
        // Sub parts cluster at small numbers.
        const int a = static_cast<int>(rng_.between(1, 150));
        const int b = static_cast<int>(rng_.between(1, 150));
        out.lot_sub = rng_.chance(urban_ ? 550 : 300) ? std::min(a, b) : 0;
    }
    out.postal = dong_->postal;
    out.detail.clear();
    draw_detail(out.detail);
}

void SubscriberGenerator::draw_detail(std::string& out) {
    const std::uint64_t kind = rng_.below(1000);
    if (!urban_) {
        if (kind < 600) return;
        if (kind < 850) {
            out += kVillageParts[rng_.below(kVillageParts.size())];
        } else {
            append_int(out, rng_.between(1, 12));
            out += "반";
        }
        return;
    }
    if (kind < 300) return;
    if (kind < 720 && !complexes_.empty()) {
        out += complexes_[rng_.below(complexes_.size())];
        out += ' ';
        append_int(out, rng_.between(101, 125));
        out += "동 ";
        append_int(out, rng_.between(1, 25) * 100 + rng_.between(1, 8));
        out += "호";
        return;
    }
    if (kind < 840) {
        out += villas_[rng_.below(villas_.size())];
        if (rng_.chance(400)) {
            out += ' ';
            append_int(out, rng_.between(1, 6));
            out += "동";
        }
        out += ' ';
        if (rng_.chance(150)) out += "B";
        append_int(out, rng_.between(1, 5) * 100 + rng_.between(1, 4));
        out += "호";
        return;
    }
    if (kind < 900) {
        out += kBuilders[rng_.below(kBuilders.size())];
        out += "빌딩 ";
        append_int(out, rng_.between(1, 15));
        out += "층";
        return;
    }
    if (kind < 960) {
        if (rng_.chance(150)) {
            out += "지하1층";
        } else {
            append_int(out, rng_.between(1, 4));
            out += "층";
        }
        return;
    }
    append_int(out, rng_.between(1, 40));
    out += "통 ";
    append_int(out, rng_.between(1, 9));
    out += "반";
}

}  // namespace zendari::sample
