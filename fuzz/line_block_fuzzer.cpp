// A line block file with its line offset table beside it: whatever the two hold, a line
// never reaches outside the block, and the table, when the reader takes it, gives exactly
// the lines a walk of the block gives (the table is auxiliary: answers must not change with
// or without it).
#include <cstdint>
#include <cstdlib>

#include "FuzzInput.h"
#include "data/LineBlock.h"

using telvia::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zendari;
    const auto parts = telvia::fuzz::split_parts(telvia::fuzz::as_text(data, size), 2);
    const std::string block_path = telvia::fuzz::put_file("10_1.dll", parts[0]);
    telvia::fuzz::put_file("10_1.lof", parts[1]);
    const auto with_table = LineBlock::load(block_path);
    const auto walked = LineBlock::load(block_path, false);
    if (!with_table || !walked) return 0;
    check(with_table->line_count() == walked->line_count());
    check(walked->line_count() <= LineBlock::kMaxLines);
    for (std::int64_t k = -1; k <= walked->line_count(); ++k) {
        const LineBlock::Line a = with_table->line(k), b = walked->line(k);
        check(a.text == b.text && a.ended == b.ended);
    }
    return 0;
}
