// zendari-build end to end: a small CD built from listings and read back through the
// readers; bad input refused with one "file:LINE: column: reason" message and no CD left.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "data/Cp949.h"
#include "data/DongData.h"
#include "data/FileWindow.h"
#include "data/TelEnvironment.h"
#include "data/record_format.h"
#include "index/Nodix.h"

namespace zendari {
namespace {

namespace fs = std::filesystem;

constexpr const char* kListingsHeader =
    "name\tdong_code\tarea_code\texchange\tline\tsuffix\tlot_main\tlot_sub\tpostal_code\tdetail\n";
constexpr const char* kDongsHeader = "dong_code\tpostal_code\tname\n";
constexpr const char* kDongs =
    "11020103\t612020\t부산 해운대구 우동\n"
    "10010101\t110011\t서울 종로구 청운동\n"
    "72030001\t100100\t서울 특별구 가동\n"
    "21010101\t412010\t경기 고양시 갑동\n";

struct BuildRun {
    int status;
    std::string message;
};

BuildRun build(const test::TempDir& dir, const std::string& listings, const std::string& dongs,
               const std::string& out) {
    test::write_file(dir / "listings.tsv", listings);
    test::write_file(dir / "dongs.tsv", dongs);
    const std::string command = std::string(ZENDARI_BUILD_EXE) + " --listings " +
                                (dir / "listings.tsv") + " --dongs " + (dir / "dongs.tsv") +
                                " --out " + out + " 2>" + (dir / "stderr.txt");
    const int rc = std::system(command.c_str());
    return {rc, test::read_file(dir / "stderr.txt")};
}

std::string cp949(std::string_view utf8) {
    return *utf8_to_cp949(utf8);
}

std::vector<std::pair<std::string, std::int32_t>> walk(const std::string& path) {
    std::vector<std::pair<std::string, std::int32_t>> keys;
    IndexHandle h{};
    if (open_index(path.c_str(), h) == 0) return keys;
    IndexKey key{};
    EXPECT_EQ(find_key(key, h), 0);  // the empty text
    while (next_key(key, h) != 0) keys.emplace_back(key.text, key.value);
    close_index(h);
    return keys;
}

TEST(ZendariBuild, SmallCdReadsBack) {
    test::TempDir dir;
    const std::string listings =
        std::string(kListingsHeader) +
        "김철수\t11020103\t051\t123\t4567\t0\t37\t209\t612020\t우동아파트 1동\n"  // PUSAN
        "이영희\t10010101\t02\t700\t85\t12\t0\t12\t110011\t\n"                    // SEOUL
        "김철수\t11020103\t051\t124\t1\t0\t0\t0\t612020\tx\n"                     // PUSAN, 2nd
        "가나\t72030001\t02\t1\t2\t0\t0\t0\t100100\ty\n"                          // SEOUL (7203)
        "박\t21010101\t031\t32767\t32767\t32767\t32767\t32767\t412010\tz\n"       // KYONGGI
        "\n";  // a blank last line is no listing
    const std::string out = dir / "cd";
    // The longest dong name: its printable name with the 10 bytes after it fills field 1's
    // 199 bytes.
    const std::string longest(179, 'a');
    const std::string dong_lines =
        kDongsHeader + std::string(kDongs) + "84010101\t360010\t" + longest + "\n";
    const BuildRun run = build(dir, listings, dong_lines, out);
    ASSERT_EQ(run.status, 0) << run.message;
    ASSERT_TRUE(fs::exists(dir.path() / "cd" / "data" / "human.cod"));

    setenv("WINDIR", out.c_str(), 1);
    TelEnvironment env;
    EXPECT_EQ(env.data_directory(), out + "/data/");
    EXPECT_EQ(env.index_directory(), out + "/index/");
    for (const char* key : {"인명FLT", "ZKWD", "ZCOD", "ZIDX", "SEOUL", "PUSAN", "CHEJU"}) {
        EXPECT_TRUE(fs::exists(env.index_file_path(key))) << key;
    }
    ASSERT_TRUE(fs::exists(env.data_file_path("인명")));

    // Master order: SEOUL (가나, 이영희), PUSAN (김철수 x2 in input order), ..., KYONGGI (박).
    using Keys = std::vector<std::pair<std::string, std::int32_t>>;
    EXPECT_EQ(walk(env.index_file_path("SEOUL")),
              (Keys{{cp949("가나"), 1}, {cp949("이영희"), 2}, {"\xF9\xBB", 3}}));
    EXPECT_EQ(walk(env.index_file_path("PUSAN")), (Keys{{cp949("김철수"), 3}, {"\xF9\xBB", 5}}));
    EXPECT_EQ(walk(env.index_file_path("INCHON")), (Keys{{"\xF9\xBB", 5}}));
    EXPECT_EQ(walk(env.index_file_path("KYONGGI")), (Keys{{cp949("박"), 5}, {"\xF9\xBB", 6}}));

    const std::string master = test::read_file(env.data_file_path("인명"));
    ASSERT_EQ(master.size(), 5 * kRecordSize);
    auto record = [&](int r) {
        return decode_record(std::span<const std::byte, kRecordSize>(
            reinterpret_cast<const std::byte*>(master.data()) + (r - 1) * kRecordSize,
            kRecordSize));
    };
    EXPECT_EQ(record(2), (SubscriberRecord{0, 12, 2, 700, 85, 12, 110011}));
    EXPECT_EQ(record(3), (SubscriberRecord{37, 209, 51, 123, 4567, 0, 612020}));
    EXPECT_EQ(record(4).exchange, 124);  // equal names keep their input order
    EXPECT_EQ(record(5), (SubscriberRecord{32767, 32767, 31, 32767, 32767, 32767, 412010}));

    const std::string filter = test::read_file(env.index_file_path("인명FLT"));
    ASSERT_EQ(filter.size(), 20u);
    const auto* f = reinterpret_cast<const std::byte*>(filter.data());
    EXPECT_EQ(load_i32le(f), 72030001);
    EXPECT_EQ(load_i32le(f + 4), 10010101);
    EXPECT_EQ(load_i32le(f + 8), 11020103);
    EXPECT_EQ(load_i32le(f + 16), 21010101);

    EXPECT_EQ(test::read_file(env.data_directory() + "10_1.dll"),
              "y\r\n\r\n" + cp949("우동아파트 1동") + "\r\nx\r\nz\r\n");

    test::RecordingHost host;
    DongData dongs;
    ASSERT_TRUE(dongs.open(env, host));
    EXPECT_EQ(dongs.name(11020103, host), cp949("(612-020) 부산 해운대구 우동"));
    EXPECT_EQ(dongs.name(21010101, host), cp949("(412-010) 경기 고양시 갑동"));
    EXPECT_EQ(dongs.name(84010101, host), "(360-010) " + longest);
    const DongTable::Entry last = dongs.table().entry(dongs.table().entry_count());
    const std::string_view entry(reinterpret_cast<const char*>(last.text.data()), last.text.size());
    EXPECT_EQ(entry, "84010101:(360-010) " + longest + "3600100000:\r\n");
    EXPECT_TRUE(host.messages.empty());

    // Building again over the earlier CD replaces it.
    const BuildRun again =
        build(dir, std::string(kListingsHeader), kDongsHeader + std::string(kDongs), out);
    ASSERT_EQ(again.status, 0) << again.message;
    EXPECT_EQ(fs::file_size(env.data_file_path("인명")), 0u);
    EXPECT_EQ(walk(env.index_file_path("SEOUL")), (Keys{{"\xF9\xBB", 1}}));
}

struct BadCase {
    const char* what;
    std::string listings;  // lines after the header, unless `header` is set
    std::string expected;  // the message, from the file name on
    std::string dongs = kDongs;
    bool raw = false;  // listings holds the whole file
    bool raw_dongs = false;
};

TEST(ZendariBuild, BadInputIsRefusedAndLeavesNothing) {
    const std::string good = "김\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n";
    const std::vector<BadCase> cases = {
        {"wrong header", "name\tdong\n", "listings.tsv:1: header:", kDongs, true},
        {"empty file", "", "listings.tsv:1: header: missing", kDongs, true},
        {"empty name", good + "\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:3: name: empty"},
        {"name too long", std::string(128, 'a') + "\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: name: too long"},
        {"name with colon", "a:b\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: name: contains ':'"},
        {"name in the sentinel's place", "\xEF\xA3\xBF\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: name:"},
        {"bad utf-8", "\xFF\xFE\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: name:"},
        {"dong code not 8 digits", "a\t1102010\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: dong_code:"},
        {"dong code without region", "a\t99020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: dong_code:"},
        {"dong code not in dongs", "a\t11020104\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: dong_code: not listed"},
        {"area code", "a\t11020103\t51\t1\t2\t0\t0\t0\t612020\td\n", "listings.tsv:2: area_code:"},
        {"area code too long", "a\t11020103\t05123\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: area_code:"},
        {"exchange not a number", good + good + "a\t11020103\t051\tx1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:4: exchange: not a number"},
        {"line out of range", "a\t11020103\t051\t1\t32768\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: line: out of range"},
        {"negative suffix", "a\t11020103\t051\t1\t2\t-1\t0\t0\t612020\td\n",
         "listings.tsv:2: suffix: not a number"},
        {"lot_main empty", "a\t11020103\t051\t1\t2\t0\t\t0\t612020\td\n",
         "listings.tsv:2: lot_main: empty"},
        {"lot_sub", "a\t11020103\t051\t1\t2\t0\t0\t1e3\t612020\td\n",
         "listings.tsv:2: lot_sub: not a number"},
        {"postal code leading 0", "a\t11020103\t051\t1\t2\t0\t0\t0\t012020\td\n",
         "listings.tsv:2: postal_code:"},
        {"detail too long",
         "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\t" + std::string(1001, 'd') + "\n",
         "listings.tsv:2: detail: too long"},
        {"detail with bar", "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\td|e\n",
         "listings.tsv:2: detail: contains '|'"},
        {"missing field", "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\n",
         "listings.tsv:2: detail: missing field"},
        {"too many fields", "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\te\n",
         "listings.tsv:2: detail: too many"},
        {"dongs header", good, "dongs.tsv:1: header:", "code\tpostal\tname\n", false, true},
        {"dong name too long", good, "dongs.tsv:2: name: too long",
         "11020103\t612020\t" + std::string(180, 'a') + "\n"},
        {"dong name with colon", good, "dongs.tsv:2: name: contains ':'",
         "11020103\t612020\ta:b\n"},
        {"dong postal code", good, "dongs.tsv:2: postal_code:", "11020103\t61202\tab\n"},
        {"duplicate dong", good, "dongs.tsv:3: dong_code: duplicate",
         "11020103\t612020\ta\n11020103\t612020\tb\n"},
        {"dong without region", good,
         "dongs.tsv:3: dong_code:", "11020103\t612020\ta\n31020103\t612020\tb\n"},
        // Control characters would come back raw and reach a terminal.
        {"escape in a name", "a\x1B[2Jb\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\n",
         "listings.tsv:2: name: contains a control character"},
        {"carriage return inside a detail", "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\re\n",
         "listings.tsv:2: detail: contains a control character"},
        {"delete in a detail", "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\td\x7F\n",
         "listings.tsv:2: detail: contains a control character"},
        {"bell in a dong name", good, "dongs.tsv:2: name: contains a control character",
         "11020103\t612020\ta\x07"
         "b\n"},
        // A line is refused once it passes a fixed length, in the column it has reached.
        {"a line too long",
         good + "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\t" + std::string(70000, 'd') + "\n",
         "listings.tsv:3: detail: line longer than 65536 bytes"},
        {"a name too long to be a line", std::string(100000, 'n') + "\n",
         "listings.tsv:2: name: line longer than 65536 bytes"},
        {"a dongs line too long", good, "dongs.tsv:3: postal_code: line longer than 65536 bytes",
         "11020103\t612020\ta\n11020104\t" + std::string(70000, '6') + "\n"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string listings = c.raw ? c.listings : kListingsHeader + c.listings;
        const std::string dongs = c.raw_dongs ? c.dongs : kDongsHeader + c.dongs;
        const BuildRun run = build(dir, listings, dongs, dir / "cd");
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.message.starts_with(c.expected)) << run.message;
        EXPECT_EQ(std::count(run.message.begin(), run.message.end(), '\n'), 1) << run.message;
        EXPECT_FALSE(fs::exists(dir.path() / "cd"));
        for (const auto& entry : fs::directory_iterator(dir.path())) {  // no temporary folder left
            EXPECT_FALSE(entry.is_directory()) << entry.path();
        }
    }
}

TEST(ZendariBuild, UnreadableInputAndForeignOutputFolder) {
    test::TempDir dir;
    const std::string missing = std::string(ZENDARI_BUILD_EXE) + " --listings " +
                                (dir / "none.tsv") + " --dongs " + (dir / "none2.tsv") + " --out " +
                                (dir / "cd") + " 2>" + (dir / "err");
    EXPECT_NE(std::system(missing.c_str()), 0);
    EXPECT_NE(test::read_file(dir / "err").find("none2.tsv:1:"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "cd"));

    // An existing empty folder becomes the CD; a folder holding other files is left alone.
    fs::create_directory(dir.path() / "empty");
    EXPECT_EQ(build(dir, kListingsHeader, kDongsHeader, dir / "empty").status, 0);
    EXPECT_TRUE(fs::exists(dir.path() / "empty" / "Quenby.INI"));
    fs::create_directory(dir.path() / "mine");
    test::write_file(dir / "mine/keep.txt", "precious");
    EXPECT_NE(build(dir, kListingsHeader, kDongsHeader, dir / "mine").status, 0);
    EXPECT_EQ(test::read_file(dir / "mine/keep.txt"), "precious");
}

TEST(ZendariBuild, NumbersAreReadByValueNotByWidth) {
    test::TempDir dir;
    const std::string listings = std::string(kListingsHeader) +
                                 "a\t11020103\t051\t000123\t0000085\t00\t0000000037\t0\t612020\t\n";
    ASSERT_EQ(build(dir, listings, kDongsHeader + std::string(kDongs), dir / "cd").status, 0);
    const std::string master = test::read_file(dir / "cd/data/names.rec");
    ASSERT_EQ(master.size(), kRecordSize);
    EXPECT_EQ(decode_record(std::span<const std::byte, kRecordSize>(
                  reinterpret_cast<const std::byte*>(master.data()), kRecordSize)),
              (SubscriberRecord{37, 0, 51, 123, 85, 0, 612020}));

    const BuildRun run = build(
        dir, std::string(kListingsHeader) + "a\t11020103\t051\t0032768\t1\t0\t0\t0\t612020\t\n",
        kDongsHeader + std::string(kDongs), dir / "cd2");
    EXPECT_NE(run.message.find("listings.tsv:2: exchange: out of range"), std::string::npos)
        << run.message;
}

// Input without end (a device that never ends a line) is refused at the limit, in bounded
// memory, instead of being read until memory runs out.
TEST(ZendariBuild, EndlessInputIsRefusedAtTheLineLimit) {
    test::TempDir dir;
    test::write_file(dir / "dongs.tsv", kDongsHeader + std::string(kDongs));
    const std::string command = std::string(ZENDARI_BUILD_EXE) + " --listings /dev/zero --dongs " +
                                (dir / "dongs.tsv") + " --out " + (dir / "cd") + " 2>" +
                                (dir / "err");
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_EQ(test::read_file(dir / "err"), "zero:1: header: line longer than 65536 bytes\n");
    EXPECT_FALSE(fs::exists(dir.path() / "cd"));
    struct rusage children {};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 256 * 1024) << "kilobytes at the peak";
}

// A build killed outright (kill -9) leaves its build folder beside DIR; the next build
// removes those of processes that no longer run and keeps those of running ones.
TEST(ZendariBuild, TheNextBuildRemovesWhatAKilledOneLeft) {
    test::TempDir dir;
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone), alive = std::to_string(getpid());
    for (const std::string& left :
         {".cd.building-" + dead, ".cd.building-" + dead + ".cancelled", ".cd.building-" + alive}) {
        fs::create_directories(dir.path() / left / "data");
        test::write_file(dir / (left + "/data/names.rec"), std::string(4096, 'r'));
    }
    const std::string listings =
        std::string(kListingsHeader) + "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\t\n";
    ASSERT_EQ(build(dir, listings, kDongsHeader + std::string(kDongs), dir / "cd").status, 0);
    EXPECT_FALSE(fs::exists(dir.path() / (".cd.building-" + dead)));
    EXPECT_FALSE(fs::exists(dir.path() / (".cd.building-" + dead + ".cancelled")));
    EXPECT_TRUE(fs::exists(dir.path() / (".cd.building-" + alive)));  // a build still running

    // Inside an existing DIR: a stopped build's folder and its generation folders.
    fs::create_directories(dir.path() / ("cd/.zendari-build-" + dead + "/data"));
    fs::create_directories(dir.path() / ("cd/data/.zendari-" + dead + "-1"));
    fs::create_directories(dir.path() / ("cd/index/.zendari-" + dead + "-1"));
    ASSERT_EQ(build(dir, listings, kDongsHeader + std::string(kDongs), dir / "cd").status, 0);
    EXPECT_FALSE(fs::exists(dir.path() / ("cd/.zendari-build-" + dead)));
    EXPECT_FALSE(fs::exists(dir.path() / ("cd/data/.zendari-" + dead + "-1")));
    EXPECT_FALSE(fs::exists(dir.path() / ("cd/index/.zendari-" + dead + "-1")));
}

TEST(ZendariBuild, AFolderGivenAsInputIsNamedUnreadable) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "folder.tsv");
    test::write_file(dir / "dongs.tsv", kDongsHeader + std::string(kDongs));
    const std::string command = std::string(ZENDARI_BUILD_EXE) + " --listings " +
                                (dir / "folder.tsv") + " --dongs " + (dir / "dongs.tsv") +
                                " --out " + (dir / "cd") + " 2>" + (dir / "err");
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(test::read_file(dir / "err").find("folder.tsv:1: header: cannot read the file"),
              std::string::npos)
        << test::read_file(dir / "err");
    EXPECT_FALSE(fs::exists(dir.path() / "cd"));
}

// An existing DIR may be a mount point or the caller's working folder: the CD goes into it
// and the folder itself stays. Only an empty folder or an earlier CD is written over.
TEST(ZendariBuild, AnExistingOutputFolderKeepsItsPlace) {
    test::TempDir dir;
    const std::string one =
        std::string(kListingsHeader) + "a\t11020103\t051\t1\t2\t0\t0\t0\t612020\t\n";
    const std::string dongs = kDongsHeader + std::string(kDongs);
    fs::create_directory(dir.path() / "cd");
    const auto inode = [&] {
        struct stat st {};
        ::stat((dir / "cd").c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode();

    // Written from inside the folder, as "--out .".
    test::write_file(dir / "listings.tsv", one);
    test::write_file(dir / "dongs.tsv", dongs);
    const std::string here = "cd " + (dir / "cd") + " && " + ZENDARI_BUILD_EXE +
                             " --listings ../listings.tsv --dongs ../dongs.tsv --out . 2>" +
                             (dir / "err");
    ASSERT_EQ(std::system(here.c_str()), 0) << test::read_file(dir / "err");
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(fs::file_size(dir.path() / "cd/data/names.rec"), kRecordSize);
    EXPECT_NE(test::read_file(dir / "cd/Quenby.INI").find("TelDataPath=" + (dir / "cd/data/")),
              std::string::npos);

    // Again over the earlier CD: replaced in the same folder, nothing hidden left behind.
    ASSERT_EQ(
        build(dir, one + "b\t11020103\t051\t1\t2\t0\t0\t0\t612020\t\n", dongs, dir / "cd").status,
        0);
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(fs::file_size(dir.path() / "cd/data/names.rec"), 2 * kRecordSize);
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(dir.path() / "cd"))
        entries.push_back(e.path().filename().string());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Quenby.INI", "data", "index"}));

    // Bad input leaves the earlier CD as it was.
    EXPECT_NE(build(dir, "bad\n", dongs, dir / "cd").status, 0);
    EXPECT_EQ(fs::file_size(dir.path() / "cd/data/names.rec"), 2 * kRecordSize);

    // A folder that holds a Quenby.INI among other files (a windows folder) is no CD.
    fs::create_directory(dir.path() / "windows");
    test::write_file(dir / "windows/Quenby.INI", "[TELEPHONE_ENVIRONMENT]\r\n");
    test::write_file(dir / "windows/Halvern.ini", "[INSTALL]\r\n");
    EXPECT_NE(build(dir, one, dongs, dir / "windows").status, 0);
    EXPECT_EQ(test::read_file(dir / "windows/Halvern.ini"), "[INSTALL]\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "windows/data"));
}

// A build stopped while it writes (a kill, Ctrl-C, a closed terminal) leaves no hidden
// half-written CD behind.
TEST(ZendariBuild, AnInterruptedBuildLeavesNothing) {
    test::TempDir dir;
    std::string listings = kListingsHeader;
    for (int i = 0; i < 500'000; ++i)
        listings += "n" + std::to_string(std::int64_t{i} * 7919 % 500'000) +
                    "\t10010101\t02\t1\t2\t0\t0\t0\t110011\t\n";
    test::write_file(dir / "listings.tsv", listings);
    test::write_file(dir / "dongs.tsv", kDongsHeader + std::string(kDongs));
    const std::string exe = ZENDARI_BUILD_EXE, l = dir / "listings.tsv", d = dir / "dongs.tsv",
                      out = dir / "cd";
    std::vector<char*> argv{const_cast<char*>(exe.c_str()), const_cast<char*>("--listings"),
                            const_cast<char*>(l.c_str()),   const_cast<char*>("--dongs"),
                            const_cast<char*>(d.c_str()),   const_cast<char*>("--out"),
                            const_cast<char*>(out.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    auto building = [&] {
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path().filename().string().starts_with(".cd.")) return true;
        return false;
    };
    bool seen = false;
    int status = 0;
    while (!(seen = building()) && waitpid(pid, &status, WNOHANG) == 0) usleep(200);
    if (seen) {
        ::kill(pid, SIGTERM);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
    }
    EXPECT_FALSE(building()) << "a hidden build folder is left";
    if (!seen) GTEST_SKIP() << "the build ended before it could be interrupted";
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
    if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), SIGTERM);
        EXPECT_FALSE(fs::exists(out));
    }
}

}  // namespace
}  // namespace zendari
