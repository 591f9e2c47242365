#include "Build.h"

#include "CdWriter.h"
#include "Listings.h"

namespace zendari::build {

BuildRun build_cd(const std::string& listings_path, const std::string& dongs_path,
                  OutputFolder& folder, const std::filesystem::path& root, bool show_progress) {
    BuildRun run;
    ListingSet set;
    if (!read_dongs(dongs_path, set, run.message) ||
        !read_listings(listings_path, set, run.message, show_progress)) {
        run.result = BuildResult::kBadInput;
        return run;
    }
    run.listings = set.listings.size();
    if (!folder.create_building(run.message)) {
        run.result = BuildResult::kNotWritten;
        return run;
    }
    if (!write_cd(set, folder.building(), root, run.message, show_progress) ||
        !folder.commit(run.message, run.note)) {
        folder.discard();
        run.result = BuildResult::kNotWritten;
    }
    return run;
}

}  // namespace zendari::build
