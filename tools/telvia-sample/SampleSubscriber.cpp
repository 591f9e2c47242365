#include "SampleSubscriber.h"

#include <cstdio>
#include <cstdlib>

namespace zendari::sample {
namespace {

constexpr std::string_view kSampleDong = "청운동";  // first dong of 종로구, Seoul

}  // namespace

SampleSubscriber sample_subscriber(const Geography& geo) {
    SampleSubscriber s;
    for (std::size_t i = 0; i < geo.dongs.size(); ++i) {
        if (geo.dongs[i].name == kSampleDong && geo.tops[geo.dongs[i].top].phone == "02") {
            s.dong_index = i;
            break;
        }
    }
    const DongInfo& dong = geo.dongs[s.dong_index];
    if (dong.name != kSampleDong) {
        std::fputs("telvia-sample: the sample subscriber's dong is missing\n", stderr);
        std::abort();
    }
    Listing& l = s.listing;
    l.name = "홍길동";
    l.dong_code = dong.code;
    l.area_code = "02";
    l.exchange = 735;
    l.line = 1234;
    l.lot_main = 1;
    l.lot_sub = 1;
    l.postal = dong.postal;
    l.detail = "텔비아 견본 가입자";
    return s;
}

std::string excluded_record_text(const SampleSubscriber& s, const Geography& geo) {
    const DongInfo& dong = geo.dongs[s.dong_index];
    return std::to_string(dong.code) + ":" + control_dong_name(dong) + ":" +
           control_record(s.listing);
}

std::string excluded_scan_record_text(const SampleSubscriber& s, const Geography& geo) {
    const DongInfo& dong = geo.dongs[s.dong_index];
    return s.listing.name + ":" + control_dong_name(dong) + ":" + control_record(s.listing);
}

}  // namespace zendari::sample
