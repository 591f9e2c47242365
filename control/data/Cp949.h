// Code page 949 conversion through glibc iconv. The control and the CD files speak CP949;
// hosts speak UTF-8 or UTF-16. Conversion is strict: text that does not convert is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zendari {

// One iconv conversion descriptor, for loops that convert many strings (the CD builder).
class TextConverter {
public:
    enum class Direction { kUtf8ToCp949, kCp949ToUtf8, kUtf16ToCp949, kCp949ToUtf16 };
    explicit TextConverter(Direction direction);
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;
    ~TextConverter();

    // Converts `in` (bytes in the source encoding; UTF-16 as little-endian bytes) and appends
    // to `out`. Returns false on an invalid or unconvertible sequence; `out` is then
    // unspecified.
    [[nodiscard]] bool convert(std::string_view in, std::string& out);

private:
    void* cd_;  // iconv_t
};

std::optional<std::string> utf8_to_cp949(std::string_view utf8);
std::optional<std::string> cp949_to_utf8(std::string_view cp949);
std::optional<std::string> utf16_to_cp949(std::u16string_view utf16);
std::optional<std::u16string> cp949_to_utf16(std::string_view cp949);

}  // namespace zendari
