#include "MemoHandoffs.h"

#include "MemoMessages.h"

namespace memo {
namespace {

// Until the window arrives, the command says so instead of doing nothing.
void notAvailable(const QString& what) {
    tell(what + QStringLiteral("은(는) 아직 사용할 수 없습니다."));
}

}  // namespace

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

void showPrintWindow(QWidget* /*owner*/, QTreeWidget* /*list*/) {
    notAvailable(QStringLiteral("인쇄 창"));
}

void showDialWindow(QWidget* /*owner*/, const search::DialValues& /*values*/) {
    notAvailable(QStringLiteral("전화 걸기 창"));
}

void openWebCall(QWidget* /*owner*/, const QString& /*number*/) {
    notAvailable(QStringLiteral("인터넷 전화"));
}

}  // namespace memo
