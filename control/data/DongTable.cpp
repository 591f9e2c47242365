#include "data/DongTable.h"

#include "common/ByteOrder.h"

namespace zendari {

bool DongTable::open(const std::string& text_path, const std::string& offset_path) {
    if (status_ != FileWindow::kNeverOpened) return false;
    status_ = FileWindow::kReady;
    if (!text_.open(text_path, kTextWindow)) {
        status_ = text_.status();
        return false;
    }
    if (!offsets_.open(offset_path, kOffsetWindow)) {
        status_ = offsets_.status();
        return false;
    }
    const std::int64_t count = offsets_.file_size() / 4 - 1;
    entry_count_ = static_cast<std::int32_t>(count < 0 ? 0 : count);
    return true;
}

DongTable::Entry DongTable::entry(std::int32_t n) {
    if (status_ == kOutOfRange) status_ = FileWindow::kReady;
    if (status_ != FileWindow::kReady) return {};
    if (n <= 0 || n > entry_count_) {
        status_ = kOutOfRange;
        return {};
    }
    auto start_bytes = offsets_.read((std::int64_t{n} - 1) * 4, 4);
    if (start_bytes.empty()) {
        status_ = offsets_.status();
        return {};
    }
    const auto start = static_cast<std::int32_t>(load_u32le(start_bytes.data()));
    auto end_bytes = offsets_.read(std::int64_t{n} * 4, 4);
    if (end_bytes.empty()) {
        status_ = offsets_.status();
        return {{}, start, 0};
    }
    const auto end = static_cast<std::int32_t>(load_u32le(end_bytes.data()));
    const std::int64_t length = std::int64_t{end} - start;
    Entry e{{}, start, static_cast<std::int32_t>(length)};
    if (length > 0 && length <= kTextWindow) e.text = text_.read(start, e.length);
    return e;
}

std::string dong_name_of_entry(std::span<const std::byte> entry) {
    std::size_t i = 0;
    while (i < entry.size() && entry[i] != std::byte{':'}) ++i;
    std::string field;
    if (i < entry.size()) {
        for (++i; i < entry.size(); ++i) {
            const auto c = static_cast<char>(entry[i]);
            if (c == ':' || c == '\0') break;
            field.push_back(c);
        }
    }
    // A missing field reads as "0", which the cut of 10 bytes empties like any short field.
    if (field.size() <= 10) return {};
    field.resize(field.size() - 10);
    return field;
}

}  // namespace zendari
