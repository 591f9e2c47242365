// The time as a Korean desktop shows it: "오전 9:05", "오후 12:30" (12-hour, no leading zero).
#pragma once

#include <QString>
#include <QTime>

inline QString koreanClock(const QTime& t) {
    const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QStringLiteral("%1 %2:%3")
        .arg(t.hour() < 12 ? QStringLiteral("오전") : QStringLiteral("오후"))
        .arg(hour12)
        .arg(t.minute(), 2, 10, QLatin1Char('0'));
}
