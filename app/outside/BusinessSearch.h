// The business search: company names looked up in the business-directory library, once for
// each region code the caller passes (at most 10), listed as rows of six columns (company,
// telephone, postcode, address, category, department) up to the user's display limit.
// Widget-free: rows go to a callback as they come, the limit message through the prompt.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "ResultRows.h"

class Varlink;

namespace business {

// The list's columns and their widths in twips.
inline const QStringList kHeaders = {QStringLiteral("상 호"),    QStringLiteral("전 화"),
                                     QStringLiteral("우편번호"), QStringLiteral("주 소"),
                                     QStringLiteral("업 종"),    QStringLiteral("부 서")};
inline const QList<int> kHeaderTwips = {1800, 1200, 900, 4000, 2000, 1200};
inline constexpr int kMaxRegionCodes = 10;

// Which query the check-marked menu item chooses.
enum class SearchStyle { kStandard, kWord };

// The area code shown for the record's 4-digit one ("0002" gives "02"); "" for a code
// outside the table, whose telephone is shown as the record has it.
QString shownAreaCode(const QString& recordCode);

// The row of one record (trailing blanks already stripped). Columns the record has no field
// for stay empty; fields 8 onward, joined with ":", become the row's tag.
search::ResultRow rowFromRecord(const QString& record);

// The region codes of a ":"-separated text, the first kMaxRegionCodes of them.
QStringList regionCodes(const QString& dongCode);

class BusinessSearch {
public:
    explicit BusinessSearch(Varlink& library) : m_library(library) {}

    // Runs the search for `companyName` over the codes of `dongCode` and returns how many
    // rows went to `add`. Queries are made only while `searchKindCode` is 0. The display
    // limit ("Option"/"MaxDisplayCount", none below 1) ends the whole search with its
    // message once reached. A library whose getNext gives nothing ends that code's records.
    qint32 run(QString companyName, const QString& dongCode, qint32 searchKindCode,
               SearchStyle style, const std::function<void(search::ResultRow)>& add);

    // The word search's state, handed to the library and kept for the whole run.
    const QString& wordState() const { return m_wordState; }

private:
    Varlink& m_library;
    QString m_wordState;
};

}  // namespace business
