#include "Listing.h"

#include <charconv>

namespace zendari::sample {
namespace {

void append_number(std::string& out, std::uint64_t v) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

}  // namespace

void append_listing_line(const Listing& l, std::string& out) {
    out += l.name;
    out += '\t';
    append_number(out, l.dong_code);
    out += '\t';
    out += l.area_code;
    out += '\t';
    append_number(out, static_cast<std::uint64_t>(l.exchange));
    out += '\t';
    append_number(out, static_cast<std::uint64_t>(l.line));
    out += '\t';
    append_number(out, static_cast<std::uint64_t>(l.suffix));
    out += '\t';
    append_number(out, static_cast<std::uint64_t>(l.lot_main));
    out += '\t';
    append_number(out, static_cast<std::uint64_t>(l.lot_sub));
    out += '\t';
    append_number(out, l.postal);
    out += '\t';
    out += l.detail;
    out += '\n';
}

void append_dong_line(const DongInfo& d, std::string& out) {
    append_number(out, d.code);
    out += '\t';
    append_number(out, d.postal);
    out += '\t';
    out += d.address;
    out += '\n';
}

std::string control_dong_name(const DongInfo& d) {
    const std::string postal = std::to_string(d.postal);
    return "(" + postal.substr(0, 3) + "-" + postal.substr(3) + ") " + d.address;
}

std::string lot_text(const Listing& l) {
    if (l.lot_main != 0 && l.lot_sub != 0)
        return std::to_string(l.lot_main) + "-" + std::to_string(l.lot_sub);
    if (l.lot_main != 0) return std::to_string(l.lot_main);
    if (l.lot_sub != 0) return std::to_string(l.lot_sub);
    return {};
}

std::string control_record(const Listing& l) {
    std::string s = lot_text(l);
    s += ':';
    s += l.area_code;  // carries its leading 0
    s += ':';
    append_number(s, static_cast<std::uint64_t>(l.exchange));
    s += '-';
    append_number(s, static_cast<std::uint64_t>(l.line));
    if (l.suffix != 0) {
        s += '/';
        append_number(s, static_cast<std::uint64_t>(l.suffix));
    }
    s += ':';
    append_number(s, l.postal);
    s += ':';
    s += l.detail;
    return s;
}

std::string shown_telephone(const Listing& l) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, l.exchange);
    (void)ec;
    std::string s(buf, end);
    s += '-';
    const std::string line = std::to_string(l.line);
    s.append(line.size() < 4 ? 4 - line.size() : 0, '0');
    s += line;
    if (l.suffix != 0) s += "/" + std::to_string(l.suffix);
    return s;
}

std::string shown_address(const Listing& l, const DongInfo& d) {
    std::string s = d.address;
    const std::string lot = lot_text(l);
    if (!lot.empty()) s += " " + lot;
    if (!l.detail.empty()) s += " " + l.detail;
    return s;
}

}  // namespace zendari::sample
