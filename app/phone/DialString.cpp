#include "DialString.h"

#include "Orvello.h"

namespace phone {

DialSettings readDialSettings() {
    const QString section = QStringLiteral("Option");
    DialSettings s;
    s.port = Orvello::Read(section, QStringLiteral("ComPort"), QStringLiteral("3"));
    s.ownAreaCode = Orvello::Read(section, QStringLiteral("AreaCode"), QStringLiteral("02"));
    s.prefix = prefixText(static_cast<qint16>(Orvello::leadingNumber(
        Orvello::Read(section, QStringLiteral("PreFix"), QStringLiteral("0")))));
    return s;
}

QString prefixText(qint16 preFix) {
    if (preFix == 0) return {};
    if (preFix == 10) return QStringLiteral("0");
    return QString::number(preFix);
}

QString dialString(const QString& areaCode, const QString& number, const QString& ownAreaCode,
                   const QString& prefix) {
    QString d;
    if (!prefix.isEmpty()) d = prefix + QLatin1Char(',');
    if (areaCode != ownAreaCode) d += areaCode + QLatin1Char(' ');
    d += number;
    if (const qsizetype slash = d.indexOf(QLatin1Char('/')); slash >= 0) d.truncate(slash);
    QString dialled;
    for (const QChar c : d) {
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || u == u'*' || u == u'#' || u == u',' || u == u'-' ||
            u == u' ') {
            dialled += c;
        }
    }
    return dialled.trimmed();
}

QByteArray dialCommand(const QString& dialString) {
    return "ATDT" + dialString.toLatin1() + ";\r";
}

ModemAnswer classifyAnswer(const QByteArray& received) {
    if (received.contains("OK")) return ModemAnswer::kOk;
    // Some modems spell it with a blank.
    if (received.contains("NO DIALTONE") || received.contains("NO DIAL TONE")) {
        return ModemAnswer::kNoDialTone;
    }
    if (received.contains("NO CARRIER")) return ModemAnswer::kNoCarrier;
    return ModemAnswer::kNone;
}

}  // namespace phone
