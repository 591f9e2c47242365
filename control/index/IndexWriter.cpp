#include "index/IndexWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/BlockFileHeader.h"
#include "common/ByteOrder.h"

namespace zendari {

namespace fmt = index_format;

IndexWriter::IndexWriter(std::uint32_t keys_per_block)
    : keys_per_block_(std::clamp<std::uint32_t>(keys_per_block, 1, fmt::kMaxKeysPerBlock)) {}

bool IndexWriter::add(std::string_view key, std::int32_t value) {
    if (key.empty() || key.size() > fmt::kMaxKeyLength) {
        error_ = "key length out of range";
        return false;
    }
    if (key.find('\0') != std::string_view::npos) {
        error_ = "key holds a NUL byte";
        return false;
    }
    if (key_count_ > 0 && !(std::string_view(last_key_) < key)) {
        error_ = "keys out of order";
        return false;
    }
    std::size_t shared = 0;
    if (key_count_ % keys_per_block_ == 0) {
        block_starts_.push_back(static_cast<std::uint32_t>(fmt::kHeaderSize + blocks_.size()));
    } else {
        const std::size_t limit = std::min(last_key_.size(), key.size());
        while (shared < limit && last_key_[shared] == key[shared]) ++shared;
    }
    const std::size_t suffix = key.size() - shared;
    const std::size_t at = blocks_.size();
    blocks_.resize(at + fmt::kEntryFixedSize + suffix);
    blocks_[at] = static_cast<std::byte>(shared);
    blocks_[at + 1] = static_cast<std::byte>(suffix);
    std::memcpy(blocks_.data() + at + 2, key.data() + shared, suffix);
    store_le<std::int32_t>(blocks_.data() + at + 2 + suffix, value);
    last_key_.assign(key);
    ++key_count_;
    return true;
}

std::vector<std::byte> IndexWriter::image() const {
    const std::uint64_t directory = fmt::kHeaderSize + blocks_.size();
    const std::uint64_t size = directory + 4ull * (block_starts_.size() + 1);
    std::vector<std::byte> out(size);
    // std::copy, not memcpy: an index without keys has no block bytes (and no buffer).
    std::copy(blocks_.begin(), blocks_.end(), out.begin() + fmt::kHeaderSize);
    std::byte* dir = out.data() + directory;
    for (std::size_t i = 0; i < block_starts_.size(); ++i) store_le(dir + 4 * i, block_starts_[i]);
    store_le(dir + 4 * block_starts_.size(), static_cast<std::uint32_t>(directory));
    block_file::stamp(out, fmt::kMagic,
                      {.version = fmt::kVersion,
                       .count = key_count_,
                       .block_count = static_cast<std::uint32_t>(block_starts_.size()),
                       .per_block = keys_per_block_,
                       .directory = directory});
    return out;
}

bool IndexWriter::write(const std::string& path) {
    if (fmt::kHeaderSize + blocks_.size() + 4ull * (block_starts_.size() + 1) > 0xFFFFFFFFull) {
        error_ = "index larger than 4 GiB";
        return false;
    }
    const std::vector<std::byte> bytes = image();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        error_ = "cannot create " + path;
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) {
        error_ = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace zendari
