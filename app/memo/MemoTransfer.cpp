#include "MemoTransfer.h"

#include <QAbstractItemView>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "MemoMessages.h"
#include "frmMemo.h"

namespace {

const QString kLimitPeople =
    QStringLiteral("메모장은 최대 3000건 까지만 전화번호를 메모할 수 있습니다.");
const QString kLimitBusiness = QStringLiteral("메모장은 최대 3000건 까지만 메모할 수 있습니다.");
const QString kAddedCount =
    QStringLiteral("%1건이 메모되었습니다\r\n메모장에는 %2건의 메모가 있습니다.");
const QString kSelectFirst = QStringLiteral("메모할 내용을 선택하세요.");

QAbstractItemView* sourceList(const MemoTransferSource& s) {
    if (s.searchKindCode == 2) return s.dongResult ? s.lvDongResult : s.lvResult;
    return s.searchMode == 1 ? s.lvResult : nullptr;
}

}  // namespace

void MemoTransferResult::reselect() const {
    if (!selection) return;
    for (const QPersistentModelIndex& i : deselected) {
        if (i.isValid())
            selection->select(i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

MemoTransferResult loadMemoList(const MemoTransferSource& source, frmMemo& memo) {
    const BusyCursor busy;
    MemoTransferResult result;
    bool limitReached = false;
    QTreeWidget* target = memo.memoList();
    // Name, telephone, postcode, address; for businesses also category and department.
    const int copied = memo.mode() == MemoMode::People ? 4 : 6;
    const MemoMode mode = memo.mode();

    QAbstractItemView* list = sourceList(source);
    const QAbstractItemModel* model = list ? list->model() : nullptr;
    QItemSelectionModel* selection = list ? list->selectionModel() : nullptr;
    result.selection = selection;
    for (int row = 0; model && selection && row < model->rowCount(); ++row) {
        if (!selection->isRowSelected(row, {})) continue;
        if (target->topLevelItemCount() > memo::kMaxEntries - 1) {
            const QString limit = mode == MemoMode::People ? kLimitPeople : kLimitBusiness;
            memo::tell(limit + QStringLiteral("\r\n\r\n") +
                           kAddedCount.arg(result.added).arg(target->topLevelItemCount()),
                       Beep::Yes);
            limitReached = true;
            break;
        }
        MemoEntry entry;
        for (int c = 0; c < memo::columnCount(mode); ++c) {
            entry << (c < copied ? model->index(row, c).data().toString() : QString());
        }
        memo.appendEntry(entry);
        ++result.added;
        const QPersistentModelIndex first = model->index(row, 0);
        selection->select(first, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        result.deselected << first;
    }
    if (result.added > 0 && !limitReached) {
        memo::tell(kAddedCount.arg(result.added).arg(target->topLevelItemCount()));
    } else if (result.added == 0 && !limitReached) {
        memo::tell(kSelectFirst);
    }
    memo.setMemoChange(true);
    return result;
}
