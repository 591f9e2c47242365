// Whether a record's dong code matches a scan's location text: the code's decimal text,
// cut to its first 6 characters when the location is 6 characters long, equals the
// location. Decided on the number for ordinary locations (the text is never built).
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zendari {

class LocMatcher {
public:
    explicit LocMatcher(std::string_view loc) : loc_(loc) {
        prefix_ = loc.size() == 6;
        // Plain decimal without leading zeros: text equality is number equality.
        simple_ = !loc.empty() && loc.size() <= 9 && (loc[0] != '0' || loc.size() == 1);
        for (char c : loc) simple_ = simple_ && c >= '0' && c <= '9';
        if (simple_) std::from_chars(loc.data(), loc.data() + loc.size(), value_);
    }

    bool matches(std::int32_t code) const {
        if (!simple_) return matches_text(code);
        if (code < 0) return false;
        if (!prefix_) return code == value_;
        if (code < 100000) return false;  // fewer than 6 digits: the whole text is shorter
        std::int64_t c = code;
        while (c >= 1000000) c /= 10;
        return c == value_;
    }

    // The codes matches() accepts as ascending, disjoint, inclusive ranges, for a search of a
    // table sorted by code; false (ranges untouched) when the location is not plain decimal.
    using CodeRange = std::pair<std::int32_t, std::int32_t>;
    bool code_ranges(std::vector<CodeRange>& ranges) const {
        if (!simple_) return false;
        ranges.clear();
        if (value_ > std::numeric_limits<std::int32_t>::max()) return true;
        if (!prefix_) {
            ranges.emplace_back(static_cast<std::int32_t>(value_),
                                static_cast<std::int32_t>(value_));
            return true;
        }
        // The codes of 6, 7, ... digits whose first 6 digits are the location.
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        for (std::int64_t scale = 1; value_ * scale <= kMax; scale *= 10) {
            ranges.emplace_back(
                static_cast<std::int32_t>(value_ * scale),
                static_cast<std::int32_t>(std::min((value_ + 1) * scale - 1, kMax)));
        }
        return true;
    }

    const std::string& text() const noexcept { return loc_; }

private:
    bool matches_text(std::int32_t code) const {
        char buffer[16];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, code);
        std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
        if (prefix_ && text.size() > 6) text = text.substr(0, 6);
        return text == loc_;
    }

    std::string loc_;
    bool prefix_ = false;
    bool simple_ = false;
    std::int64_t value_ = -1;
};

}  // namespace zendari
