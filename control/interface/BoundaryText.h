// Texts on their way from the engine (CP949) to the hosts (UTF-16). The CD's bytes are not
// all valid CP949: a damaged detail line or a stray byte has no character. Such a byte
// becomes U+FFFD and the rest of the text still crosses, where a strict conversion would
// refuse the whole text, and with it a record or a scan page of thousands of matches.
#pragma once

#include <string>
#include <string_view>

namespace zendari {

// Every valid CP949 character converted; each byte that starts no valid character gives one
// U+FFFD, and the bytes after it are read afresh (so a line feed after a lone lead byte is
// kept).
std::u16string utf16_from_cp949_lossy(std::string_view cp949);

}  // namespace zendari
