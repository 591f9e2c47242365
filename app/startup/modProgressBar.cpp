#include "modProgressBar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace modProgressBar {

QString percentText(float fraction, bool exact) {
    int percent = static_cast<int>(fraction * 100.0f + 0.5f);
    if (!exact) {
        if (percent == 0) percent = 1;
        if (percent == 100) percent = 99;
    }
    return QString::number(percent) + QLatin1Char('%');
}

void DrawPercentBar(QImage& image, float fraction, bool exact) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const QColor fore(255, 0, 0);
    const QColor back = QApplication::palette("QMenu").color(QPalette::Window);
    const int boxW = image.width();
    const int boxH = image.height();

    QPainter p(&image);
    QFont font = QApplication::font();
    font.setPointSize(9);
    font.setBold(true);
    p.setFont(font);
    const QString label = percentText(fraction, exact);
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(label);
    const int h = fm.height();
    const int x = (boxW - w) / 2;
    const int y = (boxH - h) / 2;

    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(x, y, w, h), back);
    p.setPen(fore);
    // The label sits one pixel above its cell, as the box's 20-twip lift did on screen.
    p.drawText(QRect(x, y - 1, w, h), Qt::AlignLeft | Qt::AlignTop, label);
    // Not-XOR: where the bar covers the label, the label shows inverted.
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (fraction > 0.0f) {
        p.fillRect(QRectF(0, 0, boxW * static_cast<double>(fraction), boxH), fore);
    } else {
        p.fillRect(QRect(0, 0, boxW, boxH), back);
    }
}

void DrawPercentBar(QLabel* picture, float fraction, bool exact) {
    if (!picture) return;
    QImage image(picture->size(), QImage::Format_RGB32);
    image.fill(QApplication::palette("QMenu").color(QPalette::Window));
    DrawPercentBar(image, fraction, exact);
    picture->setPixmap(QPixmap::fromImage(image));
    picture->repaint();
}

}  // namespace modProgressBar
