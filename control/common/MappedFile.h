// One read-only memory mapping of a whole file. The CD is read-only and its files never
// change while the program runs, so the readers map them once and read through spans.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace zendari {

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // Maps `path` whole. Returns false (and stays empty) when the file does not open, is not
    // a regular file or is not admitted (common/FileAdmission.h). Never blocks. An empty
    // file opens and maps to an empty span.
    [[nodiscard]] bool open(const std::string& path);
    void close() noexcept;

    bool is_open() const noexcept { return open_; }
    std::span<const std::byte> bytes() const noexcept {
        return {data_, size_};
    }  // valid while *this lives
    std::size_t size() const noexcept { return size_; }

private:
    const std::byte* data_ = nullptr;
    std::size_t size_ = 0;
    bool open_ = false;
};

}  // namespace zendari
