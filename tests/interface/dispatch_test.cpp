// The control library as its hosts see it: loaded by file name, bound by DISPID.
// The control initialises its readers once per process, as a loaded control does: ctest runs
// every test of this file in a process of its own (run one at a time with --gtest_filter).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <set>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "SampleCd.h"
#include "ScriptedPrompt.h"
#include "ZendariClient.h"

using namespace zendari;

namespace {

class NotifySink final : public PropertyNotifySink {
public:
    void on_changed(DispId id) override { changed.push_back(id); }
    std::vector<DispId> changed;
};

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cd.ok()) << cd.log().toStdString();
        ASSERT_TRUE(client.load(QStringLiteral(ZENDARI_LIBRARY_PATH), &host))
            << client.errorString().toStdString();
    }
    Variant call(DispId id, InvokeKind kind, std::vector<Variant> args, DispResult* rc = nullptr) {
        Variant result;
        const DispResult r = client.control()->invoke(id, kind, args, result);
        if (rc) *rc = r;
        return result;
    }
    QString text(const Variant& v) {
        const auto* s = std::get_if<std::u16string>(&v);
        return s ? QString::fromUtf16(s->data(), s->size()) : QStringLiteral("<not a text>");
    }

    CdFixture cd{sampleListings(), sampleDongs()};
    ScriptedPrompt prompt;
    PromptInstaller installed{prompt};
    QWidget host;
    ZendariClient client;
};

TEST_F(DispatchTest, MembersHaveTheirDispIdsKindsAndTypes) {
    const std::map<std::string, DispId> expected{
        {"InitDB", 1},      {"SetLocal", 2},   {"FindKey", 3},      {"GetNext", 4},
        {"SetResult", 5},   {"GetResult", 6},  {"GetAllResult", 8}, {"GetLocNext", 9},
        {"GetLocSung", 10}, {"ScanEnded", 11}, {"FindChosung", 12}, {"GetNextChosung", 13},
        {"AboutBox", -552}};
    auto* control = client.control();
    for (const auto& [name, id] : expected) {
        EXPECT_EQ(control->get_id_of_name(name), id) << name;
    }
    EXPECT_EQ(control->get_id_of_name("initdb"), 1) << "names bind case-insensitively";
    EXPECT_EQ(control->get_id_of_name("GetAll"), kDispUnknown);
    EXPECT_EQ(control->members().size(), expected.size());

    std::map<DispId, std::vector<VarType>> params;
    for (const auto& m : control->members())
        params[m.id] = std::vector<VarType>(m.params.begin(), m.params.end());
    using V = VarType;
    EXPECT_EQ(params[kDispFindKey], (std::vector<V>{V::Text}));
    EXPECT_EQ(params[kDispSetResult], (std::vector<V>{V::Long, V::Long}));
    EXPECT_EQ(params[kDispGetLocNext], (std::vector<V>{V::Text, V::Long}));
    EXPECT_EQ(params[kDispGetLocSung], (std::vector<V>{V::Text, V::Long, V::Text}));
    EXPECT_TRUE(params[kDispGetNext].empty());
    EXPECT_EQ(params[kDispFindChosung], (std::vector<V>{V::Text}));
    EXPECT_TRUE(params[kDispGetNextChosung].empty());
}

TEST_F(DispatchTest, MalformedCallsAreRefusedWithoutRunning) {
    DispResult rc{};
    call(kDispFindKey, InvokeKind::Method, {}, &rc);
    EXPECT_EQ(rc, DispResult::BadParamCount);
    call(kDispFindKey, InvokeKind::Method, {std::int32_t{3}}, &rc);
    EXPECT_EQ(rc, DispResult::TypeMismatch);
    call(kDispGetNext, InvokeKind::PropertyPut, {std::int32_t{3}}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound);
    call(7, InvokeKind::Method, {}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound) << "DISPID 7 is not in the table";
    call(kDispInitDB, InvokeKind::PropertyPut, {std::u16string(u"1")}, &rc);
    EXPECT_EQ(rc, DispResult::TypeMismatch);
    call(kDispFindChosung, InvokeKind::Method, {}, &rc);
    EXPECT_EQ(rc, DispResult::BadParamCount);
    call(kDispFindChosung, InvokeKind::Method, {std::int32_t{12}}, &rc);
    EXPECT_EQ(rc, DispResult::TypeMismatch);
    call(kDispGetNextChosung, InvokeKind::PropertyGet, {}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound) << "a method, no property";
    call(kDispScanEnded, InvokeKind::PropertyPut, {true}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound) << "ScanEnded is read-only";
    EXPECT_EQ(call(kDispScanEnded, InvokeKind::PropertyGet, {}, &rc), Variant{false});
    EXPECT_EQ(rc, DispResult::Ok);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DispatchTest, CallsMarkedBothMethodAndPropertyGetAreServed) {
    // A basic-style host marks every call that wants a value that way.
    const InvokeKind either = InvokeKind::Method | InvokeKind::PropertyGet;
    DispResult rc{};
    client.putLong(kDispInitDB, 1);
    EXPECT_EQ(call(kDispInitDB, either, {}, &rc), Variant{std::int32_t{1}});
    EXPECT_EQ(rc, DispResult::Ok);
    client.putLong(kDispSetLocal, 11);
    EXPECT_EQ(call(kDispFindKey, either, {ZendariClient::text(QStringLiteral("김철수"))}, &rc),
              Variant{true});
    EXPECT_EQ(rc, DispResult::Ok);
    EXPECT_EQ(text(call(kDispGetNext, either, {})), "김철수:3:3:");
    const Variant page[2] = {ZendariClient::text(QStringLiteral("11020104")), std::int32_t{1}};
    EXPECT_EQ(text(call(kDispGetLocNext, either, {page[0], page[1]}, &rc)),
              "김철수:" + jungDong() + ":5:051:744-9999/3:612030:중동상가\n|");
    // A method is still no property, nor a property a method.
    call(kDispGetNext, InvokeKind::PropertyGet, {}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound);
    call(kDispSetLocal, InvokeKind::Method, {}, &rc);
    EXPECT_EQ(rc, DispResult::MemberNotFound);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DispatchTest, InitialisesOnceAndNotifiesPropertyChanges) {
    NotifySink sink;
    client.control()->advise_property_notify(&sink);
    client.putLong(kDispInitDB, 1);
    EXPECT_EQ(client.getLong(kDispInitDB), 1);
    EXPECT_TRUE(prompt.messages().empty());

    prompt.queueAnswer(PromptAnswer::Ok);
    client.putLong(kDispInitDB, 1);
    EXPECT_EQ(client.getLong(kDispInitDB), -1);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title, "ERROR !");
    EXPECT_EQ(prompt.messages()[0].text, "인명 초기화 실패");

    client.putLong(kDispInitDB, 5);
    EXPECT_EQ(client.getLong(kDispInitDB), 5);
    client.putLong(kDispSetLocal, 11);
    EXPECT_EQ(sink.changed, (std::vector<DispId>{1, 1, 1, 2}));
    client.control()->advise_property_notify(nullptr);
}

TEST_F(DispatchTest, NameLookupAndRecordsCrossAsUtf16) {
    client.putLong(kDispInitDB, 1);
    client.putLong(kDispSetLocal, 11);
    ASSERT_EQ(client.getLong(kDispSetLocal), 11);
    const Variant key = ZendariClient::text(QStringLiteral("김철수"));
    EXPECT_TRUE(client.callBool(kDispFindKey, std::span(&key, 1)));
    EXPECT_EQ(client.callText(kDispGetNext), "김철수:3:3:");
    EXPECT_EQ(client.callText(kDispGetNext), "박영희:6:1:");
    EXPECT_EQ(client.callText(kDispGetNext), "이민호:7:1:");
    EXPECT_EQ(client.callText(kDispGetNext), "vbROF");

    const Variant range[2] = {std::int32_t{3}, std::int32_t{3}};
    EXPECT_TRUE(client.callBool(kDispSetResult, range));
    EXPECT_EQ(client.callText(kDispGetResult),
              "11020103:" + uDong() + ":37-209:051:742-85:612020:해운대아파트 101동 1203호\n");
    EXPECT_EQ(client.callText(kDispGetResult),
              "11020104:" + jungDong() + ":5:051:744-9999/3:612030:중동상가\n");
    EXPECT_EQ(client.callText(kDispGetResult),
              "11020103:" + uDong() + ":8-1:051:746-2:612020:우동 1층\n");
}

TEST_F(DispatchTest, InitialConsonantsFindFullNamesAcrossAsUtf16) {
    client.putLong(kDispInitDB, 1);
    client.putLong(kDispSetLocal, 11);
    const auto find = [&](const QString& typed) {
        const Variant key = ZendariClient::text(typed);
        return client.callBool(kDispFindChosung, std::span(&key, 1));
    };
    EXPECT_TRUE(find(QStringLiteral("ㄱㅊㅅ")));
    EXPECT_EQ(client.callText(kDispGetNextChosung), "김철수:3:3:");
    EXPECT_EQ(client.callText(kDispGetNextChosung), "vbROF");
    EXPECT_TRUE(find(QStringLiteral("ㅂㅇ")));
    EXPECT_EQ(client.callText(kDispGetNextChosung), "박영희:6:1:");
    EXPECT_TRUE(find(QStringLiteral("이ㅁㅎ")));
    EXPECT_EQ(client.callText(kDispGetNextChosung), "이민호:7:1:");
    EXPECT_FALSE(find(QStringLiteral("김ㅁ")));
    EXPECT_EQ(client.callText(kDispGetNextChosung), "vbROF");
    // The name cursor is not the consonant cursor's: GetNext goes on from the first name.
    EXPECT_EQ(client.callText(kDispGetNext), "김철수:3:3:");
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DispatchTest, ADamagedByteOnTheCdIsMarkedAndTheRestOfTheTextStillCrosses) {
    // The "2" of 홍길동's detail line "청운빌라 2층" overwritten by 0xFF, which starts no CP949
    // character: that byte shows as U+FFFD, the record and the page around it still arrive.
    QFile block(QFileInfo(cd.fileOf(QStringLiteral("인명"))).dir().filePath("10_1.dll"));
    ASSERT_TRUE(block.open(QIODevice::ReadWrite));
    QByteArray bytes = block.readAll();
    const qsizetype two = bytes.indexOf(" 2");
    ASSERT_GE(two, 0);
    bytes[two + 1] = '\xFF';
    ASSERT_TRUE(block.seek(0));
    ASSERT_EQ(block.write(bytes), bytes.size());
    block.close();

    client.putLong(kDispInitDB, 1);
    client.putLong(kDispSetLocal, 10);
    const QString record = QStringLiteral(
        "(110-030) 서울특별시 종로구 청운동:12:02:732-1234:110030:청운빌라 \uFFFD층\n");
    const Variant range[2] = {std::int32_t{2}, std::int32_t{1}};
    ASSERT_TRUE(client.callBool(kDispSetResult, range));
    EXPECT_EQ(client.callText(kDispGetResult), "10010101:" + record);
    const Variant page[2] = {ZendariClient::text(QStringLiteral("10010101")), std::int32_t{10}};
    EXPECT_EQ(client.callText(kDispGetLocNext, page), "홍길동:" + record + "|");
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DispatchTest, SeoulCodesShareOneIndexAndBadCodesAreRefused) {
    client.putLong(kDispInitDB, 1);
    client.putLong(kDispSetLocal, 7203);
    EXPECT_EQ(client.getLong(kDispSetLocal), 7203);
    const Variant empty = ZendariClient::text(QString());
    client.callBool(kDispFindKey, std::span(&empty, 1));
    EXPECT_EQ(client.callText(kDispGetNext), "최과천:1:1:");

    prompt.queueAnswer(PromptAnswer::Ok);
    client.putLong(kDispSetLocal, 17);
    EXPECT_EQ(client.getLong(kDispSetLocal), -1);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title, "CODE ERROR !");
    EXPECT_EQ(prompt.messages()[0].text, "유효한 인덱스 ID 가 아닙니다!");
    // The Seoul index stays open after a refused code.
    EXPECT_EQ(client.callText(kDispGetNext), "홍길동:2:1:");
}

TEST_F(DispatchTest, NoticesForTheListingsThisControlDoesNotServe) {
    prompt.queueAnswer(PromptAnswer::Ok);
    prompt.queueAnswer(PromptAnswer::Ok);
    client.putLong(kDispInitDB, 2);
    EXPECT_EQ(client.getLong(kDispInitDB), -1);
    client.putLong(kDispInitDB, 3);
    EXPECT_EQ(client.getLong(kDispInitDB), -1);
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(prompt.messages()[0].title, "초기화");
    EXPECT_EQ(prompt.messages()[0].text, "상호");
    EXPECT_EQ(prompt.messages()[1].title, "초기화");
    EXPECT_EQ(prompt.messages()[1].text, "업종");
    EXPECT_EQ(prompt.messages()[0].owner.data(), client.control()->widget())
        << "the control's boxes are owned by its own window";
}

TEST_F(DispatchTest, AboutBoxNamesTheControl) {
    prompt.queueAnswer(PromptAnswer::Ok);
    client.callVoid(kDispAboutBox);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title, "About Zendari Control");
    EXPECT_EQ(prompt.messages()[0].text, "Zendari Control, Version 1.0");
}

TEST_F(DispatchTest, MasterFileMissingStillInitialises) {
    ASSERT_TRUE(QFile::remove(cd.fileOf(QStringLiteral("인명"))));
    prompt.queueAnswer(PromptAnswer::Ok);
    client.putLong(kDispInitDB, 1);
    EXPECT_EQ(client.getLong(kDispInitDB), 1);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].text, "마스터[??.COD] 파일이 오픈되지 않았습니다.");
}

TEST_F(DispatchTest, DongPagesGoOnWhenTheRegionIsSelectedAgainBeforeEachPage) {
    // As the main program does it: SetLocal, then one page of one name, page after page.
    client.putLong(kDispInitDB, 1);
    QStringList pages;
    for (int page = 0; page < 4; ++page) {
        client.putLong(kDispSetLocal, 11);
        const Variant args[2] = {ZendariClient::text(QStringLiteral("11020104")), std::int32_t{1}};
        pages << client.callText(kDispGetLocNext, args);
    }
    EXPECT_EQ(pages[0], "김철수:" + jungDong() + ":5:051:744-9999/3:612030:중동상가\n|");
    EXPECT_EQ(pages[1], "") << "박영희 has no record in 중동";
    EXPECT_EQ(pages[2], "이민호:" + jungDong() + "::051:745-1:612030:마린시티\n|");
    EXPECT_EQ(pages[3], "") << "the sentinel ends the scan";
}

TEST_F(DispatchTest, DrawsAWhiteRectangleWithItsInscribedEllipse) {
    QWidget* w = client.control()->widget();
    ASSERT_EQ(w->parentWidget(), &host);
    w->resize(101, 61);
    const QImage image = w->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white)) << "corner outside the ellipse";
    EXPECT_EQ(image.pixelColor(50, 30), QColor(Qt::white)) << "centre";
    EXPECT_EQ(image.pixelColor(50, 0), QColor(Qt::black)) << "top of the ellipse";
    EXPECT_EQ(image.pixelColor(0, 30), QColor(Qt::black)) << "left of the ellipse";
}

TEST(ControlLibrary, SelfRegistersAndUnregistersThroughItsEntryPoints) {
    QTemporaryDir dir;
    const QString registry = dir.filePath("registry.ini");
    qputenv("TELVIA_REGISTRY", QFile::encodeName(registry));
    QLibrary library(QStringLiteral(ZENDARI_LIBRARY_PATH));
    auto reg = reinterpret_cast<RegisterServerFn>(library.resolve(kRegisterServerSymbol));
    auto unreg = reinterpret_cast<RegisterServerFn>(library.resolve(kUnregisterServerSymbol));
    ASSERT_TRUE(reg && unreg) << library.errorString().toStdString();
    ASSERT_EQ(reg(), 0);
    {
        QSettings file(registry, QSettings::IniFormat);
        EXPECT_EQ(file.value(QStringLiteral("ProgID %1/CLSID").arg(QLatin1String(kProgId)))
                      .toString()
                      .isEmpty(),
                  false);
        bool namesLibrary = false;
        for (const QString& group : file.childGroups())
            if (group.startsWith("CLSID "))
                namesLibrary = QFileInfo(file.value(group + "/InprocServer").toString()) ==
                               QFileInfo(QStringLiteral(ZENDARI_LIBRARY_PATH));
        EXPECT_TRUE(namesLibrary);
    }
    ASSERT_EQ(unreg(), 0);
    EXPECT_TRUE(QSettings(registry, QSettings::IniFormat).childGroups().isEmpty());
}

}  // namespace
