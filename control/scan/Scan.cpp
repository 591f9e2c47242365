#include "scan/Scan.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <span>

#include "common/ControlHost.h"
#include "common/Text.h"
#include "data/TelEnvironment.h"
#include "data/filter_format.h"
#include "index/IndexFile.h"
#include "index/index_format.h"
#include "scan/LocMatcher.h"
#include "scan/ProcessReaders.h"
#include "scan/Results.h"

namespace zendari {
namespace {

// The per-name progress text "<head><i><tail>", with head and tail converted once.
class ProgressText {
public:
    ProgressText(bool surname, std::string_view sung) {
        // Converted once per process: a scan of one small dong is over in a few dozen µs.
        static const std::string kSubscribers = cp949_text("인명가입자 약1천2백만명중 ");
        static const std::string kSurname = cp949_text("씨성을 \n\n ");
        static const std::string kDong = cp949_text("인명가입자 약1천2백만명중 \n\n ");
        static const std::string kTail = cp949_text(" 번째를 검색하고 있습니다.");
        head_ = surname ? kSubscribers + std::string(sung) + kSurname : kDong;
        tail_ = kTail;
        text_ = head_;
    }
    std::string_view text(std::int32_t i) {
        text_.resize(head_.size());
        char buffer[16];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, i);
        text_.append(buffer, r.ptr);
        text_ += tail_;
        return text_;
    }

private:
    std::string head_, tail_, text_;
};

// The data directory read once for the whole scan, which is one call of the control.
class PinnedDataDirectory {
public:
    explicit PinnedDataDirectory(CHrec& chrec) : chrec_(chrec) {
        chrec_.pin_data_directory(TelEnvironment().data_directory());
    }
    ~PinnedDataDirectory() { chrec_.unpin_data_directory(); }
    PinnedDataDirectory(const PinnedDataDirectory&) = delete;
    PinnedDataDirectory& operator=(const PinnedDataDirectory&) = delete;

private:
    CHrec& chrec_;
};

const DongPostings* postings_of(ProcessReaders& readers) {
    if (!readers.postings_tried) {
        readers.postings_tried = true;
        readers.postings = DongPostings::load(TelEnvironment().index_file_path("ZPOST"),
                                              readers.filter.mapped_bytes());
    }
    return readers.postings.get();
}

void append_item(std::string& result, std::string_view name, const std::string& r) {
    result.append(name);
    result.push_back(':');
    result += r;
    result.push_back('|');
}

// Appends "name:dong name:record|" for the reader's next record when it has one. False when
// the dong table gave up on `code` (nothing appended, the record not read).
bool append_match(ProcessReaders& readers, ControlHost& host, std::string_view name,
                  std::int32_t code, std::string& result) {
    const std::size_t mark = result.size();
    result.append(name);
    result.push_back(':');
    const Appended appended = append_with_dong(readers, code, host, result);
    if (appended == Appended::kYes) {
        result.push_back('|');
    } else {
        result.resize(mark);
    }
    return appended != Appended::kGaveUp;
}

// The records of one name tested one by one against the filter file.
void walk_name(ProcessReaders& readers, ControlHost& host, const LocMatcher& loc,
               std::string_view name, std::int64_t first, std::int64_t count, ResultCursor& cursor,
               std::string& result) {
    readers.chrec.seek(first, true);
    if (!load_filter_range(readers, cursor, first, count)) {
        host.show_message(kApplicationTitle, cp949_text("인명 필터 메모리 확보 실패  !"));
        return;
    }
    // The cursor holds all `count` codes or none; past its end nothing more can match.
    const std::int64_t n =
        std::min<std::int64_t>(count, static_cast<std::int64_t>(cursor.items.size()));
    for (std::int64_t k = 0; k < n; ++k) {
        const std::string r = get_all_result(readers, cursor, loc, host);
        if (!r.empty()) append_item(result, name, r);
    }
}

bool record_before(const Posting& p, std::int64_t record) {
    return p.record < record;
}

// The same answers from the dong's posting list: only the matching records are visited.
void jump_name(ProcessReaders& readers, ControlHost& host, std::string_view name,
               std::int64_t first, std::int64_t count, const std::vector<Posting>& matches,
               std::string& result) {
    const auto records =
        static_cast<std::int64_t>(readers.filter.mapped_bytes().size() / filter_format::kEntrySize);
    if (count <= 0 || first < 1 || first - 1 + count > records) return;  // the filter read fails
    auto it = std::lower_bound(matches.begin(), matches.end(), first, record_before);
    for (; it != matches.end() && it->record < first + count; ++it) {
        readers.chrec.seek(it->record, true);
        if (!append_match(readers, host, name, it->code, result)) {
            // The walk stays on a record whose dong entry is missing and retries it for every
            // remaining record of the name.
            for (std::int64_t k = it->record - first + 1; k < count; ++k)
                (void)readers.dongs.name(it->code, host);
            return;
        }
    }
}

// A dong page through the posting lists without visiting each name: the names i ... j of a
// page cover the record range [value of name i, value of name j + 1), the matches are the
// dong's records in it, and each match's name is found by a search on the values. Used only
// where that equals the walk: values rising from key to key (first records), the sentinel
// last and inside the filter file, and the name cursor standing on the key its handle says.
class PageJump {
public:
    // A surname scan (`surname` set) stops at the first name whose first two bytes sort after
    // `sung`, as the walk does; a dong page at the end key. REQUIRES an index open.
    PageJump(ProcessReaders& readers, ControlHost& host, const std::vector<Posting>& matches,
             bool surname = false, std::string_view sung = {})
        : r_(readers),
          host_(host),
          matches_(matches),
          surname_(surname),
          sung_(sung),
          keys_(*readers.names.file()) {}

    bool usable() {
        IndexCursor c;
        if (r_.names.past_last_key() || !index_cursor(index(), c) || !c.values_ascending ||
            c.next == 0)
            return false;
        IndexKey key{};
        if (!index_key_at(index(), c.next - 1, key) || key.value != r_.names.value() ||
            std::string_view(key.text) != r_.names.text())
            return false;
        if (!index_key_at(index(), c.key_count - 1, key) || !index_format::is_end_key(key.text))
            return false;
        constexpr auto kEntry = static_cast<std::int64_t>(filter_format::kEntrySize);
        const auto mapped_records =
            static_cast<std::int64_t>(r_.filter.mapped_bytes().size()) / kEntry;
        if (std::int64_t{key.value} - 1 > mapped_records ||
            mapped_records != r_.filter.file_size() / kEntry)
            return false;
        start_ = c.next - 1;
        sentinel_ = c.key_count - 1;
        limit_ = surname_ ? first_after_surname() : sentinel_;
        return limit_ >= start_;
    }

    // Walks up to cnt names as the per-name loop would, a run of names per progress report.
    // The page's matches and their names are found once, up front; a run then costs only its
    // progress report and its own matches, and the name cursor moves once, when the page ends.
    // A run is kNamesPerRun names, or more up to the name of the kMatchesPerRun-th match
    // ahead: the work between two reports stays small whatever the page (names without
    // matches cost nothing), and a dong with few matches in a region of many names is
    // reported in a few runs, not hundreds.
    void run(std::int32_t cnt, const std::function<std::string_view(std::int32_t)>& text_of,
             std::string& result) {
        constexpr std::int64_t kNamesPerRun = 4096;
        constexpr std::size_t kMatchesPerRun = 256;
        const std::int64_t page_end =
            std::clamp<std::int64_t>(std::int64_t{start_} + cnt, start_, limit_);
        find_page(static_cast<std::uint32_t>(page_end), result);
        std::size_t next = 0;      // the first match not yet appended
        std::uint32_t passed = 0;  // names walked that the cursor has not been moved over
        for (std::int32_t i = 1; i <= cnt;) {
            const std::int64_t ordinal = std::int64_t{start_} + i - 1;
            if (ordinal >= limit_) {  // the end key or the next surname: the scan ends
                (void)host_.scan_steps(i, i, text_of);
                // The walk has read past it (nothing follows the end key).
                r_.names.skip(passed + 1);
                return;
            }
            std::int64_t run_end = cnt;  // the run's last name, numbered as i is
            if (next + kMatchesPerRun < page_.size() && ordinals_[next + kMatchesPerRun] >= 0)
                run_end = std::max<std::int64_t>(i + kNamesPerRun - 1,
                                                 ordinals_[next + kMatchesPerRun] - start_);
            const auto last = static_cast<std::int32_t>(
                std::min<std::int64_t>({cnt, run_end, std::int64_t{limit_} - start_}));
            const std::int32_t cancelled_at = host_.scan_steps(i, last, text_of);
            const std::int32_t done = cancelled_at == 0 ? last : cancelled_at;
            next = append(next, std::int64_t{start_} + done, result);
            passed += static_cast<std::uint32_t>(done - i + 1);
            if (cancelled_at != 0) break;
            i = done + 1;
        }
        r_.names.skip(passed);
    }

private:
    const IndexHandle& index() const { return r_.names.handle(); }

    // The first ordinal from start_ on whose key's first two bytes sort after the surname, or
    // the end key's: those bytes never fall from key to key, so a binary search finds it.
    std::uint32_t first_after_surname() const {
        std::uint32_t lo = start_, hi = sentinel_;
        IndexKey key{};
        while (lo < hi) {
            const std::uint32_t mid = lo + (hi - lo) / 2;
            if (!index_key_at(index(), mid, key)) return start_;  // cannot happen: verified
            if (std::string_view(key.text).substr(0, 2) > sung_) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return lo;
    }
    std::int32_t value_at(std::uint32_t ordinal) { return index_value_at(index(), ordinal); }

    // The matches of the names with ordinals [start_, page_end) and each match's name: the
    // last name whose first record is at most the match. The searches are independent of one
    // another, so their cache misses overlap. Room for the page's items goes into `result` up
    // front (items run to about 80 bytes), which saves the copies of a growing string.
    void find_page(std::uint32_t page_end, std::string& result) {
        constexpr std::size_t kItemGuess = 96;
        const auto from =
            std::lower_bound(matches_.begin(), matches_.end(), value_at(start_), record_before);
        const auto to = std::lower_bound(from, matches_.end(), value_at(page_end), record_before);
        page_ = std::span<const Posting>(from, to);
        records_.resize(page_.size());
        for (std::size_t k = 0; k < page_.size(); ++k)
            records_[k] = static_cast<std::int32_t>(page_[k].record);
        ordinals_.resize(page_.size());
        r_.names.file()->last_ordinals_with_value_at_most(records_, start_, page_end, ordinals_);
        result.reserve(result.size() + page_.size() * kItemGuess);
    }

    // Appends the page's matches from `k` on whose names lie before ordinal `end`; returns the
    // first match not appended.
    std::size_t append(std::size_t k, std::int64_t end, std::string& result) {
        // What a match needs is asked for this many matches ahead: its name's index block,
        // master record and line start first, the line's text at half the distance.
        constexpr std::size_t kAhead = 8;
        const IndexFile& file = *r_.names.file();
        std::string_view name;
        std::int64_t name_ordinal = -1, name_first = 0, name_end = 0;
        const std::span<const Posting> page = page_;
        while (k < page.size() && ordinals_[k] >= 0 && ordinals_[k] < end) {
            if (k + kAhead < page.size()) {
                if (ordinals_[k + kAhead] >= 0)
                    index_prefetch_key(index(), static_cast<std::uint32_t>(ordinals_[k + kAhead]));
                r_.chrec.prefetch_record(page[k + kAhead].record);
            }
            if (k + kAhead / 2 < page.size()) r_.chrec.prefetch_detail(page[k + kAhead / 2].record);
            const std::int64_t record = page[k].record;
            if (ordinals_[k] != name_ordinal) {
                name_ordinal = ordinals_[k];
                const auto ordinal = static_cast<std::uint32_t>(name_ordinal);
                const IndexEntry* key = keys_.at(ordinal);
                if (key == nullptr) return page.size();
                name = key->view();
                name_first = key->value;
                name_end = file.value_at(ordinal + 1);
            }
            r_.chrec.seek(record, true);
            if (!append_match(r_, host_, name, page[k].code, result)) {
                // As in the walk: the record is retried for every remaining record of the name,
                // and the name's other matches are not read.
                for (std::int64_t n = record - name_first + 1; n < name_end - name_first; ++n)
                    (void)r_.dongs.name(page[k].code, host_);
                while (k < page.size() && page[k].record < name_end) ++k;
                continue;
            }
            ++k;
        }
        // A match without a name (which a verified index cannot give) ends the page's matches.
        return k < page.size() && ordinals_[k] < 0 ? page.size() : k;
    }

    ProcessReaders& r_;
    ControlHost& host_;
    const std::vector<Posting>& matches_;
    bool surname_;
    std::string_view sung_;
    std::uint32_t start_ = 0;
    std::uint32_t sentinel_ = 0;
    std::uint32_t limit_ = 0;             // the ordinal the scan stops at
    std::span<const Posting> page_;       // the page's matches
    std::vector<std::int32_t> records_;   // per match of the page: its record
    std::vector<std::int64_t> ordinals_;  // per match of the page: its name's key ordinal
    IndexFile::KeyReader keys_;           // the matches' names, read in rising order
};

}  // namespace

std::string run_scan(ProcessReaders& readers, ControlHost& host, const LocMatcher& loc,
                     const ScanRequest& request) {
    if (request.surname) {
        readers.names.find(request.sung);
    } else if (request.restart) {
        readers.names.find("");
    }
    static const std::string kTitle = cp949_text("인명검색");
    static const std::string kSurnameText =
        cp949_text("인명 성별 검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요.");
    static const std::string kDongText =
        cp949_text("인명 동별검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요.");
    host.scan_begin(kTitle, request.surname ? kSurnameText : kDongText, request.cnt);
    ProgressText progress(request.surname, request.sung);
    const PinnedDataDirectory pinned(readers.chrec);
    const DongPostings* postings = postings_of(readers);
    std::vector<Posting> matches;
    std::vector<LocMatcher::CodeRange> ranges;
    if (postings != nullptr && loc.code_ranges(ranges)) {
        matches = postings->records(ranges);
    } else if (postings != nullptr) {
        matches = postings->records([&](std::int32_t code) { return loc.matches(code); });
    }
    std::string result;
    if (postings != nullptr && readers.names.file() != nullptr) {
        PageJump jump(readers, host, matches, request.surname, request.sung);
        if (jump.usable()) {
            jump.run(
                request.cnt, [&](std::int32_t i) { return progress.text(i); }, result);
            host.scan_end();
            return result;
        }
    }
    ResultCursor cursor;
    bool cancelled = false;
    NameCursor& names = readers.names;
    std::string name;
    for (std::int32_t i = 1; i <= request.cnt; ++i) {
        cancelled = host.scan_step(i, progress.text(i)) || cancelled;
        if (names.past_last_key()) break;  // nothing sorts after the lookup: as at the end key
        name.assign(names.text());
        const std::int64_t first = names.value();
        names.step();
        const std::int64_t count = std::int64_t{names.value()} - first;
        if (first == 0) continue;
        if (index_format::is_end_key(name)) break;
        if (request.surname && name.substr(0, 2) > request.sung) break;
        if (postings != nullptr) {
            jump_name(readers, host, name, first, count, matches, result);
        } else {
            walk_name(readers, host, loc, name, first, count, cursor, result);
        }
        if (cancelled) break;
    }
    host.scan_end();
    return result;
}

}  // namespace zendari
