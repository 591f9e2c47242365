#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Every icon is drawn on a 24-unit grid with the same stroke and palette.
const QColor kInk(0x2b, 0x3a, 0x55);
const QColor kAccent(0x2f, 0x7d, 0xd1);
const QColor kPaper(0xfb, 0xfb, 0xf6);

void arrow(QPainter& p, bool forward) {
    QPainterPath path;
    if (forward) {
        path.moveTo(4, 9);
        path.lineTo(13, 9);
        path.lineTo(13, 4);
        path.lineTo(21, 12);
        path.lineTo(13, 20);
        path.lineTo(13, 15);
        path.lineTo(4, 15);
    } else {
        path.moveTo(20, 9);
        path.lineTo(11, 9);
        path.lineTo(11, 4);
        path.lineTo(3, 12);
        path.lineTo(11, 20);
        path.lineTo(11, 15);
        path.lineTo(20, 15);
    }
    path.closeSubpath();
    p.setBrush(kAccent);
    p.drawPath(path);
}

void sheet(QPainter& p, const QRectF& r) {
    p.setBrush(kPaper);
    p.drawRect(r);
}

void memo(QPainter& p) {
    sheet(p, QRectF(5, 3, 14, 18));
    for (int y = 8; y <= 16; y += 4) p.drawLine(QPointF(8, y), QPointF(16, y));
    p.setBrush(kAccent);
    p.drawRect(QRectF(5, 3, 14, 3));
}

void printer(QPainter& p) {
    sheet(p, QRectF(7, 3, 10, 6));  // paper going in
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 2, 2);  // body
    sheet(p, QRectF(7, 14, 10, 7));                // printed sheet
    p.drawLine(QPointF(9, 17), QPointF(15, 17));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(18, 12), 0.8, 0.8);
}

void label(QPainter& p) {
    QPainterPath tag;
    tag.moveTo(3, 8);
    tag.lineTo(15, 8);
    tag.lineTo(21, 12);
    tag.lineTo(15, 16);
    tag.lineTo(3, 16);
    tag.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(tag);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(15.5, 12), 1.3, 1.3);
    p.drawLine(QPointF(6, 12), QPointF(11, 12));
}

void selectAll(QPainter& p) {
    for (int y = 4; y <= 16; y += 6) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, y, 4, 4));
        p.drawLine(QPointF(10, y + 2), QPointF(21, y + 2));
    }
    QPen check(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(check);
    for (int y = 4; y <= 16; y += 6) {
        p.drawPolyline(QPolygonF({QPointF(3.5, y + 2), QPointF(5, y + 3.5), QPointF(8, y - 0.5)}));
    }
}

void telephone(QPainter& p) {
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(2, 5, 20, 5), 2.5, 2.5);  // handset
    p.drawRoundedRect(QRectF(5, 11, 14, 10), 2, 2);    // base
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(12, 16), 2.8, 2.8);  // dial
}

void webCall(QPainter& p) {
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(11, 12), 8.5, 8.5);
    p.drawEllipse(QRectF(7.5, 3.5, 7, 17));
    p.drawLine(QPointF(2.5, 12), QPointF(19.5, 12));
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(14, 15, 8, 6), 1.5, 1.5);  // a small handset in front
}

void settings(QPainter& p) {
    p.setBrush(kAccent);
    QPainterPath gear;
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(12, 12);
        p.rotate(45.0 * i);
        p.drawRect(QRectF(-1.8, -10, 3.6, 5));
        p.restore();
    }
    p.drawEllipse(QPointF(12, 12), 7, 7);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(12, 12), 2.8, 2.8);
}

QPixmap draw(ToolbarIcon which, int size) {
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (which) {
        case ToolbarIcon::Back:
            arrow(p, false);
            break;
        case ToolbarIcon::Forward:
            arrow(p, true);
            break;
        case ToolbarIcon::Memo:
            memo(p);
            break;
        case ToolbarIcon::Printer:
            printer(p);
            break;
        case ToolbarIcon::Label:
            label(p);
            break;
        case ToolbarIcon::SelectAll:
            selectAll(p);
            break;
        case ToolbarIcon::Telephone:
            telephone(p);
            break;
        case ToolbarIcon::WebCall:
            webCall(p);
            break;
        case ToolbarIcon::Settings:
            settings(p);
            break;
    }
    return pix;
}

}  // namespace

QIcon toolbarIcon(ToolbarIcon which) {
    QIcon icon;
    icon.addPixmap(draw(which, kToolbarIconSize));
    icon.addPixmap(draw(which, kToolbarIconSize * 2));
    return icon;
}
