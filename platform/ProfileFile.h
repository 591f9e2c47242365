// Profile (.ini) files read the way the program's Windows code read them, without Qt so the
// engine can share it. Text is raw bytes; the files are UTF-8.
//
// The "Windows directory", where bare profile names such as Halvern.ini and Quenby.INI live,
// is the folder named by the environment variable WINDIR; when WINDIR is unset or empty it is
// $XDG_CONFIG_HOME/telvia/windows, or ~/.config/telvia/windows without XDG_CONFIG_HOME.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace telvia {

// $WINDIR, else the per-user default above.
std::filesystem::path windows_directory();

// Where a profile name points: a bare name (no "/" or "\") is looked up in
// windows_directory(), a path with a separator is used as is. Like a Windows file system the
// last component matches case-insensitively when no file of the exact spelling exists.
std::filesystem::path resolve_profile_path(std::string_view file_name);

// Profile files are small; a larger one is refused rather than read into memory.
inline constexpr std::size_t kMaxProfileBytes = 1 << 20;

// Reads the profile file at `path` whole, without ever blocking: it must be a regular file
// of at most kMaxProfileBytes. True with `text` on success. False otherwise, with `error`
// empty when the file does not exist, or saying why it cannot be read (a folder, a FIFO or
// device, too large, no permission, a read error).
bool read_profile_file(const std::filesystem::path& path, std::string& text, std::string& error);

// read_profile_file for the readers of settings: a file that exists but cannot be read
// counts as missing, and the reason goes to standard error as "PATH: REASON" (once per
// process for the same path and reason), since the callers only fall back to defaults.
std::string load_profile_text(const std::filesystem::path& path);

// For readers that go through another library (QSettings): whether the profile at `path` is
// missing or a file read_profile_file takes. Otherwise false, said on standard error as
// load_profile_text says it: such a file is neither read nor written.
bool profile_file_usable(const std::filesystem::path& path);

// GetPrivateProfileStringA semantics: copies at most buffer_size-1 bytes of the value (or of
// the default when the file, section or key is missing); buffer_size 0 gives "". Section and
// key names match ASCII-case-insensitively and the first match wins; leading/trailing blanks
// around a value are dropped, and so is one pair of matching quotes around it, as Windows
// does; trailing blanks of the default are dropped too. A cut never splits a UTF-8
// character: it ends before the character that would not fit whole. A file that cannot be
// read is taken as missing (load_profile_text).
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    std::string_view file_name);

// The parsing half on text already in memory: the value of section/key, or false when
// either is missing. Blanks and quotes are handled as above; no truncation.
bool find_profile_value(std::string_view text, std::string_view section, std::string_view key,
                        std::string& value);

}  // namespace telvia
