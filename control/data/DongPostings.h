// The dong posting file: for every dong code the ascending record numbers of its
// subscribers. Loaded only when it matches the filter file it was made from (record count
// and checksum), and verified whole; otherwise the scans walk the filter file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/MappedFile.h"

namespace zendari {

// One posting: a record number and the dong code it is filed under, which is the record's
// filter entry (the file is verified against the filter file).
struct Posting {
    std::uint32_t record = 0;
    std::int32_t code = 0;
};

class DongPostings {
public:
    // Null when the file is missing, damaged or made for other data than `filter`.
    static std::unique_ptr<DongPostings> load(const std::string& path,
                                              std::span<const std::byte> filter);

    // The postings of every dong whose code `matches`, by ascending record number.
    std::vector<Posting> records(const std::function<bool(std::int32_t)>& matches) const;
    // The same for the codes in ascending, disjoint, inclusive ranges, found by binary
    // search of the directory instead of a test of every dong.
    std::vector<Posting> records(
        std::span<const std::pair<std::int32_t, std::int32_t>> ranges) const;

private:
    DongPostings() = default;
    // Appends the postings of directory entry d, keeping `out` in record order.
    void append_list(std::uint32_t d, std::vector<Posting>& out) const;
    MappedFile file_;
    std::uint32_t dong_count_ = 0;
};

}  // namespace zendari
