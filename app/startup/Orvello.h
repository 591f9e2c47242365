// The per-user settings store "Orvello": text values by section and key, each reader giving
// its own default. Kept by QSettings as an INI file in the user's configuration folder
// (~/.config/Telvia/Orvello.ini); tests move it with QSettings::setPath.
#pragma once

#include <QString>

namespace Orvello {

// The stored text, or `defaultValue` when the key was never saved.
QString Read(const QString& section, const QString& key, const QString& defaultValue);
// Stores `text` unchanged.
void Save(const QString& section, const QString& key, const QString& text);

// The leading whole number of a text, 0 when it has none (" 12abc" gives 12).
int leadingNumber(const QString& text);

}  // namespace Orvello
