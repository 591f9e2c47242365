#include "MemoNames.h"

#include <QStringList>
#include <array>

#include <iconv.h>

#include "MemoFormat.h"

namespace memo {
namespace {

// The code page 949 bytes of one character (1 or 2); 0 when the code page cannot write it.
std::size_t cp949Length(const QString& character) {
    static const iconv_t cd = iconv_open("CP949", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    QByteArray utf8 = character.toUtf8();
    std::array<char, 8> out{};
    char* in = utf8.data();
    std::size_t inLeft = static_cast<std::size_t>(utf8.size());
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    return out.size() - outLeft;
}

bool allowedSingleByte(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('_');
}

// Characters of a text, a surrogate pair being one character.
QStringList characters(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        out << text.mid(i, n);
        i += n - 1;
    }
    return out;
}

}  // namespace

QString findBadNameChars(const QString& name) {
    QStringList bad;
    for (const QString& c : characters(name)) {
        const bool ascii = c.size() == 1 && c[0].unicode() < 0x80;
        const bool ok = ascii ? allowedSingleByte(c[0]) : cp949Length(c) == 2;
        if (!ok) bad << c;
    }
    return bad.join(QLatin1Char(','));
}

bool isStorablePadName(const QString& name) {
    if (name.isEmpty() || characters(name).size() > kMaxNameLength) return false;
    if (!findBadNameChars(name).isEmpty()) return false;
    // Table names are compared without regard to ASCII case.
    return name.compare(QLatin1String(kCatalogue), Qt::CaseInsensitive) != 0 &&
           !name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

}  // namespace memo
