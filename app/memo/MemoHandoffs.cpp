#include "MemoHandoffs.h"

#include <QPointer>
#include <QTreeWidget>

#include "PrintRows.h"
#include "Prompt.h"
#include "frmDial.h"
#include "frmPrint.h"
#include "modAdditionalAPI.h"

namespace memo {

QString printSource(MemoMode mode) {
    return mode == MemoMode::People ? QStringLiteral("메모창:인명") : QStringLiteral("메모창:상호");
}

search::DialValues dialValues(MemoMode mode, const QStringList& cells) {
    // Name, area code and number as the result lists give them; no department from there.
    search::DialValues v = search::dialValues(cells, false, 0);
    if (mode == MemoMode::Business) v.department = cells.value(4);
    return v;
}

QString webCallNumber(const QString& telephone) {
    return search::webCallDigits(telephone);
}

void showPrintWindow(QWidget* owner, QTreeWidget* list) {
    // The print window stays up after the command ends and reads the rows at every
    // composition; it goes with its owner, the memo window, which holds the list.
    const QPointer<QTreeWidget> rows = list;
    frmPrint::showPrint(owner, strPrintSource, [rows] {
        return rows ? print::printRowsOf(*rows) : std::vector<print::PrintRow>();
    });
}

void showDialWindow(QWidget* owner, const search::DialValues& values) {
    frmDial::dial(owner, values.name, values.areaCode, values.number, values.department);
}

void openWebCall(QWidget* owner, const QString& number) {
    const QString error = modAdditionalAPI::OpenWithShell(owner, search::webCallAddress(number));
    if (!error.isEmpty()) {
        msgBox(error, PromptButtons::Ok, PromptIcon::Error, QStringLiteral("오류 (F0002)"));
    }
}

}  // namespace memo
