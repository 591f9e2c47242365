// Whether a record's dong code matches a scan's location text: the code's decimal text,
// cut to its first 6 characters when the location is 6 characters long, equals the
// location. Decided on the number for ordinary locations (the text is never built).
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

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
