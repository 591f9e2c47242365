// One subscriber as the CD builder reads it (one line of the listings file), and the texts
// the rest of the system derives from it: the record strings of the name-search control and
// the row of the local listing table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Geography.h"

namespace zendari::sample {

struct Listing {
    std::string name;
    std::uint32_t dong_code = 0;
    std::string area_code;  // with its 0: "02", "043"
    int exchange = 0;
    int line = 0;
    int suffix = 0;    // 0 = none
    int lot_main = 0;  // 0 = none
    int lot_sub = 0;   // 0 = none
    std::uint32_t postal = 0;
    std::string detail;
};

// First line of the listings file.
inline constexpr std::string_view kListingsHeader =
    "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_code\tdetail\n";
// First line of the dong file.
inline constexpr std::string_view kDongsHeader = "dong_code\tpostal_code\tname\n";

// Appends the listings line of `l` (with its line feed).
void append_listing_line(const Listing& l, std::string& out);
// Appends the dong file line of `d`.
void append_dong_line(const DongInfo& d, std::string& out);

// The control's dong name: "(NNN-NNN) " and the address words.
std::string control_dong_name(const DongInfo& d);
// Lot part as the control prints it, without its ':' ("37-209", "37", "12" or "").
std::string lot_text(const Listing& l);
// The subscriber record string without its final line feed:
// lot ":" 0area ":" exchange "-" line ["/" suffix] ":" postal ":" detail.
std::string control_record(const Listing& l);
// Telephone as the result lists show it: exchange "-" line as four digits ["/" suffix].
std::string shown_telephone(const Listing& l);
// Address as the result lists show it: the dong's address words, the lot and the detail,
// joined by single blanks (parts that are empty are left out).
std::string shown_address(const Listing& l, const DongInfo& d);

}  // namespace zendari::sample
