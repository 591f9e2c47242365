#include "data/TelEnvironment.h"

#include <utility>

#include "ProfileFile.h"

namespace zendari {
namespace {

constexpr std::string_view kSection = "TELEPHONE_ENVIRONMENT";
constexpr std::size_t kDirectoryBuffer = 260;
constexpr std::size_t kFileNameBuffer = 50;
constexpr char kSeparator = '/';

}  // namespace

TelEnvironment::TelEnvironment(std::string file_name) : file_name_(std::move(file_name)) {}

std::string TelEnvironment::normalise_directory(std::string value) {
    if (value.empty() || value.back() != kSeparator) value.push_back(kSeparator);
    // Old installs wrote " D:" for a CD in drive D: and meant drive C:. Only a value in that
    // drive form is rewritten: a native path such as /Data/ keeps its 'D'.
    if (value.size() > 2 && value[0] == ' ' && value[1] == 'D' && value[2] == ':') {
        value[1] = 'C';
        value[0] = ' ';
    }
    const std::size_t first = value.find_first_not_of(" \t");
    value.erase(0, first == std::string::npos ? value.size() : first);
    return value;
}

std::string TelEnvironment::directory(std::string_view key) const {
    return normalise_directory(
        telvia::GetPrivateProfileString(kSection, key, "", kDirectoryBuffer, file_name_));
}

std::string TelEnvironment::file_path(std::string_view directory_key, std::string_view key) const {
    const std::string name =
        telvia::GetPrivateProfileString(kSection, key, "", kFileNameBuffer, file_name_);
    if (name.empty()) return {};
    return directory(directory_key) + name;
}

std::string TelEnvironment::data_directory() const {
    return directory("TelDataPath");
}
std::string TelEnvironment::index_directory() const {
    return directory("TelDataPath2");
}

std::string TelEnvironment::data_file_path(std::string_view key) const {
    return file_path("TelDataPath", key);
}

std::string TelEnvironment::index_file_path(std::string_view key) const {
    return file_path("TelDataPath2", key);
}

}  // namespace zendari
