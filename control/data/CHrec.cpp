#include "data/CHrec.h"

#include <charconv>

#include "common/Text.h"
#include "data/LineBlock.h"
#include "data/TelEnvironment.h"
#include "scan/ZendariCore.h"

namespace zendari {
namespace {

void append_number(std::string& out, long long v) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, r.ptr);
}

}  // namespace

bool CHrec::init(const std::string& path, ControlHost& host) {
    if (path.empty()) {
        host.show_message(kApplicationTitle, cp949_text("Path가 올바르지 않습니다. [CHrec::Init]"));
        return false;
    }
    MappedFile master;
    if (!master.open(path)) {
        host.show_message(kApplicationTitle,
                          cp949_text("마스터[??.COD] 파일이 오픈되지 않았습니다."));
        return false;
    }
    master_ = std::move(master);
    opened_ = true;
    return true;
}

void CHrec::seek(std::int64_t record, bool keep_block) {
    record_ = record;
    if (!keep_block) discard_block();
}

std::optional<SubscriberRecord> CHrec::record(std::int64_t number) const noexcept {
    if (!opened_ || number < 1) return std::nullopt;
    const auto bytes = master_.bytes();
    const auto at = static_cast<std::uint64_t>(number - 1) * kRecordSize;
    if (at + kRecordSize > bytes.size()) return std::nullopt;
    return decode_record(bytes.subspan(at).first<kRecordSize>());
}

void CHrec::prefetch_record(std::int64_t number) const noexcept {
    if (!opened_ || number < 1) return;
    const auto bytes = master_.bytes();
    const auto at = static_cast<std::uint64_t>(number - 1) * kRecordSize;
    if (at + kRecordSize <= bytes.size()) __builtin_prefetch(bytes.data() + at);
    if (block_ && block_of_record(number) == block_number_)
        block_->prefetch_start((number - 1) % kRecordsPerBlock);
}

void CHrec::prefetch_detail(std::int64_t number) const noexcept {
    if (number >= 1 && block_ && block_of_record(number) == block_number_)
        block_->prefetch_text((number - 1) % kRecordsPerBlock);
}

void CHrec::append_detail(std::string& out) {
    const std::int64_t block = block_of_record(record_);
    if (!block_ || block != block_number_) {
        block_ =
            block >= 0 && block < kBlockCount
                ? LineBlock::open_shared(TelEnvironment().data_directory() + block_file_name(block))
                : nullptr;
        block_number_ = block;
    }
    if (!block_) return;  // a missing block file leaves the detail line empty
    const LineBlock::Line line = block_->line((record_ - 1) % kRecordsPerBlock);
    out.append(line.text);
    if (line.ended) out.push_back('\n');
}

std::optional<std::string> CHrec::format() {
    std::string out;
    if (!format_into(out)) return std::nullopt;
    return out;
}

bool CHrec::format_into(std::string& out) {
    const auto r = record(record_);
    if (!r) {
        ++record_;
        return false;
    }
    if (r->lot_main != 0) append_number(out, r->lot_main);
    if (r->lot_main != 0 && r->lot_sub != 0) out.push_back('-');
    if (r->lot_sub != 0) append_number(out, r->lot_sub);
    out += ":0";
    append_number(out, r->area);
    out.push_back(':');
    append_number(out, r->exchange);
    out.push_back('-');
    append_number(out, r->line);
    if (r->suffix != 0) {
        out.push_back('/');
        append_number(out, r->suffix);
    }
    out.push_back(':');
    append_number(out, r->postal);
    out.push_back(':');
    append_detail(out);
    ++record_;
    return true;
}

}  // namespace zendari
