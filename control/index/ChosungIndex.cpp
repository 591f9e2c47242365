#include "index/ChosungIndex.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "common/BlockFileHeader.h"
#include "common/ByteOrder.h"
#include "common/StampedCache.h"
#include "index/Chosung.h"
#include "index/IndexFile.h"
#include "index/chosung_format.h"
#include "index/index_format.h"

namespace zendari {

namespace fmt = chosung_format;

std::string chosung_path(const std::string& index_path) {
    if (index_path.empty()) return {};
    return std::filesystem::path(index_path).replace_extension(fmt::kExtension).string();
}

std::uint64_t ChosungIndex::begin() const noexcept {
    return fmt::kHeaderSize;
}

std::uint64_t ChosungIndex::block_begin(std::uint32_t block) const noexcept {
    return load_u32le(file_.bytes().data() + directory_ + 4ull * block);
}

std::uint64_t ChosungIndex::entry(std::uint64_t at, Entry& out) const noexcept {
    const std::byte* p = file_.bytes().data() + at;
    const auto length = static_cast<std::uint8_t>(p[0]);
    out.name = {reinterpret_cast<const char*>(p + 1), length};
    out.ordinal = load_u32le(p + 1 + length);
    return at + fmt::kEntryFixedSize + length;
}

std::uint64_t ChosungIndex::lower_bound(std::string_view consonants) const noexcept {
    // Blocks whose first name's consonant string sorts below `consonants`: the answer lies in
    // the last of them, or is the first entry of the block after it.
    std::uint32_t lo = 0, hi = block_count_;
    Entry e;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        entry(block_begin(mid), e);
        if (chosung::compare_consonants(e.name, consonants) < 0) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo == 0) return begin();
    const std::uint64_t stop = lo < block_count_ ? block_begin(lo) : end();
    for (std::uint64_t at = block_begin(lo - 1); at < stop;) {
        const std::uint64_t next = entry(at, e);
        if (chosung::compare_consonants(e.name, consonants) >= 0) return at;
        at = next;
    }
    return stop;
}

std::int32_t ChosungIndex::first_record(std::uint32_t ordinal) const noexcept {
    return names_->value_at(ordinal);
}

std::int32_t ChosungIndex::record_count(std::uint32_t ordinal) const noexcept {
    return names_->value_at(ordinal + 1) - names_->value_at(ordinal);
}

bool ChosungIndex::verify() noexcept {
    const std::span<const std::byte> bytes = file_.bytes();
    block_file::Fields header;
    if (!block_file::read(bytes, fmt::kMagic, fmt::kVersion, fmt::kMaxEntriesPerBlock, header))
        return false;
    entry_count_ = header.count;
    block_count_ = header.block_count;
    entries_per_block_ = header.per_block;
    directory_ = header.directory;

    // The name index: a region's, whose values are first records, ending with the end key.
    // Every name but the end key has its entry.
    const IndexFile& index = *names_;
    if (!index.values_ascending() || index.key_count() == 0) return false;
    IndexEntry last;
    if (!index.entry_at(index.key_count() - 1, last) || !index_format::is_end_key(last.view()))
        return false;
    if (entry_count_ != index.key_count() - 1) return false;

    // Blocks back to back from the header to the directory, each with its entry count; every
    // entry inside its block, its ordinal a name not seen before, in the file's order.
    if (block_begin(0) != fmt::kHeaderSize || block_begin(block_count_) != directory_) return false;
    std::vector<std::uint32_t> name_at(entry_count_, 0);  // 0: not seen yet
    std::string previous, current;
    std::int32_t previous_count = 0;
    std::string_view previous_name;
    std::uint64_t at = fmt::kHeaderSize;
    for (std::uint32_t b = 0; b < block_count_; ++b) {
        const std::uint64_t stop = block_begin(b + 1);
        if (block_begin(b) != at || stop <= at || stop > directory_) return false;
        const std::uint32_t expected = b + 1 < block_count_
                                           ? entries_per_block_
                                           : entry_count_ - entries_per_block_ * (block_count_ - 1);
        for (std::uint32_t k = 0; k < expected; ++k) {
            if (at + fmt::kEntryFixedSize > stop) return false;
            const auto length = static_cast<std::uint8_t>(bytes[at]);
            if (length == 0 || length > index_format::kMaxKeyLength ||
                at + fmt::kEntryFixedSize + length > stop)
                return false;
            Entry e;
            const std::uint64_t next = entry(at, e);
            if (e.ordinal >= entry_count_ || name_at[e.ordinal] != 0) return false;
            if (e.name.find('\0') != std::string_view::npos) return false;
            name_at[e.ordinal] = static_cast<std::uint32_t>(at + 1);
            current.clear();
            chosung::append_consonants(e.name, current);
            const std::int32_t count = record_count(e.ordinal);
            if (b > 0 || k > 0) {
                const int c = previous.compare(current);
                const bool ascending =
                    c < 0 || (c == 0 && (previous_count > count ||
                                         (previous_count == count && previous_name < e.name)));
                if (!ascending) return false;
            }
            previous.swap(current);
            previous_count = count;
            previous_name = e.name;
            at = next;
        }
        if (at != stop) return false;
    }

    // Each entry's name is the name index's key at its ordinal: one pass over the index.
    std::uint32_t ordinal = 0;
    for (std::uint32_t b = 0; b < index.block_count() && ordinal < entry_count_; ++b) {
        IndexEntry key;
        for (std::uint64_t k = index.block_begin(b), stop = index.block_end(b);
             k < stop && ordinal < entry_count_; ++ordinal) {
            k = index.decode(b, k, key);
            if (k == 0) return false;
            const std::uint32_t n = name_at[ordinal];
            if (static_cast<std::uint8_t>(bytes[n - 1]) != key.length ||
                std::memcmp(bytes.data() + n, key.text, key.length) != 0)
                return false;
        }
    }
    return ordinal == entry_count_;
}

std::unique_ptr<ChosungIndex> ChosungIndex::load(const std::string& path,
                                                 std::shared_ptr<const IndexFile> names) {
    if (!names || path.empty()) return nullptr;
    std::unique_ptr<ChosungIndex> index(new ChosungIndex());
    if (!index->file_.open(path)) return nullptr;
    index->names_ = std::move(names);
    if (!index->verify()) return nullptr;
    return index;
}

std::shared_ptr<const ChosungIndex> ChosungIndex::open_shared(
    const std::string& path, std::shared_ptr<const IndexFile> names) {
    // One a region, each with the name index object it was checked against: a name index
    // loaded again (its file changed) needs a new check.
    static StampedCache<ChosungIndex> cache(16);
    if (!names) return nullptr;
    return cache.get(
        path, [&](const ChosungIndex& index) { return index.names_file() == names; },
        [&] { return load(path, names); });
}

}  // namespace zendari
