// The result cursor over one name's records and the two result strings read through it:
// "code:dong name:record" (GetResult) and, for records of one location, "dong name:record"
// (GetAllResult, which the scans use too).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zendari {

class ControlHost;
class LocMatcher;
struct ProcessReaders;

// The dong codes of records first ... first + count - 1, copied out of the filter window
// (so a later read of the window cannot pull them away), and the position in them. The
// record reader is shared by every control object and by the scans, so each read first
// seeks it to the cursor's own record, first + position.
struct ResultCursor {
    std::vector<std::int32_t> items;
    std::size_t position = 0;
    std::int64_t first = 0;
};

// Reopens the filter window with count x 4 bytes and takes the count codes from record
// `first` on. Leaves the cursor empty when the range is not in the filter file. Returns
// false only when the filter window was never opened.
bool load_filter_range(ProcessReaders& readers, ResultCursor& cursor, std::int64_t first,
                       std::int64_t count);

// Appends "dong name:record" of the reader's next record, dong code `code`, to `out`.
// kGaveUp: the dong table gave no entry text and the record was not read; kNoRecord: the
// master file has no such record. In both cases `out` is left as it was.
enum class Appended { kYes, kNoRecord, kGaveUp };
Appended append_with_dong(ProcessReaders& readers, std::int32_t code, ControlHost& host,
                          std::string& out);

// The next record as "code:dong name:record", or "" past the cursor's end or when the dong
// table gives up (the position then stays).
std::string get_result(ProcessReaders& readers, ResultCursor& cursor, ControlHost& host);

// The next record as "dong name:record" when its code matches `loc`; otherwise passes over
// it and returns "".
std::string get_all_result(ProcessReaders& readers, ResultCursor& cursor, const LocMatcher& loc,
                           ControlHost& host);

}  // namespace zendari
