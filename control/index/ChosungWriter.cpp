#include "index/ChosungWriter.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "common/BlockFileHeader.h"
#include "common/ByteOrder.h"
#include "index/Chosung.h"

namespace zendari {

namespace fmt = chosung_format;

std::vector<std::byte> chosung_index_image(std::span<const std::string_view> names,
                                           std::span<const std::uint32_t> counts,
                                           std::uint32_t entries_per_block) {
    entries_per_block = std::clamp<std::uint32_t>(entries_per_block, 1, fmt::kMaxEntriesPerBlock);
    // Every name's consonant string in one arena: as long as the name, so it starts where the
    // name starts in a second arena of the same layout.
    std::vector<std::uint64_t> at(names.size() + 1, 0);
    for (std::size_t k = 0; k < names.size(); ++k) at[k + 1] = at[k] + names[k].size();
    std::string consonants;
    consonants.reserve(at.back());
    for (const std::string_view name : names) chosung::append_consonants(name, consonants);
    const auto consonants_of = [&](std::uint32_t k) {
        return std::string_view(consonants).substr(at[k], at[k + 1] - at[k]);
    };

    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (const int c = consonants_of(a).compare(consonants_of(b)); c != 0) return c < 0;
        if (counts[a] != counts[b]) return counts[a] > counts[b];
        return names[a] < names[b];
    });

    std::uint64_t body = 0;
    for (const std::string_view name : names) body += fmt::kEntryFixedSize + name.size();
    const std::uint64_t blocks = (names.size() + entries_per_block - 1) / entries_per_block;
    const std::uint64_t directory = fmt::kHeaderSize + body;
    const std::uint64_t size = directory + 4 * (blocks + 1);
    std::vector<std::byte> out(size);
    std::uint64_t pos = fmt::kHeaderSize;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i % entries_per_block == 0)
            store_le(out.data() + directory + 4 * (i / entries_per_block),
                     static_cast<std::uint32_t>(pos));
        const std::string_view name = names[order[i]];
        out[pos] = static_cast<std::byte>(name.size());
        std::memcpy(out.data() + pos + 1, name.data(), name.size());
        store_le(out.data() + pos + 1 + name.size(), order[i]);
        pos += fmt::kEntryFixedSize + name.size();
    }
    store_le(out.data() + directory + 4 * blocks, static_cast<std::uint32_t>(directory));

    block_file::stamp(out, fmt::kMagic,
                      {.version = fmt::kVersion,
                       .count = static_cast<std::uint32_t>(names.size()),
                       .block_count = static_cast<std::uint32_t>(blocks),
                       .per_block = entries_per_block,
                       .directory = directory});
    return out;
}

}  // namespace zendari
