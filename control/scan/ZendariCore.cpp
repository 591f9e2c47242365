#include "scan/ZendariCore.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/Text.h"
#include "data/TelEnvironment.h"
#include "data/regions.h"
#include "scan/LocMatcher.h"
#include "scan/ProcessReaders.h"
#include "scan/Results.h"
#include "scan/Scan.h"

namespace zendari {

struct ZendariCore::State {
    std::int32_t init_db = 0;
    std::int32_t local = 0;
    ResultCursor result;
    std::string last_scan_place = "00000000";
    int last_scan_kind = 0;  // 0 dong scan, 1 surname scan
    bool scan_ended = false;
};

ZendariCore::ZendariCore(ControlHost& host) : host_(host), state_(std::make_unique<State>()) {}
ZendariCore::~ZendariCore() = default;

std::int32_t ZendariCore::init_db() const {
    return state_->init_db;
}

void ZendariCore::set_init_db(std::int32_t value) {
    state_->init_db = value;
    ProcessReaders& readers = process_readers();
    switch (value) {
        case 1: {
            const TelEnvironment env;
            // A master file that does not open has shown its message; the search goes on
            // without records.
            (void)readers.chrec.init(env.data_file_path("인명"), host_);
            const bool ok = readers.filter.open(env.index_file_path("인명FLT"), 20) &&
                            readers.dongs.open(env, host_);
            if (!ok) {
                host_.show_message("ERROR !", cp949_text("인명 초기화 실패"));
                state_->init_db = -1;
                return;
            }
            state_->last_scan_place = "00000000";
            readers.initialised = true;
            return;
        }
        case 2:
            host_.show_message(cp949_text("초기화"), cp949_text("상호"));
            state_->init_db = -1;
            return;
        case 3:
            host_.show_message(cp949_text("초기화"), cp949_text("업종"));
            state_->init_db = -1;
            return;
        default:
            return;
    }
}

std::int32_t ZendariCore::local() const {
    return state_->local;
}

void ZendariCore::set_local(std::int32_t code) {
    state_->local = code;
    const int region = region_of_code(code);
    if (region < 0) {  // the index selected before stays open
        host_.show_message("CODE ERROR !", cp949_text("유효한 인덱스 ID 가 아닙니다!"));
        state_->local = -1;
        return;
    }
    ProcessReaders& readers = process_readers();
    close_index(readers.region);
    readers.region_open = false;
    readers.past_last_key = false;
    const std::string key(kRegionKeys[static_cast<std::size_t>(region)]);
    const std::string path = TelEnvironment().index_file_path(key);
    if (open_index(path.c_str(), readers.region, 0, 0) == 0) {
        host_.show_message("ERROR !", cp949_text(key == "CHEJU" ? std::string("인덱스가 없습니다 !")
                                                                : key + " 인덱스가 없습니다 !"));
        state_->local = -1;
        return;
    }
    readers.region_open = true;
    // The name cursor keeps its key across a reselection: the main program selects the
    // region again before every page of a dong scan (and on every keystroke), and the next
    // page goes on after the key the last one stopped at. The key is found again only when a
    // walk needs it; a fresh handle would start over at the first name.
    readers.cursor_unplaced = readers.cursor.text[0] != '\0';
}

namespace {
// The cursor's key found in the index opened since: the value is the new index's (another
// region files the same name under other records), and a key the new index lacks gives way
// to the first key after it, as a lookup of it would.
void place_cursor(ProcessReaders& r) {
    if (!r.cursor_unplaced) return;
    r.cursor_unplaced = false;
    IndexKey probe = r.cursor;
    if (zendari::find_key(probe, r.region) != 0) {
        r.cursor.value = probe.value;
    } else if (next_key(r.cursor, r.region) == 0) {
        r.past_last_key = true;
    }
}
}  // namespace

bool ZendariCore::find_key(std::string_view key) {
    ProcessReaders& r = process_readers();
    std::memset(r.cursor.text, 0, sizeof r.cursor.text);
    // The key record holds 127 bytes and its NUL; a longer key is looked up by its first 127.
    std::memcpy(r.cursor.text, key.data(), std::min<std::size_t>(key.size(), 127));
    r.past_last_key = false;
    r.cursor_unplaced = false;
    if (zendari::find_key(r.cursor, r.region) != 0) return true;
    if (next_key(r.cursor, r.region) == 0 && r.region_open) r.past_last_key = true;
    return false;
}

std::string ZendariCore::get_next() {
    ProcessReaders& r = process_readers();
    // Without an open index, or past its last key, there is no name: the end marker.
    if (!r.region_open) return "vbROF";
    place_cursor(r);
    // A cursor no lookup has placed yet stands before the first name of the fresh handle:
    // it holds no name, so the walk starts with the first name.
    if (r.cursor.value == 0 && r.cursor.text[0] == '\0' && !r.past_last_key &&
        next_key(r.cursor, r.region) == 0)
        r.past_last_key = true;
    if (r.past_last_key) return "vbROF";
    const std::string text(r.cursor.text, strnlen(r.cursor.text, 127));
    const std::int64_t first = r.cursor.value;
    next_key(r.cursor, r.region);
    const std::int64_t count = std::int64_t{r.cursor.value} - first;
    if (!text.empty() && static_cast<unsigned char>(text[0]) == 0xF9) return "vbROF";
    // "%s:%ld:%ld:"
    std::string entry = text;
    auto append_number = [&entry](std::int64_t v) {
        char buffer[24];
        entry.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
    };
    entry.push_back(':');
    append_number(first);
    entry.push_back(':');
    append_number(count);
    entry.push_back(':');
    return entry;
}

bool ZendariCore::set_result(std::int32_t rep, std::int32_t cnt) {
    ProcessReaders& r = process_readers();
    state_->result = {};
    r.chrec.seek(rep, false);
    (void)load_filter_range(r, state_->result, rep, cnt);
    return true;
}

std::string ZendariCore::get_result() {
    return zendari::get_result(process_readers(), state_->result, host_);
}

std::string ZendariCore::get_all_result(std::string_view loc) {
    return zendari::get_all_result(process_readers(), state_->result, LocMatcher(loc), host_);
}

std::string ZendariCore::get_loc_next(std::string_view loc, std::int32_t cnt) {
    ProcessReaders& r = process_readers();
    if (!r.initialised || !r.region_open) return {};
    ScanRequest request;
    request.cnt = cnt;
    if (state_->last_scan_kind == 1 || loc != state_->last_scan_place) {
        state_->last_scan_place.assign(loc);
        request.restart = true;
        r.chrec.discard_block();
    }
    state_->last_scan_kind = 0;
    if (request.restart)
        r.cursor_unplaced = false;  // the scan looks the first name up afresh
    else
        place_cursor(r);
    std::string page = run_scan(r, host_, LocMatcher(loc), request);
    state_->scan_ended = scan_cursor_at_end(r);
    return page;
}

std::string ZendariCore::get_loc_sung(std::string_view loc, std::int32_t cnt,
                                      std::string_view sung) {
    ProcessReaders& r = process_readers();
    if (!r.initialised || !r.region_open) return {};
    state_->last_scan_place.assign(loc);
    r.chrec.discard_block();
    state_->last_scan_kind = 1;
    r.cursor_unplaced = false;  // the scan looks the surname up afresh
    ScanRequest request;
    request.surname = true;
    request.cnt = cnt;
    request.sung = sung;
    std::string page = run_scan(r, host_, LocMatcher(loc), request);
    state_->scan_ended = scan_cursor_at_end(r);
    return page;
}

bool ZendariCore::scan_ended() const {
    return state_->scan_ended;
}

}  // namespace zendari
