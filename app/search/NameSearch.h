// The main window's side of the name-search control, without widgets: candidate names for a
// typed text, the records of one name filtered to the chosen area, and the pages of the dong
// and surname scans. Every call goes to the control by DISPID on the window thread.
#pragma once

#include <QString>
#include <vector>

#include "ResultRows.h"

namespace zendari {
class ZendariClient;
}

namespace search {

inline constexpr int kCandidatePage = 30;       // names listed while typing
inline constexpr int kScanPage = 20000;         // names walked by one dong page
inline constexpr int kFullScanPage = 390000;    // names walked by "전체 찾기"
inline constexpr int kSurnameScanPage = 30000;  // names walked by a surname scan

// The fixed record texts that are never listed: the dong-code form among name results, the
// name form among scan results (configuration of the installation, Halvern.ini [SEARCH]).
struct ExcludedRecords {
    QString nameResult;
    QString scanResult;
    static ExcludedRecords fromHalvernIni();
};

// Up to 30 names from `name` on (upper-cased) in the region the control has selected.
std::vector<Candidate> listNames(zendari::ZendariClient& control, const QString& name);
// Up to 30 names whose initial consonants match `typed` (ㄱㅇㅅ, 김ㅇㅅ) in that region.
std::vector<Candidate> listNamesByInitials(zendari::ZendariClient& control, const QString& typed);

// Selects the control's region for an area code. Selecting reopens the region's index, which
// puts the scan cursor back to the first name; so the region is written only when it differs
// from the one selected last, and a dong scan continues from page to page.
class RegionSelection {
public:
    void select(zendari::ZendariClient& control, const QString& areaCode);
    void forget() { m_region = 0; }

private:
    int m_region = 0;  // 0: none selected (no region has that code)
};

struct NameRecords {
    std::vector<ResultRow> rows;
    bool limitReached = false;  // a record beyond the display limit was left out
};

// The records of a candidate ("first:count") that lie in `areaCode`, each row named `name`;
// at most `limit` rows when `limit` is above 0.
NameRecords nameRecords(zendari::ZendariClient& control, const QString& name,
                        const QString& firstAndCount, const QString& areaCode, int limit,
                        const QString& excluded);

// The rows of a scan result string ("record|record|..."), without the excluded one.
std::vector<ResultRow> scanRows(const QString& result, const QString& excluded);

// Keeps the rows whose name begins with `surname` (all of them for an empty surname).
void keepSurname(std::vector<ResultRow>& rows, const QString& surname);

}  // namespace search
