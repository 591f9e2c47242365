#include "frmMemo.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "BusyCursor.h"
#include "Orvello.h"
#include "modAdditionalAPI.h"
#include "ui_frmMemo.h"

namespace {

const QString kCaption = QStringLiteral("Telvia 메모장");
const QString kSection = QStringLiteral("Memo");

struct ToolbarEntry {
    const char* key;  // nullptr: a separator
    const char* caption;
    const char* tooltip;
    QStyle::StandardPixmap icon;
};
const ToolbarEntry kToolbar[] = {
    {"new", "새메모", "새 메모장 만들기", QStyle::SP_FileIcon},
    {"load", "열기", "메모장 열기", QStyle::SP_DialogOpenButton},
    {"save", "저장", "메모장 저장", QStyle::SP_DialogSaveButton},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {"add", "추가", "새 메모 입력", QStyle::SP_FileDialogNewFolder},
    {"edit", "수정", "메모 내용 수정", QStyle::SP_FileDialogContentsView},
    {"delete", "삭제", "선택한 메모 삭제", QStyle::SP_TrashIcon},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {"allselect", "전체선택", "메모 내용 전체 선택하기", QStyle::SP_DialogApplyButton},
    {"search", "찾기", "메모에서 찾기", QStyle::SP_FileDialogDetailedView},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {"dial", "전화", "선택한 항목으로 전화 걸기", QStyle::SP_DriveNetIcon},
    {"webcall", "Callora", "", QStyle::SP_ComputerIcon},
    {"print", "인쇄", "선택한 내용을 인쇄", QStyle::SP_FileDialogListView},
};

// Widths are kept in twips; a 96-dpi pixel is 15 twips.
constexpr int kTwipsPerPixel = 15;
// The smallest window: 7000 by 5000 twips.
constexpr int kMinWidthTwips = 7000;
constexpr int kMinHeightTwips = 5000;

}  // namespace

frmMemo::frmMemo(MemoMode mode, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMemo>()), m_mode(mode), m_store(mode) {
    m_ui->setupUi(this);
    setMinimumSize(kMinWidthTwips / kTwipsPerPixel, kMinHeightTwips / kTwipsPerPixel);
    setSizeGripEnabled(true);
    buildToolbar();
    buildPopupMenu();
    setUpList(m_ui->lvMemoH);
    setUpList(m_ui->lvMemoC);
    m_ui->lvMemoH->setHeaderLabels(memo::headers(MemoMode::People));
    m_ui->lvMemoC->setHeaderLabels(memo::headers(MemoMode::Business));
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &frmMemo::closeHandler);
}

frmMemo::~frmMemo() {
    if (m_loaded) unloadWindow();
}

void frmMemo::buildToolbar() {
    QToolBar* bar = m_ui->tbToolBar;
    for (const ToolbarEntry& e : kToolbar) {
        if (!e.key) {
            bar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(e.key);
        QAction* a = bar->addAction(style()->standardIcon(e.icon), QString::fromUtf8(e.caption));
        a->setObjectName(QStringLiteral("tbToolBar_") + key);
        a->setToolTip(QString::fromUtf8(e.tooltip));
        connect(a, &QAction::triggered, this, [this, key] { toolbarCommand(key); });
        m_buttons.insert(key, a);
    }
    modAdditionalAPI::SetFlatToolbar(bar);
}

void frmMemo::buildPopupMenu() {
    m_mnuPopUp = new QMenu(QStringLiteral("팝업메뉴"), this);
    m_mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    auto add = [this](const char* name, const QString& text, void (frmMemo::*command)()) {
        QAction* a = m_mnuPopUp->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (command) connect(a, &QAction::triggered, this, command);
        return a;
    };
    auto separator = [this](const char* name) {
        m_mnuPopUp->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    m_popupSelectAll =
        add("popupSelectAll", QStringLiteral("전체 선택"), &frmMemo::selectAllToggle);
    add("popupFind", QStringLiteral("찾     기"), &frmMemo::findCommand);
    separator("popupSep00");
    add("popupMemoAdd", QStringLiteral("편     집"), &frmMemo::editEntry);
    add("popupDelete", QStringLiteral("삭     제"), &frmMemo::deleteEntries);
    add("popupAdd", QStringLiteral("추     가"), &frmMemo::addEntry);
    separator("popupSep01");
    add("popupPhone", QStringLiteral("전화 걸기"), &frmMemo::dialEntry);
    add("popupPrintDM", QStringLiteral("라벨  인쇄"), nullptr);
    add("popupPrint", QStringLiteral("표 인쇄"), &frmMemo::printCommand);
    separator("popupSep02");
    add("popupCancel", QStringLiteral("취     소"), nullptr);
}

void frmMemo::setUpList(QTreeWidget* list) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setFont(QFont(QStringLiteral("돋움"), list->font().pointSize()));
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    list->installEventFilter(this);
    connect(list->header(), &QHeaderView::sectionClicked, this, &frmMemo::sortByColumn);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { editEntry(); });
    // The menu comes up when the right button is released, as the list's MouseUp.
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
        m_mnuPopUp->popup(list->viewport()->mapToGlobal(pos));
    });
}

QTreeWidget* frmMemo::lvMemoH() const {
    return m_ui->lvMemoH;
}

QTreeWidget* frmMemo::lvMemoC() const {
    return m_ui->lvMemoC;
}

QTreeWidget* frmMemo::memoList() const {
    return m_mode == MemoMode::People ? m_ui->lvMemoH : m_ui->lvMemoC;
}

QString frmMemo::titleText() const {
    return m_ui->txtTitle->text();
}

void frmMemo::setTitleText(const QString& name) {
    m_ui->txtTitle->setText(name);
}

bool frmMemo::loadWindow() {
    const BusyCursor busy;
    m_curMemoNoteName = memo::kNewPadName;
    const int icon = qRound(24 * sngDisplayScale);
    m_ui->tbToolBar->setIconSize(QSize(icon, icon));
    m_ui->lvMemoH->setVisible(m_mode == MemoMode::People);
    m_ui->lvMemoC->setVisible(m_mode == MemoMode::Business);
    readColumnWidths();
    modAdditionalAPI::SetFullRowSelect(memoList());
    m_loaded = true;

    switch (m_store.open()) {
        case MemoStore::OpenResult::Opened:
            break;
        case MemoStore::OpenResult::CreateFailed:
            memo::cannotCreateDatabase().show();
            return false;
        case MemoStore::OpenResult::OpenFailed:
            // The file is kept as it is; every pad command then reports its own failure.
            memo::cannotOpenPad(m_mode).show();
            break;
    }
    m_isMemoChange = false;
    return true;
}

void frmMemo::unloadWindow() {
    const BusyCursor busy;
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        Orvello::Save(kSection, QStringLiteral("Width"), QString::number(width() * kTwipsPerPixel));
        Orvello::Save(kSection, QStringLiteral("Height"),
                      QString::number(height() * kTwipsPerPixel));
    }
    writeColumnWidths();
    m_store.close();
    m_ui->lvMemoH->clear();
    m_ui->lvMemoC->clear();
    m_loaded = false;
}

void frmMemo::readColumnWidths() {
    const QString design = memo::defaultHeaderWidths(m_mode);
    const QStringList designWidths = design.split(QLatin1Char(':'));
    QString delimiter = QStringLiteral(":");
    const QStringList stored = modAdditionalAPI::splitFieldList(
        Orvello::Read(kSection, memo::headerWidthKey(m_mode), design), delimiter);
    QHeaderView* header = memoList()->header();
    m_columnTwips.clear();
    for (int i = 0; i < memo::columnCount(m_mode); ++i) {
        // A missing or unusable value leaves the column at its design width.
        int twips = i < stored.size() ? Orvello::leadingNumber(stored[i]) : 0;
        if (twips <= 0) twips = designWidths.value(i).toInt();
        m_columnTwips << twips;
        header->resizeSection(i, twips / kTwipsPerPixel);
    }
}

void frmMemo::writeColumnWidths() {
    QHeaderView* header = memoList()->header();
    QString text;
    for (int i = 0; i < memo::columnCount(m_mode); ++i) {
        // A column the user did not resize keeps the twips it was read with.
        const int pixels = header->sectionSize(i);
        const int read = m_columnTwips.value(i);
        text += QString::number(pixels == read / kTwipsPerPixel ? read : pixels * kTwipsPerPixel) +
                QLatin1Char(':');
    }
    Orvello::Save(kSection, memo::headerWidthKey(m_mode), text);
}

void frmMemo::sortByColumn(int column) {
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    memoList()->sortItems(column, m_sortOrder);
    memoList()->header()->setSortIndicatorShown(true);
    memoList()->header()->setSortIndicator(column, m_sortOrder);
}

std::vector<MemoEntry> frmMemo::entries() const {
    std::vector<MemoEntry> out;
    const QTreeWidget* list = memoList();
    out.reserve(static_cast<std::size_t>(list->topLevelItemCount()));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out.push_back(itemCells(list->topLevelItem(i)));
    return out;
}

void frmMemo::appendEntry(const MemoEntry& entry) {
    auto* item = new QTreeWidgetItem(memoList());
    setItemCells(item, entry);
}

void frmMemo::clearList() {
    memoList()->clear();
    m_isMemoChange = false;
}

void frmMemo::setItemCells(QTreeWidgetItem* item, const MemoEntry& entry) const {
    for (int c = 0; c < memo::columnCount(m_mode); ++c) item->setText(c, entry.value(c));
}

MemoEntry frmMemo::itemCells(const QTreeWidgetItem* item) const {
    MemoEntry cells;
    for (int c = 0; c < memo::columnCount(m_mode); ++c) cells << item->text(c);
    return cells;
}

void frmMemo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshCaption();
    // Each showing of an empty memo window starts with the pad chooser.
    if (!m_curloadState && memoList()->topLevelItemCount() == 0) {
        QTimer::singleShot(0, this, &frmMemo::openPadCommand);
    }
    m_curloadState = true;
}

void frmMemo::reject() {
    closeHandler();
    QDialog::reject();
}

void frmMemo::unload() {
    if (!m_loaded) return;
    closeHandler();
    unloadWindow();
}

bool frmMemo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memoList() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QLatin1String("*")) {
            selectAllToggle();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            deleteEntries();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
