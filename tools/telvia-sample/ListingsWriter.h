// Streams the listings and dong files that the CD builder reads: the sample subscriber first,
// then every dong's subscribers in tree order. Nothing is held beyond one output buffer, so
// 11.9 million subscribers take no more memory than a few hundred.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "Geography.h"
#include "Listing.h"
#include "Names.h"
#include "Status.h"

namespace zendari::sample {

struct ListingsRequest {
    std::filesystem::path listings;  // LISTINGS.tsv
    std::filesystem::path dongs;     // DONGS.tsv
    std::uint64_t subscribers = 0;   // total, the sample subscriber included; at least 1
    std::uint64_t seed = 1;
    NamePool names = NamePool::kCommon;
    // Called now and then with the number written so far.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
    // Called for every subscriber of the locally served areas (dong codes 84…, 65…); a
    // non-ok status stops the run and is returned.
    std::function<telvia::Status(const Listing&, const DongInfo&)> local;
};

// True for the dong codes whose listings also live in the local database.
bool is_local_dong(std::uint32_t dong_code);

telvia::Status write_listings(const Geography& geo, const ListingsRequest& request);

}  // namespace zendari::sample
