// The dong posting file: for every dong code the ascending record numbers of its
// subscribers. Loaded only when it matches the filter file it was made from (record count
// and checksum), and verified whole; otherwise the scans walk the filter file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
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

private:
    DongPostings() = default;
    MappedFile file_;
    std::uint32_t dong_count_ = 0;
};

}  // namespace zendari
