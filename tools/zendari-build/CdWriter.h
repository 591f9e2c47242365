// Writes a directory CD from checked listings into a folder: master, filter and line block
// files in the data folder; region name indexes with their auxiliary consonant indexes, dong
// code index, dong table, the auxiliary dong posting file and the manifest in the index
// folder; Quenby.INI naming them all.
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

// The text of Quenby.INI for a CD whose folders are `data_dir` and `index_dir`.
std::string profile_text(const std::filesystem::path& data_dir,
                         const std::filesystem::path& index_dir);

}  // namespace zendari::build
