// Builds the consonant index of one region (chosung_format.h) from the names of its name
// index. The whole file is assembled in memory, like the name index itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "index/chosung_format.h"

namespace zendari {

// `names` are the region name index's keys in key order without the end key, so a name's
// position is its ordinal there; `counts` their record counts. Names are 1 to 127 bytes of
// CP949, as the name index holds them.
std::vector<std::byte> chosung_index_image(
    std::span<const std::string_view> names, std::span<const std::uint32_t> counts,
    std::uint32_t entries_per_block = chosung_format::kDefaultEntriesPerBlock);

}  // namespace zendari
