// The CD builder's input readers: any bytes as DONGS.tsv and LISTINGS.tsv. A file is either
// taken whole, with every text fit for the CD, or refused with one "file:LINE: column:
// reason" line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "Listings.h"

using telvia::fuzz::check;

namespace {

bool fit_for_the_cd(std::string_view text) {
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == ':' || c == '|') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zendari::build;
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), 2);
    const std::string dongs = telvia::fuzz::put_file("dongs.tsv", parts[0]);
    const std::string listings = telvia::fuzz::put_file("listings.tsv", parts[1]);
    ListingSet set;
    std::string error;
    if (!read_dongs(dongs, set, error)) {
        check(error.starts_with("dongs.tsv:") && error.find('\n') == std::string::npos);
        return 0;
    }
    for (std::size_t i = 1; i < set.dongs.size(); ++i)
        check(set.dongs[i - 1].code < set.dongs[i].code);
    if (!read_listings(listings, set, error, false)) {
        check(error.starts_with("listings.tsv:") && error.find('\n') == std::string::npos);
        return 0;
    }
    for (const Listing& l : set.listings) {
        check(!set.name(l).empty() && set.name(l).size() <= 127);
        check(static_cast<unsigned char>(set.name(l)[0]) < 0xF9);
        check(fit_for_the_cd(set.name(l)) && fit_for_the_cd(set.detail(l)));
        check(l.dong >= 0 && static_cast<std::size_t>(l.dong) < set.dongs.size());
    }
    return 0;
}
