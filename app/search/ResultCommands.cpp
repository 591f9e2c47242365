#include "ResultCommands.h"

#include <QUrl>

#include "Orvello.h"

namespace search {
namespace {

const QString kDefaultWebCallPage = QStringLiteral("https://callora.telvia.example/voip.jsp");

}  // namespace

QString printSource(int searchKindCode, SearchMode searchMode, bool dongResult,
                    const QString& previous) {
    if (searchKindCode == 2) {
        return dongResult ? QStringLiteral("동결과:인명") : QStringLiteral("결과창:인명");
    }
    if (searchMode == SearchMode::Name) return QStringLiteral("결과창:상호");
    return previous;
}

DialValues dialValues(const QStringList& cells, bool fromResultList, int searchKindCode) {
    DialValues v;
    if (cells.isEmpty()) return v;
    v.name = cells.value(0);
    const QString telephone = cells.value(1).mid(1);
    const qsizetype close = telephone.indexOf(QLatin1Char(')'));
    // The area code is what the brackets hold; without a closing one there is none, and the
    // rest is the number.
    v.areaCode = close < 0 ? QString() : telephone.left(close);
    v.number = telephone.mid(close + 1);
    if (fromResultList && searchKindCode != 2) v.department = cells.value(4);
    return v;
}

QString webCallDigits(const QString& telephone) {
    QString digits;
    for (QChar c : telephone) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    }
    return digits;
}

QString webCallAddress(const QString& number) {
    return Orvello::Read(QStringLiteral("Option"), QStringLiteral("WebCallUrl"),
                         kDefaultWebCallPage) +
           QStringLiteral("?phonenum=") + QString::fromLatin1(QUrl::toPercentEncoding(number));
}

QString companionCommandLine(int menu, int index) {
    switch (menu) {
        case 1:
            if (index >= 0 && index <= 2) return QStringLiteral("additionInfo %1").arg(index + 1);
            break;
        case 2:
            if (index >= 0 && index <= 2) return QStringLiteral("additionInfo2 %1").arg(index + 1);
            break;
        case 3:
            if (index == 0) return QStringLiteral("Graphview 1 ../Image/");
            if (index == 1) return QStringLiteral("additionInfo3 1");
            break;
        default:
            break;
    }
    return {};
}

QStringList splitCommandLine(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace search
