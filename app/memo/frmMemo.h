// The memo window: one pad of the current memo mode in its list (lvMemoH for people, lvMemoC
// for businesses), the toolbar and pop-up commands on it, and the memo store it holds open
// while it is loaded. The main window loads it hidden at every search-kind set-up, shows it
// modally from "메모보기" and saves selected results into a pad through saveFromMain(); the
// pad chooser, the entry dialog and the find dialog work on it.
#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>
#include <vector>

#include "MemoFormat.h"
#include "MemoStore.h"
#include "MemoTransfer.h"

class QAction;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui {
class frmMemo;
}

// What the pad chooser is asked to do: open a pad, save the memo list, or save the results
// the main window copies in.
enum class PadChooserRequest { Open, Save, FromMain };

class frmMemo : public QDialog {
    Q_OBJECT
public:
    explicit frmMemo(MemoMode mode, QWidget* parent = nullptr);
    ~frmMemo() override;  // unloads first when still loaded

    // The load: layout, column widths from the settings, then the memo store (compaction
    // check, creation when missing, open). False when the database could not be created
    // (E0005 was shown): the program then ends.
    bool loadWindow();
    // The unload: window size and column widths into the settings, the store closed, the
    // lists emptied.
    void unloadWindow();
    // Unloading by the main window (search-kind change, exit): the close handler, which asks
    // to save a changed pad, then unloadWindow().
    void unload();

    // "메모보기": shows the window modally; an empty list starts with the pad chooser.
    void showModal();
    // "메모하기": the pad chooser names a pad and saves into it the rows that `copy` (the
    // main window's loadMemoList) adds to the memo list.
    void saveFromMain(const std::function<MemoTransferResult()>& copy);
    // Shows the pad chooser for a request; QDialog::Accepted when it did its work.
    int showPadChooser(PadChooserRequest request,
                       const std::function<MemoTransferResult()>& copy = {});

    MemoMode mode() const { return m_mode; }
    MemoStore& store() { return m_store; }
    QTreeWidget* lvMemoH() const;
    QTreeWidget* lvMemoC() const;
    // The list of the memo mode, the one on show.
    QTreeWidget* memoList() const;

    bool isMemoChange() const { return m_isMemoChange; }
    void setMemoChange(bool changed) { m_isMemoChange = changed; }
    const QString& curMemoNoteName() const { return m_curMemoNoteName; }
    void setCurMemoNoteName(const QString& name) { m_curMemoNoteName = name; }
    bool curloadState() const { return m_curloadState; }
    void setCurloadState(bool state) { m_curloadState = state; }
    // txtTitle: the name of the pad the list belongs to; "" for a new pad. Read-only.
    QString titleText() const;
    void setTitleText(const QString& name);

    // The memo list as entries, in list order.
    std::vector<MemoEntry> entries() const;
    void appendEntry(const MemoEntry& entry);
    // Empties the memo list; what it showed is then no longer a change to be saved.
    void clearList();

    // The pad operations on the memo list (errors are shown to the user).
    bool exLoadMemo(const QString& name);
    int enSaveMemo(const QString& name, bool flgDup);
    bool emptyPad(const QString& name);
    bool padExists(const QString& name);

    // The pad chooser deleted or renamed this pad: the window follows when it is the open one.
    void padDeleted(const QString& name, bool noPadLeft);
    void padRenamed(const QString& oldName, const QString& newName);

    // Commands (toolbar, pop-up menu, list keys).
    void newPad();
    void openPadCommand();
    void savePadCommand();
    void addEntry();
    void editEntry();
    void deleteEntries();
    void selectAllToggle();
    void findCommand();
    void dialEntry();
    void printCommand();
    void webCallCommand();
    void closeHandler();
    void setCommandsEnabled(bool on);
    // The caption with the count and the commands' enabled state, after the list changed.
    void refreshCaption();

    QAction* toolbarButton(const QString& key) const { return m_buttons.value(key); }
    QMenu* popupMenu() const { return m_mnuPopUp; }

public slots:
    // Esc and the close box come here: the close handler runs, then the window hides.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // frmMemo.cpp
    void buildToolbar();
    void buildPopupMenu();
    void setUpList(QTreeWidget* list);
    void readColumnWidths();
    void writeColumnWidths();
    void sortByColumn(int column);
    // frmMemoCommands.cpp
    void toolbarCommand(const QString& key);
    void saveFromPrompt();
    QTreeWidgetItem* selectedItem() const;
    void setItemCells(QTreeWidgetItem* item, const MemoEntry& entry) const;
    MemoEntry itemCells(const QTreeWidgetItem* item) const;

    std::unique_ptr<Ui::frmMemo> m_ui;
    MemoMode m_mode;
    MemoStore m_store;
    bool m_loaded = false;
    bool m_isMemoChange = false;
    bool m_curloadState = false;
    bool m_allSelected = false;
    QString m_curMemoNoteName = memo::kNewPadName;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;  // the first header click sorts ascending
    QList<int> m_columnTwips;                         // widths as read, to write back unchanged

    QHash<QString, QAction*> m_buttons;
    QMenu* m_mnuPopUp = nullptr;
    QAction* m_popupSelectAll = nullptr;
};
