#include "data/CHrec.h"

#include <charconv>

#include "common/FileAdmission.h"
#include "common/Text.h"
#include "data/LineBlock.h"
#include "data/OpenedCd.h"
#include "data/TelEnvironment.h"

namespace zendari {

telvia::Status CHrec::init(const std::string& path) {
    using telvia::Status;
    if (path.empty()) {
        report_unopened(TelEnvironment(), "인명", path);
        return {Status::Code::kNotFound, cp949_text("Path가 올바르지 않습니다. [CHrec::Init]")};
    }
    MappedFile master;
    if (!master.open(path)) {
        report_unopened(TelEnvironment(), "인명", path);
        return {Status::Code::kIoError, cp949_text("마스터[??.COD] 파일이 오픈되지 않았습니다.")};
    }
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

void CHrec::pin_data_directory(std::string directory) {
    const std::uint64_t hold = admission_hold();
    if (hold == 0 || hold != blocks_hold_ || directory != blocks_directory_) {
        pinned_blocks_.assign(static_cast<std::size_t>(kBlockCount), nullptr);
        blocks_directory_ = directory;
        blocks_hold_ = hold;
    }
    pinned_directory_ = std::move(directory);
    pinned_ = true;
}

const LineBlock* CHrec::block_in_memory(std::int64_t number) const noexcept {
    const std::int64_t block = block_of_record(number);
    if (block_ && block == block_number_) return block_.get();
    if (pinned_ && block >= 0 && block < static_cast<std::int64_t>(pinned_blocks_.size()))
        return pinned_blocks_[static_cast<std::size_t>(block)].get();
    return nullptr;
}

void CHrec::prefetch_record(std::int64_t number) const noexcept {
    if (!opened_ || number < 1) return;
    const auto bytes = master_.bytes();
    const auto at = static_cast<std::uint64_t>(number - 1) * kRecordSize;
    if (at + kRecordSize <= bytes.size()) __builtin_prefetch(bytes.data() + at);
    if (const LineBlock* block = block_in_memory(number))
        block->prefetch_start((number - 1) % kRecordsPerBlock);
}

void CHrec::prefetch_detail(std::int64_t number) const noexcept {
    if (number < 1) return;
    if (const LineBlock* block = block_in_memory(number))
        block->prefetch_text((number - 1) % kRecordsPerBlock);
}

void CHrec::append_detail(std::string& out) {
    const std::int64_t block = block_of_record(record_);
    if (!block_ || block != block_number_) {
        block_ = nullptr;
        if (block >= 0 && block < kBlockCount) {
            const auto kept = static_cast<std::size_t>(block);
            if (pinned_ && kept < pinned_blocks_.size() && pinned_blocks_[kept]) {
                block_ = pinned_blocks_[kept];
            } else {
                const std::string path =
                    (pinned_ ? pinned_directory_ : TelEnvironment().data_directory()) +
                    block_file_name(block);
                block_ = LineBlock::open_shared(path);
                if (!block_) report_unreadable_once(path);
                if (pinned_ && kept < pinned_blocks_.size()) pinned_blocks_[kept] = block_;
            }
        }
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
