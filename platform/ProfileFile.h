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

// GetPrivateProfileStringA semantics: copies at most buffer_size-1 bytes of the value (or of
// the default when the file, section or key is missing); buffer_size 0 gives "". Section and
// key names match ASCII-case-insensitively and the first match wins; leading/trailing blanks
// around a value are dropped, and so is one pair of matching quotes around it, as Windows
// does; trailing blanks of the default are dropped too. A cut never splits a UTF-8
// character: it ends before the character that would not fit whole.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    std::string_view file_name);

// The parsing half on text already in memory: the value of section/key, or false when
// either is missing. Blanks and quotes are handled as above; no truncation.
bool find_profile_value(std::string_view text, std::string_view section, std::string_view key,
                        std::string& value);

}  // namespace telvia
