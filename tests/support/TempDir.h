// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Qt-free, so the engine tests and the sanitizer build use it too.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <stdlib.h>

namespace telvia::test {

class TempDir {
public:
    // Under `base`: the system's temporary folder unless a test asks for another.
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / "telvia-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace telvia::test
