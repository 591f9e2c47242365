// The builder's input: DONGS.tsv and LISTINGS.tsv, checked field by field and kept compact
// in memory (one text arena, 32 bytes per listing) so a national directory fits in a few
// hundred megabytes. A bad field stops the build with "file.tsv:LINE: column: reason".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/record_format.h"

namespace zendari::build {

struct Dong {
    std::int32_t code = 0;
    std::string text;  // CP949: "(NNN-NNN) " + name
};

struct Listing {
    std::uint64_t text_at = 0;  // name bytes, then detail bytes, in the arena
    std::uint8_t name_length = 0;
    std::uint8_t region = 0;
    std::uint16_t detail_length = 0;
    std::int32_t dong = 0;  // index into ListingSet::dongs
    SubscriberRecord record;
};

struct ListingSet {
    std::vector<Dong> dongs;  // ascending code
    std::vector<Listing> listings;
    std::vector<char> arena;
    std::string_view name(const Listing& l) const {
        return {arena.data() + l.text_at, l.name_length};
    }
    std::string_view detail(const Listing& l) const {
        return {arena.data() + l.text_at + l.name_length, l.detail_length};
    }
};

// Reads both files. On bad input returns false with `error` set to the one message.
// `progress` is called now and then with the number of listings read so far.
[[nodiscard]] bool read_dongs(const std::string& path, ListingSet& set, std::string& error);
[[nodiscard]] bool read_listings(const std::string& path, ListingSet& set, std::string& error,
                                 bool show_progress);

}  // namespace zendari::build
