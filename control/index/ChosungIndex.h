// The consonant index of one region (chosung_format.h), memory-mapped and checked against
// the region name index it belongs to: every name of the index appears once, under its own
// ordinal and in the file's order. A file that fails any check is not used, and the control
// then finds no names by their initials. Files are shared through a small cache, like the name
// indexes, so selecting a region again costs a stat call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/MappedFile.h"

namespace zendari {

class IndexFile;

// The consonant index that belongs beside the name index at `index_path`: its name with the
// extension ".cho" in place of the index's.
std::string chosung_path(const std::string& index_path);

class ChosungIndex {
public:
    // Loads `path` and checks it against `names`, or returns the cached copy made for the same
    // index object while the file is unchanged. Null for a missing, damaged or foreign file.
    static std::shared_ptr<const ChosungIndex> open_shared(const std::string& path,
                                                           std::shared_ptr<const IndexFile> names);
    // Loads without the cache; for tests.
    static std::unique_ptr<ChosungIndex> load(const std::string& path,
                                              std::shared_ptr<const IndexFile> names);

    // The name index the entries refer to.
    const IndexFile& names() const noexcept { return *names_; }
    const std::shared_ptr<const IndexFile>& names_file() const noexcept { return names_; }
    std::uint32_t entry_count() const noexcept { return entry_count_; }

    // Entries are read by file offset: begin() is the first, end() lies past the last.
    std::uint64_t begin() const noexcept;
    std::uint64_t end() const noexcept { return directory_; }
    struct Entry {
        std::string_view name;  // valid while *this lives
        std::uint32_t ordinal = 0;
    };
    // REQUIRES begin() <= at < end() on an entry boundary. Decodes the entry at `at` and
    // returns the offset of the next one.
    std::uint64_t entry(std::uint64_t at, Entry& out) const noexcept;
    // The offset of the first entry whose consonant string is >= `consonants` (end() when none
    // is): O(log blocks) consonant comparisons of the blocks' first names, then at most one
    // block.
    std::uint64_t lower_bound(std::string_view consonants) const noexcept;

    // First record and record count of the name at `ordinal`, from the name index's values.
    std::int32_t first_record(std::uint32_t ordinal) const noexcept;
    std::int32_t record_count(std::uint32_t ordinal) const noexcept;

private:
    ChosungIndex() = default;
    bool verify() noexcept;
    std::uint64_t block_begin(std::uint32_t block) const noexcept;

    MappedFile file_;
    std::shared_ptr<const IndexFile> names_;
    std::uint32_t entry_count_ = 0;
    std::uint32_t block_count_ = 0;
    std::uint32_t entries_per_block_ = 0;
    std::uint64_t directory_ = 0;
};

}  // namespace zendari
