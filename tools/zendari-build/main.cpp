// zendari-build --listings LISTINGS.tsv --dongs DONGS.tsv --out DIR
//
// Compiles subscriber listings into a directory CD rooted at DIR. The CD is built in a
// hidden folder beside DIR and renamed into place at the end, so a failed build leaves
// nothing in DIR. Bad input ends the build with one "file.tsv:LINE: column: reason" line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "CdWriter.h"
#include "Listings.h"

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

// DIR may be missing, an empty folder, or a CD an earlier run wrote (it is replaced).
bool may_replace(const fs::path& root, std::string& why) {
    std::error_code ec;
    if (!fs::exists(root, ec)) return true;
    if (!fs::is_directory(root, ec)) {
        why = root.string() + " exists and is not a folder";
        return false;
    }
    if (fs::is_empty(root, ec) || fs::exists(root / "Quenby.INI", ec)) return true;
    why = root.string() + " is a folder that holds other files; refusing to overwrite it";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
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
    std::string why;
    if (!may_replace(root, why)) return fail("--out: " + why);

    const bool show_progress = fs::file_size(listings, ec) > (16u << 20);
    ListingSet set;
    std::string error;
    if (!read_dongs(dongs, set, error) || !read_listings(listings, set, error, show_progress)) {
        return fail(error);
    }

    const fs::path building = root.parent_path() / ("." + root.filename().string() + ".building-" +
                                                    std::to_string(getpid()));
    fs::remove_all(building, ec);
    if (!write_cd(set, building, root, error, show_progress)) {
        fs::remove_all(building, ec);
        return fail(error);
    }
    // Into place: an empty DIR is replaced directly; an earlier CD is moved aside first.
    const fs::path old =
        root.parent_path() / ("." + root.filename().string() + ".old-" + std::to_string(getpid()));
    bool moved_old = false;
    if (fs::exists(root, ec)) {
        if (fs::is_empty(root, ec)) {
            fs::remove(root, ec);
        } else {
            fs::rename(root, old, ec);
            moved_old = !ec;
        }
        if (ec) {
            fs::remove_all(building, ec);
            return fail("--out: cannot replace " + root.string());
        }
    }
    fs::rename(building, root, ec);
    if (ec) {
        const std::string message =
            "--out: cannot move the CD into " + root.string() + ": " + ec.message();
        fs::remove_all(building, ec);
        if (moved_old) fs::rename(old, root, ec);
        return fail(message);
    }
    if (moved_old) fs::remove_all(old, ec);
    if (show_progress) {
        std::fprintf(stderr, "zendari-build: %zu listings written to %s\n", set.listings.size(),
                     root.c_str());
    }
    return 0;
}
