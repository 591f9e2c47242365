#include "BoundaryText.h"

#include "data/Cp949.h"

namespace zendari {

std::u16string utf16_from_cp949_lossy(std::string_view cp949) {
    if (auto whole = cp949_to_utf16(cp949)) return std::move(*whole);

    // Character by character: ASCII stands for itself, a byte above 0x7F leads a pair.
    TextConverter converter(TextConverter::Direction::kCp949ToUtf16);
    std::u16string out;
    out.reserve(cp949.size());
    std::string units;  // UTF-16LE bytes of one converted pair
    for (std::size_t i = 0; i < cp949.size();) {
        const auto lead = static_cast<unsigned char>(cp949[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char16_t>(lead));
            ++i;
            continue;
        }
        units.clear();
        if (i + 1 < cp949.size() && converter.convert(cp949.substr(i, 2), units) &&
            !units.empty() && units.size() % 2 == 0) {
            for (std::size_t k = 0; k < units.size(); k += 2) {
                out.push_back(static_cast<char16_t>(static_cast<unsigned char>(units[k]) |
                                                    static_cast<unsigned char>(units[k + 1]) << 8));
            }
            i += 2;
            continue;
        }
        out.push_back(u'\uFFFD');
        ++i;
    }
    return out;
}

}  // namespace zendari
