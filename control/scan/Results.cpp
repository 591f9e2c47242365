#include "scan/Results.h"

#include <charconv>
#include <limits>

#include "data/filter_format.h"
#include "scan/LocMatcher.h"
#include "scan/ProcessReaders.h"

namespace zendari {

bool load_filter_range(ProcessReaders& readers, ResultCursor& cursor, std::int64_t first,
                       std::int64_t count) {
    cursor.items.clear();
    cursor.position = 0;
    cursor.first = first;
    constexpr auto kEntry = static_cast<std::int64_t>(filter_format::kEntrySize);
    const std::int64_t bytes = count * kEntry;
    const auto window = bytes > std::numeric_limits<std::int32_t>::max() ||
                                bytes < std::numeric_limits<std::int32_t>::min()
                            ? std::int32_t{-1}
                            : static_cast<std::int32_t>(bytes);
    if (!readers.filter.reopen(window)) return false;
    const auto span = readers.filter.read((first - 1) * kEntry, window);
    cursor.items.resize(span.size() / filter_format::kEntrySize);
    for (std::size_t i = 0; i < cursor.items.size(); ++i)
        cursor.items[i] = filter_format::code_at(span.data(), i);
    return true;
}

Appended append_with_dong(ProcessReaders& readers, std::int32_t code, ControlHost& host,
                          std::string& out) {
    const std::string* name = readers.dongs.name_ref(code, host);
    if (name == nullptr) return Appended::kGaveUp;
    const std::size_t mark = out.size();
    out += *name;
    out.push_back(':');
    if (!readers.chrec.format_into(out)) {
        out.resize(mark);
        return Appended::kNoRecord;
    }
    return Appended::kYes;
}

std::string get_result(ProcessReaders& readers, ResultCursor& cursor, ControlHost& host) {
    if (cursor.position >= cursor.items.size()) return {};
    const std::int32_t code = cursor.items[cursor.position];
    readers.chrec.seek(cursor.first + static_cast<std::int64_t>(cursor.position), true);
    char buffer[16];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, code);
    std::string out(buffer, r.ptr);
    out.push_back(':');
    switch (append_with_dong(readers, code, host, out)) {
        case Appended::kGaveUp:
            return {};
        case Appended::kNoRecord:
            ++cursor.position;
            return {};
        case Appended::kYes:
            ++cursor.position;
            return out;
    }
    return {};
}

std::string get_all_result(ProcessReaders& readers, ResultCursor& cursor, const LocMatcher& loc,
                           ControlHost& host) {
    if (cursor.position >= cursor.items.size()) return {};
    const std::int32_t code = cursor.items[cursor.position];
    if (!loc.matches(code)) {
        readers.chrec.skip();
        ++cursor.position;
        return {};
    }
    std::string out;
    readers.chrec.seek(cursor.first + static_cast<std::int64_t>(cursor.position), true);
    if (append_with_dong(readers, code, host, out) == Appended::kGaveUp) return {};
    ++cursor.position;
    return out;
}

}  // namespace zendari
