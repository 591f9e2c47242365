// The dong table: the offset file and the text file in any state. Every entry the table
// hands out lies inside the text file, and the dong name cut from it never exceeds it.
#include <cstdint>
#include <cstdlib>

#include "FuzzInput.h"
#include "data/DongTable.h"

using telvia::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zendari;
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), 2);
    const telvia::fuzz::MemoryFile text(parts[0]), offsets(parts[1]);
    DongTable table;
    if (!table.open(text.path(), offsets.path())) return 0;
    const std::int32_t count = table.entry_count();
    check(count >= 0 && static_cast<std::size_t>(count) <= parts[1].size() / 4);
    // Every entry of a small table; the first and last thousand of a large one.
    for (std::int32_t n = -1; n <= count + 1; ++n) {
        if (n > 1000 && n < count - 1000) n = count - 1000;
        const DongTable::Entry e = table.entry(n);
        if (e.text.empty()) continue;
        check(e.start >= 0 && static_cast<std::size_t>(e.start) + e.text.size() <= parts[0].size());
        check(dong_name_of_entry(e.text).size() < e.text.size());
    }
    return 0;
}
