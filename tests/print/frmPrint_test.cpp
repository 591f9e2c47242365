// The print window driven as a user drives it: toolbar clicks, the option buttons, the three
// setting buttons and the zoom lists by keyboard, with the dialogs answered by the test and
// the saved PDF read back.
#include "frmPrint.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "PdfText.h"
#include "PrintDialogs.h"
#include "PrintRows.h"
#include "PrintTestData.h"
#include "QtPrinters.h"
#include "ScriptedPrompt.h"

using namespace print;

namespace {

const QString kDefaultHeader = QStringLiteral("전국판 Telvia 리스트");
const QString kLongLimit = QStringLiteral("한번에 인쇄가능한 건수가 3000건으로 제한되었습니다.");

QString squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

class PrintWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        PrintDialogs dialogs;
        dialogs.chooseFont = [this](QWidget*, const BodyFont& current) {
            m_fontShown = current;
            return m_fontAnswer;
        };
        dialogs.pageSetup = [this](QWidget*, QPrinter&) {
            ++m_pageSetups;
            return m_pageSetupAnswer;
        };
        dialogs.choosePrinter = [this](QWidget*, QPrinter& printer) {
            if (m_printTo.isEmpty()) return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(m_printTo);
            return true;
        };
        dialogs.pdfFileName = [this](QWidget*) { return m_pdfPath; };
        m_dialogs = std::make_unique<PrintDialogsInstaller>(std::move(dialogs));
    }

    std::unique_ptr<frmPrint> open(const QString& source, std::vector<PrintRow> rows) {
        auto window = std::make_unique<frmPrint>(source, [this, rows] {
            ++m_rowReads;
            return rows;
        });
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    template <typename T>
    static T* child(frmPrint& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(frmPrint& w, const char* key) {
        auto* bar = child<QToolBar>(w, "Toolbar1");
        QAction* action = bar->findChild<QAction*>(QString::fromLatin1(key));
        ASSERT_NE(action, nullptr) << key;
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    }

    static QString position(frmPrint& w) { return child<QLabel>(w, "panel1")->text(); }

    QString pdfPath(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    PromptInstaller m_promptInstalled{m_prompt};
    std::unique_ptr<PrintDialogsInstaller> m_dialogs;
    std::optional<BodyFont> m_fontAnswer;
    std::optional<BodyFont> m_fontShown;
    bool m_pageSetupAnswer = false;
    int m_pageSetups = 0;
    QString m_printTo;
    QString m_pdfPath;
    int m_rowReads = 0;
};

// 40 rows of which every third is selected.
std::vector<PrintRow> someSelected() {
    return listRows(40, [](int i) { return i % 3 == 0; });
}

}  // namespace

TEST_F(PrintWindowTest, OpensInLandscapeShowingTheWholeFirstPage) {
    auto w = open(QStringLiteral("결과창:인명"), listRows(200));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("리스트 인쇄"));
    EXPECT_TRUE(child<QRadioButton>(*w, "opOrient1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*w, "opOrient0")->isChecked());
    EXPECT_EQ(child<QComboBox>(*w, "cmbZoomMode")->currentText(), QStringLiteral("WholePage"));
    EXPECT_EQ(child<QComboBox>(*w, "cmbPercent")->currentText(), QStringLiteral("100%"));
    EXPECT_FALSE(child<QComboBox>(*w, "cmbPercent")->isEnabled());
    EXPECT_EQ(w->preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    EXPECT_EQ(w->preview()->viewMode(), QPrintPreviewWidget::SinglePageView);

    EXPECT_EQ(w->bodyFont().font.pointSize(), 9);
    EXPECT_EQ(w->bodyFont().font.family(), defaultPrintFamily());
    EXPECT_EQ(w->headerText(), kDefaultHeader);
    EXPECT_EQ(w->printer().pageLayout().orientation(), QPageLayout::Landscape);
    const QMarginsF margins = w->printer().pageLayout().margins(QPageLayout::Point);
    EXPECT_EQ(margins, QMarginsF(25, 25, 25, 72));  // 500 twips on three sides

    EXPECT_EQ(w->document().legacy.bodyFormat, QStringLiteral("+<3000|+<3000|+<9800;"));
    EXPECT_EQ(w->document().rows.size(), 200u);
    const int pages = w->preview()->pageCount();
    EXPECT_GT(pages, 2);
    EXPECT_EQ(position(*w), QStringLiteral("Page : (1/%1)").arg(pages));
    EXPECT_TRUE(m_prompt.messages().empty());
}

TEST_F(PrintWindowTest, ChoosingPercentageEnablesTheListAndAppliesIt) {
    auto w = open(QStringLiteral("결과창:인명"), someSelected());
    auto* mode = child<QComboBox>(*w, "cmbZoomMode");
    auto* percent = child<QComboBox>(*w, "cmbPercent");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Home);
    EXPECT_EQ(mode->currentText(), QStringLiteral("Percentage"));
    EXPECT_TRUE(percent->isEnabled());
    EXPECT_EQ(w->preview()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_EQ(w->zoom(), 100);

    percent->setFocus();
    QTest::keyClick(percent, Qt::Key_Down);
    QTest::keyClick(percent, Qt::Key_Down);
    EXPECT_EQ(percent->currentText(), QStringLiteral("200%"));
    EXPECT_EQ(w->zoom(), 200);

    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_End);  // PageWidth
    EXPECT_FALSE(percent->isEnabled());
    EXPECT_EQ(w->preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    QTest::keyClick(mode, Qt::Key_Up);  // WholePage
    QTest::keyClick(mode, Qt::Key_Up);  // TwoPages
    EXPECT_EQ(w->preview()->viewMode(), QPrintPreviewWidget::FacingPagesView);
    QTest::keyClick(mode, Qt::Key_Up);  // Thumbnail
    EXPECT_EQ(w->preview()->viewMode(), QPrintPreviewWidget::AllPagesView);
}

TEST_F(PrintWindowTest, ZoomStepsAreAsymmetricAndStopAtTheirLimits) {
    auto w = open(QStringLiteral("결과창:인명"), someSelected());
    auto* mode = child<QComboBox>(*w, "cmbZoomMode");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Home);  // Percentage, 100%

    for (int i = 0; i < 8; ++i) click(*w, "zoomin");  // 100 - 8 × 10
    EXPECT_EQ(w->zoom(), 20);
    EXPECT_TRUE(m_prompt.messages().empty());
    m_prompt.queueAnswer(PromptAnswer::Ok);
    click(*w, "zoomin");
    EXPECT_EQ(w->zoom(), 20);
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    const MessageRequest& in = m_prompt.messages().back();
    EXPECT_EQ(in.text, QStringLiteral("Can't Zoom In."));
    EXPECT_EQ(in.icon, PromptIcon::Information);
    EXPECT_EQ(in.buttons, PromptButtons::Ok);
    EXPECT_EQ(in.title, QStringLiteral("Halvern"));
    EXPECT_TRUE(in.beep);

    // 20 + 13 × 20 = 280, then 300: the test comes before the step.
    for (int i = 0; i < 13; ++i) click(*w, "zoomout");
    EXPECT_EQ(w->zoom(), 280);
    click(*w, "zoomin");
    click(*w, "zoomout");
    click(*w, "zoomout");
    EXPECT_EQ(w->zoom(), 310);  // 270, 290, then one step past the limit
    m_prompt.queueAnswer(PromptAnswer::Ok);
    click(*w, "zoomout");
    EXPECT_EQ(w->zoom(), 310);
    ASSERT_EQ(m_prompt.messages().size(), 2u);
    EXPECT_EQ(m_prompt.messages().back().text, QStringLiteral("Can't Zoom Out."));
    EXPECT_TRUE(m_prompt.messages().back().beep);
}

TEST_F(PrintWindowTest, ZoomStepsStartFromTheScaleOfAFittedPage) {
    auto w = open(QStringLiteral("결과창:인명"), someSelected());
    const int fitted = w->zoom();
    ASSERT_GT(fitted, 20);
    ASSERT_LT(fitted, 280);
    click(*w, "zoomout");
    EXPECT_EQ(w->zoom(), fitted + 20);
    EXPECT_EQ(w->preview()->zoomMode(), QPrintPreviewWidget::CustomZoom);
}

TEST_F(PrintWindowTest, PagingButtonsMoveThroughThePagesAndThePositionFollows) {
    auto w = open(QStringLiteral("결과창:인명"), listRows(200));
    const int n = w->preview()->pageCount();
    ASSERT_GT(n, 3);
    const auto at = [n](int page) { return QStringLiteral("Page : (%1/%2)").arg(page).arg(n); };
    click(*w, "rightend");
    EXPECT_EQ(position(*w), at(n));
    EXPECT_EQ(w->preview()->currentPage(), n);
    click(*w, "right");  // past the last page: stays
    EXPECT_EQ(position(*w), at(n));
    click(*w, "left");
    EXPECT_EQ(position(*w), at(n - 1));
    click(*w, "leftend");
    EXPECT_EQ(position(*w), at(1));
    click(*w, "left");
    EXPECT_EQ(position(*w), at(1));
    click(*w, "right");
    EXPECT_EQ(position(*w), at(2));
    QTest::keyClick(w.get(), Qt::Key_PageDown);  // the keyboard pages too
    EXPECT_EQ(position(*w), at(3));
    QTest::keyClick(w.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(position(*w), at(1));
}

TEST_F(PrintWindowTest, HeaderTextIsCutTo30CharactersAndAnEmptyAnswerRestoresTheDefault) {
    auto w = open(QStringLiteral("결과창:인명"), someSelected());
    auto* button = child<QPushButton>(*w, "Command3");
    const QString typed =
        QStringLiteral("가나다라마바사아자차카타파하거너더러머버서어저처커터퍼허고노도");
    ASSERT_EQ(typed.size(), 31);
    m_prompt.queueInput(typed);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(m_prompt.inputs().size(), 1u);
    EXPECT_EQ(m_prompt.inputs()[0].title, QStringLiteral("Header Setting"));
    EXPECT_EQ(
        m_prompt.inputs()[0].prompt,
        QStringLiteral("입력하고 싶은 머리말을 입력하십시오?.\r\n머리말 크기는 고정되었습니다"));
    EXPECT_EQ(m_prompt.inputs()[0].defaultText, QString());
    EXPECT_EQ(w->headerText(), typed.left(30));
    EXPECT_EQ(w->document().header.left, typed.left(30));
    EXPECT_EQ(w->document().legacy.headerText, typed.left(30) + QStringLiteral("||Page %d"));

    m_prompt.queueInput(QString());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(w->headerText(), kDefaultHeader);

    m_prompt.queueInput(QStringLiteral("사무실"));
    QTest::mouseClick(button, Qt::LeftButton);
    m_prompt.queueInput(std::nullopt);  // cancelled
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(w->headerText(), kDefaultHeader);

    // A character outside the basic plane counts once and is never cut in half.
    const QString wide = QString(29, QLatin1Char('a')) + QStringLiteral("😀b");
    m_prompt.queueInput(wide);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(w->headerText(), QString(29, QLatin1Char('a')) + QStringLiteral("😀"));
}

TEST_F(PrintWindowTest, TheOptionButtonsRecomposeWithTheOtherFormats) {
    auto w = open(QStringLiteral("동결과:인명"), listRows(200));
    const int landscapePages = w->preview()->pageCount();
    QTest::mouseClick(child<QRadioButton>(*w, "opOrient0"), Qt::LeftButton);
    EXPECT_EQ(w->printer().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(w->document().legacy.headerFormat, QStringLiteral("^+2500|^+2000|^+6300;"));
    EXPECT_EQ(w->document().legacy.bodyFormat, QStringLiteral("+<2500|+<2000|+<6300;"));
    EXPECT_LT(w->preview()->pageCount(), landscapePages);  // longer pages hold more rows
    EXPECT_EQ(position(*w), QStringLiteral("Page : (1/%1)").arg(w->preview()->pageCount()));
    QTest::mouseClick(child<QRadioButton>(*w, "opOrient1"), Qt::LeftButton);
    EXPECT_EQ(w->document().legacy.bodyFormat, QStringLiteral("+<3000|+<3000|+<9800;"));
    EXPECT_EQ(w->preview()->pageCount(), landscapePages);
}

TEST_F(PrintWindowTest, TheLimitMessageComesOncePerCompositionAndACancelledSetupComposesNothing) {
    m_prompt.queueAnswer(PromptAnswer::Ok);
    auto w = open(QStringLiteral("결과창:인명"), listRows(3001));
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].text, kLongLimit);
    EXPECT_EQ(m_prompt.messages()[0].title, QStringLiteral("알림"));
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::None);
    EXPECT_EQ(m_prompt.messages()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(w->document().rows.size(), 3000u);
    const int reads = m_rowReads;

    QTest::mouseClick(child<QPushButton>(*w, "Command2"), Qt::LeftButton);  // cancelled
    EXPECT_EQ(m_pageSetups, 1);
    EXPECT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_rowReads, reads);

    m_pageSetupAnswer = true;
    m_prompt.queueAnswer(PromptAnswer::Ok);
    QTest::mouseClick(child<QPushButton>(*w, "Command2"), Qt::LeftButton);
    EXPECT_EQ(m_prompt.messages().size(), 2u);
    EXPECT_EQ(m_rowReads, reads + 1);
    const QMarginsF margins = w->printer().pageLayout().margins(QPageLayout::Point);
    EXPECT_EQ(margins.top(), 40);     // 800 twips
    EXPECT_EQ(margins.bottom(), 25);  // 500 twips
    EXPECT_EQ(margins.left(), 25);    // as the page setup left it

    m_prompt.queueAnswer(PromptAnswer::Ok);  // a cancelled font dialog recomposes all the same
    QTest::mouseClick(child<QPushButton>(*w, "Command1"), Qt::LeftButton);
    EXPECT_EQ(m_prompt.messages().size(), 3u);
}

TEST_F(PrintWindowTest, TheChosenFontAndColourGoIntoTheDocument) {
    auto w = open(QStringLiteral("메모창:인명"), someSelected());
    QFont font(defaultPrintFamily(), 12);
    font.setBold(true);
    font.setItalic(true);
    m_fontAnswer = BodyFont{font, QColor(Qt::red)};
    const int pagesBefore = w->preview()->pageCount();
    QTest::mouseClick(child<QPushButton>(*w, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(m_fontShown.has_value());
    EXPECT_EQ(m_fontShown->font.pointSize(), 9);  // the dialog opens on the current font
    EXPECT_EQ(w->document().body.font.pointSize(), 12);
    EXPECT_TRUE(w->document().body.font.bold());
    EXPECT_TRUE(w->document().body.font.italic());
    EXPECT_EQ(w->document().body.colour, QColor(Qt::red));
    EXPECT_GE(w->preview()->pageCount(), pagesBefore);

    m_fontAnswer.reset();  // cancelled: the font stays
    QTest::mouseClick(child<QPushButton>(*w, "Command1"), Qt::LeftButton);
    EXPECT_EQ(w->document().body.font.pointSize(), 12);
}

TEST_F(PrintWindowTest, SavedPdfHoldsTheSelectedRowsWithHeaderAndFooterOnEveryPage) {
    const std::vector<PrintRow> rows = listRows(300, [](int i) { return i % 2 == 0; });
    auto w = open(QStringLiteral("결과창:상호"), rows);
    m_pdfPath = pdfPath("list.pdf");
    click(*w, "pdf");
    ASSERT_TRUE(QFile::exists(m_pdfPath));
    const QStringList pages = pdfPages(m_pdfPath);
    ASSERT_EQ(pages.size(), w->preview()->pageCount());
    const QString date = squeezed(w->document().footer.left);
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const QString text = squeezed(pages[p]);
        EXPECT_TRUE(text.startsWith(QStringLiteral("전국판Telvia리스트Page%1").arg(p + 1)));
        EXPECT_TRUE(text.contains(date));
        EXPECT_TRUE(text.contains(QStringLiteral("[상호][전화번호][우편번호][주소][업종][부서]")));
    }
    const QString all = squeezed(pages.join(QString()));
    for (int i = 0; i < 300; ++i) {
        const QStringList c = listRow(i);
        const QString row = c[0] + c[1] + c[2] + squeezed(c[3]) + c[4] + c[5];
        EXPECT_EQ(all.count(row), i % 2 == 0 ? 1 : 0) << i;
    }
}

TEST_F(PrintWindowTest, APdfThatCannotBeWrittenIsReportedAndACancelWritesNothing) {
    auto w = open(QStringLiteral("결과창:인명"), someSelected());
    m_pdfPath.clear();
    click(*w, "pdf");
    EXPECT_TRUE(m_prompt.messages().empty());

    m_pdfPath = pdfPath("missing-folder/list.pdf");
    m_prompt.queueAnswer(PromptAnswer::Ok);
    click(*w, "pdf");
    ASSERT_EQ(m_prompt.messages().size(), 1u);
    EXPECT_EQ(m_prompt.messages()[0].title, QStringLiteral("오류 (P0001)"));
    EXPECT_EQ(m_prompt.messages()[0].icon, PromptIcon::Error);
    EXPECT_TRUE(m_prompt.messages()[0].text.startsWith(
        QStringLiteral("PDF 파일을 저장할 수 없습니다.\r\n\r\n")));
    EXPECT_TRUE(m_prompt.messages()[0].text.endsWith(m_pdfPath));
}

TEST_F(PrintWindowTest, PrintGoesThroughThePrintDialogToThePrinter) {
    auto w = open(QStringLiteral("메모창:상호"), someSelected());
    click(*w, "print");  // the print dialog cancelled
    m_printTo = pdfPath("printed.pdf");
    click(*w, "print");
    ASSERT_TRUE(QFile::exists(m_printTo));
    const QStringList pages = pdfPages(m_printTo);
    ASSERT_EQ(pages.size(), w->preview()->pageCount());
    const QString all = squeezed(pages.join(QString()));
    EXPECT_TRUE(all.contains(QStringLiteral("[상호][전화번호][우편번호][주소][업종][부서][메모]")));
    EXPECT_TRUE(all.contains(
        QStringLiteral("이름0039(02)700-0039100-039서울종로구39번지업종39부서39메모39")));
    EXPECT_FALSE(all.contains(QStringLiteral("이름0001")));
}

TEST_F(PrintWindowTest, AnUnknownSourceShowsOneEmptyPageWithoutReadingTheList) {
    auto w = open(QStringLiteral("메모창"), someSelected());
    EXPECT_FALSE(w->document().hasTable);
    EXPECT_EQ(m_rowReads, 0);
    EXPECT_EQ(position(*w), QStringLiteral("Page : (1/1)"));
}

TEST(PrintRowsOf, ReadsEveryRowWithItsSelectionFromAView) {
    QStandardItemModel model(5, 4);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            model.setItem(r, c, new QStandardItem(QStringLiteral("%1-%2").arg(r).arg(c)));
    QTreeView view;
    view.setModel(&model);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* selection = view.selectionModel();
    selection->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(QItemSelection(model.index(3, 0), model.index(4, 3)),
                      QItemSelectionModel::Select);
    const std::vector<PrintRow> rows = printRowsOf(view);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2].cells, QStringList({"2-0", "2-1", "2-2", "2-3"}));
    std::vector<bool> selected;
    for (const PrintRow& row : rows) selected.push_back(row.selected);
    EXPECT_EQ(selected, (std::vector<bool>{false, true, false, true, true}));

    QTreeView empty;
    EXPECT_TRUE(printRowsOf(empty).empty());
}

TEST(PrintRowsOf, ReadsAMemoListsItemsAndTheirSelection) {
    // The memo window's lists are item widgets whose items are selected one by one.
    QTreeWidget list;
    list.setColumnCount(5);
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int r = 0; r < 4; ++r) {
        auto* item = new QTreeWidgetItem(&list);
        for (int c = 0; c < 5; ++c) item->setText(c, QStringLiteral("%1/%2").arg(r).arg(c));
    }
    list.topLevelItem(2)->setSelected(true);
    list.topLevelItem(3)->setSelected(true);
    const std::vector<PrintRow> rows = printRowsOf(list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].cells, QStringList({"3/0", "3/1", "3/2", "3/3", "3/4"}));
    EXPECT_FALSE(rows[0].selected);
    EXPECT_FALSE(rows[1].selected);
    EXPECT_TRUE(rows[2].selected);
    EXPECT_TRUE(rows[3].selected);
    const TableDocument doc = composeTable(composeInput(QStringLiteral("메모창:인명")), rows);
    ASSERT_EQ(doc.rows.size(), 2u);
    EXPECT_EQ(doc.rows[0], QStringList({"2/0", "2/1", "2/3", "2/4"}));
}

TEST_F(PrintWindowTest, ShowPrintOpensModalAndTheWindowGoesWhenClosed) {
    QWidget owner;
    owner.show();
    QPointer<frmPrint> w =
        frmPrint::showPrint(&owner, QStringLiteral("메모창:인명"), [] { return someSelected(); });
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(w->document().rows.size(), 14u);
    QTest::keyClick(w.data(), Qt::Key_Escape);  // Esc closes the window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}
