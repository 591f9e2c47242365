// The main window's print command with real clicks on the sample directory: rows selected in
// a result list, the print button, and the print window over exactly those rows, read back
// from its PDF.
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "PdfText.h"
#include "PrintDialogs.h"
#include "frmPrint.h"
#include "startup/ProgramGlobals.h"

namespace {

QString squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

class MainWindowPrintTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        print::PrintDialogs dialogs = print::qtPrintDialogs();
        dialogs.pdfFileName = [this](QWidget*) { return m_pdf; };
        m_dialogs = std::make_unique<print::PrintDialogsInstaller>(std::move(dialogs));
        m_pdf = m_tmp.filePath(QStringLiteral("list.pdf"));
    }
    void TearDown() override {
        m_dialogs.reset();
        MainWindowFixture::TearDown();
    }

    // Clicks a row of a list as the user does, Ctrl held to add it to the selection.
    static void clickRow(QTreeView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        ASSERT_TRUE(rect.isValid()) << row;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    // The print window the last command opened, or nullptr.
    frmPrint* printWindow() { return window().findChild<frmPrint*>(); }
    // Saves the open print window's pages as PDF by its button and returns their text.
    QString savedText(frmPrint& w) {
        QToolBar* bar = w.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QTest::mouseClick(bar->widgetForAction(w.findChild<QAction*>(QStringLiteral("pdf"))),
                          Qt::LeftButton);
        return squeezed(pdfPages(m_pdf).join(QString()));
    }

    std::unique_ptr<print::PrintDialogsInstaller> m_dialogs;
    QString m_pdf;
};

}  // namespace

TEST_F(MainWindowPrintTest, TheSelectedRowsOfADongListingPrintAsTheDongTable) {
    ASSERT_TRUE(start());
    clickNode("#10010101");
    click("cmdDongSeek");
    click("cmdNext");
    auto* list = child<QTreeView>("lvDongResult");
    ASSERT_GE(list->model()->rowCount(), 5);
    clickRow(list, 0);
    clickRow(list, 2, Qt::ControlModifier);
    clickRow(list, 4, Qt::ControlModifier);

    clickToolbar("Print");
    frmPrint* w = printWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(strPrintSource, QStringLiteral("동결과:인명"));
    const ResultListModel& rows = *window().dongModel();
    ASSERT_EQ(w->document().rows.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const int r = i * 2;
        EXPECT_EQ(w->document().rows[static_cast<std::size_t>(i)],
                  QStringList({rows.cell(r, 0), rows.cell(r, 1), rows.cell(r, 3)}));
    }
    const QString text = savedText(*w);
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString shown = rows.cell(r, 0) + rows.cell(r, 1) + squeezed(rows.cell(r, 3));
        EXPECT_EQ(text.contains(shown), r == 0 || r == 2 || r == 4) << r;
    }
    EXPECT_TRUE(text.contains(QStringLiteral("[인명][전화번호][주소]")));
    w->close();
}

TEST_F(MainWindowPrintTest, SelectAllThenPrintPrintsEveryNameResult) {
    ASSERT_TRUE(start());
    clickNode("#10010101");
    QString name;  // a name with several records in the dong's district
    for (const SampleListing& l : sampleListings()) {
        if (l.dong.startsWith(QStringLiteral("1001")) && l.name != QStringLiteral("홍길동")) {
            name = l.name;
            break;
        }
    }
    ASSERT_FALSE(name.isEmpty());
    child<QLineEdit>("txtSearch")->setText(name);
    QTest::keyClick(child<QLineEdit>("txtSearch"), Qt::Key_Return);
    auto* list = child<QTreeView>("lvResult");
    const int count = list->model()->rowCount();
    ASSERT_GT(count, 0);
    list->setFocus();
    QTest::keyClicks(list, QStringLiteral("*"));  // select all

    clickToolbar("Print");
    frmPrint* w = printWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(strPrintSource, QStringLiteral("결과창:인명"));
    EXPECT_EQ(w->document().rows.size(), static_cast<std::size_t>(count));
    const QString text = savedText(*w);
    const ResultListModel& rows = *window().resultModel();
    for (int r = 0; r < count; ++r)
        EXPECT_TRUE(text.contains(rows.cell(r, 0) + rows.cell(r, 1) + squeezed(rows.cell(r, 3))))
            << r;
    w->close();
}
