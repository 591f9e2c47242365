#include "scan/ZendariCore.h"

#include <algorithm>
#include <cstring>

#include "common/ChangeWatch.h"
#include "common/FileAdmission.h"
#include "common/Text.h"
#include "data/OpenedCd.h"
#include "data/TelEnvironment.h"
#include "data/regions.h"
#include "index/index_format.h"
#include "scan/LocMatcher.h"
#include "scan/NameEntry.h"
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
            // From here on the process reads this CD and no other, even if it is rebuilt.
            hold_cd(env);
            // A master file that does not open is reported, and the search goes on without
            // records.
            if (const telvia::Status master = readers.chrec.init(env.data_file_path("인명"));
                !master.ok())
                host_.show_message(kApplicationTitle, master.message());
            // The filter opens only once per process: a second initialisation fails here.
            const std::string filter = env.index_file_path("인명FLT");
            const bool first = readers.filter.status() == FileWindow::kNeverOpened;
            bool ok = readers.filter.open(filter, 20);
            if (!ok && first) report_unopened(env, "인명FLT", filter);
            const auto master =
                readers.chrec.is_open() ? std::optional(readers.chrec.master_size()) : std::nullopt;
            ok = ok && readers.dongs.open(env, host_) &&
                 check_cd(env, master, static_cast<std::uint64_t>(readers.filter.file_size()));
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
    NameCursor& names = process_readers().names;
    if (names.reselect(region)) return;
    const std::uint64_t generation = ChangeWatch::instance().generation();
    const std::uint64_t hold = admission_hold();
    const std::string key(kRegionKeys[static_cast<std::size_t>(region)]);
    const std::string path = TelEnvironment().index_file_path(key);
    if (!names.open(path)) {
        report_unopened(TelEnvironment(), key, path, "damaged or not an index file");
        host_.show_message("ERROR !", cp949_text(key == "CHEJU" ? std::string("인덱스가 없습니다 !")
                                                                : key + " 인덱스가 없습니다 !"));
        state_->local = -1;
        return;
    }
    names.selected(region, generation, hold);
}

bool ZendariCore::find_key(std::string_view key) {
    return process_readers().names.find(key);
}

std::string ZendariCore::get_next() {
    NameCursor& names = process_readers().names;
    // Without an open index, or past its last key, there is no name: the end marker.
    if (!names.is_open()) return "vbROF";
    names.place();
    names.enter_if_empty();
    if (names.past_last_key()) return "vbROF";
    const std::string_view name = names.text();
    if (index_format::is_end_key(name)) {
        names.step();
        return "vbROF";
    }
    NameEntry entry(name);
    const std::int64_t first = names.value();
    names.step();
    return entry.finish(first, std::int64_t{names.value()} - first);
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
    if (!r.initialised || !r.names.is_open()) return {};
    ScanRequest request;
    request.cnt = cnt;
    if (state_->last_scan_kind == 1 || loc != state_->last_scan_place) {
        state_->last_scan_place.assign(loc);
        request.restart = true;
        r.chrec.discard_block();
    }
    state_->last_scan_kind = 0;
    if (!request.restart) r.names.place();  // a restart looks the first name up afresh
    std::string page = run_scan(r, host_, LocMatcher(loc), request);
    state_->scan_ended = r.names.at_end();
    return page;
}

std::string ZendariCore::get_loc_sung(std::string_view loc, std::int32_t cnt,
                                      std::string_view sung) {
    ProcessReaders& r = process_readers();
    if (!r.initialised || !r.names.is_open()) return {};
    state_->last_scan_place.assign(loc);
    r.chrec.discard_block();
    state_->last_scan_kind = 1;
    ScanRequest request;
    request.surname = true;
    request.cnt = cnt;
    request.sung = sung;
    std::string page = run_scan(r, host_, LocMatcher(loc), request);
    state_->scan_ended = r.names.at_end();
    return page;
}

bool ZendariCore::scan_ended() const {
    return state_->scan_ended;
}

bool ZendariCore::find_chosung(std::string_view key) {
    ProcessReaders& r = process_readers();
    return r.chosung.find(r.names, key);
}

std::string ZendariCore::get_next_chosung() {
    ProcessReaders& r = process_readers();
    std::string_view name;
    std::int32_t first = 0, count = 0;
    if (!r.chosung.next(r.names, name, first, count)) return "vbROF";
    return NameEntry(name).finish(first, count);
}

}  // namespace zendari
