// The memo databases: one SQLCipher file per memo mode in the data folder, holding a
// catalogue of pad names and one table per pad. File names, fields, headers, settings keys
// and limits live here and nowhere else.
//
// Catalogue "MemoTableName": tableName (text of at most 50 characters) and padOrder, the
// place of the pad in the chooser (new pads go last; a renamed pad keeps its place).
// Pad table, named as the pad: the mode's text fields (at most 255 characters each, an empty
// cell stored as NULL) and memoOrder, the entry's place in the list as it was saved. The
// order columns are never shown; loads sort by them.
#pragma once

#include <QString>
#include <QStringList>

#include "startup/ProgramGlobals.h"

// The memo mode is the program-wide intMemoPadKind: 1 people pads, 0 business pads.
enum class MemoMode { Business = 0, People = 1 };

// One entry as the memo list holds it: the item text, then the sub-items in column order
// (five cells for people, seven for businesses).
using MemoEntry = QStringList;

inline MemoMode currentMemoMode() {
    return intMemoPadKind == 0 ? MemoMode::Business : MemoMode::People;
}

namespace memo {

inline constexpr char kSecret[] = "vrozt4817Kelp";
inline constexpr char kCatalogue[] = "MemoTableName";
inline constexpr char kCatalogueName[] = "tableName";
inline constexpr char kCatalogueOrder[] = "padOrder";
inline constexpr char kEntryOrder[] = "memoOrder";
inline constexpr char kCompactionFile[] = "tmp.tmp";
inline constexpr int kCatalogueNameSize = 50;
inline constexpr int kFieldSize = 255;

inline constexpr int kMaxEntries = 3000;
inline constexpr int kMaxPads = 100;
inline constexpr int kMaxNameLength = 20;
// A load of the memo window compacts its database when the counter has passed this value;
// so compaction runs on one load in every 502.
inline constexpr int kCompactAfter = 500;

// The name a pad has before it is saved.
inline const QString kNewPadName = QStringLiteral("새메모장");

// The database file of a mode, in the data folder.
inline QString databaseFileName(MemoMode mode) {
    return mode == MemoMode::People ? QStringLiteral("CDpm.db2") : QStringLiteral("CDpc.db");
}

// Field names in column order, as read and written.
inline QStringList fieldNames(MemoMode mode) {
    if (mode == MemoMode::People) return {"humName", "humPhone", "humzip", "humAdd", "humMemo"};
    return {"comName", "comPhone", "comZip", "comAdd", "comCate", "comDept", "comMemo"};
}
// Field names as the table is created (the business postcode is created "comzip"; field names
// are case-insensitive, so both spellings reach it).
inline QStringList createdFieldNames(MemoMode mode) {
    QStringList names = fieldNames(mode);
    if (mode == MemoMode::Business) names[2] = QStringLiteral("comzip");
    return names;
}
inline int columnCount(MemoMode mode) {
    return mode == MemoMode::People ? 5 : 7;
}
inline QStringList headers(MemoMode mode) {
    if (mode == MemoMode::People) return {"이름", "전화번호", "우편번호", "주소", "메모"};
    return {"상호", "전화번호", "우편번호", "주소", "업종", "부서", "메모"};
}

// Settings of section "Memo".
inline QString compactCounterKey(MemoMode mode) {
    return mode == MemoMode::People ? QStringLiteral("previousCompactH")
                                    : QStringLiteral("previousCompactC");
}
inline QString headerWidthKey(MemoMode mode) {
    return mode == MemoMode::People ? QStringLiteral("HeaderWidthH")
                                    : QStringLiteral("HeaderWidthC");
}
// Column widths in twips.
inline QString defaultHeaderWidths(MemoMode mode) {
    return mode == MemoMode::People ? QStringLiteral("1000:1000:1000:3000:1000")
                                    : QStringLiteral("1000:1000:1000:3000:2000:5000:1000");
}

}  // namespace memo
