// What the dial window sends to the modem, decided without widgets or ports: the dial
// settings as read from the store, the prefix they give, the dial string built from the
// entry's area code and number, the AT command around it and the modem's answers.
#pragma once

#include <QByteArray>
#include <QString>

namespace phone {

// The three settings of the "Option" section the dial window reads when it loads.
struct DialSettings {
    QString port = QStringLiteral("3");          // "ComPort": the modem's port number, as stored
    QString ownAreaCode = QStringLiteral("02");  // "AreaCode"
    QString prefix;  // "PreFix" turned into the digits dialled first ("" for none)
};

DialSettings readDialSettings();

// The outside-line prefix of a "PreFix" value (the options dialog's list index): 0 gives none,
// 10 gives "0", any other value its decimal digits.
QString prefixText(qint16 preFix);

// The number to dial for an entry: the prefix and a "," pause first when there is one, then
// the area code and a blank when it is not the user's own (an exact text comparison), then
// the number. Only what comes before the first "/" is dialled (a "/" starts an extension or
// a second number), only the characters a modem dials are kept (digits, "*", "#", ",", "-"
// and blanks; anything else, a ";" or a line break included, could end the command or start
// another), and the result is trimmed. "" means there is nothing to dial.
QString dialString(const QString& areaCode, const QString& number, const QString& ownAreaCode,
                   const QString& prefix);

// "ATDT" + the dial string + ";" + CR. The ";" brings the modem back to command mode once it
// has dialled, so it answers "OK" while the handset carries the call.
QByteArray dialCommand(const QString& dialString);
// Hangs the modem up.
inline constexpr char kHangUp[] = "ATH\r";

// What the modem has answered so far, tested in this order on everything received.
enum class ModemAnswer { kNone, kOk, kNoDialTone, kNoCarrier };
ModemAnswer classifyAnswer(const QByteArray& received);

}  // namespace phone
