#include "data/CHrec.h"

#include <charconv>

#include "common/Text.h"
#include "data/LineBlock.h"
#include "data/TelEnvironment.h"

namespace zendari {

telvia::Status CHrec::init(const std::string& path) {
    using telvia::Status;
    if (path.empty())
        return {Status::Code::kNotFound, cp949_text("Path가 올바르지 않습니다. [CHrec::Init]")};
    MappedFile master;
    if (!master.open(path))
        return {Status::Code::kIoError, cp949_text("마스터[??.COD] 파일이 오픈되지 않았습니다.")};
    master_ = std::move(master);
    opened_ = true;
    return Status::Ok();
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
        block_ = block >= 0 && block < kBlockCount
                     ? LineBlock::open_shared(
                           (pinned_ ? pinned_directory_ : TelEnvironment().data_directory()) +
                           block_file_name(block))
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
    // The fields before the detail line take at most 54 bytes (a 32-bit number needs at most
    // 11): composed here, appended once.
    char buffer[96];
    char* at = buffer;
    const auto number = [&at](std::int32_t v) {
        constexpr int kMaxDigits = 11;
        at = std::to_chars(at, at + kMaxDigits, v).ptr;
    };
    if (r->lot_main != 0) number(r->lot_main);
    if (r->lot_main != 0 && r->lot_sub != 0) *at++ = '-';
    if (r->lot_sub != 0) number(r->lot_sub);
    *at++ = ':';
    *at++ = '0';
    number(r->area);
    *at++ = ':';
    number(r->exchange);
    *at++ = '-';
    number(r->line);
    if (r->suffix != 0) {
        *at++ = '/';
        number(r->suffix);
    }
    *at++ = ':';
    number(r->postal);
    *at++ = ':';
    out.append(buffer, at);
    append_detail(out);
    ++record_;
    return true;
}

}  // namespace zendari
