#include "scan/Results.h"

#include <charconv>
#include <limits>

#include "common/ByteOrder.h"
#include "scan/LocMatcher.h"
#include "scan/ProcessReaders.h"

namespace zendari {

bool load_filter_range(ProcessReaders& readers, ResultCursor& cursor, std::int64_t first,
                       std::int64_t count) {
    cursor.items.clear();
    cursor.position = 0;
    const std::int64_t bytes = count * 4;
    const auto window = bytes > std::numeric_limits<std::int32_t>::max() ||
                                bytes < std::numeric_limits<std::int32_t>::min()
                            ? std::int32_t{-1}
                            : static_cast<std::int32_t>(bytes);
    if (!readers.filter.reopen(window)) return false;
    const auto span = readers.filter.read((first - 1) * 4, window);
    cursor.items.resize(span.size() / 4);
    for (std::size_t i = 0; i < cursor.items.size(); ++i)
        cursor.items[i] = load_i32le(span.data() + 4 * i);
    return true;
}

std::optional<std::string> format_with_dong(ProcessReaders& readers, std::int32_t code,
                                            ControlHost& host) {
    std::optional<std::string> name = readers.dongs.name(code, host);
    if (!name) return std::nullopt;
    std::optional<std::string> record = readers.chrec.format();
    // A record the master file does not hold yields no result.
    if (!record) return std::string();
    *name += ':';
    *name += *record;
    return name;
}

std::string get_result(ProcessReaders& readers, ResultCursor& cursor, ControlHost& host) {
    if (cursor.position >= cursor.items.size()) return {};
    const std::int32_t code = cursor.items[cursor.position];
    std::optional<std::string> text = format_with_dong(readers, code, host);
    if (!text) return {};
    ++cursor.position;
    if (text->empty()) return {};
    char buffer[16];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, code);
    return std::string(buffer, r.ptr) + ":" + *text;
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
    std::optional<std::string> text = format_with_dong(readers, code, host);
    if (!text) return {};
    ++cursor.position;
    return std::move(*text);
}

}  // namespace zendari
