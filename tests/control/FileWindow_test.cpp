// FileWindow and DongTable: status codes, window refills, the past-the-end and out-of-range
// resets, and dong names taken from entries.
#include "data/FileWindow.h"

#include <random>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "data/DongTable.h"

namespace zendari {
namespace {

std::string as_text(std::span<const std::byte> s) {
    return {reinterpret_cast<const char*>(s.data()), s.size()};
}

std::string offsets_file(std::initializer_list<std::uint32_t> offsets) {
    std::string out;
    for (std::uint32_t o : offsets) {
        std::byte b[4];
        store_le(b, o);
        out.append(reinterpret_cast<const char*>(b), 4);
    }
    return out;
}

TEST(FileWindow, NeverOpenedAndFailedOpen) {
    test::TempDir dir;
    FileWindow w;
    EXPECT_EQ(w.status(), FileWindow::kNeverOpened);
    EXPECT_TRUE(w.read(0, 1).empty());
    EXPECT_FALSE(w.reopen(10));
    EXPECT_FALSE(w.open(dir / "missing", 10));
    EXPECT_EQ(w.status(), FileWindow::kOpenFailed);
    EXPECT_TRUE(w.read(0, 1).empty());
    test::write_file(dir / "f", "abc");
    EXPECT_FALSE(w.open(dir / "f", 10));  // only a never-opened window opens
    EXPECT_EQ(w.status(), FileWindow::kOpenFailed);
    EXPECT_TRUE(w.reopen(10));  // reopens the kept (missing) path: true, status tells
    EXPECT_EQ(w.status(), FileWindow::kOpenFailed);
}

TEST(FileWindow, SmallFileIsHeldWhole) {
    test::TempDir dir;
    test::write_file(dir / "f", "0123456789");
    FileWindow w;
    ASSERT_TRUE(w.open(dir / "f", 64));
    EXPECT_TRUE(w.holds_whole_file());
    EXPECT_EQ(w.window_size(), 10);
    EXPECT_EQ(w.window_offset(), 0);
    EXPECT_EQ(as_text(w.read(3, 4)), "3456");
    EXPECT_EQ(w.window_offset(), 0);
}

TEST(FileWindow, WindowRefillsStartAtTheRequestedByte) {
    test::TempDir dir;
    std::string content;
    for (int i = 0; i < 100; ++i) content.push_back(static_cast<char>('A' + i % 26));
    test::write_file(dir / "f", content);
    FileWindow w;
    ASSERT_TRUE(w.open(dir / "f", 20));
    EXPECT_FALSE(w.holds_whole_file());
    EXPECT_EQ(w.window_offset(), -1);
    EXPECT_EQ(as_text(w.read(10, 5)), content.substr(10, 5));
    EXPECT_EQ(w.window_offset(), 10);
    EXPECT_EQ(as_text(w.read(25, 5)), content.substr(25, 5));  // inside [10, 30)
    EXPECT_EQ(w.window_offset(), 10);
    EXPECT_EQ(as_text(w.read(28, 5)), content.substr(28, 5));  // crosses the end: refill
    EXPECT_EQ(w.window_offset(), 28);
    EXPECT_TRUE(w.read(0, 21).empty());  // larger than the window
    EXPECT_TRUE(w.read(0, 0).empty());
    EXPECT_EQ(w.status(), FileWindow::kReady);
    // Ending exactly at the end works; one byte further fails once.
    EXPECT_EQ(as_text(w.read(90, 10)), content.substr(90));
    EXPECT_TRUE(w.read(91, 10).empty());
    EXPECT_EQ(w.status(), FileWindow::kPastEnd);
    EXPECT_EQ(as_text(w.read(0, 3)), "ABC");
    EXPECT_EQ(w.status(), FileWindow::kReady);
    // Reopen with another size.
    EXPECT_TRUE(w.reopen(200));
    EXPECT_TRUE(w.holds_whole_file());
    EXPECT_EQ(as_text(w.read(0, 100)), content);
    EXPECT_TRUE(w.reopen(0));
    EXPECT_TRUE(w.read(0, 1).empty());
    EXPECT_TRUE(w.reopen(-4));
    EXPECT_EQ(w.status(), FileWindow::kNoMemory);
    EXPECT_TRUE(w.read(0, 1).empty());
}

TEST(DongTable, FourByteOffsetFileHasNoEntries) {
    test::TempDir dir;
    test::write_file(dir / "t", "10:x:");
    test::write_file(dir / "o", offsets_file({0}));
    DongTable t;
    ASSERT_TRUE(t.open(dir / "t", dir / "o"));
    EXPECT_EQ(t.entry_count(), 0);
    for (int i = 0; i < 2; ++i) {  // -203 is reset by the next call, which fails again
        const auto e = t.entry(1);
        EXPECT_TRUE(e.text.empty());
        EXPECT_EQ(e.start, -1);
        EXPECT_EQ(t.status(), DongTable::kOutOfRange);
    }
    EXPECT_FALSE(t.open(dir / "t", dir / "o"));  // opened once only
}

TEST(DongTable, EntriesRunBetweenNeighbouringOffsets) {
    test::TempDir dir;
    const std::string text = "1:(100-011) A B C1000110000:\r\n2:short:\r\n3";
    test::write_file(dir / "t", text);
    test::write_file(dir / "o", offsets_file({0, 30, 40, 41}));
    DongTable t;
    ASSERT_TRUE(t.open(dir / "t", dir / "o"));
    EXPECT_TRUE(t.text_window().holds_whole_file());
    EXPECT_EQ(t.entry_count(), 3);
    auto e = t.entry(1);
    EXPECT_EQ(as_text(e.text), text.substr(0, 30));
    EXPECT_EQ(dong_name_of_entry(e.text), "(100-011) A B C");
    e = t.entry(3);
    EXPECT_EQ(e.start, 40);
    EXPECT_EQ(as_text(e.text), "3");
    EXPECT_TRUE(t.entry(4).text.empty());
    EXPECT_EQ(t.status(), DongTable::kOutOfRange);
    EXPECT_TRUE(t.entry(0).text.empty());
    EXPECT_TRUE(t.entry(-7).text.empty());
    EXPECT_EQ(as_text(t.entry(2).text), "2:short:\r\n");
    EXPECT_EQ(t.status(), FileWindow::kReady);
}

TEST(DongTable, MissingFilesGiveTheWindowStatus) {
    test::TempDir dir;
    test::write_file(dir / "t", "x");
    DongTable missing_text, missing_offsets;
    EXPECT_FALSE(missing_text.open(dir / "nope", dir / "t"));
    EXPECT_EQ(missing_text.status(), FileWindow::kOpenFailed);
    EXPECT_FALSE(missing_offsets.open(dir / "t", dir / "nope"));
    EXPECT_EQ(missing_offsets.status(), FileWindow::kOpenFailed);
    EXPECT_TRUE(missing_offsets.entry(1).text.empty());
}

TEST(DongTable, FieldOneWithoutItsTenLastBytes) {
    auto name = [](std::string_view s) {
        return dong_name_of_entry({reinterpret_cast<const std::byte*>(s.data()), s.size()});
    };
    EXPECT_EQ(name("11:(612-020) Busan Haeundae U1234567890:rest"), "(612-020) Busan Haeundae U");
    EXPECT_EQ(name("11:(612-020) X1234567890"), "(612-020) X");  // no second ':'
    EXPECT_EQ(name(std::string_view("11:(612-020) Y1234567890\0zz", 27)), "(612-020) Y");
    EXPECT_EQ(name("no colon at all"), "");
    EXPECT_EQ(name("11:1234567890:"), "");  // exactly 10 bytes
    EXPECT_EQ(name("11::"), "");
}

// Random offset and text files: whatever they hold, entries stay inside the text file.
TEST(DongTable, RandomFilesNeverReadOutOfBounds) {
    test::TempDir dir;
    std::mt19937 rng(3);
    for (int round = 0; round < 300; ++round) {
        std::string text(rng() % 200, 'x'), offsets(rng() % 64, '\0');
        for (char& c : text) c = static_cast<char>(rng() % 4 == 0 ? ':' : 'a' + rng() % 26);
        for (char& c : offsets)
            c = static_cast<char>(rng() % 3 == 0 ? rng() : rng() % 200 < 100 ? rng() % 200 : 0);
        test::write_file(dir / "t", text);
        test::write_file(dir / "o", offsets);
        DongTable t;
        if (!t.open(dir / "t", dir / "o")) continue;
        for (int n = -1; n <= t.entry_count() + 1; ++n) {
            const auto e = t.entry(n);
            if (e.text.empty()) continue;
            EXPECT_EQ(as_text(e.text),
                      text.substr(static_cast<std::size_t>(e.start), e.text.size()));
            EXPECT_LE(static_cast<std::size_t>(e.start) + e.text.size(), text.size());
            (void)dong_name_of_entry(e.text);
        }
    }
}

}  // namespace
}  // namespace zendari
