#include "ResultRows.h"

#include "modAdditionalAPI.h"

namespace search {
namespace {

const QString kEndOfNames = QStringLiteral("vbROF");

// The leading decimal digits of a text as a number (0 without any), as a number field
// reads "45" or "45abc".
qint64 leadingNumber(QStringView text) {
    qint64 n = 0;
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        n = n * 10 + (text[i].unicode() - '0');
        if (n > 999'999'999'999) break;
    }
    return n;
}

bool startsWithAny(QStringView code, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes) {
        if (code.startsWith(QLatin1String(p))) return true;
    }
    return false;
}

}  // namespace

int indexRegionCode(const QString& areaCode) {
    // Places filed in another region's index: 과천/광명 in Seoul's, the rest by their prefix.
    constexpr int kSeoul = 10;
    if (areaCode.startsWith(QLatin1String("7203")) || areaCode.startsWith(QLatin1String("7204"))) {
        return kSeoul;
    }
    struct Moved {
        const char* prefix;
        int region;
    };
    static constexpr Moved kMoved[] = {{"20", 72}, {"21", 72}, {"22", 72},
                                       {"23", 72}, {"24", 72}, {"40", 74},
                                       {"45", 76}, {"55", 80}, {"65", kLocalListingRegion}};
    const QString two = areaCode.left(2);
    for (const Moved& m : kMoved) {
        if (two == QLatin1String(m.prefix)) return m.region;
    }
    return static_cast<int>(leadingNumber(two));
}

bool servedByLocalListing(const QString& areaCode) {
    return indexRegionCode(areaCode) == kLocalListingRegion;
}

bool passesRegionFilter(QStringView dongCode, const QString& areaCode) {
    if (!areaCode.contains(QLatin1Char(':'))) return dongCode.startsWith(areaCode);
    if (areaCode == QLatin1String("7203:7204")) return startsWithAny(dongCode, {"7203", "7204"});
    if (areaCode == QLatin1String("20:21:22:23:24:72")) {
        return startsWithAny(dongCode, {"72", "20", "21", "22", "23", "24"});
    }
    if (areaCode == QLatin1String("40:74")) return startsWithAny(dongCode, {"74", "40"});
    if (areaCode == QLatin1String("45:76")) return startsWithAny(dongCode, {"76", "45"});
    if (areaCode == QLatin1String("55:80")) return startsWithAny(dongCode, {"80", "55"});
    if (areaCode == QLatin1String("65:84")) return startsWithAny(dongCode, {"84", "65"});
    return false;
}

QString nameForLookup(const QString& typed) {
    if (typed.size() > 3 && typed.startsWith(QLatin1Char('('))) {
        const qsizetype close = typed.indexOf(QLatin1Char(')'));
        const QString rest = typed.mid(close + 1);
        if (!rest.isEmpty()) return rest;
    }
    return typed;
}

bool isInitialsLookup(const QString& typed) {
    bool consonant = false;
    for (const QChar c : typed) {
        if (c.unicode() >= 0x3131 && c.unicode() <= 0x314E) {
            consonant = true;
        } else if (c.unicode() < 0xAC00 || c.unicode() > 0xD7A3) {
            return false;
        }
    }
    return consonant;
}

QString formatTelephone(const QString& area, const QString& telephone) {
    const qsizetype slash = telephone.indexOf(QLatin1Char('/'));
    const QString suffix = slash < 0 ? QString() : telephone.mid(slash);
    const QString number = slash < 0 ? telephone : telephone.left(slash);
    const qsizetype dash = number.indexOf(QLatin1Char('-'));
    const QString head = number.left(dash + 1);
    const qint64 line = leadingNumber(QStringView(number).mid(dash + 1));
    return QLatin1Char('(') + area + QLatin1Char(')') + head +
           QStringLiteral("%1").arg(line, 4, 10, QLatin1Char('0')) + suffix;
}

QString formatPostalCode(const QString& postal) {
    return postal.left(3) + QLatin1Char('-') + postal.right(3);
}

ResultRow rowFromRecord(const QString& record, const QString& name) {
    const QStringList f = modAdditionalAPI::splitFieldList(record, QStringLiteral(":"));
    auto field = [&f](qsizetype i) { return i <= f.size() ? f[i - 1] : QString(); };
    ResultRow row;
    QString text = name.isNull() ? field(1) : name;
    if (text.isEmpty()) text = QStringLiteral("_");
    row.cells << text << QString() << QString() << QString();
    if (f.size() >= 5) row.cells[1] = formatTelephone(field(4), field(5));
    if (f.size() >= 3) {
        row.cells[2] = formatPostalCode(field(6));
        const QString dongName = field(2);
        const qsizetype close = dongName.indexOf(QLatin1Char(')'));
        QString detail = field(7);
        if (detail.isEmpty()) detail = QStringLiteral(" ");
        row.cells[3] = dongName.mid(close + 2) + QLatin1Char(' ') + field(3) + QLatin1Char(' ') +
                       withoutLastCharacter(detail);
    }
    return row;
}

ResultRow rowFromLocal(const QString& name, const QString& ddd, const QString& tel,
                       const QString& zip, const QString& address) {
    ResultRow row;
    row.cells << name << QStringLiteral("(0%1)").arg(leadingNumber(ddd)) + tel
              << zip.left(3) + QLatin1Char('-') + zip.mid(3, 3) << address;
    return row;
}

bool parseCandidate(const QString& entry, Candidate& out) {
    const QStringList f = modAdditionalAPI::splitFieldList(entry, QStringLiteral(":"));
    if (f.isEmpty() || f[0] == kEndOfNames) return false;
    out.name = f[0];
    out.tag =
        (f.size() > 1 ? f[1] : QString()) + QLatin1Char(':') + (f.size() > 2 ? f[2] : QString());
    return true;
}

}  // namespace search
