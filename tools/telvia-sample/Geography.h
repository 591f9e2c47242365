// The country as the sample directory sees it: the ten regions of the region box, their
// provinces and metropolitan cities (level 1), cities, counties and districts, and the dongs
// with their 8-digit codes and postal codes. The same tree yields the "areaCode" rows, the
// dong list of the CD and the places subscribers are drawn into. It does not depend on the
// seed: every sample directory has the same places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zendari::sample {

// A province or metropolitan city: a level-1 node of a region's tree.
struct TopPlace {
    int area_number = 0;             // index in the region box, 0-9
    std::string name;                // "서울특별시"
    std::string area_code;           // the row's code: telephone prefix, ":", index prefixes
    std::string phone;               // telephone area code with its 0, "02"
    std::string address_word;        // first word of every address in it, "서울"
    std::uint32_t population_k = 0;  // residents in thousands: the share of subscribers
};

struct DongInfo {
    std::uint32_t code = 0;    // 8 digits
    std::uint32_t postal = 0;  // 6 digits, first not 0
    std::string name;          // as in the tree, "창신1동"
    std::string address;       // "서울 종로구 창신1동"
    std::uint16_t top = 0;     // index into Geography::tops
    bool rural = false;        // a township (읍) or county village (면)
};

// One row of the table "areaCode", in table order.
struct AreaRow {
    int area_number = 0;
    int level = 0;
    std::string name;
    std::string code;
};

struct Geography {
    std::vector<TopPlace> tops;
    std::vector<DongInfo> dongs;  // in tree order
    std::vector<AreaRow> rows;
};

// Parses the built-in place lists. The lists are fixed, so a failure is a programming error
// and aborts with a message naming the line.
Geography build_geography();

// Names of the ten regions of the region box, by area number.
std::string_view region_box_name(int area_number);

// Index region code of a tree code: what the main program writes to the control's region
// selector for that code (7203/7204 go to Seoul; 20-24 to Kyonggi; 40, 45, 55, 65 to the
// index of their province).
int index_region_of_area_code(std::string_view area_code);
// The region index that holds a dong's records, by the prefix of its code; 0 when none.
int index_region_of_dong(std::uint32_t dong_code);

// Plausible dong names for a district whose real ones are not listed; fixed per name.
std::vector<std::string> plausible_dongs(std::string_view district);

// The place lists, one text per group of regions (by area number).
std::string_view geo_data_regions_0_1();
std::string_view geo_data_regions_2_3();
std::string_view geo_data_regions_4_6();
std::string_view geo_data_regions_7_9();

}  // namespace zendari::sample
