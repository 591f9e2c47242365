// Copying the search results the user selected into the memo window's list (the main
// window's loadMemoList). It reads the main window only through MemoTransferSource.
#pragma once

#include <QItemSelectionModel>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemView;
class frmMemo;

// What the copy reads of the main window: its search state and its two result lists.
struct MemoTransferSource {
    qint32 searchKindCode = 0;  // intSearchKindCode
    int searchMode = 0;         // intSearchMode
    bool dongResult = false;    // blnDongResult
    QAbstractItemView* lvResult = nullptr;
    QAbstractItemView* lvDongResult = nullptr;
};

struct MemoTransferResult {
    int added = 0;
    // The source rows the copy deselected, so that a save that fails can offer them again.
    QPointer<QItemSelectionModel> selection;
    QList<QPersistentModelIndex> deselected;
    void reselect() const;
};

// The source list is lvResult once the name search kind was set up (kind code 2) unless a
// dong-wide search shows its names in lvDongResult; before that, lvResult in search mode 1
// and nothing otherwise. Each selected row (in list order) is appended to the memo list of
// the memo window's mode, up to 3000 entries, and deselected; the user is told how many
// were added, or that nothing was selected. Marks the memo list changed; returns the count.
MemoTransferResult loadMemoList(const MemoTransferSource& source, frmMemo& memo);
