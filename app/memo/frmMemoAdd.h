// The entry dialog: a new memo entry typed in, or the selected one edited. It returns the
// entry's cells and leaves the memo list to the memo window.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "MemoFormat.h"

namespace Ui {
class frmMemoAdd;
}

enum class EntryAction { Add, Edit };

class frmMemoAdd : public QDialog {
    Q_OBJECT
public:
    // `entry` fills the boxes when editing (ignored when adding).
    frmMemoAdd(MemoMode mode, EntryAction action, const MemoEntry& entry,
               QWidget* parent = nullptr);
    ~frmMemoAdd() override;

    // The entry as the boxes give it (valid after OK): the name, the telephone
    // "(" area ")" exchange "-" line, then the mode's other cells.
    const MemoEntry& entry() const { return m_entry; }
    // Box `index` of the control array txtName (0 to 8).
    QWidget* box(int index) const { return m_boxes[static_cast<std::size_t>(index)]; }
    QString boxText(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(int index, const QString& text);
    void okCommand();
    // Keeps typing within a box's limit; text the dialog fills in may be longer.
    void limitTyping(int index);

    std::unique_ptr<Ui::frmMemoAdd> m_ui;
    MemoMode m_mode;
    std::array<QWidget*, 9> m_boxes{};
    std::array<QString, 9> m_before;  // each box's text before the last change
    bool m_filling = false;
    MemoEntry m_entry;
};
