#include "data/Cp949.h"

#include <cerrno>

#include <iconv.h>

namespace zendari {
namespace {

iconv_t open_descriptor(TextConverter::Direction d) {
    switch (d) {
        case TextConverter::Direction::kUtf8ToCp949:
            return iconv_open("CP949", "UTF-8");
        case TextConverter::Direction::kCp949ToUtf8:
            return iconv_open("UTF-8", "CP949");
        case TextConverter::Direction::kUtf16ToCp949:
            return iconv_open("CP949", "UTF-16LE");
        case TextConverter::Direction::kCp949ToUtf16:
            return iconv_open("UTF-16LE", "CP949");
    }
    return reinterpret_cast<iconv_t>(-1);
}

}  // namespace

TextConverter::TextConverter(Direction direction) : cd_(open_descriptor(direction)) {}

TextConverter::~TextConverter() {
    if (cd_ != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(cd_));
}

bool TextConverter::convert(std::string_view in, std::string& out) {
    if (cd_ == reinterpret_cast<void*>(-1)) return false;
    auto cd = static_cast<iconv_t>(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // fresh shift state per string
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char buffer[1024];
    while (src_left > 0) {
        char* dst = buffer;
        std::size_t dst_left = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    if (iconv(cd, nullptr, nullptr, &dst, &dst_left) == static_cast<std::size_t>(-1)) return false;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return true;
}

namespace {

std::optional<std::string> convert_once(TextConverter::Direction d, std::string_view in) {
    TextConverter converter(d);
    std::string out;
    if (!converter.convert(in, out)) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> utf8_to_cp949(std::string_view utf8) {
    return convert_once(TextConverter::Direction::kUtf8ToCp949, utf8);
}

std::optional<std::string> cp949_to_utf8(std::string_view cp949) {
    return convert_once(TextConverter::Direction::kCp949ToUtf8, cp949);
}

std::optional<std::string> utf16_to_cp949(std::u16string_view utf16) {
    // UTF-16 units travel as little-endian bytes through iconv.
    std::string bytes;
    bytes.reserve(utf16.size() * 2);
    for (char16_t c : utf16) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return convert_once(TextConverter::Direction::kUtf16ToCp949, bytes);
}

std::optional<std::u16string> cp949_to_utf16(std::string_view cp949) {
    auto bytes = convert_once(TextConverter::Direction::kCp949ToUtf16, cp949);
    if (!bytes || bytes->size() % 2 != 0) return std::nullopt;
    std::u16string out(bytes->size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                       (static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8));
    }
    return out;
}

}  // namespace zendari
