// The dong posting file against a filter file: a file the reader takes must hold, for every
// dong asked for, exactly the records whose filter entry is that dong, in rising order, as
// the walk of the filter file would find them (the file is auxiliary).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "FuzzInput.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "data/DongPostings.h"
#include "data/posting_format.h"

using telvia::fuzz::check;

namespace {

// The posting file with its size and checksums (its own and the filter file's) made right, so
// that the mutations reach the checks of the lists behind them.
std::string with_checksums(std::string bytes, std::span<const std::byte> filter) {
    namespace pf = zendari::posting_format;
    if (bytes.size() < pf::kHeaderSize) return bytes;
    auto* b = reinterpret_cast<std::byte*>(bytes.data());
    const std::span<const std::byte> all(b, bytes.size());
    zendari::store_le<std::uint64_t>(b + pf::kFileSizeAt, bytes.size());
    zendari::store_le(b + pf::kFilterChecksumAt, zendari::checksum64(filter));
    zendari::store_le(b + pf::kBodyChecksumAt, zendari::checksum64(all.subspan(pf::kHeaderSize)));
    zendari::store_le(b + pf::kHeaderChecksumAt,
                      zendari::checksum64(all.first(pf::kHeaderChecksumAt)));
    return bytes;
}

void exercise(std::string_view posting_bytes, const std::vector<std::byte>& filter);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), 2);
    std::vector<std::byte> filter(parts[1].size());
    if (!filter.empty()) std::memcpy(filter.data(), parts[1].data(), filter.size());
    exercise(parts[0], filter);
    exercise(with_checksums(std::string(parts[0]), filter), filter);
    return 0;
}

namespace {

void exercise(std::string_view posting_bytes, const std::vector<std::byte>& filter) {
    using namespace zendari;
    const telvia::fuzz::MemoryFile postings_file(posting_bytes);
    const auto postings = DongPostings::load(postings_file.path(), filter);
    if (!postings) return;
    std::map<std::int32_t, std::vector<std::uint32_t>> walked;
    for (std::size_t r = 0; r + 4 <= filter.size(); r += 4)
        walked[load_i32le(filter.data() + r)].push_back(static_cast<std::uint32_t>(r / 4 + 1));
    for (const auto& [key, records] : walked) {
        const std::int32_t code = key;  // a structured binding is not captured before C++20
        const auto one = postings->records([code](std::int32_t c) { return c == code; });
        const std::pair<std::int32_t, std::int32_t> range{code, code};
        const auto ranged = postings->records(std::span(&range, 1));
        check(one.size() == records.size() && ranged.size() == records.size());
        for (std::size_t k = 0; k < records.size(); ++k) {
            check(one[k].record == records[k] && one[k].code == code);
            check(ranged[k].record == records[k]);
        }
    }
    const auto all = postings->records([](std::int32_t) { return true; });
    check(all.size() == filter.size() / 4);
}

}  // namespace
