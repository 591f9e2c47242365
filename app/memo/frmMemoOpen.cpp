#include "frmMemoOpen.h"

#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "MemoNames.h"
#include "Prompt.h"
#include "ui_frmMemoOpen.h"

namespace {

const QString kNoPads = QStringLiteral("저장된 메모장이 없습니다.");
const QString kEnterName = QStringLiteral("저장할 메모장 이름을 입력하세요.");
const QString kNameHint = QStringLiteral("메모장 이름을 입력하세요.");
const QString kCount = QStringLiteral("메모장 개수 : %1");
const QString kOverwrite = QStringLiteral("메모장 \"%1\" 으로 저장하시겠습니까?");
const QString kAppend =
    QStringLiteral("동일한 이름의 메모장이 존재합니다.\r\n추가 해서 쓰시겠습니까?");
const QString kDelete = QStringLiteral("메모장 \"%1\"을(를) 삭제하시겠습니까?");
const QString kTooLong = QStringLiteral(
    "메모장 이름의 최대길이는 20자 입니다.\r\n\r\n입력하신 이름은 \"%1\"으로 저장하게 "
    "됩니다.\r\n계속 하시겠습니까?");
constexpr int kNameRole = Qt::UserRole;  // the stored name, while the label is being edited

}  // namespace

using memo::ask;
using memo::tell;

frmMemoOpen::frmMemoOpen(frmMemo& memo, PadChooserRequest request,
                         std::function<MemoTransferResult()> copy, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::frmMemoOpen>()),
      m_memo(memo),
      m_copy(std::move(copy)) {
    m_ui->setupUi(this);
    QListWidget* list = m_ui->lvMemoNoteName;
    list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* w :
         std::initializer_list<QWidget*>{list, m_ui->txtTableName, m_ui->cmdOK, m_ui->cmdCancel}) {
        w->installEventFilter(this);
    }
    m_mnuPopup = new QMenu(QStringLiteral("팝업메뉴"), this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    QAction* popupDelete = m_mnuPopup->addAction(QStringLiteral("삭제"));
    popupDelete->setObjectName(QStringLiteral("popupDelete"));
    m_mnuPopup->addSeparator()->setObjectName(QStringLiteral("popupSep"));
    m_mnuPopup->addAction(QStringLiteral("취소"))->setObjectName(QStringLiteral("popupCancel"));

    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmMemoOpen::okCommand);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->cmdDelete, &QPushButton::clicked, this, &frmMemoOpen::deleteCommand);
    connect(popupDelete, &QAction::triggered, this, &frmMemoOpen::deleteCommand);
    connect(list, &QListWidget::itemDoubleClicked, this, &frmMemoOpen::okCommand);
    connect(list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { m_ui->txtTableName->setText(item->text()); });
    connect(list, &QListWidget::itemChanged, this, &frmMemoOpen::renamed);
    connect(list, &QWidget::customContextMenuRequested, this, [this, popupDelete](QPoint pos) {
        popupDelete->setEnabled(m_ui->cmdDelete->isEnabled());
        m_mnuPopup->popup(m_ui->lvMemoNoteName->viewport()->mapToGlobal(pos));
    });
    connect(m_ui->txtTableName, &QLineEdit::textChanged, this, &frmMemoOpen::selectFirstMatch);

    // Load: the pads, then the mode the memo window asked for.
    fillPadList();
    setDeleteEnabled(false);
    switch (request) {
        case PadChooserRequest::Open:
            m_mode = list->count() > 0 ? 1 : 0;
            setWindowTitle(QStringLiteral("메모장 열기"));
            m_ui->lblNotice->hide();
            m_ui->txtTableName->hide();
            list->setFocus();
            break;
        case PadChooserRequest::Save:
        case PadChooserRequest::FromMain:
            m_mode = request == PadChooserRequest::Save ? 2 : 3;
            setWindowTitle(QStringLiteral("메모장 저장"));
            m_ui->lblNotice->setText(m_mode == 2 ? kEnterName : kNameHint);
            m_ui->txtTableName->setText(m_memo.curMemoNoteName());
            m_ui->txtTableName->setFocus();
            break;
    }
}

frmMemoOpen::~frmMemoOpen() = default;

void frmMemoOpen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_mode != 0) return;
    QTimer::singleShot(0, this, [this] {
        tell(kNoPads);
        reject();
    });
}

void frmMemoOpen::fillPadList() {
    QListWidget* list = m_ui->lvMemoNoteName;
    m_refilling = true;
    list->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString& name : m_memo.store().padNames().value_or(QStringList())) {
        auto* item = new QListWidgetItem(icon, name, list);
        item->setData(kNameRole, name);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    if (list->count() > 0) list->setCurrentRow(0);
    m_refilling = false;
    refreshCount();
}

bool frmMemoOpen::padExists(const QString& name) const {
    const QListWidget* list = m_ui->lvMemoNoteName;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(kNameRole).toString() == name) return true;
    }
    return false;
}

void frmMemoOpen::refreshCount() {
    m_ui->lblCount->setText(kCount.arg(m_ui->lvMemoNoteName->count()));
}

void frmMemoOpen::setDeleteEnabled(bool on) {
    m_ui->cmdDelete->setEnabled(on);
}

void frmMemoOpen::selectFirstMatch(const QString& typed) {
    if (typed.isEmpty()) return;
    QListWidget* list = m_ui->lvMemoNoteName;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().toUpper().startsWith(typed.toUpper())) {
            list->setCurrentRow(i);
            list->scrollToItem(list->item(i));
            return;
        }
    }
}

bool frmMemoOpen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        setDeleteEnabled(watched == m_ui->lvMemoNoteName);
    } else if (watched == m_ui->txtTableName && event->type() == QEvent::FocusOut) {
        m_ui->txtTableName->setText(m_ui->txtTableName->text().toUpper());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == m_ui->txtTableName && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            m_ui->txtTableName->setText(m_ui->txtTableName->text().toUpper());
            okCommand();
            return true;
        }
        if (watched == m_ui->lvMemoNoteName && key == Qt::Key_Delete &&
            m_ui->cmdDelete->isEnabled()) {
            deleteCommand();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMemoOpen::okCommand() {
    switch (m_mode) {
        case 1: {
            const QListWidgetItem* item = m_ui->lvMemoNoteName->currentItem();
            if (!item) {
                m_memo.setMemoChange(false);
                accept();
                return;
            }
            const QString name = item->data(kNameRole).toString();
            bool loaded;
            {
                const BusyCursor busy;
                loaded = m_memo.exLoadMemo(name);
            }
            if (!loaded) return;  // told; the user may choose another pad or cancel
            m_memo.setCurMemoNoteName(name);
            m_memo.setMemoChange(false);
            accept();
            return;
        }
        case 2:
        case 3: {
            const QString name = nameToSave();
            if (name.isEmpty()) return;
            if (m_mode == 2) {
                saveList(name);
            } else {
                saveResults(name);
            }
            return;
        }
        default:
            return;
    }
}

QString frmMemoOpen::nameToSave() {
    const QString name = m_ui->txtTableName->text();
    if (const QString bad = memo::findBadNameChars(name); !bad.isEmpty()) {
        memo::badPadName(bad).show();
        return {};
    }
    if (name.isEmpty()) {
        tell(kEnterName);
        m_ui->txtTableName->setFocus();
    }
    return name;
}

void frmMemoOpen::saveList(const QString& name) {
    int result;
    if (padExists(name)) {
        if (!ask(kOverwrite.arg(name))) {
            m_ui->txtTableName->setFocus();
            return;
        }
        const BusyCursor busy;
        result = m_memo.enSaveMemo(name, true);
    } else if (m_ui->lvMemoNoteName->count() >= memo::kMaxPads) {
        memo::tooManyPads().show();
        return;
    } else {
        const BusyCursor busy;
        result = m_memo.enSaveMemo(name, false);
    }
    if (result != 0) return;  // the store told why; another name may do
    m_memo.setCurMemoNoteName(name);
    m_memo.setMemoChange(false);
    accept();
}

void frmMemoOpen::saveResults(const QString& name) {
    const bool exists = padExists(name);
    if (exists && !ask(kAppend)) {
        m_ui->txtTableName->setFocus();
        return;
    }
    if (!exists && m_ui->lvMemoNoteName->count() >= memo::kMaxPads) {
        memo::tooManyPads().show();
        return;
    }
    m_memo.clearList();
    // The stored entries come first; without them the save would replace the pad.
    if (exists && !m_memo.exLoadMemo(name)) return;
    m_copied = m_copy ? m_copy() : MemoTransferResult{};
    if (m_copied.added == 0) {
        m_memo.setMemoChange(false);
        accept();
        return;
    }
    int result;
    {
        const BusyCursor busy;
        result = m_memo.enSaveMemo(name, exists);
    }
    if (result != 0) {
        // The results stay selected, so another name or a retry finds them again.
        m_copied.reselect();
        return;
    }
    m_memo.setCurMemoNoteName(name);
    m_memo.clearList();
    accept();
}

void frmMemoOpen::deleteCommand() {
    const QListWidgetItem* item = m_ui->lvMemoNoteName->currentItem();
    if (!item) return;
    const QString name = item->data(kNameRole).toString();
    if (!ask(kDelete.arg(name))) {
        refreshCount();
        return;
    }
    if (!m_memo.store().deletePad(name)) memo::cannotClearPad(m_memo.mode()).show();
    fillPadList();
    refreshCount();
    m_memo.padDeleted(name, m_ui->lvMemoNoteName->count() == 0);
}

void frmMemoOpen::revertLabel(QListWidgetItem* item) {
    m_refilling = true;
    item->setText(item->data(kNameRole).toString());
    m_refilling = false;
}

void frmMemoOpen::renamed(QListWidgetItem* item) {
    if (m_refilling) return;
    const QString oldName = item->data(kNameRole).toString();
    QString label = item->text();
    if (label.size() > memo::kMaxNameLength) {
        label.truncate(memo::kMaxNameLength);
        if (!ask(kTooLong.arg(label))) return revertLabel(item);
    }
    // An unchanged or emptied label cancels the edit without a word.
    if (label.isEmpty() || label == oldName) return revertLabel(item);
    if (const QString bad = memo::findBadNameChars(label); !bad.isEmpty()) {
        memo::badPadName(bad).show();
        return revertLabel(item);
    }
    if (padExists(label)) {
        memo::duplicateName().show();
        return revertLabel(item);
    }
    switch (m_memo.store().renamePad(oldName, label)) {
        case MemoStore::RenameResult::CopyFailed:
            memo::renameCopyFailed().show();
            return revertLabel(item);
        case MemoStore::RenameResult::DropFailed:
            memo::renameDropFailed().show();
            return revertLabel(item);
        case MemoStore::RenameResult::Renamed:
            break;
    }
    m_refilling = true;
    item->setText(label);
    item->setData(kNameRole, label);
    m_refilling = false;
    m_memo.padRenamed(oldName, label);
}
