// Writes an index file for the index library from keys given in strictly ascending byte
// order. The whole file is assembled in memory (an index of a million names is a few tens
// of megabytes) and written in one go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/index_format.h"

namespace zendari {

class IndexWriter {
public:
    explicit IndexWriter(std::uint32_t keys_per_block = index_format::kDefaultKeysPerBlock);

    // Appends a key. Fails (returns false, see error()) for an empty key, a key longer than
    // 127 bytes, a key holding a NUL byte, or one not greater than the previous key.
    [[nodiscard]] bool add(std::string_view key, std::int32_t value);

    // The complete file image of the keys added so far.
    std::vector<std::byte> image() const;

    // Writes image() to `path`. Returns false with error() set when the file cannot be written.
    [[nodiscard]] bool write(const std::string& path);

    std::uint32_t key_count() const noexcept { return key_count_; }
    const std::string& error() const noexcept { return error_; }

private:
    std::uint32_t keys_per_block_;
    std::uint32_t key_count_ = 0;
    std::vector<std::byte> blocks_;            // bytes after the header
    std::vector<std::uint32_t> block_starts_;  // file offsets
    std::string last_key_;
    std::string error_;
};

}  // namespace zendari
