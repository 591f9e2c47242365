#include "DbValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace telvia {

std::string DbValue::text() const {
    if (const auto* s = std::get_if<std::string>(&v_)) return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v_)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", *d);
        return buf;
    }
    return {};
}

std::int64_t DbValue::integer() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    if (const auto* d = std::get_if<double>(&v_)) {
        // Converting a double outside the 64-bit range (or NaN) is undefined: clamp instead.
        constexpr double kLimit = 9223372036854775808.0;  // 2^63
        if (std::isnan(*d)) return 0;
        if (*d >= kLimit) return std::numeric_limits<std::int64_t>::max();
        if (*d < -kLimit) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(*d);
    }
    if (const auto* s = std::get_if<std::string>(&v_)) {
        std::size_t b = s->find_first_not_of(" \t");
        if (b == std::string::npos) return 0;
        if ((*s)[b] == '+') ++b;
        std::int64_t v = 0;
        std::from_chars(s->data() + b, s->data() + s->size(), v);
        return v;
    }
    return 0;
}

}  // namespace telvia
