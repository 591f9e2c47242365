#include "SearchCommand.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "ZendariClient.h"
#include "data/regions.h"

namespace zendari {
namespace {

// A text for the terminal: control characters (an older CD may hold ESC or CR in a name or
// detail) are shown escaped as \xHH instead of reaching the terminal raw.
QString printable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x") +
                   QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

}  // namespace

SearchRow parse_result_row(const QString& name, const QString& record) {
    // Split at the first six colons only: the detail line is the rest.
    QStringList f;
    int from = 0;
    for (int i = 0; i < 6; ++i) {
        const int at = record.indexOf(QLatin1Char(':'), from);
        if (at < 0) break;
        f << record.mid(from, at - from);
        from = at + 1;
    }
    f << record.mid(from);
    while (f.size() < 7) f << QString();
    QString detail = f[6];
    while (detail.endsWith(QLatin1Char('\n')) || detail.endsWith(QLatin1Char('\r'))) detail.chop(1);

    SearchRow row;
    row.name = name;
    row.telephone = QStringLiteral("(%1)%2").arg(f[3], f[4]);
    const QString& postal = f[5];
    row.postalCode =
        postal.size() == 6 ? postal.left(3) + QLatin1Char('-') + postal.right(3) : postal;
    const QString& dong = f[1];
    const int paren = dong.indexOf(QLatin1Char(')'));
    const QString place = paren >= 0 ? dong.mid(paren + 2) : dong;
    row.address = QStringList{place, f[2], detail}.join(QLatin1Char(' ')).simplified();
    return row;
}

int run_search(ZendariClient& client, const QStringList& args, QTextStream& out, QTextStream& err) {
    bool ok = false;
    bool regionGiven = false;
    int region = -1;
    bool asJson = false;
    QString name;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--region") && i + 1 < args.size()) {
            region = args[++i].toInt(&ok);
            regionGiven = true;
            if (!ok) {
                err << "zendari search: --region takes a region code (10, 11, ... 86)\n";
                return 2;
            }
        } else if (args[i] == QLatin1String("--json")) {
            asJson = true;
        } else if (name.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            name = args[i];
        } else {
            err << "zendari search: unexpected argument " << args[i] << "\n";
            return 2;
        }
    }
    if (!regionGiven || name.isEmpty()) {
        err << "usage: zendari search --region CODE NAME [--json]\n";
        return 2;
    }

    client.putLong(kDispInitDB, 1);
    if (client.getLong(kDispInitDB) != 1) {
        err << "zendari search: the directory could not be opened (is WINDIR set?)\n";
        return 1;
    }
    client.putLong(kDispSetLocal, region);
    // -1 is what a failed selection reads back, whatever was written.
    if (const std::int32_t selected = client.getLong(kDispSetLocal);
        selected != region || selected == -1) {
        err << "zendari search: region " << region << " is not available: "
            << (region_of_code(region) < 0
                    ? QStringLiteral("%1 is not a valid region code (10 to 16, the even codes "
                                     "70 to 86, 7203 and 7204)")
                          .arg(region)
                    : QStringLiteral("its index did not open"))
            << "\n";
        return 1;
    }
    const Variant key = ZendariClient::text(name);
    if (!client.callBool(kDispFindKey, std::span(&key, 1))) {
        if (!asJson) out << name << ": not listed\n";
        return 0;
    }
    const QStringList entry = client.callText(kDispGetNext).split(QLatin1Char(':'));
    if (entry.size() < 3) return 0;
    const int first = entry[1].toInt();
    const int count = entry[2].toInt();
    const Variant range[2] = {first, count};
    client.callBool(kDispSetResult, range);
    for (int i = 0; i < count; ++i) {
        const QString record = client.callText(kDispGetResult);
        if (record.isEmpty()) continue;  // the control has shown why (a dong code it lacks)
        const SearchRow row = parse_result_row(name, record);
        if (asJson) {
            const QJsonObject o{{"name", row.name},
                                {"telephone", row.telephone},
                                {"postal_code", row.postalCode},
                                {"address", row.address}};
            out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
        } else {
            out << printable(row.name) << "\t" << printable(row.telephone) << "\t"
                << printable(row.postalCode) << "\t" << printable(row.address) << "\n";
        }
    }
    return 0;
}

}  // namespace zendari
