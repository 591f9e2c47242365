#include "VerifyCommand.h"

#include <filesystem>

#include "ProfileFile.h"
#include "data/OpenedCd.h"
#include "data/TelEnvironment.h"

namespace zendari {

int run_verify(const std::string& dir, std::ostream& out, std::ostream& err) {
    const std::filesystem::path profile = std::filesystem::path(dir) / "Quenby.INI";
    std::string text, why;
    if (!telvia::read_profile_file(profile, text, why)) {
        err << "zendari verify: " << profile.string() << ": "
            << (why.empty() ? "no such file (DIR is the folder that holds the CD's Quenby.INI)"
                            : why)
            << '\n';
        return 2;
    }
    const CdVerification v = verify_cd(TelEnvironment(profile.string()));
    if (!v.manifest_usable) {
        if (v.manifest.empty() || std::filesystem::symlink_status(v.manifest).type() ==
                                      std::filesystem::file_type::not_found) {
            err << "zendari verify: " << profile.string()
                << " names no manifest (a CD written before zendari-build wrote one): "
                   "nothing to check against\n";
            return 2;
        }
        out << v.manifest << ": damaged; the CD's files cannot be checked against it\n";
        return 1;
    }
    for (const std::string& problem : v.problems) out << problem << '\n';
    out << v.checked << " files intact, " << v.problems.size() << " damaged or missing\n";
    return v.problems.empty() ? 0 : 1;
}

}  // namespace zendari
