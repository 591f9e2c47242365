// Pages of a table document on one paint device (a printer, the preview's printer, a PDF
// file): the header line at the top of each page (title left, page number right), the footer
// line at the bottom (date left, time right), and between them the table, its shaded title
// row repeated at the top of every page. Columns take their widths in twips; a table wider
// than the printable width is scaled down as a whole to fit, otherwise the widths are exact.
// Cells wrap within their column and a row grows to its tallest cell.
#pragma once

#include <QFontMetricsF>
#include <QSizeF>
#include <utility>
#include <vector>

#include "TableDocument.h"

class QPainter;
class QPaintDevice;
class QPrinter;

namespace print {

class TablePages {
public:
    // Lays the document out on `device` for a printable area of `page` (device pixels; the
    // painter's origin is its top-left corner). Keeps a reference to `doc`, which must
    // outlive this object.
    TablePages(const TableDocument& doc, const QPaintDevice& device, QSizeF page);

    int pageCount() const { return static_cast<int>(m_pageStarts.size()); }
    // The first entry row on a page (0-based) and how many rows the page holds.
    std::pair<int, int> rowsOnPage(int page) const;
    // 1 when the table fits the printable width, else the factor that makes it fit.
    double tableScale() const { return m_scale; }

    // Paints one page (0-based). Changes nothing but the painter's output.
    void paint(QPainter& painter, int page) const;

private:
    double rowHeight(const QStringList& cells, const std::vector<ColumnFormat>& columns) const;
    void paintParts(QPainter& painter, const ThreeParts& parts, double baseline, int page) const;
    void paintRow(QPainter& painter, const QStringList& cells,
                  const std::vector<ColumnFormat>& columns, double top) const;
    void paintGrid(QPainter& painter, const std::vector<ColumnFormat>& columns, double top,
                   const std::vector<double>& rowBottoms) const;

    const TableDocument& m_doc;
    const QPaintDevice& m_device;
    QSizeF m_page;
    double m_pxPerTwipX = 1;
    double m_pxPerTwipY = 1;
    QFontMetricsF m_bodyMetrics;  // the body font on this device
    double m_scale = 1;
    double m_headerBand = 0;  // header line and the gap below it
    double m_footerBand = 0;
    double m_titleHeight = 0;
    std::vector<double> m_rowHeights;
    std::vector<int> m_pageStarts;  // first row of each page
};

// Paints every page on the printer, a new sheet before each page after the first. False when
// the printer cannot be painted on (a PDF file that cannot be written, for one).
bool renderDocument(const TableDocument& doc, QPrinter& printer);
// The same for the pages the printer's page range names (all pages when it names none).
bool printDocument(const TableDocument& doc, QPrinter& printer);

}  // namespace print
