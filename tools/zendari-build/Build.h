// One build of a directory CD from its two input files into DIR, as the program runs it:
// inputs read and checked, the CD written into the build folder and put in place. The tests
// run it in the process, with the disk's fault seam (Disk.h).
#pragma once

#include <filesystem>
#include <string>

#include "OutputFolder.h"

namespace zendari::build {

enum class BuildResult {
    kDone,       // DIR holds the new CD
    kBadInput,   // `message` is "file.tsv:LINE: column: reason"; DIR as before
    kNotWritten  // `message` says why; DIR as before
};

struct BuildRun {
    BuildResult result = BuildResult::kDone;
    std::string message;
    std::string note;  // after kDone: tidying up after the switch failed (the CD is whole)
    std::size_t listings = 0;
};

// `folder` has been found usable. `root` is the absolute DIR.
BuildRun build_cd(const std::string& listings_path, const std::string& dongs_path,
                  OutputFolder& folder, const std::filesystem::path& root, bool show_progress);

}  // namespace zendari::build
