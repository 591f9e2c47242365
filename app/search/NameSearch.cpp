#include "NameSearch.h"

#include "ProfileFile.h"
#include "ZendariClient.h"

namespace search {
namespace {

// The excluded texts run to a few hundred bytes of UTF-8.
constexpr std::size_t kExcludedBuffer = 1024;

QString readSearchValue(const char* key) {
    return QString::fromStdString(
        telvia::GetPrivateProfileString("SEARCH", key, "", kExcludedBuffer, "Halvern.ini"));
}

// The text after the first ":" of a tag as a count (the tail of "first:count").
qint64 tagNumber(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? v : 0;
}

// One lookup and up to a page of the names it walks.
std::vector<Candidate> candidates(zendari::ZendariClient& control, zendari::DispId find,
                                  zendari::DispId next, const QString& key) {
    std::vector<Candidate> out;
    const zendari::Variant text = zendari::ZendariClient::text(key);
    control.callBool(find, std::span(&text, 1));
    Candidate c;
    for (int i = 0; i < kCandidatePage; ++i) {
        if (!parseCandidate(control.callText(next), c)) break;
        out.push_back(c);
    }
    return out;
}

}  // namespace

ExcludedRecords ExcludedRecords::fromHalvernIni() {
    return {readSearchValue("ExcludedRecord"), readSearchValue("ExcludedScanRecord")};
}

void RegionSelection::select(zendari::ZendariClient& control, const QString& areaCode) {
    const int region = indexRegionCode(areaCode);
    if (region == m_region && region != 0) return;
    control.putLong(zendari::kDispSetLocal, region);
    // A region the control refused (it said so) is asked for again next time.
    m_region = control.getLong(zendari::kDispSetLocal) == region ? region : 0;
}

std::vector<Candidate> listNames(zendari::ZendariClient& control, const QString& name) {
    return candidates(control, zendari::kDispFindKey, zendari::kDispGetNext, name.toUpper());
}

std::vector<Candidate> listNamesByInitials(zendari::ZendariClient& control, const QString& typed) {
    return candidates(control, zendari::kDispFindChosung, zendari::kDispGetNextChosung, typed);
}

NameRecords nameRecords(zendari::ZendariClient& control, const QString& name,
                        const QString& firstAndCount, const QString& areaCode, int limit,
                        const QString& excluded) {
    NameRecords result;
    const qsizetype colon = firstAndCount.indexOf(QLatin1Char(':'));
    const qint64 first = tagNumber(firstAndCount.left(colon < 0 ? 0 : colon));
    // The count of a common name can pass 32,767 records: it is kept whole.
    const qint64 count = colon < 0 ? 0 : tagNumber(firstAndCount.mid(colon + 1));
    if (first <= 0 || count <= 0) return result;
    const zendari::Variant args[] = {static_cast<std::int32_t>(first),
                                     static_cast<std::int32_t>(count)};
    control.callBool(zendari::kDispSetResult, args);
    for (qint64 i = 0; i < count; ++i) {
        const QString s = control.callText(zendari::kDispGetResult);
        if (!passesRegionFilter(QStringView(s).left(8), areaCode)) continue;
        if (withoutLastCharacter(s) == excluded) continue;
        // The notice says the results exceed the limit: only a record beyond it does.
        if (limit > 0 && static_cast<qint64>(result.rows.size()) >= limit) {
            result.limitReached = true;
            break;
        }
        result.rows.push_back(rowFromRecord(s, name));
    }
    return result;
}

void keepSurname(std::vector<ResultRow>& rows, const QString& surname) {
    std::erase_if(rows,
                  [&surname](const ResultRow& r) { return !r.cells.value(0).startsWith(surname); });
}

std::vector<ResultRow> scanRows(const QString& result, const QString& excluded) {
    // A page runs to megabytes: walk it with views instead of copying the rest at each part.
    std::vector<ResultRow> rows;
    QList<QStringView> parts = QStringView(result).split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.back().isEmpty()) parts.pop_back();  // the closing "|"
    rows.reserve(static_cast<std::size_t>(parts.size()));
    for (QStringView part : parts) {
        if (part.chopped(part.isEmpty() ? 0 : 1) == excluded) continue;
        rows.push_back(rowFromRecord(part.toString()));
    }
    return rows;
}

}  // namespace search
