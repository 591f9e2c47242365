// Subscriber names: surnames drawn by their real share of the population, given names from
// the common syllables of the generation that held telephone lines, so that popular names
// repeat hundreds of times in a region and rare combinations appear once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Where given names come from. kCommon: the common syllables of the generation that held
// telephone lines, so that the largest region holds about 250,000 distinct names. kDiverse:
// half of the syllables from a wide pool of about 1,500 plausible syllables, drawn evenly,
// so that most names are rare and the largest region holds well over a million distinct
// names; for measuring the engine on directories with far more names.
enum class NamePool { kCommon, kDiverse };

class NameSampler {
public:
    explicit NameSampler(NamePool pool = NamePool::kCommon);
    // Appends a full name (surname and given name, UTF-8) to `out`.
    void draw(Rng& rng, std::string& out) const;

private:
    const std::string_view& syllable(Rng& rng, const WeightedTable<std::string_view>& common) const;

    NamePool pool_;
    WeightedTable<std::string_view> surnames_;
    WeightedTable<std::string_view> first_syllables_;
    WeightedTable<std::string_view> second_syllables_;
    std::vector<std::string> wide_text_;  // UTF-8 of the wide pool, which wide_ points into
    std::vector<std::string_view> wide_;
};

}  // namespace zendari::sample
