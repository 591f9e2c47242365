// The 16 region name indexes: their Quenby.INI keys in master-file order, the region codes
// the control accepts, and which region a dong code belongs to.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zendari {

inline constexpr std::array<std::string_view, 16> kRegionKeys = {
    "SEOUL",   "PUSAN",    "INCHON",   "KWANGJU", "TAEGU",   "TAEJON",   "ULSAN",    "KANGWON",
    "KYONGGI", "KYONGNAM", "KYONGBUK", "CHONNAM", "CHONBUK", "CHUNGNAM", "CHUNGBUK", "CHEJU"};

// The region index (into kRegionKeys) of a region code written to SetLocal, or -1.
inline int region_of_code(std::int32_t code) noexcept {
    switch (code) {
        case 10:
        case 7203:
        case 7204:
            return 0;
        case 11:
            return 1;
        case 12:
            return 2;
        case 13:
            return 3;
        case 14:
            return 4;
        case 15:
            return 5;
        case 16:
            return 6;
        case 70:
            return 7;
        case 72:
            return 8;
        case 74:
            return 9;
        case 76:
            return 10;
        case 78:
            return 11;
        case 80:
            return 12;
        case 82:
            return 13;
        case 84:
            return 14;
        case 86:
            return 15;
        default:
            return -1;
    }
}

// The region whose index holds the subscribers of an 8-digit dong code, or -1. Besides the
// region codes themselves, some dong codes of the provinces begin with older prefixes.
inline int region_of_dong_code(std::int32_t dong_code) noexcept {
    if (dong_code < 10'000'000 || dong_code > 99'999'999) return -1;
    const std::int32_t four = dong_code / 10'000;
    if (four == 7203 || four == 7204) return region_of_code(10);
    switch (const std::int32_t two = four / 100) {
        case 20:
        case 21:
        case 22:
        case 23:
        case 24:
            return region_of_code(72);
        case 40:
            return region_of_code(74);
        case 45:
            return region_of_code(76);
        case 55:
            return region_of_code(80);
        case 65:
            return region_of_code(84);
        default:
            return region_of_code(two);
    }
}

}  // namespace zendari
