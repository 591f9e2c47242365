// Quenby.INI: directory normalisation and file paths, read from WINDIR.
#include "data/TelEnvironment.h"

#include <cstring>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "TestFiles.h"
#include "common/ByteOrder.h"
#include "data/DongData.h"
#include "index/IndexWriter.h"

namespace zendari {
namespace {

class TelEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("WINDIR", dir_.path().c_str(), 1); }
    void ini(std::string_view body) {
        test::write_file(dir_ / "Quenby.INI", "[TELEPHONE_ENVIRONMENT]\r\n" + std::string(body));
    }
    test::TempDir dir_;
};

TEST_F(TelEnvironmentTest, DirectoriesEndInOneSeparator) {
    ini("TelDataPath=/cd/DATA\r\nTelDataPath2=/cd/IDX/\r\n인명=master.rec\r\n");
    TelEnvironment env;
    EXPECT_EQ(env.data_directory(), "/cd/DATA/");
    EXPECT_EQ(env.index_directory(), "/cd/IDX/");
    EXPECT_EQ(env.data_file_path("인명"), "/cd/DATA/master.rec");
}

TEST_F(TelEnvironmentTest, MissingKeys) {
    ini("TelDataPath=/cd/DATA\r\nZKWD=dong.kwd\r\n");
    TelEnvironment env;
    EXPECT_EQ(env.index_directory(), "/");  // missing directory: a lone separator
    EXPECT_EQ(env.index_file_path("ZKWD"), "/dong.kwd");
    EXPECT_EQ(env.data_file_path("인명"), "");  // missing file key: no path at all
    EXPECT_EQ(env.index_file_path("ZCOD"), "");
}

TEST_F(TelEnvironmentTest, DriveFormRewriteAndLeadingBlanks) {
    ini("TelDataPath=\" D:/TEL\"\r\nTelDataPath2=D:/TEL\r\n");
    TelEnvironment env;
    EXPECT_EQ(env.data_directory(), "C:/TEL/");   // " D:" meant drive C:
    EXPECT_EQ(env.index_directory(), "D:/TEL/");  // second character ':' is left alone
    EXPECT_EQ(TelEnvironment::normalise_directory("  /e/X/"), "/e/X/");
    EXPECT_EQ(TelEnvironment::normalise_directory("\t /e/X"), "/e/X/");
    // Native paths whose second character is 'D' are not drive values.
    EXPECT_EQ(TelEnvironment::normalise_directory("/Data/cd"), "/Data/cd/");
    EXPECT_EQ(TelEnvironment::normalise_directory(" /Documents"), "/Documents/");
    EXPECT_EQ(TelEnvironment::normalise_directory(""), "/");
}

TEST_F(TelEnvironmentTest, LongValuesAreCutToTheirBuffers) {
    const std::string dir(300, 'd'), name(60, 'n');
    ini("TelDataPath=/" + dir + "\r\nTelDataPath2=/x\r\nZKWD=" + name + "\r\n");
    TelEnvironment env;
    EXPECT_EQ(env.data_directory(), "/" + dir.substr(0, 258) + "/");
    EXPECT_EQ(env.index_file_path("ZKWD"), "/x/" + name.substr(0, 49));
}

TEST_F(TelEnvironmentTest, EditsTakeEffectAtTheNextCall) {
    ini("TelDataPath=/one\r\n");
    TelEnvironment env;
    EXPECT_EQ(env.data_directory(), "/one/");
    ini("TelDataPath=/two\r\n");
    EXPECT_EQ(env.data_directory(), "/two/");
}

// The dong data opened through Quenby.INI, and a code turned into its name.
TEST_F(TelEnvironmentTest, DongNamesThroughTheIndexAndTheTable) {
    IndexWriter index;
    ASSERT_TRUE(index.add("10010101", 2));
    ASSERT_TRUE(index.add("10010102", 7));  // an entry number beyond the table
    ASSERT_TRUE(index.write(dir_ / "dong.kwd"));
    const std::string text =
        "10010100:(110-010) A1100100000:\r\n10010101:(110-011) B C1100110000:\r\n";
    test::write_file(dir_ / "dong.cod", text);
    std::string offsets;
    for (std::uint32_t o : {0u, 32u, static_cast<std::uint32_t>(text.size())}) {
        std::byte b[4];
        store_le(b, o);
        offsets.append(reinterpret_cast<const char*>(b), 4);
    }
    test::write_file(dir_ / "dong.idx", offsets);
    ini("TelDataPath2=" + dir_.path().string() +
        "\r\nZKWD=dong.kwd\r\nZCOD=dong.cod\r\nZIDX=dong.idx\r\n");

    test::RecordingHost host;
    DongData dongs;
    ASSERT_TRUE(dongs.open(TelEnvironment(), host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dongs.name(10010101, host), "(110-011) B C");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dongs.name(10019999, host), "");  // no index entry: message, empty name
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "ERROR !");
    EXPECT_EQ(dongs.name(10010102, host), std::nullopt);  // no entry text: give up
    EXPECT_EQ(host.messages.back().caption, "CODE ERROR !");
    EXPECT_EQ(dongs.name(10010101, host), "(110-011) B C");  // -203 does not stick

    DongData again;  // a second opening of the same files works for a new object...
    EXPECT_TRUE(again.open(TelEnvironment(), host));
    EXPECT_FALSE(dongs.open(TelEnvironment(), host));  // ...but not twice for one object
}

TEST_F(TelEnvironmentTest, DongDataMessages) {
    ini("TelDataPath2=" + dir_.path().string() +
        "\r\nZKWD=dong.kwd\r\nZCOD=dong.cod\r\nZIDX=dong.idx\r\n");
    test::RecordingHost host;
    DongData no_index;
    EXPECT_FALSE(no_index.open(TelEnvironment(), host));
    ASSERT_EQ(host.messages.size(), 1u);
    IndexWriter index;
    ASSERT_TRUE(index.write(dir_ / "dong.kwd"));
    DongData no_table;
    EXPECT_FALSE(no_table.open(TelEnvironment(), host));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[0].text, host.messages[1].text);
}

}  // namespace
}  // namespace zendari
