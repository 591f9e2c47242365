#include "frmMemoSearch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "ui_frmMemoSearch.h"

namespace {

// By option: the column compared, and the column the list is sorted by. The department
// option sorts by the fifth column and compares the sixth.
constexpr int kCompared[3] = {0, 1, 5};
constexpr int kSortKey[3] = {0, 1, 4};

}  // namespace

frmMemoSearch::frmMemoSearch(QTreeWidget* list, bool departmentEnabled, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMemoSearch>()), m_list(list) {
    m_ui->setupUi(this);
    m_ui->optSearch_2->setEnabled(departmentEnabled);
    m_ui->txtSearch->installEventFilter(this);
    for (QRadioButton* o : {m_ui->optSearch_0, m_ui->optSearch_1, m_ui->optSearch_2}) {
        connect(o, &QRadioButton::clicked, this, &frmMemoSearch::sortByOption);
    }
    connect(m_ui->cmdSearch, &QPushButton::clicked, this, &frmMemoSearch::findCommand);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    sortByOption();
    m_ui->txtSearch->setFocus();
}

frmMemoSearch::~frmMemoSearch() = default;

int frmMemoSearch::option() const {
    if (m_ui->optSearch_1->isChecked()) return 1;
    if (m_ui->optSearch_2->isChecked()) return 2;
    return 0;
}

void frmMemoSearch::sortByOption() {
    m_list->sortItems(kSortKey[option()], Qt::AscendingOrder);
}

bool frmMemoSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->txtSearch) {
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, m_ui->txtSearch, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                findCommand();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMemoSearch::findCommand() {
    if (m_ui->txtSearch->text().isEmpty()) {
        QApplication::beep();
        setWindowTitle(QStringLiteral("찾을 단어를 입력하세요."));
        m_ui->txtSearch->setFocus();
        return;
    }
    QTreeWidgetItem* first = nullptr;
    {
        const BusyCursor busy;
        const QString wanted = m_ui->txtSearch->text().toUpper();
        const int column = kCompared[option()];
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = m_list->topLevelItem(i);
            const bool match = item->text(column).toUpper().contains(wanted);
            item->setSelected(match);
            if (match && !first) {
                first = item;
                m_list->scrollToItem(item);
                // The first match becomes the current entry, which printing checks.
                m_list->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            }
        }
    }
    if (first) {
        accept();
        return;
    }
    QApplication::beep();
    setWindowTitle(QStringLiteral("찾는 내용이 존재하지 않습니다."));
    m_ui->txtSearch->setFocus();
}
