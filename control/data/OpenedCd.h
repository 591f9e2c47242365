// The directory CD as a whole, as the control opens it (InitDB): what it checks beyond what
// each reader checks of its own file, the CD it then holds to, and the reasons it gives on
// standard error ("Zendari: WHAT: REASON") where its message boxes keep their fixed texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendari {

class TelEnvironment;

// Why the CD file at `path` cannot be read, or "" when it can: "no such file", "a folder,
// not a file", "a FIFO, not a file", a system error. Never blocks.
std::string why_unreadable(const std::string& path);

// Says on standard error why the file under `key` of Quenby.INI (at `path`) did not open:
// Quenby.INI missing or unreadable, the key missing or empty, the file's own reason, else
// `fallback`.
void report_unopened(const TelEnvironment& env, std::string_view key, const std::string& path,
                     std::string_view fallback = {});

// Says why the CD file at `path` cannot be read, when it cannot: once per process and path,
// for readers that try a file again and again (the line block files).
void report_unreadable_once(const std::string& path);

// Holds the process to the CD `env` names now (common/FileAdmission.h): the regular files of
// its data and index folders and every file its keys name. Only the first call holds; a CD
// opened once stays the one the process reads.
void hold_cd(const TelEnvironment& env);

// The checks of the whole CD: the master file (`master_size`; nullopt when it did not open)
// and the filter file hold exactly as many records as the region indexes' sentinels say (at
// least as many while a region index is missing), and, with an intact manifest, every file
// it lists as needed has its listed size. False after saying on standard error which file is
// wrong and how. A listed file that is missing is only said: its reader decides.
bool check_cd(const TelEnvironment& env, std::optional<std::uint64_t> master_size,
              std::uint64_t filter_size);

// `zendari verify`: every file the manifest lists, by size and checksum.
struct CdVerification {
    std::string manifest;               // its path; "" when Quenby.INI names none
    bool manifest_usable = false;       // present and intact
    std::size_t checked = 0;            // files found intact
    std::vector<std::string> problems;  // "PATH: REASON", one per damaged or missing file
};
CdVerification verify_cd(const TelEnvironment& env);

}  // namespace zendari
