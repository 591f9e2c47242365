// Engine text on its way to the hosts: valid CP949 converts whole; a byte that starts no
// character becomes one U+FFFD and the bytes after it are read afresh.
#include <gtest/gtest.h>

#include "BoundaryText.h"

using zendari::utf16_from_cp949_lossy;

namespace {

TEST(BoundaryTextTest, ValidTextConvertsWhole) {
    EXPECT_EQ(utf16_from_cp949_lossy("\xB1\xE8:3:3:\n"), u"김:3:3:\n");
    EXPECT_EQ(utf16_from_cp949_lossy(""), u"");
}

TEST(BoundaryTextTest, EachBadByteIsMarkedAndTheRestKept) {
    const struct {
        const char* cp949;
        std::u16string_view utf16;
        const char* what;
    } cases[] = {
        {"\xB0\xA1\xFF\xB3\xAA", u"가\uFFFD나", "a byte above every lead byte"},
        {"a\x80z", u"a\uFFFDz", "0x80 leads nothing"},
        {"\xB0\xA1\xB0\n|", u"가\uFFFD\n|", "a lead byte before a line feed keeps the line feed"},
        {"\xB0\xA1:\xB0", u"가:\uFFFD", "a lead byte at the end"},
        {"\xB0:\xB0\xA1|", u"\uFFFD:가|", "a separator is no trail byte"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf16_from_cp949_lossy(c.cp949), c.utf16) << c.what;
    }
}

}  // namespace
