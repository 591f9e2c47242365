// What a PDF shows, read back with poppler's command-line tools: the text of each page
// (pdftotext), the words with their boxes (pdftotext -bbox) and a page as a picture (pdftoppm).
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

// The text of each page, in page order; empty when the file cannot be read.
QStringList pdfPages(const QString& pdf);

struct PdfWord {
    int page = 0;  // 1-based
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // points from the page's top-left corner
};
std::vector<PdfWord> pdfWords(const QString& pdf);

// One page (1-based) at `dpi` dots per inch; a null image on failure.
QImage pdfPageImage(const QString& pdf, int page, int dpi);
