#include "Cp949Text.h"

#include <string>

#include "BoundaryText.h"
#include "data/Cp949.h"

QByteArray toCp949(const QString& text) {
    const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
    if (auto whole = zendari::utf16_to_cp949(utf16)) return QByteArray::fromStdString(*whole);
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const auto one = zendari::utf16_to_cp949(utf16.substr(i, n));
        out += one ? QByteArray::fromStdString(*one) : QByteArray("?");
        i += n - 1;
    }
    return out;
}

QString fromCp949(const QByteArray& bytes) {
    const std::u16string utf16 =
        zendari::utf16_from_cp949_lossy(std::string_view(bytes.constData(), bytes.size()));
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}
