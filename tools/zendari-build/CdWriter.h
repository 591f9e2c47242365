// Writes a directory CD from checked listings into a folder: master, filter and line block
// files in the data folder; region name indexes with their auxiliary consonant indexes, dong
// code index, dong table and the auxiliary dong posting file in the index folder; Quenby.INI
// naming them all.
#pragma once

#include <filesystem>
#include <string>

#include "Listings.h"

namespace zendari::build {

// `folder` (an existing, empty folder) is where the files go now; `final_root` is where the CD
// will live (the paths in Quenby.INI). Returns false with `error` set when a file cannot be
// written.
[[nodiscard]] bool write_cd(ListingSet& set, const std::filesystem::path& folder,
                            const std::filesystem::path& final_root, std::string& error,
                            bool show_progress);

}  // namespace zendari::build
