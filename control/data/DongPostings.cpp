#include "data/DongPostings.h"

#include <algorithm>
#include <cstring>

#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "data/filter_format.h"
#include "data/posting_format.h"

namespace zendari {

namespace pf = posting_format;

std::unique_ptr<DongPostings> DongPostings::load(const std::string& path,
                                                 std::span<const std::byte> filter) {
    std::unique_ptr<DongPostings> p(new DongPostings());
    if (path.empty() || !p->file_.open(path)) return nullptr;
    const auto bytes = p->file_.bytes();
    if (bytes.size() < pf::kHeaderSize) return nullptr;
    const std::byte* h = bytes.data();
    if (std::memcmp(h + pf::kMagicAt, pf::kMagic, sizeof pf::kMagic) != 0) return nullptr;
    if (load_u64le(h + pf::kHeaderChecksumAt) != checksum64(bytes.first(pf::kHeaderChecksumAt)))
        return nullptr;
    if (load_u32le(h + pf::kVersionAt) != pf::kVersion) return nullptr;
    if (load_u64le(h + pf::kFileSizeAt) != bytes.size()) return nullptr;
    const std::uint64_t dongs = load_u32le(h + pf::kDongCountAt);
    const std::uint64_t records = load_u32le(h + pf::kRecordCountAt);
    if (records != filter.size() / filter_format::kEntrySize ||
        filter.size() % filter_format::kEntrySize != 0)
        return nullptr;
    if (bytes.size() !=
        pf::kHeaderSize + dongs * pf::kDirectoryEntrySize + records * pf::kPostingSize)
        return nullptr;
    if (load_u64le(h + pf::kBodyChecksumAt) != checksum64(bytes.subspan(pf::kHeaderSize)))
        return nullptr;
    if (load_u64le(h + pf::kFilterChecksumAt) != checksum64(filter)) return nullptr;
    // Directory ascending by code, lists back to back covering every posting, each list
    // ascending and inside the master file, and each record filed under its own dong code.
    const std::byte* postings = h + pf::kHeaderSize + dongs * pf::kDirectoryEntrySize;
    std::uint64_t expected_first = 0;
    for (std::uint64_t d = 0; d < dongs; ++d) {
        const std::byte* e = h + pf::kHeaderSize + d * pf::kDirectoryEntrySize;
        const std::int32_t code = load_i32le(e);
        if (d > 0 && load_i32le(e - pf::kDirectoryEntrySize) >= code) return nullptr;
        const std::uint64_t first = load_u32le(e + 4), count = load_u32le(e + 8);
        if (first != expected_first || first + count > records) return nullptr;
        std::uint32_t previous = 0;
        for (std::uint64_t k = first; k < first + count; ++k) {
            const std::uint32_t r = load_u32le(postings + pf::kPostingSize * k);
            if (r <= previous || r > records) return nullptr;
            if (filter_format::code_at(filter.data(), r - 1) != code) return nullptr;
            previous = r;
        }
        expected_first = first + count;
    }
    if (expected_first != records) return nullptr;
    p->dong_count_ = static_cast<std::uint32_t>(dongs);
    return p;
}

void DongPostings::append_list(std::uint32_t d, std::vector<Posting>& out) const {
    const std::byte* h = file_.bytes().data();
    const std::byte* postings =
        h + pf::kHeaderSize + std::uint64_t{dong_count_} * pf::kDirectoryEntrySize;
    const std::byte* e = h + pf::kHeaderSize + std::uint64_t{d} * pf::kDirectoryEntrySize;
    const std::int32_t code = load_i32le(e);
    const std::uint32_t first = load_u32le(e + 4), count = load_u32le(e + 8);
    const std::size_t at = out.size();
    out.resize(at + count);
    for (std::uint32_t k = 0; k < count; ++k)
        out[at + k] = {load_u32le(postings + pf::kPostingSize * (std::uint64_t{first} + k)), code};
    if (at > 0)
        std::inplace_merge(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(at), out.end(),
                           [](const Posting& a, const Posting& b) { return a.record < b.record; });
}

std::vector<Posting> DongPostings::records(const std::function<bool(std::int32_t)>& matches) const {
    const std::byte* h = file_.bytes().data();
    std::vector<Posting> out;
    for (std::uint32_t d = 0; d < dong_count_; ++d) {
        if (matches(load_i32le(h + pf::kHeaderSize + std::uint64_t{d} * pf::kDirectoryEntrySize)))
            append_list(d, out);
    }
    return out;
}

std::vector<Posting> DongPostings::records(
    std::span<const std::pair<std::int32_t, std::int32_t>> ranges) const {
    const std::byte* h = file_.bytes().data();
    const auto code_of = [h](std::uint32_t d) {
        return load_i32le(h + pf::kHeaderSize + std::uint64_t{d} * pf::kDirectoryEntrySize);
    };
    std::vector<Posting> out;
    for (const auto& [low, high] : ranges) {
        std::uint32_t lo = 0, hi = dong_count_;  // first entry whose code is >= low
        while (lo < hi) {
            const std::uint32_t mid = lo + (hi - lo) / 2;
            if (code_of(mid) < low) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        for (std::uint32_t d = lo; d < dong_count_ && code_of(d) <= high; ++d) append_list(d, out);
    }
    return out;
}

}  // namespace zendari
