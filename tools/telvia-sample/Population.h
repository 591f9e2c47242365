// How many subscribers each dong gets: provinces by their residents, dongs inside a province
// by a heavy-tailed weight (a few dongs of tens of thousands at full size, many small ones).
#pragma once

#include <cstdint>
#include <vector>

#include "Geography.h"

namespace zendari::sample {

// Subscribers per dong (indexed like geo.dongs), summing to exactly `total`.
std::vector<std::uint32_t> allocate_subscribers(const Geography& geo, std::uint64_t total,
                                                std::uint64_t seed);

// Splits `total` in proportion to `weights` by the largest-remainder rule (ties go to the
// lower index), so the parts sum to `total` exactly. All-zero weights give all zeros.
std::vector<std::uint64_t> split_by_weight(std::uint64_t total,
                                           const std::vector<std::uint64_t>& weights);

}  // namespace zendari::sample
