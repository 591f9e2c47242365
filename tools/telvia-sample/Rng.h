// The generator's only source of chance: xoshiro256** seeded through splitmix64, with integer
// helpers only. The standard library's distributions differ between implementations, so they
// are never used: the same seed must give the same bytes on every machine.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace zendari::sample {

class Rng {
public:
    explicit Rng(std::uint64_t seed) {
        for (auto& s : s_) s = splitmix(seed);
    }
    // An independent stream for one part of the output (a dong, a table), so that parts can
    // be generated in any order and still come out the same.
    Rng(std::uint64_t seed, std::uint64_t stream) : Rng(seed ^ mix(stream + 0x51ed2701u)) {}

    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // Uniform in [0, n) by the multiply-shift reduction; n > 0.
    std::uint64_t below(std::uint64_t n) {
        return static_cast<std::uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
    }
    // Uniform in [lo, hi], both included.
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        return lo + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(hi - lo) + 1));
    }
    // True with probability per_mille / 1000.
    bool chance(std::uint32_t per_mille) { return below(1000) < per_mille; }

    static std::uint64_t mix(std::uint64_t x) { return splitmix(x); }  // x is a copy
    // FNV-1a: a fixed hash of a name, for data that must not depend on the seed.
    static std::uint64_t hash(std::string_view text) {
        std::uint64_t h = 0xcbf29ce484222325u;
        for (char c : text) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3u;
        }
        return h;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitmix(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }

    std::uint64_t s_[4];
};

// A table of items with integer weights, drawn in O(log n).
template <typename T>
class WeightedTable {
public:
    void add(T item, std::uint64_t weight) {
        if (weight == 0) return;
        total_ += weight;
        items_.push_back(std::move(item));
        cumulative_.push_back(total_);
    }
    bool empty() const { return items_.empty(); }
    std::uint64_t total() const { return total_; }
    const T& draw(Rng& rng) const {
        const std::uint64_t r = rng.below(total_);
        std::size_t lo = 0, hi = cumulative_.size() - 1;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (cumulative_[mid] > r)
                hi = mid;
            else
                lo = mid + 1;
        }
        return items_[lo];
    }

private:
    std::vector<T> items_;
    std::vector<std::uint64_t> cumulative_;
    std::uint64_t total_ = 0;
};

}  // namespace zendari::sample
