// Subscriber names: surnames drawn by their real share of the population, given names from
// the common syllables of the generation that held telephone lines, so that popular names
// repeat hundreds of times in a region and rare combinations appear once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Rng.h"

namespace zendari::sample {

struct SurnameShare {
    std::string_view surname;
    std::uint32_t per_million;  // share of the population, parts per million
};

// Every surname the generator uses (roughly most frequent first); a name is drawn with
// probability per_million / surname_share_total().
std::span<const SurnameShare> surname_shares();
std::uint32_t surname_share_total();

class NameSampler {
public:
    NameSampler();
    // Appends a full name (surname and given name, UTF-8) to `out`.
    void draw(Rng& rng, std::string& out) const;

private:
    WeightedTable<std::string_view> surnames_;
    WeightedTable<std::string_view> first_syllables_;
    WeightedTable<std::string_view> second_syllables_;
};

}  // namespace zendari::sample
