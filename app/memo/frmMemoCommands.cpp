// The memo window's commands: the pad operations on its list, new/open/save, the entries,
// select-all, find, and the hand-offs to printing, dialling and the web call.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "MemoHandoffs.h"
#include "Orvello.h"
#include "Prompt.h"
#include "frmMemo.h"
#include "frmMemoAdd.h"
#include "frmMemoOpen.h"
#include "frmMemoSearch.h"
#include "startup/frmOption.h"
#include "ui_frmMemo.h"

namespace {

const QString kSaveQuestion = QStringLiteral("메모장을 저장하시겠습니까?");
const QString kUnsavedQuestion =
    QStringLiteral("저장되지 않은 메모장이 있습니다.\r\n지금 저장할까요?");
const QString kSaved = QStringLiteral("로 저장했습니다.");
const QString kNothingToSave = QStringLiteral("저장할 내용이 없습니다.");
const QString kFull = QStringLiteral("메모장은 최대 3000건 까지 메모할 수 있습니다.");
const QString kDeleteQuestion = QStringLiteral("메모를 삭제할까요?");
const QString kSelectToDelete = QStringLiteral("삭제할 내용을 선택하세요.");
const QString kDialNotSet =
    QStringLiteral("전화관련 환경이 설정되지 않았습니다.\r\n지금 설정하시겠습니까?");
const QString kSelectToDial = QStringLiteral("전화걸 대상을 선택하세요");
const QString kSelectToPrint = QStringLiteral(
    "현재 선택된 건수가 없습니다. 인쇄하고자하는 항목을\r\n"
    "Ctrl키 , Shift키를 누른상태에서 방향키나 왼쪽 마우스키를\r\n\r\n"
    "클릭하여 원하는 항목을 지정하여 인쇄할 수 있습니다.");
const QString kSelectAll = QStringLiteral("전체 선택");
const QString kDeselectAll = QStringLiteral("전체 선택 해제");

}  // namespace

using memo::ask;
using memo::tell;

void frmMemo::toolbarCommand(const QString& key) {
    if (key == QLatin1String("new")) {
        newPad();
        m_isMemoChange = false;
    } else if (key == QLatin1String("load")) {
        openPadCommand();
    } else if (key == QLatin1String("save")) {
        savePadCommand();
    } else if (key == QLatin1String("add")) {
        addEntry();
    } else if (key == QLatin1String("edit")) {
        editEntry();
    } else if (key == QLatin1String("delete")) {
        deleteEntries();
    } else if (key == QLatin1String("allselect")) {
        selectAllToggle();
    } else if (key == QLatin1String("search")) {
        findCommand();
    } else if (key == QLatin1String("dial")) {
        dialEntry();
    } else if (key == QLatin1String("webcall")) {
        webCallCommand();
    } else if (key == QLatin1String("print")) {
        printCommand();
    }
}

void frmMemo::setCommandsEnabled(bool on) {
    for (const char* name : {"popupSelectAll", "popupFind", "popupMemoAdd", "popupDelete",
                             "popupPhone", "popupPrint", "popupPrintDM"}) {
        if (auto* a = m_mnuPopUp->findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(on);
    }
    for (const char* key : {"edit", "delete", "allselect", "search", "dial", "webcall"}) {
        m_buttons.value(QString::fromLatin1(key))->setEnabled(on);
    }
}

void frmMemo::refreshCaption() {
    const int count = memoList()->topLevelItemCount();
    setWindowTitle(QStringLiteral("Telvia 메모장 : %1건").arg(count));
    setCommandsEnabled(count > 0);
    if (count == 0) {
        m_popupSelectAll->setText(kSelectAll);
        m_allSelected = false;
    }
}

bool frmMemo::padExists(const QString& name) {
    if (name.isEmpty()) return false;
    // A catalogue that cannot be read is taken to hold the pad: the operation on it then
    // reports the failure, where "no such pad" would pass it over in silence.
    const auto names = m_store.padNames();
    return !names || names->contains(name);
}

bool frmMemo::exLoadMemo(const QString& name) {
    const auto loaded = m_store.loadPad(name);
    if (!loaded) {
        memo::cannotOpenPad(m_mode).show();
        return false;
    }
    if (!loaded->empty()) {
        QTreeWidget* list = memoList();
        list->clear();
        for (const MemoEntry& e : *loaded) appendEntry(e);
        list->setCurrentItem(list->topLevelItem(0));
    }
    m_curMemoNoteName = name;
    setTitleText(name);
    return true;
}

int frmMemo::enSaveMemo(const QString& name, bool flgDup) {
    const std::vector<MemoEntry> list = entries();
    if (list.empty()) return 0;
    const MemoStore::SaveResult result = m_store.savePad(name, list, flgDup);
    if (result.code != 0) {
        result.message.show();
        return result.code;
    }
    m_curMemoNoteName = name;
    setTitleText(name);
    m_isMemoChange = false;
    return 0;
}

bool frmMemo::emptyPad(const QString& name) {
    if (m_store.emptyPad(name)) return true;
    memo::cannotClearPad(m_mode).show();
    return false;
}

void frmMemo::saveFromPrompt() {
    const QString name = titleText();
    if (!padExists(name)) {
        // A pad that was never stored (or was deleted meanwhile) gets a name first.
        if (memoList()->topLevelItemCount() > 0) showPadChooser(PadChooserRequest::Save);
        return;
    }
    const BusyCursor busy;
    if (memoList()->topLevelItemCount() == 0) {
        if (emptyPad(name)) m_isMemoChange = false;
    } else {
        enSaveMemo(name, true);
    }
}

void frmMemo::padDeleted(const QString& name, bool noPadLeft) {
    if (noPadLeft) m_curMemoNoteName = memo::kNewPadName;
    if (name == titleText()) {
        // The list no longer belongs to a stored pad: what it shows is unsaved now.
        m_curMemoNoteName = memo::kNewPadName;
        setTitleText(QString());
        m_isMemoChange = memoList()->topLevelItemCount() > 0;
    }
    if (noPadLeft) setTitleText(memo::kNewPadName);
}

void frmMemo::padRenamed(const QString& oldName, const QString& newName) {
    if (oldName != titleText()) return;
    setTitleText(newName);
    m_curMemoNoteName = newName;
}

void frmMemo::newPad() {
    if (memoList()->topLevelItemCount() > 0 && m_isMemoChange && ask(kSaveQuestion)) {
        saveFromPrompt();
    }
    clearList();
    refreshCaption();
    m_curMemoNoteName = memo::kNewPadName;
    setTitleText(QString());
}

void frmMemo::openPadCommand() {
    if (m_isMemoChange && ask(kSaveQuestion)) saveFromPrompt();
    m_ui->lvMemoH->clear();
    m_ui->lvMemoC->clear();
    m_isMemoChange = false;
    showPadChooser(PadChooserRequest::Open);
    refreshCaption();
}

void frmMemo::savePadCommand() {
    if (memoList()->topLevelItemCount() == 0) {
        const QString name = titleText();
        if (m_isMemoChange && padExists(name)) {
            // Every entry of a stored pad was deleted: the stored pad is emptied.
            if (emptyPad(name)) {
                m_isMemoChange = false;
                tell(name + kSaved);
            }
        } else {
            m_isMemoChange = false;
            tell(kNothingToSave);
        }
        return;
    }
    showPadChooser(PadChooserRequest::Save);
    refreshCaption();
}

int frmMemo::showPadChooser(PadChooserRequest request,
                            const std::function<MemoTransferResult()>& copy) {
    frmMemoOpen chooser(*this, request, copy, isVisible() ? this : parentWidget());
    return chooser.exec();
}

void frmMemo::showModal() {
    m_curloadState = false;
    exec();
}

void frmMemo::saveFromMain(const std::function<MemoTransferResult()>& copy) {
    showPadChooser(PadChooserRequest::FromMain, copy);
}

void frmMemo::addEntry() {
    if (memoList()->topLevelItemCount() > memo::kMaxEntries - 1) {
        tell(kFull, Beep::Yes);
    } else {
        frmMemoAdd dialog(m_mode, EntryAction::Add, {}, this);
        if (dialog.exec() == QDialog::Accepted) {
            appendEntry(dialog.entry());
            m_isMemoChange = true;
        }
    }
    refreshCaption();
}

void frmMemo::editEntry() {
    QTreeWidget* list = memoList();
    if (list->topLevelItemCount() == 0) {
        memo::nothingToEdit().show();
        return;
    }
    QTreeWidgetItem* item = selectedItem();
    if (!item) item = list->currentItem();
    if (!item) return;
    frmMemoAdd dialog(m_mode, EntryAction::Edit, itemCells(item), this);
    if (dialog.exec() == QDialog::Accepted) {
        setItemCells(item, dialog.entry());
        m_isMemoChange = true;
    }
}

void frmMemo::deleteEntries() {
    QTreeWidget* list = memoList();
    if (list->topLevelItemCount() > 0) {
        if (!ask(kDeleteQuestion)) return;
        int removed = 0;
        {
            const BusyCursor busy;
            for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
                if (!list->topLevelItem(i)->isSelected()) continue;
                delete list->takeTopLevelItem(i);
                ++removed;
            }
        }
        if (removed > 0) {
            m_isMemoChange = true;
        } else {
            tell(kSelectToDelete);
        }
    }
    refreshCaption();
}

void frmMemo::selectAllToggle() {
    QTreeWidget* list = memoList();
    if (list->topLevelItemCount() == 0) return;
    const BusyCursor busy;
    if (!m_allSelected) {
        list->selectAll();
        m_popupSelectAll->setText(kDeselectAll);
        m_allSelected = true;
    } else {
        list->clearSelection();
        m_popupSelectAll->setText(kSelectAll);
        m_allSelected = false;
    }
}

void frmMemo::findCommand() {
    if (memoList()->topLevelItemCount() == 0) return;
    frmMemoSearch dialog(memoList(), m_mode == MemoMode::Business, this);
    dialog.exec();
}

QTreeWidgetItem* frmMemo::selectedItem() const {
    QTreeWidget* list = memoList();
    if (QTreeWidgetItem* current = list->currentItem(); current && current->isSelected()) {
        return current;
    }
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void frmMemo::dialEntry() {
    if (Orvello::Read(QStringLiteral("Option"), QStringLiteral("ComPort"), QString()).isEmpty()) {
        if (ask(kDialNotSet, Beep::Yes)) {
            frmOption options(this);
            options.exec();
        }
        return;
    }
    const QTreeWidgetItem* item = selectedItem();
    if (!item) {
        tell(kSelectToDial);
        return;
    }
    memo::showDialWindow(this, memo::dialValues(m_mode, itemCells(item)));
}

void frmMemo::printCommand() {
    strPrintSource = memo::printSource(m_mode);
    const QTreeWidgetItem* current = memoList()->currentItem();
    if (current && current->isSelected()) {
        memo::showPrintWindow(this, memoList());
    } else {
        tell(kSelectToPrint);
    }
}

void frmMemo::webCallCommand() {
    const QTreeWidgetItem* item = selectedItem();
    if (!item) return;
    memo::openWebCall(this, memo::webCallNumber(item->text(1)));
}

void frmMemo::closeHandler() {
    if (m_isMemoChange && ask(kUnsavedQuestion)) {
        saveFromPrompt();
        newPad();
    }
    clearList();
    m_curMemoNoteName = memo::kNewPadName;
    setTitleText(QString());
    refreshCaption();
}
