// telvia-sample as its users run it: options, refusals, and the installed layout it leaves
// behind (databases next to the program, settings in the windows folder, the CD).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "Database.h"
#include "Geography.h"
#include "SampleDatabases.h"
#include "SampleRun.h"
#include "SampleSubscriber.h"
#include "TempDir.h"

using telvia::test::TempDir;

namespace {

namespace fs = std::filesystem;
using namespace zendari::sample;
using namespace sample_test;

TEST(SampleProgram, RefusesBadOptionsWithAMessage) {
    TempDir dir;
    const std::string out = dir.path().string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "--subscribers is required"},
        {{"--subscribers", "10"}, "--out is required"},
        {{"--subscribers", "0", "--out", out}, "--subscribers"},
        {{"--subscribers", "11900001", "--out", out}, "--subscribers"},
        {{"--subscribers", "12x", "--out", out}, "--subscribers"},
        {{"--subscribers", "10", "--seed", "-1", "--out", out}, "--seed"},
        {{"--subscribers", "10", "--out"}, "needs a value"},
        {{"--subscribers", "10", "--colour", "red", "--out", out}, "unknown option '--colour'"},
        {{"--subscribers", "10", "--names", "rare", "--out", out},
         "--names: expected common or diverse"},
    };
    for (const auto& [args, message] : cases) {
        const RunResult r = run_sample(args);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("usage:"), std::string::npos) << r.output;
    }
    EXPECT_TRUE(fs::is_empty(dir.path())) << "nothing is written on bad options";
}

TEST(SampleProgram, LeavesAForeignCdFolderAlone) {
    if (!fs::exists(bin_dir() / "zendari-build")) GTEST_SKIP() << "zendari-build is not built";
    TempDir dir;
    fs::create_directories(dir.path() / "cd");
    std::ofstream(dir.path() / "cd" / "notes.txt") << "mine";
    const RunResult r = run_sample({"--subscribers", "10", "--out", dir.path().string()});
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("notes.txt"), std::string::npos) << r.output;
    EXPECT_EQ(slurp(dir.path() / "cd" / "notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(dir.path() / "listings")) << "refused before anything is written";

    // An earlier sample's CD is replaced.
    fs::remove(dir.path() / "cd" / "notes.txt");
    ASSERT_EQ(run_sample({"--subscribers", "10", "--out", dir.path().string()}).status, 0);
    const RunResult again = run_sample({"--subscribers", "20", "--out", dir.path().string()});
    EXPECT_EQ(again.status, 0) << again.output;
    EXPECT_EQ(fs::file_size(dir.path() / "cd" / "data" / "names.rec"), 20u * 16u);
}

TEST(SampleProgram, RefusesAFolderItCannotWrite) {
    TempDir dir;
    std::ofstream(dir.path() / "plain-file") << "x";
    const RunResult r =
        run_sample({"--subscribers", "10", "--out", (dir.path() / "plain-file" / "s").string()});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("cannot create"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("plain-file"), std::string::npos) << r.output;
}

using Row =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;

std::vector<Row> inchbuk_rows(const fs::path& file) {
    telvia::Database db;
    EXPECT_TRUE(telvia::Database::open(file, kLocalSecret, telvia::OpenShare::kExclusive,
                                       telvia::OpenAccess::kReadOnly, db)
                    .ok());
    telvia::Recordset rs;
    EXPECT_TRUE(db.open_recordset("SELECT * FROM inchbuk", rs).ok());
    std::vector<Row> rows;
    for (rs.move_first(); !rs.eof(); rs.move_next())
        rows.emplace_back(rs.text("Name"), rs.text("dongCode"), rs.text("ddd"), rs.text("tel"),
                          rs.text("Zip"), rs.text("address"));
    return rows;
}

// The local rows as the listings file implies them: telephone with a four-digit line and
// the suffix, address words of the dong, lot and detail.
std::vector<Row> local_rows_of_listings(const fs::path& listings, const fs::path& dongs) {
    std::map<std::string, std::string> address_of;
    std::istringstream d(slurp(dongs));
    std::string line;
    std::getline(d, line);
    while (std::getline(d, line)) {
        const auto f = split(line, '\t');
        address_of[f[0]] = f[2];
    }
    std::vector<Row> rows;
    std::istringstream in(slurp(listings));
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto f = split(line, '\t');
        if (!f[1].starts_with("84") && !f[1].starts_with("65")) continue;
        char tel[64];
        std::snprintf(tel, sizeof tel, "%s-%04d", f[3].c_str(), std::stoi(f[4]));
        std::string telephone = tel;
        if (f[5] != "0") telephone += "/" + f[5];
        std::string lot = f[6] != "0" && f[7] != "0" ? f[6] + "-" + f[7]
                          : f[6] != "0"              ? f[6]
                          : f[7] != "0"              ? f[7]
                                                     : "";
        std::string address = address_of.at(f[1]);
        if (!lot.empty()) address += " " + lot;
        if (!f[9].empty()) address += " " + f[9];
        rows.emplace_back(f[0], f[1], f[2].substr(1), telephone, f[8], address);
    }
    return rows;
}

// The layout of an installed system and the settings that name the CD and the excluded
// record.
TEST_F(InstalledSample, LaysOutTheFoldersAndSettings) {
    EXPECT_TRUE(fs::exists(root() / "cd" / "data" / "human.cod"));
    EXPECT_TRUE(fs::is_directory(root() / "program" / "dat"));
    EXPECT_TRUE(fs::is_empty(root() / "program" / "dat"));
    EXPECT_TRUE(fs::is_directory(root() / "program" / "Pro" / "Bin"));
    EXPECT_EQ(slurp(root() / "windows" / "Quenby.INI"), slurp(root() / "cd" / "Quenby.INI"));

    const std::string ini = slurp(root() / "windows" / "Halvern.ini");
    const Geography geo = build_geography();
    const SampleSubscriber sample = sample_subscriber(geo);
    EXPECT_NE(ini.find("[INSTALL]\r\nSRCDISK=" + (root() / "cd").string() + "/\r\n"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("\r\nExcludedRecord=" + excluded_record_text(sample, geo) + "\r\n"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("\r\nExcludedScanRecord=" + excluded_scan_record_text(sample, geo) + "\r\n"),
              std::string::npos)
        << ini;

    telvia::Database docs;
    EXPECT_TRUE(telvia::Database::open(root() / "program" / "Pro" / "Docs" / "adDocs.cad",
                                       kDocsSecret, telvia::OpenShare::kShared,
                                       telvia::OpenAccess::kReadOnly, docs)
                    .ok());
    EXPECT_FALSE(telvia::Database::open(root() / "program" / "chb.cad", kDocsSecret,
                                        telvia::OpenShare::kShared, telvia::OpenAccess::kReadOnly,
                                        docs)
                     .ok())
        << "each database opens with its own secret only";
}

TEST_F(InstalledSample, LocalTableHoldsExactlyTheLocalSubscribers) {
    const auto stored = inchbuk_rows(root() / "program" / "chb.cad");
    const auto expected = local_rows_of_listings(root() / "listings" / "LISTINGS.tsv",
                                                 root() / "listings" / "DONGS.tsv");
    EXPECT_GT(expected.size(), 300u);
    EXPECT_EQ(stored, expected) << "inchbuk keeps the local subscribers in listing order";
}

// Encrypted files differ byte for byte between runs (the cipher salts them at random), so
// the promise of the seed is checked on the listings and on the tables' contents.
TEST(SampleProgram, SameSeedGivesTheSameListingsAndTables) {
    if (!fs::exists(bin_dir() / "zendari-build")) GTEST_SKIP() << "zendari-build is not built";
    TempDir dir;
    const fs::path a = dir.path() / "a", b = dir.path() / "b";
    ASSERT_EQ(run_sample({"--subscribers", "5000", "--seed", "9", "--out", a.string()}).status, 0);
    ASSERT_EQ(run_sample({"--subscribers", "5000", "--seed", "9", "--out", b.string()}).status, 0);
    EXPECT_EQ(slurp(a / "listings" / "LISTINGS.tsv"), slurp(b / "listings" / "LISTINGS.tsv"));
    EXPECT_EQ(inchbuk_rows(a / "program" / "chb.cad"), inchbuk_rows(b / "program" / "chb.cad"));
    // The CD is compiled from the same listings; its files carry no run-dependent bytes
    // except the absolute paths of Quenby.INI.
    for (const auto& entry : fs::recursive_directory_iterator(a / "cd")) {
        if (!entry.is_regular_file() || entry.path().filename() == "Quenby.INI") continue;
        const fs::path twin = b / "cd" / fs::relative(entry.path(), a / "cd");
        EXPECT_EQ(slurp(entry.path()), slurp(twin)) << entry.path();
    }
}

}  // namespace
