// Rows and composition inputs the print tests share: list rows shaped like the result and
// memo lists (name, telephone, postal code, address, then category, department, memo), and a
// fixed moment for the footer.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "TableDocument.h"

// Row i: "이름0007", "(02)700-0007", "100-007", "서울 종로구 7번지", "업종7", "부서7", "메모7".
inline QStringList listRow(int i) {
    const QString n = QString::number(i);
    return {QStringLiteral("이름%1").arg(i, 4, 10, QLatin1Char('0')),
            QStringLiteral("(02)700-%1").arg(i, 4, 10, QLatin1Char('0')),
            QStringLiteral("100-%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
            QStringLiteral("서울 종로구 ") + n + QStringLiteral("번지"),
            QStringLiteral("업종") + n,
            QStringLiteral("부서") + n,
            QStringLiteral("메모") + n};
}

// `count` rows; `selected(i)` says which are selected (all by default).
inline std::vector<print::PrintRow> listRows(int count,
                                             const std::function<bool(int)>& selected = {}) {
    std::vector<print::PrintRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) rows.push_back({listRow(i), !selected || selected(i)});
    return rows;
}

// 2024-03-05 (a Tuesday) 15:04:09.
inline QDateTime fixedMoment() {
    return QDateTime(QDate(2024, 3, 5), QTime(15, 4, 9));
}

inline print::ComposeInput composeInput(
    const QString& source, print::Orientation orientation = print::Orientation::Landscape) {
    return {source, QStringLiteral("전국판 Telvia 리스트"), orientation, print::defaultBodyFont(),
            fixedMoment()};
}
