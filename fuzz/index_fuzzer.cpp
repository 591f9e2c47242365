// The index file reader (region name indexes, the dong code index): opening verifies the
// file, and every call of the index library on a file that opened must stay inside it and
// keep its promises: keys walk in strictly rising order, each key is found again with its
// value, and the ordinal and value searches agree with the walk.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BlockFileInput.h"
#include "FuzzInput.h"
#include "index/IndexFile.h"
#include "index/Nodix.h"
#include "index/index_format.h"

using telvia::fuzz::check;

namespace {

void exercise(std::string_view bytes);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = telvia::fuzz::as_text(data, size);
    exercise(input);
    exercise(telvia::fuzz::with_block_file_checksums(std::string(input)));
    return 0;
}

namespace {

void exercise(std::string_view bytes) {
    using namespace zendari;
    const telvia::fuzz::MemoryFile file(bytes);
    IndexHandle handle{};
    if (open_index(file.path().c_str(), handle, 0, 0) == 0) return;

    IndexCursor cursor;
    check(index_cursor(handle, cursor));
    std::vector<std::pair<std::string, std::int32_t>> keys;
    IndexKey key{};
    find_key(key, handle);  // the empty text: before the first key
    while (next_key(key, handle) != 0) {
        const std::string text(key.text, strnlen(key.text, sizeof key.text));
        check(text.size() <= 127 && (keys.empty() || keys.back().first < text));
        keys.emplace_back(text, key.value);
        check(keys.size() <= cursor.key_count);
    }
    check(keys.size() == cursor.key_count);

    for (std::uint32_t k = 0; k < keys.size(); ++k) {
        IndexKey probe{};
        std::memcpy(probe.text, keys[k].first.data(), keys[k].first.size());
        check(find_key(probe, handle) != 0 && probe.value == keys[k].second);
        IndexKey at{};
        check(index_key_at(handle, k, at) && keys[k].first == at.text);
        if (cursor.values_ascending) {
            check(index_value_at(handle, k) == keys[k].second);
            IndexKey last{};
            std::int32_t next_value = 0;
            check(index_last_with_value_at_most(handle, keys[k].second, 0, cursor.key_count, &last,
                                                &next_value) == k);
        }
        // A text just after the key: a miss whose next key is the following one.
        std::string after = keys[k].first;
        if (after.size() < 127) {
            after.push_back('\x01');
            IndexKey miss{};
            std::memcpy(miss.text, after.data(), after.size());
            if (find_key(miss, handle) == 0 && k + 1 < keys.size()) {
                check(next_key(miss, handle) != 0 && miss.text == keys[k + 1].first);
            }
        }
    }
    IndexKey skip{};
    find_key(skip, handle);
    const std::uint32_t passed = skip_keys(skip, handle, 3);
    check(passed == std::min<std::size_t>(3, keys.size()));
    close_index(handle);
}

}  // namespace
