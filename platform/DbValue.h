// One field value as it crosses the database layer: NULL, a 64-bit integer, a double or
// UTF-8 text. Parameters are always passed as values and bound, never pasted into SQL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace telvia {

class DbValue {
public:
    DbValue() = default;  // NULL
    DbValue(std::nullptr_t) {}
    DbValue(int v) : v_(std::int64_t{v}) {}
    DbValue(std::int64_t v) : v_(v) {}
    DbValue(double v) : v_(v) {}
    DbValue(std::string v) : v_(std::move(v)) {}
    DbValue(std::string_view v) : v_(std::string(v)) {}
    DbValue(const char* v) : v_(std::string(v)) {}

    bool is_null() const noexcept { return std::holds_alternative<std::monostate>(v_); }
    bool is_integer() const noexcept { return std::holds_alternative<std::int64_t>(v_); }
    bool is_real() const noexcept { return std::holds_alternative<double>(v_); }
    bool is_text() const noexcept { return std::holds_alternative<std::string>(v_); }

    // Text form: "" for NULL, decimal text for numbers (as Jet's string conversion does).
    std::string text() const;
    // Integer form: 0 for NULL; text is read as a leading decimal number (0 when none);
    // a double is truncated toward zero, clamped to the 64-bit range, NaN giving 0.
    std::int64_t integer() const;

    const std::variant<std::monostate, std::int64_t, double, std::string>& raw() const noexcept {
        return v_;
    }
    friend bool operator==(const DbValue&, const DbValue&) = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace telvia
