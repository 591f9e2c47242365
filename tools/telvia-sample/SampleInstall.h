// The installed-system layout of a sample directory and the steps that are not generation:
// folders, the CD build through zendari-build, the settings file of the windows folder.
//
//   DIR/listings/  LISTINGS.tsv and DONGS.tsv, the builder's input, kept for reading
//   DIR/cd/        the directory CD
//   DIR/windows/   Halvern.ini and a copy of the CD's Quenby.INI (the folder for WINDIR)
//   DIR/program/   Pro/Docs/adDocs.cad, chb.cad, dat/ (memo databases), Pro/Bin/
#pragma once

#include <filesystem>
#include <string>

#include "Status.h"

namespace zendari::sample {

struct SampleLayout {
    explicit SampleLayout(const std::filesystem::path& dir);

    std::filesystem::path root;
    std::filesystem::path listings_dir, listings, dongs;
    std::filesystem::path cd;
    std::filesystem::path windows, halvern_ini;
    std::filesystem::path program, docs, area_db, local_db, dat, bin;
};

// Creates every folder and proves that the root can be written. Refuses first, before
// anything is written, a cd/ folder that holds something other than an earlier CD (the
// builder would refuse it only after the listings are generated).
telvia::Status prepare_layout(const SampleLayout& layout);

// zendari-build in the folder of the running executable.
std::filesystem::path builder_beside_self();

// Runs `builder --listings … --dongs … --out layout.cd` after removing an earlier CD, and
// reports a failure with the builder's exit status.
telvia::Status build_cd(const std::filesystem::path& builder, const SampleLayout& layout);

// Halvern.ini ([INSTALL] SRCDISK = the CD folder with a trailing "/", [SEARCH] the two
// excluded record texts) and the copy of the CD's Quenby.INI.
telvia::Status install_windows_folder(const SampleLayout& layout, const std::string& excluded,
                                      const std::string& excluded_scan);

}  // namespace zendari::sample
