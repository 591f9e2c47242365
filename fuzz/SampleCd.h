// A small directory CD for the fuzz targets that drive the whole control: built once per
// process by the CD builder's own code, in the scratch folder, from the sample listings in
// fuzz/sample/ (the seeds of the corpora come from the same CD).
#pragma once

#include <cstdlib>
#include <string>

#include "CdWriter.h"
#include "FuzzInput.h"
#include "Listings.h"

namespace telvia::fuzz {

// Builds the sample CD (once) and returns its root; WINDIR names it, so the control finds
// its Quenby.INI there.
inline const std::string& sample_cd() {
    static const std::string root = [] {
        using namespace zendari::build;
        const std::string dir = scratch_folder() + "/cd";
        ListingSet set;
        std::string error;
        const std::string sample = FUZZ_SAMPLE_DIR;
        const bool read = read_dongs(sample + "/DONGS.tsv", set, error) &&
                          read_listings(sample + "/LISTINGS.tsv", set, error, false);
        std::filesystem::create_directories(dir);
        if (!read || !write_cd(set, dir, dir, error, false)) {
            std::fprintf(stderr, "sample CD: %s\n", error.c_str());
            std::abort();
        }
        ::setenv("WINDIR", dir.c_str(), 1);
        return dir;
    }();
    return root;
}

}  // namespace telvia::fuzz
