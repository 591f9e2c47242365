#include "SampleInstall.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zendari::sample {
namespace {

using telvia::Status;
namespace fs = std::filesystem;

Status io_error(const std::string& what, const fs::path& path, const std::error_code& ec) {
    return Status(Status::Code::kIoError, what + " " + path.string() + ": " + ec.message());
}

}  // namespace

SampleLayout::SampleLayout(const fs::path& dir)
    : root(fs::absolute(dir).lexically_normal()),
      listings_dir(root / "listings"),
      listings(listings_dir / "LISTINGS.tsv"),
      dongs(listings_dir / "DONGS.tsv"),
      cd(root / "cd"),
      windows(root / "windows"),
      halvern_ini(windows / "Halvern.ini"),
      program(root / "program"),
      docs(program / "Pro" / "Docs"),
      area_db(docs / "adDocs.cad"),
      local_db(program / "chb.cad"),
      dat(program / "dat"),
      bin(program / "Pro" / "Bin") {}

Status prepare_layout(const SampleLayout& layout) {
    std::error_code listed;
    if (fs::exists(layout.cd, listed) && !fs::is_directory(layout.cd, listed))
        return Status(Status::Code::kIoError, layout.cd.string() + " exists and is not a folder");
    for (fs::directory_iterator it(layout.cd, listed), end; !listed && it != end;
         it.increment(listed)) {
        const std::string name = it->path().filename().string();
        if (name != "Quenby.INI" && name != "data" && name != "index" &&
            !name.starts_with(".zendari-")) {
            return Status(Status::Code::kIoError, layout.cd.string() + " holds " + name +
                                                      ", which is no part of a directory CD; "
                                                      "refusing to overwrite it");
        }
    }
    for (const fs::path& dir :
         {layout.root, layout.listings_dir, layout.windows, layout.docs, layout.dat, layout.bin}) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) return io_error("cannot create", dir, ec);
    }
    const fs::path probe = layout.root / ".telvia-sample-probe";
    {
        std::ofstream out(probe);
        out << "probe\n";
        if (!out.flush())
            return Status(Status::Code::kIoError, "cannot write into " + layout.root.string());
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return Status::Ok();
}

fs::path builder_beside_self() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (ec ? fs::path(".") : self.parent_path()) / "zendari-build";
}

Status build_cd(const fs::path& builder, const SampleLayout& layout) {
    if (::access(builder.c_str(), X_OK) != 0)
        return Status(Status::Code::kNotFound, "the CD builder is missing: " + builder.string());
    // The builder replaces an earlier CD in DIR/cd itself and refuses a folder that holds
    // anything else, so nobody's files there are lost.
    std::vector<std::string> args{
        builder.string(),      "--listings", layout.listings.string(), "--dongs",
        layout.dongs.string(), "--out",      layout.cd.string()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (int rc = ::posix_spawn(&pid, builder.c_str(), nullptr, nullptr, argv.data(), environ);
        rc != 0)
        return Status(Status::Code::kIoError,
                      "cannot start " + builder.string() + ": " + std::strerror(rc));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return Status(Status::Code::kIoError,
                          "lost the CD builder: " + std::string(std::strerror(errno)));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return Status::Ok();
    const std::string how = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                              : "signal " + std::to_string(WTERMSIG(status));
    return Status(Status::Code::kIoError, "the CD builder failed (" + how + ")");
}

Status install_windows_folder(const SampleLayout& layout, const std::string& excluded,
                              const std::string& excluded_scan) {
    std::error_code ec;
    const fs::path quenby = layout.cd / "Quenby.INI";
    fs::copy_file(quenby, layout.windows / "Quenby.INI", fs::copy_options::overwrite_existing, ec);
    if (ec) return io_error("cannot copy", quenby, ec);

    std::ofstream ini(layout.halvern_ini, std::ios::binary | std::ios::trunc);
    // CR LF line ends, as the program's own settings files have them.
    ini << "[INSTALL]\r\nSRCDISK=" << (layout.cd.string() + "/") << "\r\n\r\n"
        << "[SEARCH]\r\nExcludedRecord=" << excluded << "\r\nExcludedScanRecord=" << excluded_scan
        << "\r\n";
    if (!ini.flush())
        return Status(Status::Code::kIoError, "cannot write " + layout.halvern_ini.string());
    return Status::Ok();
}

}  // namespace zendari::sample
