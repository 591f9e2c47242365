// The consonant index of a region against its name index: a file the reader takes must name
// every name of the index once, in the order of the consonant strings, and every search on it
// must stay inside the file and agree with a walk of the entries.
#include <cstdint>
#include <string>
#include <vector>

#include "BlockFileInput.h"
#include "FuzzInput.h"
#include "index/Chosung.h"
#include "index/ChosungIndex.h"
#include "index/IndexFile.h"
#include "index/index_format.h"

using telvia::fuzz::check;

namespace {

void exercise(std::string_view names_bytes, std::string_view chosung_bytes) {
    using namespace zendari;
    const telvia::fuzz::MemoryFile names_file(names_bytes);
    const telvia::fuzz::MemoryFile chosung_file(chosung_bytes);
    const std::shared_ptr<const IndexFile> names = IndexFile::open_shared(names_file.path());
    if (!names) return;
    const std::unique_ptr<ChosungIndex> index = ChosungIndex::load(chosung_file.path(), names);
    if (!index) return;

    // Every name but the end key, once each, under its own ordinal, consonant strings rising.
    std::vector<bool> seen(names->key_count(), false);
    std::vector<std::pair<std::string, std::uint64_t>> walked;  // consonants, offset
    std::string previous_name;
    std::int32_t previous_count = 0;
    std::uint32_t count = 0;
    for (std::uint64_t at = index->begin(); at < index->end(); ++count) {
        check(count < index->entry_count());
        ChosungIndex::Entry e;
        const std::uint64_t next = index->entry(at, e);
        check(next > at && next <= index->end());
        check(e.ordinal + 1 < names->key_count() && !seen[e.ordinal]);
        seen[e.ordinal] = true;
        IndexEntry key;
        check(names->entry_at(e.ordinal, key) && key.view() == e.name);
        check(index->first_record(e.ordinal) == names->value_at(e.ordinal));
        check(index->record_count(e.ordinal) >= 0);
        std::string c = chosung::consonants(e.name);
        // Consonant strings rising; under one string, record counts falling, then names rising.
        const std::int32_t records = index->record_count(e.ordinal);
        if (!walked.empty()) {
            check(walked.back().first <= c);
            if (walked.back().first == c)
                check(previous_count > records ||
                      (previous_count == records && previous_name < e.name));
        }
        previous_name.assign(e.name);
        previous_count = records;
        walked.emplace_back(std::move(c), at);
        at = next;
    }
    check(count == index->entry_count());

    // A search for each entry's string finds the first entry of that string; one for a string
    // between two finds the entry after it; one past every string finds the end.
    for (std::size_t k = 0; k < walked.size(); ++k) {
        if (k > 0 && walked[k - 1].first == walked[k].first) continue;
        check(index->lower_bound(walked[k].first) == walked[k].second);
    }
    check(index->lower_bound("") == index->begin());
    if (!walked.empty()) check(index->lower_bound(walked.back().first + "\xff") == index->end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), 2);
    exercise(parts[0], parts[1]);
    exercise(telvia::fuzz::with_block_file_checksums(std::string(parts[0])),
             telvia::fuzz::with_block_file_checksums(std::string(parts[1])));
    return 0;
}
