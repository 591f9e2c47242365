#include "data/LineBlock.h"

#include <cstring>

#include <sys/stat.h>

#include "common/ByteOrder.h"
#include "common/StampedCache.h"
#include "data/lof_format.h"
#include "data/record_format.h"

namespace zendari {

std::uint32_t LineBlock::start(std::int64_t k) const noexcept {
    if (from_lof_) return load_u32le(lof_table_.data() + 4 * k);
    return starts_[static_cast<std::size_t>(k)];
}

LineBlock::Line LineBlock::line(std::int64_t k) const noexcept {
    if (k < 0 || k >= line_count_) return {};
    const std::uint32_t begin = start(k), end = start(k + 1);
    std::string_view text(reinterpret_cast<const char*>(block_.bytes().data()) + begin,
                          end - begin);
    Line out{text, false};
    if (!text.empty() && text.back() == '\n') {
        out.ended = true;
        out.text.remove_suffix(text.size() >= 2 && text[text.size() - 2] == '\r' ? 2 : 1);
    }
    if (out.text.size() > kMaxDetailText) out.text = cut_detail(out.text);
    return out;
}

std::string_view LineBlock::cut_detail(std::string_view text) noexcept {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t width = static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
        if (at + width > kMaxDetailText) break;
        at += width;
    }
    return text.substr(0, at);
}

void LineBlock::prefetch_start(std::int64_t k) const noexcept {
    if (k < 0 || k >= line_count_) return;
    if (from_lof_) {
        __builtin_prefetch(lof_table_.data() + 4 * k);
    } else {
        __builtin_prefetch(starts_.data() + k);
    }
}

void LineBlock::prefetch_text(std::int64_t k) const noexcept {
    if (k < 0 || k >= line_count_) return;
    const std::byte* text = block_.bytes().data();
    __builtin_prefetch(text + start(k));
    __builtin_prefetch(text + start(k + 1) - 1);
}

bool LineBlock::take_offset_file(const std::string& lof_path) {
    namespace lf = lof_format;
    if (!lof_.open(lof_path)) return false;
    const auto bytes = lof_.bytes();
    if (bytes.size() < lf::kHeaderSize ||
        std::memcmp(bytes.data(), lf::kMagic, sizeof lf::kMagic) != 0)
        return false;
    const std::uint32_t n = load_u32le(bytes.data() + lf::kLineCountAt);
    if (n > kMaxLines || load_u64le(bytes.data() + lf::kBlockSizeAt) != block_.size()) return false;
    if (bytes.size() != lf::kHeaderSize + 4ull * (n + 1)) return false;
    const auto table = bytes.subspan(lf::kHeaderSize);
    const auto* text = reinterpret_cast<const char*>(block_.bytes().data());
    // Starts rise from 0 to the block's size, every line but the last ends in LF, and no
    // line holds an LF before its end: the table splits the block exactly as a walk would.
    if (load_u32le(table.data()) != 0 || load_u32le(table.data() + 4ull * n) != block_.size())
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t b = load_u32le(table.data() + 4ull * k),
                            e = load_u32le(table.data() + 4ull * (k + 1));
        if (e <= b || e > block_.size()) return false;  // before the text is looked at
        if (k + 1 < n && text[e - 1] != '\n') return false;
        if (std::memchr(text + b, '\n', e - b - 1) != nullptr) return false;
    }
    // A block of more than kMaxLines lines has no table, so n lines is the whole file.
    lof_table_ = table;
    line_count_ = n;
    from_lof_ = true;
    return true;
}

void LineBlock::scan_lines() {
    const auto* text = reinterpret_cast<const char*>(block_.bytes().data());
    const std::size_t size = block_.size();
    starts_.clear();
    std::size_t at = 0;
    while (at < size && static_cast<std::int64_t>(starts_.size()) < kMaxLines) {
        starts_.push_back(static_cast<std::uint32_t>(at));
        const void* nl = std::memchr(text + at, '\n', size - at);
        at = nl == nullptr ? size
                           : static_cast<std::size_t>(static_cast<const char*>(nl) - text) + 1;
    }
    line_count_ = static_cast<std::int64_t>(starts_.size());
    starts_.push_back(static_cast<std::uint32_t>(at));
}

std::unique_ptr<LineBlock> LineBlock::load(const std::string& path, bool use_offset_file) {
    std::unique_ptr<LineBlock> block(new LineBlock());
    if (!block->block_.open(path) || block->block_.size() > 0xFFFFFFFFull) return nullptr;
    const std::string lof_path =
        path.size() > 4 ? path.substr(0, path.size() - 4) + ".lof" : std::string();
    if (!use_offset_file || lof_path.empty() || !block->take_offset_file(lof_path)) {
        block->lof_.close();
        block->from_lof_ = false;
        block->scan_lines();
    }
    return block;
}

std::shared_ptr<const LineBlock> LineBlock::open_shared(const std::string& path) {
    // Blocks stay mapped once touched (a whole CD's worth: mappings are not heap, and a
    // table of line starts built here is 400 KB): re-reading a block after each SetResult
    // would dominate a name listing, and a dong page touches every block of its region.
    static StampedCache<LineBlock> cache(128);
    return cache.get(
        path, [](const LineBlock&) { return true; }, [&] { return load(path); });
}

}  // namespace zendari
