// zendari-build --listings LISTINGS.tsv --dongs DONGS.tsv --out DIR
//
// Compiles subscriber listings into a directory CD rooted at DIR. The CD is built in a
// hidden folder and put in place only when every file is written (OutputFolder.h), so a
// failed build leaves nothing in DIR. Bad input ends the build with one "file.tsv:LINE: column:
// reason" line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "CdWriter.h"
#include "Listings.h"
#include "OutputFolder.h"

namespace fs = std::filesystem;
using namespace zendari::build;

namespace {

constexpr std::string_view kUsage =
    "usage: zendari-build --listings LISTINGS.tsv --dongs DONGS.tsv --out DIR\n";
// Quenby.INI paths are read back through a 260-byte buffer; leave room for file names.
constexpr std::size_t kMaxRootLength = 200;

int fail(const std::string& message) {
    std::fprintf(stderr, "zendari-build: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage.data(), stdout);
        return 0;
    }
    std::string listings, dongs, out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string* target = arg == "--listings" ? &listings
                              : arg == "--dongs"  ? &dongs
                              : arg == "--out"    ? &out
                                                  : nullptr;
        if (target == nullptr || i + 1 >= argc) {
            std::fputs(kUsage.data(), stderr);
            return 2;
        }
        *target = argv[++i];
    }
    if (listings.empty() || dongs.empty() || out.empty()) {
        std::fputs(kUsage.data(), stderr);
        return 2;
    }
    std::error_code ec;
    fs::path root = fs::weakly_canonical(fs::absolute(out, ec), ec).lexically_normal();
    if (root.filename().empty()) root = root.parent_path();  // "DIR/" names DIR
    if (ec || root.filename().empty())
        return fail("--out: " + out + " is not a usable folder name");
    if (root.string().size() > kMaxRootLength) {
        return fail("--out: the folder's path is longer than " + std::to_string(kMaxRootLength) +
                    " bytes");
    }
    OutputFolder folder(root);
    std::string why;
    if (!folder.usable(why)) return fail("--out: " + why);
    folder.discard_on_interrupt();

    const auto listings_size = fs::file_size(listings, ec);
    const bool show_progress = !ec && listings_size > (16u << 20);
    ListingSet set;
    std::string error;
    if (!read_dongs(dongs, set, error) || !read_listings(listings, set, error, show_progress)) {
        // Bad input is reported as "file.tsv:LINE: column: reason" alone, the way compilers
        // name a place in their input, so editors and scripts can take it as it is.
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!folder.create_building(error)) return fail(error);
    if (!write_cd(set, folder.building(), root, error, show_progress) || !folder.commit(error)) {
        folder.discard();
        return fail(error);
    }
    if (show_progress) {
        std::fprintf(stderr, "zendari-build: %zu listings written to %s\n", set.listings.size(),
                     root.c_str());
    }
    return 0;
}
