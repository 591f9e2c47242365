// The renderer, with the PDF as the oracle: titles, rows, page count, header and footer on
// every page, exact or scaled column widths, and painting that changes nothing.
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "PdfText.h"
#include "PrintTestData.h"
#include "QtPrinters.h"
#include "TableRenderer.h"

using namespace print;

namespace {

// An A4 PDF printer with margins in twips (left, top, right, bottom).
void setUpPdf(QPrinter& printer, const QString& path, Orientation orientation,
              const QMarginsF& twips) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation == Orientation::Portrait ? QPageLayout::Portrait
                                                                    : QPageLayout::Landscape);
    printer.setPageMargins(twips / 20, QPageLayout::Point);
}

const QMarginsF kLandscapeMargins(500, 500, 500, 1440);

// pdftotext does not always see the blanks between glyphs: texts are compared without them.
QString squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

class TableRendererTest : public ::testing::Test {
protected:
    // Renders `doc` to a PDF and returns its path; the page count of the layout in `pages`.
    QString render(const TableDocument& doc, Orientation orientation, const QMarginsF& margins,
                   int* pages = nullptr) {
        const QString path = m_dir.filePath(QStringLiteral("out%1.pdf").arg(++m_files));
        QPrinter printer(QPrinter::HighResolution);
        setUpPdf(printer, path, orientation, margins);
        EXPECT_TRUE(renderDocument(doc, printer));
        if (pages)
            *pages = TablePages(doc, printer, printer.pageRect(QPrinter::DevicePixel).size())
                         .pageCount();
        return path;
    }

    // Width in pixels of the yellow title band on the first page at 72 dpi (1 px = 1 pt):
    // from its first yellow pixel to its last, across the column lines.
    int yellowBandWidth(const QString& pdf) {
        const QImage page = pdfPageImage(pdf, 1, 72);
        EXPECT_FALSE(page.isNull());
        int widest = 0;
        for (int y = 0; y < page.height(); ++y) {
            int first = -1, last = -1;
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.red() > 240 && c.green() > 240 && c.blue() < 30) {
                    if (first < 0) first = x;
                    last = x;
                }
            }
            if (first >= 0) widest = std::max(widest, last - first + 1);
        }
        return widest;
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

}  // namespace

TEST_F(TableRendererTest, EveryPageHasHeaderFooterAndTitlesAndEveryRowPrintsOnce) {
    const TableDocument doc =
        composeTable(composeInput(QStringLiteral("결과창:인명")), listRows(150));
    int pageCount = 0;
    const QString pdf = render(doc, Orientation::Landscape, kLandscapeMargins, &pageCount);
    const QStringList pages = pdfPages(pdf);
    ASSERT_GT(pageCount, 2);
    ASSERT_EQ(pages.size(), pageCount);
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const QString text = squeezed(pages[p]);
        EXPECT_TRUE(text.startsWith(QStringLiteral("전국판Telvia리스트Page%1").arg(p + 1)));
        EXPECT_TRUE(text.endsWith(QStringLiteral("2024년3월5일화요일03:04:09오후")));
        EXPECT_TRUE(text.contains(QStringLiteral("[인명][전화번호][주소]")));
    }
    const QString all = squeezed(pages.join(QString()));
    for (int i = 0; i < 150; ++i) {
        const QStringList cells = listRow(i);
        EXPECT_EQ(all.count(cells[0] + cells[1] + squeezed(cells[3])), 1) << i;
    }
    // In list order: each name after the one before it.
    qsizetype at = 0;
    for (int i = 0; i < 150; ++i) {
        const qsizetype found = all.indexOf(listRow(i)[0], at);
        ASSERT_GE(found, at) << i;
        at = found;
    }
}

TEST_F(TableRendererTest, ColumnsKeepTheirWidthsWhenTheTableFitsAndShrinkWhenItDoesNot) {
    // Landscape A4 with 500-twip side margins is 16,838 - 1,000 twips wide: 15,800 fits.
    const TableDocument wide = composeTable(
        composeInput(QStringLiteral("결과창:상호"), Orientation::Landscape), listRows(3));
    EXPECT_NEAR(yellowBandWidth(render(wide, Orientation::Landscape, kLandscapeMargins)),
                15800 / 20, 2);
    // Portrait A4 with one-inch margins leaves 11,906 - 2,880 twips for 10,800.
    const TableDocument narrow = composeTable(
        composeInput(QStringLiteral("결과창:상호"), Orientation::Portrait), listRows(3));
    const QString pdf = render(narrow, Orientation::Portrait, QMarginsF(1440, 1440, 1440, 1440));
    EXPECT_NEAR(yellowBandWidth(pdf), (11906 - 2880) / 20, 3);
    const QString text = squeezed(pdfPages(pdf).join(QString()));
    EXPECT_TRUE(
        text.contains(QStringLiteral("이름0002(02)700-0002100-002서울종로구2번지업종2부서2")));
    EXPECT_TRUE(text.contains(QStringLiteral("[상호][전화번호][우편번호][주소][업종][부서]")));
}

TEST_F(TableRendererTest, ABarOrSemicolonInANameDoesNotShiftTheColumns) {
    std::vector<PrintRow> rows = listRows(1);
    rows[0].cells[0] = QStringLiteral("김|철;수");
    const TableDocument doc = composeTable(composeInput(QStringLiteral("결과창:인명")), rows);
    const std::vector<PdfWord> words =
        pdfWords(render(doc, Orientation::Landscape, kLandscapeMargins));
    auto find = [&words](const QString& text) {
        for (const PdfWord& w : words)
            if (w.text.contains(text)) return w;
        return PdfWord{};
    };
    // Columns of 3000, 3000 and 9800 twips from the 25-point margin: 25-175, 175-325, 325-815.
    const PdfWord name = find(QStringLiteral("김|철;수"));
    const PdfWord phone = find(QStringLiteral("(02)700-0000"));
    const PdfWord address = find(QStringLiteral("종로구"));
    ASSERT_FALSE(name.text.isEmpty());
    ASSERT_FALSE(phone.text.isEmpty());
    ASSERT_FALSE(address.text.isEmpty());
    EXPECT_GT(name.xMin, 25);
    EXPECT_LT(name.xMax, 175);
    EXPECT_GT(phone.xMin, 175);
    EXPECT_LT(phone.xMax, 325);
    EXPECT_GT(address.xMin, 325);
    EXPECT_NEAR(name.yMin, phone.yMin, 1);
}

TEST_F(TableRendererTest, ALongCellWrapsInsideItsColumnAndGrowsItsRow) {
    std::vector<PrintRow> rows = listRows(2);
    QString longAddress;
    for (int i = 0; i < 40; ++i) longAddress += QStringLiteral("긴주소%1 ").arg(i);
    rows[0].cells[3] = longAddress.trimmed();
    const TableDocument doc =
        composeTable(composeInput(QStringLiteral("결과창:인명"), Orientation::Portrait), rows);
    const std::vector<PdfWord> words =
        pdfWords(render(doc, Orientation::Portrait, QMarginsF(500, 500, 500, 500)));
    double top = 1e9, bottom = 0, right = 0;
    QString address;
    for (const PdfWord& w : words) {
        if (!w.text.contains(QStringLiteral("긴주소"))) continue;
        address += w.text;
        top = std::min(top, w.yMin);
        bottom = std::max(bottom, w.yMax);
        right = std::max(right, w.xMax);
    }
    EXPECT_EQ(address, squeezed(longAddress));  // every word, in order
    EXPECT_GT(bottom - top, 30);                // several lines
    EXPECT_LT(right, 25 + 10800 / 20.0);        // never past the table's right edge
    double nextRowTop = 0;
    for (const PdfWord& w : words)
        if (w.text == QStringLiteral("이름0001")) nextRowTop = w.yMin;
    EXPECT_GT(nextRowTop, bottom);  // the next row starts below the wrapped cell
}

TEST_F(TableRendererTest, AnUnknownSourceGivesOnePageWithHeaderAndFooter) {
    const TableDocument doc = composeTable(composeInput(QStringLiteral("?")), listRows(5));
    int pageCount = 0;
    const QStringList pages =
        pdfPages(render(doc, Orientation::Landscape, kLandscapeMargins, &pageCount));
    EXPECT_EQ(pageCount, 1);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(squeezed(pages[0]),
              QStringLiteral("전국판Telvia리스트Page12024년3월5일화요일03:04:09오후"));
}

TEST_F(TableRendererTest, PaintingAPageAgainGivesTheSamePicture) {
    const TableDocument doc =
        composeTable(composeInput(QStringLiteral("메모창:상호")), listRows(120));
    QImage device(1000, 700, QImage::Format_RGB32);
    const TablePages pages(doc, device, QSizeF(1000, 700));
    ASSERT_GT(pages.pageCount(), 2);
    auto paint = [&pages](int page) {
        QImage image(1000, 700, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        pages.paint(painter, page);
        return image;
    };
    const QImage first = paint(0);
    paint(2);
    paint(1);
    EXPECT_EQ(paint(0), first);
    EXPECT_NE(paint(1), first);
    // Every row lies on exactly one page.
    int rows = 0;
    for (int p = 0; p < pages.pageCount(); ++p) {
        const auto [start, count] = pages.rowsOnPage(p);
        EXPECT_EQ(start, rows);
        EXPECT_GT(count, 0);
        rows += count;
    }
    EXPECT_EQ(rows, 120);
}
