#include "TableRenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>
#include <limits>
#include <numeric>

namespace print {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kCellPaddingX = 60;   // twips inside a cell, left and right
constexpr double kCellPaddingY = 30;   // twips above and below a cell's text
constexpr double kBandGap = 120;       // twips between the header or footer and the table
constexpr double kGridLineWidth = 10;  // twips (half a point)

// Line breaks inside a cell (a memo typed on several lines) as the layout's own separator.
QString cellText(const QString& cell) {
    if (!cell.contains(u'\n') && !cell.contains(u'\r')) return cell;
    QString text = cell;
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\r', QChar::LineSeparator);
    text.replace(u'\n', QChar::LineSeparator);
    return text;
}

Qt::Alignment qtAlignment(Alignment a) {
    return a == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

// Breaks `layout` into lines of `width` (at word boundaries, inside a word only when it is
// wider than the column) and returns the height of the text.
double layOutLines(QTextLayout& layout, Alignment alignment, double width) {
    QTextOption option(qtAlignment(alignment));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

double twipsWidth(const std::vector<ColumnFormat>& columns) {
    return std::accumulate(columns.begin(), columns.end(), 0.0,
                           [](double sum, const ColumnFormat& c) { return sum + c.twips; });
}

bool renderPages(const TableDocument& doc, QPrinter& printer, int first, int last) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const TablePages pages(doc, printer, printer.pageRect(QPrinter::DevicePixel).size());
    first = std::max(first, 0);
    last = std::min(last, pages.pageCount() - 1);
    for (int page = first; page <= last; ++page) {
        if (page > first && !printer.newPage()) return false;
        pages.paint(painter, page);
    }
    return painter.end();
}

}  // namespace

TablePages::TablePages(const TableDocument& doc, const QPaintDevice& device, QSizeF page)
    : m_doc(doc),
      m_device(device),
      m_page(page),
      m_pxPerTwipX(device.logicalDpiX() / kTwipsPerInch),
      m_pxPerTwipY(device.logicalDpiY() / kTwipsPerInch),
      m_bodyMetrics(doc.body.font, &device) {
    const QFontMetricsF band(doc.headerFont, &device);
    m_headerBand = band.height() + kBandGap * m_pxPerTwipY;
    m_footerBand = m_headerBand;
    m_pageStarts.push_back(0);
    if (!doc.hasTable) return;

    const double tableWidth =
        std::max(twipsWidth(doc.titleColumns), twipsWidth(doc.bodyColumns)) * m_pxPerTwipX;
    if (tableWidth > page.width() && tableWidth > 0) m_scale = page.width() / tableWidth;

    m_titleHeight = rowHeight(doc.titles, doc.titleColumns);
    const double available =
        (page.height() - m_headerBand - m_footerBand) / m_scale - m_titleHeight;
    m_rowHeights.reserve(doc.rows.size());
    double y = 0;
    for (std::size_t r = 0; r < doc.rows.size(); ++r) {
        const double h = rowHeight(doc.rows[r], doc.bodyColumns);
        // A row that does not fit starts the next page; one taller than a whole page gets a
        // page of its own and is cut at its foot.
        if (y > 0 && y + h > available) {
            m_pageStarts.push_back(static_cast<int>(r));
            y = 0;
        }
        y += h;
        m_rowHeights.push_back(h);
    }
}

std::pair<int, int> TablePages::rowsOnPage(int page) const {
    if (page < 0 || page >= pageCount() || m_rowHeights.empty()) return {0, 0};
    const int first = m_pageStarts[static_cast<std::size_t>(page)];
    const int end = page + 1 < pageCount() ? m_pageStarts[static_cast<std::size_t>(page) + 1]
                                           : static_cast<int>(m_rowHeights.size());
    return {first, end - first};
}

double TablePages::rowHeight(const QStringList& cells,
                             const std::vector<ColumnFormat>& columns) const {
    double tallest = m_bodyMetrics.height();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const QString text = cellText(cells.value(static_cast<qsizetype>(c)));
        const double width = (columns[c].twips - 2 * kCellPaddingX) * m_pxPerTwipX;
        if (text.contains(QChar::LineSeparator) || m_bodyMetrics.horizontalAdvance(text) > width) {
            QTextLayout layout(text, m_doc.body.font, &m_device);
            tallest = std::max(tallest, layOutLines(layout, columns[c].alignment, width));
        }
    }
    return tallest + 2 * kCellPaddingY * m_pxPerTwipY;
}

void TablePages::paint(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount()) return;
    painter.save();
    painter.setFont(m_doc.headerFont);
    painter.setPen(Qt::black);
    const QFontMetricsF band(m_doc.headerFont, &m_device);
    paintParts(painter, m_doc.header, band.ascent(), page);
    paintParts(painter, m_doc.footer, m_page.height() - band.descent(), page);
    painter.restore();
    if (!m_doc.hasTable) return;

    painter.save();
    painter.translate(0, m_headerBand);
    painter.scale(m_scale, m_scale);
    const double tableHeight = (m_page.height() - m_headerBand - m_footerBand) / m_scale;
    painter.setClipRect(QRectF(0, 0, m_page.width() / m_scale, tableHeight));
    painter.setFont(m_doc.body.font);

    const double titleWidth = twipsWidth(m_doc.titleColumns) * m_pxPerTwipX;
    painter.fillRect(QRectF(0, 0, titleWidth, m_titleHeight), m_doc.titleShade);
    paintRow(painter, m_doc.titles, m_doc.titleColumns, 0);
    paintGrid(painter, m_doc.titleColumns, 0, {m_titleHeight});

    const auto [first, count] = rowsOnPage(page);
    std::vector<double> bottoms;
    bottoms.reserve(static_cast<std::size_t>(count));
    double y = m_titleHeight;
    for (int r = first; r < first + count; ++r) {
        const double h = m_rowHeights[static_cast<std::size_t>(r)];
        paintRow(painter, m_doc.rows[static_cast<std::size_t>(r)], m_doc.bodyColumns, y);
        y += h;
        bottoms.push_back(y);
    }
    if (!bottoms.empty()) paintGrid(painter, m_doc.bodyColumns, m_titleHeight, bottoms);
    painter.restore();
}

void TablePages::paintParts(QPainter& painter, const ThreeParts& parts, double baseline,
                            int page) const {
    const QFontMetricsF metrics(painter.font(), &m_device);
    const QString number = QString::number(page + 1);
    auto text = [&number](QString part) { return part.replace(QStringLiteral("%d"), number); };
    const QString left = text(parts.left);
    const QString centre = text(parts.centre);
    const QString right = text(parts.right);
    painter.drawText(QPointF(0, baseline), left);
    painter.drawText(QPointF((m_page.width() - metrics.horizontalAdvance(centre)) / 2, baseline),
                     centre);
    painter.drawText(QPointF(m_page.width() - metrics.horizontalAdvance(right), baseline), right);
}

void TablePages::paintRow(QPainter& painter, const QStringList& cells,
                          const std::vector<ColumnFormat>& columns, double top) const {
    const QFontMetricsF& metrics = m_bodyMetrics;
    painter.setPen(m_doc.body.colour);
    const double padX = kCellPaddingX * m_pxPerTwipX;
    const double textTop = top + kCellPaddingY * m_pxPerTwipY;
    double x = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double cellWidth = columns[c].twips * m_pxPerTwipX;
        const double width = cellWidth - 2 * padX;
        const QString text = cellText(cells.value(static_cast<qsizetype>(c)));
        const double advance = metrics.horizontalAdvance(text);
        if (!text.contains(QChar::LineSeparator) && advance <= width) {
            const double offset =
                columns[c].alignment == Alignment::Centre ? (width - advance) / 2 : 0;
            painter.drawText(QPointF(x + padX + offset, textTop + metrics.ascent()), text);
        } else {
            QTextLayout layout(text, m_doc.body.font, &m_device);
            layOutLines(layout, columns[c].alignment, width);
            layout.draw(&painter, QPointF(x + padX, textTop));
        }
        x += cellWidth;
    }
}

void TablePages::paintGrid(QPainter& painter, const std::vector<ColumnFormat>& columns, double top,
                           const std::vector<double>& rowBottoms) const {
    painter.save();
    painter.setPen(QPen(Qt::black, kGridLineWidth * m_pxPerTwipY));
    const double width = twipsWidth(columns) * m_pxPerTwipX;
    painter.drawLine(QLineF(0, top, width, top));
    for (double bottom : rowBottoms) painter.drawLine(QLineF(0, bottom, width, bottom));
    const double bottom = rowBottoms.back();
    double x = 0;
    painter.drawLine(QLineF(x, top, x, bottom));
    for (const ColumnFormat& column : columns) {
        x += column.twips * m_pxPerTwipX;
        painter.drawLine(QLineF(x, top, x, bottom));
    }
    painter.restore();
}

bool renderDocument(const TableDocument& doc, QPrinter& printer) {
    return renderPages(doc, printer, 0, std::numeric_limits<int>::max());
}

bool printDocument(const TableDocument& doc, QPrinter& printer) {
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        const int last = printer.toPage() > 0 ? printer.toPage() : printer.fromPage();
        return renderPages(doc, printer, printer.fromPage() - 1, last - 1);
    }
    return renderDocument(doc, printer);
}

}  // namespace print
