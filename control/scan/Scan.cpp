#include "scan/Scan.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <span>

#include "common/Text.h"
#include "data/TelEnvironment.h"
#include "scan/LocMatcher.h"
#include "scan/ProcessReaders.h"
#include "scan/Results.h"
#include "scan/ZendariCore.h"

namespace zendari {
namespace {

constexpr std::string_view kSentinel = "\xF9\xBB";

// The per-name progress text "<head><i><tail>", with head and tail converted once.
class ProgressText {
public:
    ProgressText(bool surname, std::string_view sung) {
        if (surname) {
            head_ = cp949_text("인명가입자 약1천2백만명중 ") + std::string(sung) +
                    cp949_text("씨성을 \n\n ");
        } else {
            head_ = cp949_text("인명가입자 약1천2백만명중 \n\n ");
        }
        tail_ = cp949_text(" 번째를 검색하고 있습니다.");
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

void position_cursor(ProcessReaders& readers, std::string_view text) {
    std::memset(readers.cursor.text, 0, sizeof readers.cursor.text);
    std::memcpy(readers.cursor.text, text.data(), std::min<std::size_t>(text.size(), 127));
    readers.past_last_key = false;
    if (find_key(readers.cursor, readers.region) == 0 &&
        next_key(readers.cursor, readers.region) == 0) {
        readers.past_last_key = true;
    }
}

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
    const auto records = static_cast<std::int64_t>(readers.filter.mapped_bytes().size() / 4);
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
    PageJump(ProcessReaders& readers, ControlHost& host, const std::vector<Posting>& matches)
        : r_(readers), host_(host), matches_(matches) {}

    bool usable() {
        IndexCursor c;
        if (r_.past_last_key || !index_cursor(r_.region, c) || !c.values_ascending || c.next == 0)
            return false;
        IndexKey key{};
        if (!index_key_at(r_.region, c.next - 1, key) || key.value != r_.cursor.value ||
            std::strncmp(key.text, r_.cursor.text, 128) != 0)
            return false;
        if (!index_key_at(r_.region, c.key_count - 1, key) || kSentinel != key.text) return false;
        const auto mapped_records = static_cast<std::int64_t>(r_.filter.mapped_bytes().size() / 4);
        if (std::int64_t{key.value} - 1 > mapped_records ||
            mapped_records != r_.filter.file_size() / 4)
            return false;
        start_ = c.next - 1;
        sentinel_ = c.key_count - 1;
        return true;
    }

    // Walks up to cnt names as the per-name loop would, `chunk` names per progress report.
    void run(std::int32_t cnt, const std::function<std::string_view(std::int32_t)>& text_of,
             std::string& result) {
        constexpr std::int64_t kChunk = 4096;
        reserve(cnt, result);
        for (std::int32_t i = 1; i <= cnt;) {
            const std::int64_t ordinal = std::int64_t{start_} + i - 1;
            if (ordinal >= sentinel_) {  // this name is the sentinel: the scan ends
                (void)host_.scan_steps(i, i, text_of);
                return;
            }
            const auto last = static_cast<std::int32_t>(
                std::min<std::int64_t>({cnt, i + kChunk - 1, std::int64_t{sentinel_} - start_}));
            const std::int32_t cancelled_at = host_.scan_steps(i, last, text_of);
            const std::int32_t done = cancelled_at == 0 ? last : cancelled_at;
            names(static_cast<std::uint32_t>(ordinal), static_cast<std::uint32_t>(start_ + done),
                  result);
            skip_keys(r_.cursor, r_.region, static_cast<std::uint32_t>(done - i + 1));
            if (cancelled_at != 0) return;
            i = done + 1;
        }
    }

private:
    // Items run to about 80 bytes; room for the page's matches up front saves the copies of
    // a growing string.
    void reserve(std::int32_t cnt, std::string& result) {
        constexpr std::size_t kItemGuess = 96;
        if (cnt <= 0) return;
        const std::int64_t hi = std::min<std::int64_t>(std::int64_t{start_} + cnt, sentinel_);
        const auto from =
            std::lower_bound(matches_.begin(), matches_.end(), value_at(start_), record_before);
        const auto to = std::lower_bound(from, matches_.end(),
                                         value_at(static_cast<std::uint32_t>(hi)), record_before);
        result.reserve(result.size() + static_cast<std::size_t>(to - from) * kItemGuess);
    }

    std::int32_t value_at(std::uint32_t ordinal) { return index_value_at(r_.region, ordinal); }

    // The matches of the names with ordinals [lo, hi).
    void names(std::uint32_t lo, std::uint32_t hi, std::string& result) {
        const auto from =
            std::lower_bound(matches_.begin(), matches_.end(), value_at(lo), record_before);
        const auto stop = std::lower_bound(from, matches_.end(), value_at(hi), record_before);
        const std::span<const Posting> page(from, stop);
        // Each match's name: the last name whose first record is at most the match. The
        // searches are independent of one another, so their cache misses overlap.
        ordinals_.resize(page.size());
        for (std::size_t k = 0; k < page.size(); ++k) {
            ordinals_[k] = index_last_with_value_at_most(
                r_.region, static_cast<std::int32_t>(page[k].record), lo, hi);
        }
        // What a match needs is asked for this many matches ahead: its name's index block,
        // master record and line start first, the line's text at half the distance.
        constexpr std::size_t kAhead = 8;
        IndexKey name{};
        std::int64_t name_ordinal = -1, name_first = 0, name_end = 0;
        for (std::size_t k = 0; k < page.size();) {
            if (k + kAhead < page.size()) {
                if (ordinals_[k + kAhead] >= 0)
                    index_prefetch_key(r_.region,
                                       static_cast<std::uint32_t>(ordinals_[k + kAhead]));
                r_.chrec.prefetch_record(page[k + kAhead].record);
            }
            if (k + kAhead / 2 < page.size()) r_.chrec.prefetch_detail(page[k + kAhead / 2].record);
            const std::int64_t record = page[k].record;
            if (ordinals_[k] < 0) return;
            if (ordinals_[k] != name_ordinal) {
                name_ordinal = ordinals_[k];
                const auto ordinal = static_cast<std::uint32_t>(name_ordinal);
                if (!index_key_at(r_.region, ordinal, name)) return;
                name_first = name.value;
                name_end = index_value_at(r_.region, ordinal + 1);
            }
            r_.chrec.seek(record, true);
            if (!append_match(r_, host_, std::string_view(name.text), page[k].code, result)) {
                // As in the walk: the record is retried for every remaining record of the name,
                // and the name's other matches are not read.
                for (std::int64_t n = record - name_first + 1; n < name_end - name_first; ++n)
                    (void)r_.dongs.name(page[k].code, host_);
                while (k < page.size() && page[k].record < name_end) ++k;
                continue;
            }
            ++k;
        }
    }

    ProcessReaders& r_;
    ControlHost& host_;
    const std::vector<Posting>& matches_;
    std::uint32_t start_ = 0;
    std::uint32_t sentinel_ = 0;
    std::vector<std::int64_t> ordinals_;  // per match of a chunk: its name's key ordinal
};

}  // namespace

bool scan_cursor_at_end(const ProcessReaders& readers) {
    return readers.past_last_key ||
           std::string_view(readers.cursor.text, strnlen(readers.cursor.text, 127)) == kSentinel;
}

std::string run_scan(ProcessReaders& readers, ControlHost& host, const LocMatcher& loc,
                     const ScanRequest& request) {
    if (request.surname) {
        position_cursor(readers, request.sung);
    } else if (request.restart) {
        position_cursor(readers, "");
    }
    host.scan_begin(
        cp949_text("인명검색"),
        cp949_text(request.surname
                       ? "인명 성별 검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요."
                       : "인명 동별검색 중입니다.\n\n검색을 멈추시려면 취소버튼을 눌러주십시요."),
        request.cnt);
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
    if (postings != nullptr && !request.surname) {
        PageJump jump(readers, host, matches);
        if (jump.usable()) {
            jump.run(
                request.cnt, [&](std::int32_t i) { return progress.text(i); }, result);
            host.scan_end();
            return result;
        }
    }
    ResultCursor cursor;
    bool cancelled = false;
    char name_buffer[128];
    for (std::int32_t i = 1; i <= request.cnt; ++i) {
        cancelled = host.scan_step(i, progress.text(i)) || cancelled;
        if (readers.past_last_key) break;  // nothing sorts after the lookup: as at the sentinel
        const std::size_t length = strnlen(readers.cursor.text, 127);
        std::memcpy(name_buffer, readers.cursor.text, length);
        const std::string_view name(name_buffer, length);
        const std::int64_t first = readers.cursor.value;
        next_key(readers.cursor, readers.region);
        const std::int64_t count = std::int64_t{readers.cursor.value} - first;
        if (first == 0) continue;
        if (name == kSentinel) break;
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
