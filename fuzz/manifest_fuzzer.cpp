// The CD's manifest: any text is either refused or read as a list that writes back to the
// very same text (the reader takes exactly the form the builder writes). Each input is also
// tried with its end line made right, so the mutations reach the lines behind the checksum.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "common/Checksum.h"
#include "data/CdManifest.h"

using telvia::fuzz::check;

namespace {

void exercise(std::string_view text) {
    const auto entries = zendari::parse_manifest(text);
    if (entries) check(zendari::manifest_text(*entries) == text);
}

// The text up to its last "end" line, with an end line that counts the lines and carries
// their checksum.
std::string with_end_line(std::string_view text) {
    std::size_t cut = text.rfind("\r\nend ");
    cut = cut == std::string_view::npos ? text.size() : cut + 2;
    const std::string_view body = text.substr(0, cut);
    std::size_t lines = 0;
    for (std::size_t at = body.find("\r\n"); at != std::string_view::npos;
         at = body.find("\r\n", at + 2))
        ++lines;
    const std::uint64_t sum =
        zendari::checksum64({reinterpret_cast<const std::byte*>(body.data()), body.size()});
    char hex[17];
    for (int i = 15; i >= 0; --i) hex[i] = "0123456789abcdef"[(sum >> (4 * (15 - i))) & 0xF];
    hex[16] = '\0';
    return std::string(body) + "end " + std::to_string(lines > 0 ? lines - 1 : 0) + " " + hex +
           "\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = telvia::fuzz::as_text(data, size);
    exercise(text);
    exercise(with_end_line(text));
    return 0;
}
