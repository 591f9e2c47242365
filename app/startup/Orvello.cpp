#include "Orvello.h"

#include <QSettings>
#include <QStringList>

namespace Orvello {

QString Read(const QString& section, const QString& key, const QString& defaultValue) {
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
                QStringLiteral("Orvello"));
    const QVariant v = s.value(section + QLatin1Char('/') + key);
    if (!v.isValid()) return defaultValue;
    // A hand-edited value with unquoted commas comes back as a list: keep its text.
    if (v.userType() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void Save(const QString& section, const QString& key, const QString& text) {
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Telvia"),
                QStringLiteral("Orvello"));
    s.setValue(section + QLatin1Char('/') + key, text);
}

int leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype n = 0;
    if (n < t.size() && (t[n] == QLatin1Char('-') || t[n] == QLatin1Char('+'))) ++n;
    while (n < t.size() && t[n].isDigit() && t[n].unicode() < 128) ++n;
    bool ok = false;
    const int v = t.left(n).toInt(&ok);
    return ok ? v : 0;
}

}  // namespace Orvello
