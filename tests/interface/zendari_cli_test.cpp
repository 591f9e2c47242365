// The command-line host end to end: JSON calls in, JSON answers and message boxes out.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SampleCd.h"

namespace {

QList<QJsonObject> runHost(const QStringList& lines, const QStringList& args = {}) {
    QProcess host;
    host.start(QStringLiteral(ZENDARI_CLI_PATH),
               QStringList{"--library", QStringLiteral(ZENDARI_LIBRARY_PATH)} + args);
    host.write(lines.join('\n').toUtf8() + "\n");
    host.closeWriteChannel();
    host.waitForFinished(60000);
    QList<QJsonObject> out;
    for (const QByteArray& line : host.readAllStandardOutput().split('\n'))
        if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
    return out;
}

// One run of the friendlier mode: `zendari search ARGS`, nothing on standard input.
struct SearchRun {
    QByteArray out, err;
    int exitCode = -1;
};

SearchRun runSearch(const QStringList& args) {
    QProcess host;
    host.start(QStringLiteral(ZENDARI_CLI_PATH),
               QStringList{"--library", QStringLiteral(ZENDARI_LIBRARY_PATH), "search"} + args);
    host.closeWriteChannel();
    host.waitForFinished(60000);
    return {host.readAllStandardOutput(), host.readAllStandardError(), host.exitCode()};
}

TEST(ZendariCli, AnswersEachCallAndPrintsTheControlsMessagesFirst) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const auto out = runHost({
        R"({"member":"InitDB","put":1})",
        R"({"member":"InitDB"})",
        R"({"member":"SetLocal","put":17})",
        R"({"member":"SetLocal"})",
        R"(this is not json)",
        R"({"member":"SetLocal","put":11})",
        R"({"member":"FindKey","args":["김"]})",
        R"({"member":"GetNext"})",
        R"({"member":"SetResult","args":[6,1]})",
        R"({"member":"GetResult"})",
        R"({"member":"GetLocNext","args":["11020104",20000]})",
        R"({"member":"Frobnicate"})",
        R"({"member":"FindKey","args":[1]})",
        R"({"member":"SetLocal","put":18446744073709551615})",
        R"({"member":"SetLocal","put":-2147483649})",
        R"({"member":"SetLocal"})",
    });
    ASSERT_EQ(out.size(), 17);
    EXPECT_EQ(out[0]["member"].toString(), "InitDB");
    EXPECT_TRUE(out[0]["result"].isNull());
    EXPECT_EQ(out[1]["result"].toInt(), 1);
    EXPECT_EQ(out[2]["message"].toObject()["caption"].toString(), "CODE ERROR !");
    EXPECT_EQ(out[2]["message"].toObject()["text"].toString(), "유효한 인덱스 ID 가 아닙니다!");
    EXPECT_EQ(out[3]["member"].toString(), "SetLocal");
    EXPECT_EQ(out[4]["result"].toInt(), -1);
    EXPECT_TRUE(out[5].contains("error"));
    EXPECT_TRUE(out[6]["result"].isNull());
    EXPECT_EQ(out[7]["result"].toBool(true), false)
        << "김 alone is not a name; the cursor moves on";
    EXPECT_EQ(out[8]["result"].toString(), "김철수:3:3:");
    EXPECT_EQ(out[9]["result"].toBool(), true);
    EXPECT_EQ(out[10]["result"].toString(), "11020103:" + uDong() + "::051:743-1000:612020:\n");
    EXPECT_EQ(out[11]["result"].toString(),
              "김철수:" + jungDong() + ":5:051:744-9999/3:612030:중동상가\n|" +
                  "이민호:" + jungDong() + "::051:745-1:612030:마린시티\n|");
    EXPECT_TRUE(out[12].contains("error"));
    EXPECT_TRUE(out[13].contains("error"));
    // Numbers outside 32 bits are refused, never wrapped round into a region code.
    EXPECT_TRUE(out[14].contains("error"));
    EXPECT_TRUE(out[15].contains("error"));
    EXPECT_EQ(out[16]["result"].toInt(), 11);
}

TEST(ZendariCli, InitialConsonantsByName) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const auto out = runHost({
        R"({"member":"InitDB","put":1})",
        R"({"member":"SetLocal","put":11})",
        R"({"member":"FindChosung","args":["ㄱㅊㅅ"]})",
        R"({"member":"GetNextChosung"})",
        R"({"member":"GetNextChosung"})",
        R"({"member":"findchosung","args":["ㅎ"]})",
        R"({"member":"GetNextChosung","args":[1]})",
    });
    ASSERT_EQ(out.size(), 7);
    EXPECT_EQ(out[2]["result"].toBool(), true);
    EXPECT_EQ(out[3]["result"].toString(), "김철수:3:3:");
    EXPECT_EQ(out[4]["result"].toString(), "vbROF");
    EXPECT_EQ(out[5]["member"].toString(), "findchosung");
    EXPECT_EQ(out[5]["result"].toBool(true), false);
    EXPECT_TRUE(out[6].contains("error"));
}

// Without a display (here the offscreen platform, as ctest runs it, or no DISPLAY at all) the
// host scans without windows: standard error carries nothing, the answers are the same.
TEST(ZendariCli, ScansWithoutADisplayPrintNothingOnStandardError) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    QTemporaryDir runtime;  // Qt's own complaint about a missing runtime folder is not ours
    for (const bool noDisplay : {false, true}) {
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        if (noDisplay) {
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        } else {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        env.remove(QStringLiteral("ZENDARI_WINDOWLESS"));
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(ZENDARI_CLI_PATH),
                   QStringList{"--library", QStringLiteral(ZENDARI_LIBRARY_PATH)});
        host.write(R"({"member":"InitDB","put":1})"
                   "\n"
                   R"({"member":"SetLocal","put":11})"
                   "\n"
                   R"({"member":"GetLocNext","args":["11020104",20000]})"
                   "\n"
                   R"({"member":"GetLocSung","args":["11020103",20000,"김"]})"
                   "\n");
        host.closeWriteChannel();
        ASSERT_TRUE(host.waitForFinished(60000));
        EXPECT_EQ(host.readAllStandardError(), QByteArray()) << "no display: " << noDisplay;
        const QList<QByteArray> lines = host.readAllStandardOutput().trimmed().split('\n');
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(QJsonDocument::fromJson(lines[2]).object()["result"].toString(),
                  "김철수:" + jungDong() + ":5:051:744-9999/3:612030:중동상가\n|" +
                      "이민호:" + jungDong() + "::051:745-1:612030:마린시티\n|");
        EXPECT_TRUE(QJsonDocument::fromJson(lines[3]).object()["result"].toString().startsWith(
            "김철수:" + uDong()));
    }
}

TEST(ZendariCli, SearchPrintsATableForPeople) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const QList<QByteArray> lines =
        runSearch({"--region", "11", "--json", "김철수"}).out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first["telephone"].toString(), "(051)742-85");
    EXPECT_EQ(first["postal_code"].toString(), "612-020");
    EXPECT_EQ(first["address"].toString(),
              "부산광역시 해운대구 우동 37-209 해운대아파트 101동 1203호");
}

// JSON writers that spell every number with a point (11.0) still make a whole number; a
// fraction has no such form and is refused.
TEST(ZendariCli, WholeNumbersWrittenWithAPointAreNumbers) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const auto out = runHost({
        R"({"member":"InitDB","put":1.0})",
        R"({"member":"InitDB"})",
        R"({"member":"SetLocal","put":11.0})",
        R"({"member":"SetLocal","put":10.5})",
        R"({"member":"SetLocal","put":1e10})",
        R"({"member":"SetLocal"})",
        R"({"member":"SetResult","args":[6.0,1]})",
    });
    ASSERT_EQ(out.size(), 7);
    EXPECT_TRUE(out[0]["result"].isNull());
    EXPECT_EQ(out[1]["result"].toInt(), 1);
    EXPECT_TRUE(out[2]["result"].isNull());
    EXPECT_TRUE(out[3].contains("error"));
    EXPECT_TRUE(out[4].contains("error"));
    EXPECT_EQ(out[5]["result"].toInt(), 11);
    EXPECT_EQ(out[6]["result"].toBool(), true);
}

// The table is for reading: the control's message boxes go to standard error as text.
TEST(ZendariCli, SearchPrintsTheControlsMessagesApartFromItsTable) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const SearchRun run = runSearch({"--region", "17", "김철수"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    const QString err = QString::fromUtf8(run.err);
    EXPECT_TRUE(err.contains("CODE ERROR !: 유효한 인덱스 ID 가 아닙니다!")) << err.toStdString();
    EXPECT_TRUE(err.contains("region 17 is not available")) << err.toStdString();
}

}  // namespace

namespace {

// A line the host refuses says what is wrong with it.
TEST(ZendariCli, ARefusedLineSaysWhy) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const auto out = runHost({
        R"({"member":"SetLocal","put":1e400})",
        R"({"member":"FindKey","args":["\ud800"]})",
        R"({"member":"FindKey","args":["김\udc00"]})",
        R"({"member":"FindKey","args":["😀"]})",
        R"({"member":"SetLocal","put":4294967306})",
        R"({"member":"SetLocal","put":10.5})",
        R"({"member":"SetResult","args":[1,[2]]})",
    });
    ASSERT_EQ(out.size(), 7);
    const QStringList said = {
        "a number out of range: 1e400",
        "a text holds a lone surrogate",
        "a text holds a lone surrogate",
        R"(FindKey: the text "😀" has no CP949 form)",
        R"("put": a number out of range (whole numbers of 32 bits): 4294967306)",
        R"("put": not a whole number: 10.5)",
        "SetResult: not a whole number of 32 bits, a boolean or a text: [2]",
    };
    for (int i = 0; i < said.size(); ++i)
        EXPECT_TRUE(out[i]["error"].toString().startsWith(said[i]))
            << i << ": " << out[i]["error"].toString().toStdString();
}

TEST(ZendariCli, SearchSaysARegionCodeIsNotValid) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const SearchRun run = runSearch({"--region", "-1", "김철수"});
    EXPECT_NE(run.exitCode, 0);
    const QString err = QString::fromUtf8(run.err);
    EXPECT_TRUE(err.contains("region -1 is not available: -1 is not a valid region code"))
        << err.toStdString();
    EXPECT_FALSE(err.contains("usage")) << err.toStdString();
}

// Names and details of a CD written before the builder refused control characters come to
// the terminal escaped.
TEST(ZendariCli, ControlCharactersOfAnOlderCdArePrintedEscaped) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    // In the block file, the blank of "해운대아파트 101동" becomes ESC, the file's size unchanged.
    QFile block(QDir(cd.cdRoot()).filePath("data/10_1.dll"));
    ASSERT_TRUE(block.open(QIODevice::ReadWrite));
    QByteArray bytes = block.readAll();
    const qsizetype at = bytes.indexOf(" 101");
    ASSERT_GT(at, 0);
    bytes[at] = '\x1B';
    block.seek(0);
    block.write(bytes);
    block.close();
    const SearchRun run = runSearch({"--region", "11", "김철수"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains('\x1B'));
    EXPECT_TRUE(run.out.contains("해운대아파트\\x1B101동")) << run.out.toStdString();
}

TEST(ZendariCli, VerifyNamesEachDamagedFile) {
    CdFixture cd(sampleListings(), sampleDongs());
    ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
    const auto verify = [&] {
        QProcess host;
        host.start(QStringLiteral(ZENDARI_CLI_PATH), {"verify", cd.cdRoot()});
        host.waitForFinished(60000);
        return SearchRun{host.readAllStandardOutput(), host.readAllStandardError(),
                         host.exitCode()};
    };
    SearchRun run = verify();
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(" files intact, 0 damaged or missing\n")) << run.out.toStdString();

    // Two bytes of the master file overwritten, its size kept: only a checksum tells.
    QFile master(cd.fileOf("인명"));
    ASSERT_TRUE(master.open(QIODevice::ReadWrite));
    master.seek(20);
    master.write("\x01\x02", 2);
    master.close();
    QFile::resize(QDir(cd.cdRoot()).filePath("index/dong.cod"), 10);
    run = verify();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains((cd.fileOf("인명") + ": damaged").toUtf8()))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("dong.cod: 10 bytes where the manifest says"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(" 2 damaged or missing\n")) << run.out.toStdString();
}

}  // namespace
