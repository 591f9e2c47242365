// The find dialog: selects every entry of the memo list whose name, telephone or department
// contains the typed text (case-insensitive), and sorts the list by the chosen field.
#pragma once

#include <QDialog>
#include <memory>

class QTreeWidget;

namespace Ui {
class frmMemoSearch;
}

class frmMemoSearch : public QDialog {
    Q_OBJECT
public:
    // `list` is the memo list it finds in; the department option is offered for businesses.
    frmMemoSearch(QTreeWidget* list, bool departmentEnabled, QWidget* parent = nullptr);
    ~frmMemoSearch() override;

    void findCommand();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int option() const;
    void sortByOption();

    std::unique_ptr<Ui::frmMemoSearch> m_ui;
    QTreeWidget* m_list;
};
