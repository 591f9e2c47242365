// One line block file ("10_1.dll"): up to 100,000 detail lines in record order, mapped and
// indexed by line. The table of line starts comes from the builder's ".lof" file beside the
// block when it matches the block, and is built by scanning the block otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/MappedFile.h"
#include "data/record_format.h"

namespace zendari {

class LineBlock {
public:
    static constexpr std::int64_t kMaxLines = 100'000;

    // The block at `path`, shared with earlier callers while the file is unchanged; null
    // when the file does not open.
    static std::shared_ptr<const LineBlock> open_shared(const std::string& path);
    // Opens without the cache; `use_offset_file` false ignores the ".lof" file.
    static std::unique_ptr<LineBlock> load(const std::string& path, bool use_offset_file = true);

    std::int64_t line_count() const noexcept { return line_count_; }
    // Line k (0-based): its text without the line end (CR LF or LF), and whether it had one
    // (a text-mode reader returns such a line with one LF). Empty past the last line. A line
    // longer than a detail line may be (kMaxDetailLine with its CR LF) is cut there, before
    // a CP949 character that would not fit whole.
    struct Line {
        std::string_view text;
        bool ended = false;
    };
    Line line(std::int64_t k) const noexcept;
    // Hints that line k is read soon, so its cache misses overlap other work: where the line
    // starts, then (reading that start, best once it is cached) the text. No effect otherwise.
    void prefetch_start(std::int64_t k) const noexcept;
    void prefetch_text(std::int64_t k) const noexcept;
    bool used_offset_file() const noexcept { return from_lof_; }

    // The text a detail line keeps at most (its CR LF takes the rest of kMaxDetailLine).
    static constexpr std::size_t kMaxDetailText = kMaxDetailLine - 2;
    static std::string_view cut_detail(std::string_view text) noexcept;

private:
    LineBlock() = default;
    bool take_offset_file(const std::string& lof_path);
    void scan_lines();
    std::uint32_t start(std::int64_t k) const noexcept;

    MappedFile block_;
    MappedFile lof_;
    std::span<const std::byte> lof_table_;  // (n + 1) u32 from the offset file
    std::vector<std::uint32_t> starts_;     // or built here: n + 1 starts
    std::int64_t line_count_ = 0;
    bool from_lof_ = false;
};

}  // namespace zendari
