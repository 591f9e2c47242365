// The pad chooser: lists the pads of the memo window's database and opens one, saves the
// memo list as a pad, or saves the results the main window copies in; pads are renamed in
// place and deleted here too. It works on the memo window's open store and list.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "frmMemo.h"

class QListWidgetItem;

namespace Ui {
class frmMemoOpen;
}

class frmMemoOpen : public QDialog {
    Q_OBJECT
public:
    // `copy` is the main window's loadMemoList, used by PadChooserRequest::FromMain.
    frmMemoOpen(frmMemo& memo, PadChooserRequest request,
                std::function<MemoTransferResult()> copy = {}, QWidget* parent = nullptr);
    ~frmMemoOpen() override;

    // 0 nothing to do (no pad to open), 1 open, 2 save the memo list, 3 save from the main
    // window.
    int dialogMode() const { return m_mode; }

    void fillPadList();
    bool padExists(const QString& name) const;
    void okCommand();
    void deleteCommand();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveList(const QString& name);
    void saveResults(const QString& name);
    // The name box's text checked for saving; "" (after telling the user) when it will not do.
    QString nameToSave();
    void finishSave(int result, const QString& name);
    void renamed(QListWidgetItem* item);
    void revertLabel(QListWidgetItem* item);
    void selectFirstMatch(const QString& typed);
    void refreshCount();
    void setDeleteEnabled(bool on);

    std::unique_ptr<Ui::frmMemoOpen> m_ui;
    frmMemo& m_memo;
    std::function<MemoTransferResult()> m_copy;
    MemoTransferResult m_copied;
    int m_mode = 0;
    bool m_refilling = false;  // the list is being filled, not edited
    class QMenu* m_mnuPopup = nullptr;
};
