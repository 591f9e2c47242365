#include "BusinessSearch.h"

#include <QApplication>

#include "BusyCursor.h"
#include "Orvello.h"
#include "Prompt.h"
#include "Varlink.h"
#include "modAdditionalAPI.h"

namespace business {
namespace {

struct AreaCode {
    const char* inRecord;
    const char* shown;
};
constexpr AreaCode kAreaCodes[] = {{"0002", "02"},  {"0032", "032"}, {"0042", "042"},
                                   {"0051", "051"}, {"0052", "052"}, {"0053", "053"},
                                   {"0062", "062"}, {"0064", "064"}, {"0080", "080"}};

QString limitMessage(int limit) {
    return QStringLiteral(
               "결과가 %1건을 초과합니다.\r\n\r\nTelvia의 결과 출력은 %1건으로 제한되 있습니다.")
        .arg(limit);
}

}  // namespace

QString shownAreaCode(const QString& recordCode) {
    for (const AreaCode& a : kAreaCodes) {
        if (recordCode == QLatin1String(a.inRecord)) return QString::fromLatin1(a.shown);
    }
    return {};
}

search::ResultRow rowFromRecord(const QString& record) {
    const QStringList f = modAdditionalAPI::splitFieldList(record, QStringLiteral(":"));
    search::ResultRow row;
    row.cells = QStringList(kHeaders.size());
    row.cells[0] = f.value(0).isEmpty() ? QStringLiteral("_") : f.value(0);
    if (f.size() >= 6) {
        const QString& phone = f[5];
        const QString area = shownAreaCode(phone.mid(1, 4));
        row.cells[1] =
            area.isEmpty() ? phone : QLatin1Char('(') + area + QLatin1Char(')') + phone.mid(6, 12);
    }
    if (f.size() >= 3) {
        const QString& place = f[2];
        row.cells[2] = place.mid(1, 7);
        row.cells[3] = place.mid(place.indexOf(QLatin1Char(')')) + 2);
    }
    if (f.size() >= 2) {
        const qsizetype at = f[1].indexOf(QLatin1Char('@'));
        row.cells[4] = at < 0 ? f[1] : f[1].mid(at + 1);
    }
    if (f.size() >= 7) row.cells[5] = f[6];
    if (f.size() >= 8) row.tag = f.mid(7).join(QLatin1Char(':'));
    return row;
}

QStringList regionCodes(const QString& dongCode) {
    return modAdditionalAPI::splitFieldList(dongCode, QStringLiteral(":")).mid(0, kMaxRegionCodes);
}

qint32 BusinessSearch::run(QString companyName, const QString& dongCode, qint32 searchKindCode,
                           SearchStyle style, const std::function<void(search::ResultRow)>& add) {
    const qint16 limit = static_cast<qint16>(Orvello::leadingNumber(Orvello::Read(
        QStringLiteral("Option"), QStringLiteral("MaxDisplayCount"), QStringLiteral("0"))));
    // The hourglass while the library is asked, the pointer with an hourglass while its
    // records are listed, the default pointer at the end.
    BusyCursor cursor;
    qint32 shown = 0;
    for (QString code : regionCodes(dongCode)) {
        QApplication::changeOverrideCursor(Qt::WaitCursor);
        qint32 found = 0;
        if (searchKindCode == 0 && style == SearchStyle::kStandard) {
            QString none;
            found = m_library.comClickSubmit(companyName, none, code);
        } else if (searchKindCode == 0 && style == SearchStyle::kWord) {
            found = m_library.comRetSubmit(companyName, m_wordState, code);
        }
        QApplication::changeOverrideCursor(Qt::BusyCursor);
        if (found <= 0) continue;
        while (!m_library.isDone()) {
            const std::optional<QString> record = m_library.getNext();
            if (!record) break;
            add(rowFromRecord(modAdditionalAPI::TrimTrailingBlanks(*record)));
            ++shown;
            if (limit >= 1 && shown >= limit) {
                msgBox(limitMessage(limit), PromptButtons::Ok, PromptIcon::Information,
                       QStringLiteral("알림"));
                return shown;
            }
        }
    }
    return shown;
}

}  // namespace business
