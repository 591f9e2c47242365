// Where the CD's files are: the section "TELEPHONE_ENVIRONMENT" of the profile Quenby.INI,
// read afresh on every call (an edit takes effect at the next call). Two keys name the data
// and index directories; the other keys name files in them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zendari {

class TelEnvironment {
public:
    explicit TelEnvironment(std::string file_name = "Quenby.INI");

    std::string data_directory() const;   // "TelDataPath", normalised, ends in "/"
    std::string index_directory() const;  // "TelDataPath2", normalised, ends in "/"
    // The directory followed by the file name under `key`; "" when the key is missing or empty.
    std::string data_file_path(std::string_view key) const;
    std::string index_file_path(std::string_view key) const;

    // Where the profile is looked up (a bare name in the Windows directory).
    std::filesystem::path profile_path() const;

    // The normalisation both directory keys go through.
    static std::string normalise_directory(std::string value);

private:
    std::string directory(std::string_view key) const;
    std::string file_path(std::string_view directory_key, std::string_view key) const;
    std::string file_name_;
};

}  // namespace zendari
