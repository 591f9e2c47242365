#include "Population.h"

#include <algorithm>
#include <numeric>

#include "Rng.h"

namespace zendari::sample {
namespace {

// Weight of one dong in thousandths of an average dong.
std::uint64_t dong_weight(Rng& rng, const DongInfo& dong) {
    const std::uint64_t tier = rng.below(1000);
    if (dong.rural && !dong.name.ends_with("읍"))
        return tier < 700 ? rng.between(40, 350) : rng.between(300, 900);
    if (tier < 20) return rng.between(8000, 13000);
    if (tier < 170) return rng.between(2000, 4000);
    if (tier < 670) return rng.between(500, 1500);
    return rng.between(50, 400);
}

}  // namespace

std::vector<std::uint64_t> split_by_weight(std::uint64_t total,
                                           const std::vector<std::uint64_t>& weights) {
    std::vector<std::uint64_t> parts(weights.size(), 0);
    const unsigned __int128 sum =
        std::accumulate(weights.begin(), weights.end(), static_cast<unsigned __int128>(0));
    if (sum == 0) return parts;
    std::vector<std::uint64_t> remainder(weights.size());
    std::uint64_t given = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const unsigned __int128 scaled = static_cast<unsigned __int128>(total) * weights[i];
        parts[i] = static_cast<std::uint64_t>(scaled / sum);
        remainder[i] = static_cast<std::uint64_t>(scaled % sum);
        given += parts[i];
    }
    std::vector<std::size_t> order(weights.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return remainder[a] > remainder[b]; });
    for (std::size_t k = 0; given < total; ++k, ++given) ++parts[order[k % order.size()]];
    return parts;
}

std::vector<std::uint32_t> allocate_subscribers(const Geography& geo, std::uint64_t total,
                                                std::uint64_t seed) {
    std::vector<std::uint64_t> top_weights;
    for (const auto& top : geo.tops) top_weights.push_back(top.population_k);
    const auto per_top = split_by_weight(total, top_weights);

    std::vector<std::uint32_t> counts(geo.dongs.size(), 0);
    Rng rng(seed, 0x706f70);  // "pop"
    std::vector<std::uint64_t> weights(geo.dongs.size());
    for (std::size_t d = 0; d < geo.dongs.size(); ++d) weights[d] = dong_weight(rng, geo.dongs[d]);
    for (std::size_t t = 0; t < geo.tops.size(); ++t) {
        std::vector<std::size_t> members;
        std::vector<std::uint64_t> member_weights;
        for (std::size_t d = 0; d < geo.dongs.size(); ++d) {
            if (geo.dongs[d].top != t) continue;
            members.push_back(d);
            member_weights.push_back(weights[d]);
        }
        const auto parts = split_by_weight(per_top[t], member_weights);
        for (std::size_t k = 0; k < members.size(); ++k)
            counts[members[k]] = static_cast<std::uint32_t>(parts[k]);
    }
    return counts;
}

}  // namespace zendari::sample
