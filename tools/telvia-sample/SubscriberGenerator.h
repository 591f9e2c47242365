// Draws subscribers dong by dong. Each dong has its own random stream and its own style
// (telephone exchanges, apartment complexes, range of lot numbers), so a dong's subscribers
// do not depend on how many were drawn before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Geography.h"
#include "Listing.h"
#include "Names.h"
#include "Rng.h"

namespace zendari::sample {

class SubscriberGenerator {
public:
    SubscriberGenerator(const Geography& geo, std::uint64_t seed,
                        NamePool names = NamePool::kCommon);

    // Starts the subscribers of geo.dongs[index].
    void begin_dong(std::size_t index);
    // The next subscriber of the current dong.
    void next(Listing& out);

private:
    void draw_detail(std::string& out);

    const Geography& geo_;
    std::uint64_t seed_;
    NameSampler names_;
    Rng rng_{0};
    const DongInfo* dong_ = nullptr;
    std::string phone_;
    std::vector<int> exchanges_;
    std::vector<std::string> complexes_;  // apartment complexes of the dong
    std::vector<std::string> villas_;
    int lot_max_ = 999;
    bool urban_ = true;
};

}  // namespace zendari::sample
