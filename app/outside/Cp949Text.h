// Texts to and from code page 949 at the edge of an outside library. Where a strict
// conversion fails, the text still crosses: a character without a CP949 form goes out as
// "?" (as the system's own conversion did), a byte that starts no CP949 character comes in
// as U+FFFD.
#pragma once

#include <QByteArray>
#include <QString>

QByteArray toCp949(const QString& text);
QString fromCp949(const QByteArray& bytes);
