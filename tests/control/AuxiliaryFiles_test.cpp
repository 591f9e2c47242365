// The builder's auxiliary files are trusted only when they match the data they speed up. One
// case per check of the readers: each file is made valid, then broken in exactly one way
// (checksums made to match again where the check under test comes after them), and must be
// refused. A check deleted from a reader lets its case through.
#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "common/Checksum.h"
#include "data/DongPostings.h"
#include "data/LineBlock.h"
#include "data/lof_format.h"
#include "data/posting_format.h"

namespace zendari::test {
namespace {

void put_u32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}
void put_u64(std::string& bytes, std::size_t at, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}
std::span<const std::byte> as_bytes(const std::string& s) {
    return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

// ---- line offset files ----------------------------------------------------------------

const std::string kBlock = "first\nsecond line\r\nthird";  // three lines, the last unended

std::string lof_for(const std::string& block, const std::vector<std::uint32_t>& starts) {
    namespace lf = lof_format;
    std::string bytes(lf::kHeaderSize + 4 * starts.size(), '\0');
    std::memcpy(bytes.data(), lf::kMagic, sizeof lf::kMagic);
    put_u32(bytes, lf::kLineCountAt, static_cast<std::uint32_t>(starts.size() - 1));
    put_u64(bytes, lf::kBlockSizeAt, block.size());
    for (std::size_t k = 0; k < starts.size(); ++k)
        put_u32(bytes, lf::kHeaderSize + 4 * k, starts[k]);
    return bytes;
}

const std::vector<std::uint32_t> kStarts = {0, 6, 19, 24};

struct LofCase {
    const char* what;
    std::function<std::string()> lof;
};

TEST(AuxiliaryFiles, ALineOffsetFileIsTakenOnlyWhenItMatchesItsBlock) {
    TempDir dir;
    write_file(dir / "10_1.dll", kBlock);
    write_file(dir / "10_1.lof", lof_for(kBlock, kStarts));
    {
        const auto block = LineBlock::load(dir / "10_1.dll");
        ASSERT_NE(block, nullptr);
        ASSERT_TRUE(block->used_offset_file()) << "the valid file must be taken";
        EXPECT_EQ(block->line(1).text, "second line");
    }
    namespace lf = lof_format;
    const LofCase cases[] = {
        {"foreign magic",
         [] {
             std::string b = lof_for(kBlock, kStarts);
             b[0] = 'X';
             return b;
         }},
        {"more lines than a block holds",
         [] {
             std::string b = lof_for(kBlock, kStarts);
             put_u32(b, lf::kLineCountAt, LineBlock::kMaxLines + 1);
             return b;
         }},
        {"made for a block of another size",
         [] {
             std::string b = lof_for(kBlock, kStarts);
             put_u64(b, lf::kBlockSizeAt, kBlock.size() + 1);
             return b;
         }},
        {"a table shorter than its count", [] { return lof_for(kBlock, kStarts).substr(0, 36); }},
        {"the first line not at 0",
         [] {
             return lof_for(kBlock, {1, 6, 19, 24});
         }},
        {"the end not at the block's size",
         [] {
             return lof_for(kBlock, {0, 6, 19, 23});
         }},
        {"starts that do not rise",
         [] {
             return lof_for(kBlock, {0, 19, 6, 24});
         }},
        {"a start past the block",
         [] {
             return lof_for(kBlock, {0, 6, 40, 24});
         }},
        // Rising, inside the block, but line 1 would begin in the middle of "first".
        {"a line that does not end at a line feed",
         [] {
             return lof_for(kBlock, {0, 3, 19, 24});
         }},
    };
    for (const LofCase& c : cases) {
        write_file(dir / "10_1.lof", c.lof());
        const auto block = LineBlock::load(dir / "10_1.dll");
        ASSERT_NE(block, nullptr) << c.what;
        EXPECT_FALSE(block->used_offset_file()) << c.what;
        // The block's own lines, found by scanning it.
        EXPECT_EQ(block->line_count(), 3) << c.what;
        EXPECT_EQ(block->line(0).text, "first") << c.what;
        EXPECT_EQ(block->line(1).text, "second line") << c.what;
        EXPECT_EQ(block->line(2).text, "third") << c.what;
    }
}

// ---- dong posting files ---------------------------------------------------------------

// Records 1..5 filed under dongs 10010101 (1, 3, 5) and 10010102 (2, 4).
std::string filter_file() {
    std::string f(20, '\0');
    const std::int32_t codes[] = {10010101, 10010102, 10010101, 10010102, 10010101};
    for (int i = 0; i < 5; ++i) put_u32(f, 4 * i, static_cast<std::uint32_t>(codes[i]));
    return f;
}

struct Dir {
    std::int32_t code;
    std::uint32_t first, count;
};

// A posting file; `seal` recomputes the sizes and checksums after the parts are set.
std::string postings(const std::string& filter, const std::vector<Dir>& dirs,
                     const std::vector<std::uint32_t>& records, bool seal = true) {
    namespace pf = posting_format;
    std::string b(pf::kHeaderSize + dirs.size() * pf::kDirectoryEntrySize + 4 * records.size(),
                  '\0');
    std::memcpy(b.data() + pf::kMagicAt, pf::kMagic, sizeof pf::kMagic);
    put_u32(b, pf::kVersionAt, pf::kVersion);
    put_u32(b, pf::kDongCountAt, static_cast<std::uint32_t>(dirs.size()));
    put_u32(b, pf::kRecordCountAt, static_cast<std::uint32_t>(filter.size() / 4));
    for (std::size_t d = 0; d < dirs.size(); ++d) {
        const std::size_t at = pf::kHeaderSize + d * pf::kDirectoryEntrySize;
        put_u32(b, at, static_cast<std::uint32_t>(dirs[d].code));
        put_u32(b, at + 4, dirs[d].first);
        put_u32(b, at + 8, dirs[d].count);
    }
    const std::size_t body = pf::kHeaderSize + dirs.size() * pf::kDirectoryEntrySize;
    for (std::size_t k = 0; k < records.size(); ++k) put_u32(b, body + 4 * k, records[k]);
    if (seal) {
        put_u64(b, pf::kFilterChecksumAt, checksum64(as_bytes(filter)));
        put_u64(b, pf::kFileSizeAt, b.size());
        put_u64(b, pf::kBodyChecksumAt, checksum64(as_bytes(b).subspan(pf::kHeaderSize)));
        put_u64(b, pf::kHeaderChecksumAt, checksum64(as_bytes(b).first(pf::kHeaderChecksumAt)));
    }
    return b;
}

// Sets the header checksum again after a change to the header.
std::string reseal_header(std::string b) {
    namespace pf = posting_format;
    put_u64(b, pf::kHeaderChecksumAt, checksum64(as_bytes(b).first(pf::kHeaderChecksumAt)));
    return b;
}

const std::vector<Dir> kDirs = {{10010101, 0, 3}, {10010102, 3, 2}};
const std::vector<std::uint32_t> kRecords = {1, 3, 5, 2, 4};

struct PostingCase {
    const char* what;
    std::function<std::string(const std::string& filter)> file;
};

TEST(AuxiliaryFiles, APostingFileIsTakenOnlyWhenItMatchesTheFilterFile) {
    TempDir dir;
    const std::string filter = filter_file();
    write_file(dir / "dong.pst", postings(filter, kDirs, kRecords));
    {
        const auto p = DongPostings::load(dir / "dong.pst", as_bytes(filter));
        ASSERT_NE(p, nullptr) << "the valid file must be taken";
        const auto found = p->records([](std::int32_t code) { return code == 10010102; });
        ASSERT_EQ(found.size(), 2u);
        EXPECT_EQ(found[0].record, 2u);
        EXPECT_EQ(found[1].record, 4u);
    }
    namespace pf = posting_format;
    const PostingCase cases[] = {
        {"shorter than a header",
         [](const std::string& f) {
             return postings(f, kDirs, kRecords).substr(0, pf::kHeaderSize - 1);
         }},
        {"foreign magic",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             b[pf::kMagicAt] = 'X';
             return reseal_header(b);
         }},
        {"a damaged header",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             b[pf::kReservedAt] = 1;  // the checksum no longer matches
             return b;
         }},
        {"another version",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             put_u32(b, pf::kVersionAt, pf::kVersion + 1);
             return reseal_header(b);
         }},
        {"a recorded size that is not the file's",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             put_u64(b, pf::kFileSizeAt, b.size() + 4);
             return reseal_header(b);
         }},
        {"made for another number of records",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             put_u32(b, pf::kRecordCountAt, 6);
             return reseal_header(b);
         }},
        {"a directory that does not fit the size",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             put_u32(b, pf::kDongCountAt, 3);
             return reseal_header(b);
         }},
        {"a damaged body",
         [](const std::string& f) {
             std::string b = postings(f, kDirs, kRecords);
             b[b.size() - 1] = 7;
             return b;
         }},
        {"made from another filter file",
         [](const std::string& f) {
             std::string other = f;
             other[0] ^= 1;
             std::string b = postings(other, kDirs, kRecords);
             return b;
         }},
        {"a directory out of code order",
         [](const std::string& f) {
             return postings(f, {{10010102, 0, 2}, {10010101, 2, 3}}, {2, 4, 1, 3, 5});
         }},
        {"lists that leave a gap",
         [](const std::string& f) {
             return postings(f, {{10010101, 0, 3}, {10010102, 4, 1}}, kRecords);
         }},
        {"a list past the postings",
         [](const std::string& f) {
             return postings(f, {{10010101, 0, 3}, {10010102, 3, 3}}, kRecords);
         }},
        {"a list out of record order",
         [](const std::string& f) {
             return postings(f, kDirs, {1, 5, 3, 2, 4});
         }},
        {"a record past the master file",
         [](const std::string& f) {
             return postings(f, kDirs, {1, 3, 5, 2, 6});
         }},
        {"a record filed under another dong",
         [](const std::string& f) {
             return postings(f, kDirs, {1, 2, 5, 3, 4});
         }},
        {"postings no list covers",
         [](const std::string& f) {
             return postings(f, {{10010101, 0, 3}, {10010102, 3, 1}}, kRecords);
         }},
    };
    for (const PostingCase& c : cases) {
        write_file(dir / "dong.pst", c.file(filter));
        EXPECT_EQ(DongPostings::load(dir / "dong.pst", as_bytes(filter)), nullptr) << c.what;
    }
}

}  // namespace
}  // namespace zendari::test
