// The CD's manifest, an auxiliary text file of ours in the index folder (Quenby.INI key
// "MANIFEST"): every other file of the CD with its size and checksum64, so a reader can tell
// a file cut short and `zendari verify` a damaged one. Nothing in the CD's format needs it;
// a CD without one reads the same. Its last line holds the checksum of all lines before it,
// so a damaged manifest is told apart from a damaged file (doc/cd_format.md).
//
//   TVMANIFEST 1
//   file data names.rec 80 0f1e2d3c4b5a6978
//   aux data 10_1.lof 428 0123456789abcdef
//   end 2 89abcdef01234567
//
// Lines end in CR LF. "file" marks the files the readers need; "aux" the auxiliary ones,
// which their readers check themselves and do without when damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zendari {

inline constexpr std::string_view kManifestKey = "MANIFEST";
inline constexpr std::string_view kManifestName = "cd.manifest";

struct ManifestEntry {
    bool auxiliary = false;
    bool in_data_folder = false;  // else in the index folder
    std::string name;             // a bare file name
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;  // checksum64 of the whole file
    bool operator==(const ManifestEntry&) const = default;
};

// The manifest listing `entries`, in their order.
std::string manifest_text(std::span<const ManifestEntry> entries);

// The entries of an intact manifest; nullopt for anything else (damaged, cut short, foreign
// or not in exactly the form manifest_text writes).
std::optional<std::vector<ManifestEntry>> parse_manifest(std::string_view text);

}  // namespace zendari
