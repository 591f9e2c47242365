// The result lists and their commands: sorting, select-all, the pop-up menu, printing,
// dialling, the web call and the companion programs.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTreeView>

#include "BusinessCommands.h"
#include "BusyCursor.h"
#include "Orvello.h"
#include "PrintRows.h"
#include "Prompt.h"
#include "frmDial.h"
#include "frmMain.h"
#include "frmPrint.h"
#include "startup/ProgramGlobals.h"
#include "startup/frmOption.h"
#include "ui_frmMain.h"

namespace {

const QString kDialNotSet =
    QStringLiteral("전화걸기관련 환경이 설정되지 않았습니다.\r\n\r\n지금 설정하시겠습니까?");
const QString kWebCallTitle = QStringLiteral("Callora(한국통신 인터넷 폰)");
const QString kWebCallPrompt = QStringLiteral(
    "\r\n  전화번호를 먼저 입력해야 합니다.\r\n\r\n  숫자로만 입력하세요\r\n\r\n  (예)0212345678");
const QString kWebCallNoDigits = QStringLiteral("전화번호를 숫자로 입력하세요.");
const QString kCompanionMissingTitle = QStringLiteral("오류 (F0003)");
const QString kCompanionMissing = QStringLiteral("프로그램을 찾을 수 없습니다.\r\n\r\n%1");

// Twips as pixels on a 96-dpi screen.
int twipsToPixels(int twips) {
    return twips / 15;
}

// The row of a list that a command acts on: the current row when it is selected, else the
// first selected row; -1 when nothing is selected.
int selectedRow(const QTreeView* view) {
    const QItemSelectionModel* sel = view->selectionModel();
    if (!sel) return -1;
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && sel->isRowSelected(current.row(), {})) return current.row();
    const QModelIndexList rows = sel->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

}  // namespace

void frmMain::connectResults() {
    for (QTreeView* list : {m_ui->lvResult, m_ui->lvDongResult}) {
        list->header()->setSectionsClickable(true);
        list->header()->setSortIndicatorShown(true);
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, list](int column) { sortList(list, column); });
        // The pop-up comes with the right button's release over the list, or with the menu key.
        list->setContextMenuPolicy(Qt::DefaultContextMenu);
        list->viewport()->setContextMenuPolicy(Qt::DefaultContextMenu);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    struct Companion {
        QAction* action;
        int menu;
        int index;
    };
    const Companion companions[] = {{m_ui->popupAddInfo_0, 1, 0},  {m_ui->popupAddInfo_1, 1, 1},
                                    {m_ui->popupAddInfo_2, 1, 2},  {m_ui->mnuAddInfo2_0, 2, 0},
                                    {m_ui->popupAddInfo2_1, 2, 1}, {m_ui->popupAddInfo2_2, 2, 2},
                                    {m_ui->popupAddInfo3_0, 3, 0}, {m_ui->popupAddInfo3_1, 3, 1}};
    for (const Companion& c : companions) {
        connect(c.action, &QAction::triggered, this,
                [this, menu = c.menu, index = c.index] { startCompanion(menu, index); });
    }
}

void frmMain::setUpList(QTreeView* view, ResultListModel* model) {
    view->setModel(model);
    view->setSortingEnabled(false);  // the header click sorts, alternating per list
    view->header()->setStretchLastSection(true);
    view->header()->setHighlightSections(false);
}

void frmMain::showListHeaders(QTreeView* view, const QStringList& headers,
                              const QList<int>& twips) {
    auto* model = static_cast<ResultListModel*>(view->model());
    model->setHeaders(headers);
    view->header()->setSortIndicator(-1, Qt::AscendingOrder);
    for (int i = 0; i < twips.size(); ++i) {
        view->header()->resizeSection(i, std::max(60, twipsToPixels(twips[i]) * 3 / 2));
    }
}

void frmMain::sortList(QTreeView* list, int column) {
    Qt::SortOrder& order = list == m_ui->lvResult ? m_resultOrder : m_dongOrder;
    order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    static_cast<ResultListModel*>(list->model())->sort(column, order);
    list->header()->setSortIndicator(column, order);
}

void frmMain::showPopup(QTreeView* view, const QPoint& pos) {
    for (QAction* a : m_mnuPopUp->actions()) {
        const QString name = a->objectName();
        if (name == QLatin1String("mnuSep0") || name == QLatin1String("mnuSep1"))
            a->setVisible(true);
    }
    for (QAction* a : {m_popupFront, m_popupSelectAll, m_popupPhone, m_popupMemo}) {
        a->setVisible(true);
    }
    m_mnuPopUp->popup(view->viewport()->mapToGlobal(pos));
}

// The events of lvResult and lvDongResult: "*" selects all, the right button's release over
// the rows or the menu key brings up the pop-up. True when handled.
bool frmMain::resultListEvent(QObject* watched, QEvent* event) {
    QTreeView* list = watched == m_ui->lvResult || watched == m_ui->lvResult->viewport()
                          ? m_ui->lvResult
                          : m_ui->lvDongResult;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->text() != QLatin1String("*")) return false;
            selectAll();
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::RightButton || watched != list->viewport()) return false;
            showPopup(list, mouse->position().toPoint());
            return true;
        }
        case QEvent::ContextMenu: {
            const auto* menu = static_cast<QContextMenuEvent*>(event);
            if (menu->reason() != QContextMenuEvent::Keyboard) return true;  // the release shows it
            const QRect current = list->visualRect(list->currentIndex());
            showPopup(list, current.isValid() ? current.center() : QPoint(0, 0));
            return true;
        }
        default:
            return false;
    }
}

QTreeView* frmMain::resultList() const {
    return m_ui->lvResult;
}

QTreeView* frmMain::dongList() const {
    return m_ui->lvDongResult;
}

QTreeView* frmMain::commandList() const {
    return m_pane == Pane::Result ? m_ui->lvResult : m_ui->lvDongResult;
}

void frmMain::selectAll() {
    const BusyCursor busy;
    QTreeView* list = commandList();
    const QAbstractItemModel* model = list->model();
    const int rows = model->rowCount();
    if (rows == 0) return;
    // The toggle follows what the list shows: a list with every row selected is cleared, any
    // other is selected whole (a new search leaves nothing selected, whatever came before).
    const bool allSelected =
        list->selectionModel()->selectedRows().size() == static_cast<qsizetype>(rows);
    if (allSelected) {
        list->selectionModel()->clearSelection();
        m_popupSelectAll->setText(QStringLiteral("전체 선택"));
    } else {
        const QItemSelection all(model->index(0, 0),
                                 model->index(rows - 1, model->columnCount() - 1));
        list->selectionModel()->select(all, QItemSelectionModel::Select);
        m_popupSelectAll->setText(QStringLiteral("전체 선택 해제"));
    }
}

MemoTransferResult frmMain::loadMemoList() {
    return ::loadMemoList({m_searchKindCode, static_cast<int>(m_searchMode), m_dongResult,
                           m_ui->lvResult, m_ui->lvDongResult},
                          *m_memo);
}

QString frmMain::printCommand() {
    strPrintSource =
        search::printSource(m_searchKindCode, m_searchMode, m_dongResult, strPrintSource);
    return strPrintSource;
}

std::optional<search::DialValues> frmMain::dialCommand() {
    if (Orvello::Read(QStringLiteral("Option"), QStringLiteral("ComPort"), QString()).isEmpty()) {
        if (msgBox(kDialNotSet, PromptButtons::YesNo, PromptIcon::Question, QStringLiteral("확인"),
                   Beep::Yes) == PromptAnswer::Yes) {
            frmOption options(this);
            options.exec();
        }
        return std::nullopt;
    }
    const QTreeView* list = m_searchMode == SearchMode::Name    ? m_ui->lvResult
                            : listsIntoDongResult(m_searchMode) ? m_ui->lvDongResult
                                                                : nullptr;
    QStringList cells;
    if (list) {
        const int row = selectedRow(list);
        const auto* model = static_cast<const ResultListModel*>(list->model());
        if (row >= 0) cells = model->row(row).cells;
    }
    return search::dialValues(cells, list == m_ui->lvResult, m_searchKindCode);
}

QString frmMain::webCall() {
    QString number;
    if (m_tbPrint->isEnabled()) {
        const QTreeView* list = isNameKind() ? m_ui->lvResult : m_ui->lvDongResult;
        const int row = selectedRow(list);
        if (row < 0) return {};
        number =
            search::webCallDigits(static_cast<const ResultListModel*>(list->model())->cell(row, 1));
    } else {
        const std::optional<QString> typed = inputBox(kWebCallPrompt, kWebCallTitle, QString());
        if (!typed || typed->isEmpty()) return {};
        // The box asks for digits only: what else was typed does not go into the address.
        number = search::webCallDigits(*typed);
        if (number.isEmpty()) {
            msgBox(kWebCallNoDigits, PromptButtons::Ok, PromptIcon::Information,
                   QStringLiteral("알림"));
            return {};
        }
    }
    const QString address = search::webCallAddress(number);
    openAddress(address);
    return address;
}

void frmMain::openPrintWindow() {
    const QString source = printCommand();
    QTreeView* list = source == QStringLiteral("동결과:인명") ? m_ui->lvDongResult : m_ui->lvResult;
    frmPrint::showPrint(this, source, [list] { return print::printRowsOf(*list); });
}

void frmMain::openDialWindow() {
    if (const auto v = dialCommand())
        frmDial::dial(this, v->name, v->areaCode, v->number, v->department);
}

void frmMain::enSubmitClickMulti(const QString& comName, const QString& DongCode) {
    showListHeaders(m_ui->lvResult, business::kHeaders, business::kHeaderTwips);  // empties it
    m_foundCount = m_business->run(comName, DongCode, m_searchKindCode, *m_resultModel);
    m_resultOrder = Qt::DescendingOrder;  // the list is kept sorted, by company ascending
    sortList(m_ui->lvResult, 0);
    if (m_foundCount > 0) {
        m_ui->lvResult->setCurrentIndex(m_resultModel->index(0, 0));
        setSearchMode(SearchMode::Name);
    }
}

void frmMain::enMnuStandardSearchClick() {
    m_business->mnuStandardSearchClick();
}

void frmMain::businessSearchFromOutside(const QString& comName, const QString& DongCode) {
    // The window sets up the name search kind as it loads, and the business search asks the
    // library only before that: a search from outside runs as before it, and the kind stays.
    const qint32 kind = std::exchange(m_searchKindCode, 0);
    m_localCount = 0;
    enSubmitClickMulti(comName, DongCode);
    m_searchKindCode = kind;
    showPanes(Pane::Result);
    setResultCommands(m_foundCount > 0);
    setStatus(3, m_foundCount > 0 ? QStringLiteral("%1건이 검색되었습니다.").arg(m_foundCount)
                                  : QString());
}

void frmMain::startCompanion(int menu, int index) {
    const QString line = search::companionCommandLine(menu, index);
    if (line.isEmpty()) return;
    QStringList parts = search::splitCommandLine(line);
    const QString program = strBinPath + parts.takeFirst();
    // Nothing waits for the program; one that is missing or cannot start is named.
    if (!QFileInfo(program).isExecutable() ||
        !QProcess::startDetached(program, parts, strBinPath)) {
        msgBox(kCompanionMissing.arg(QDir::toNativeSeparators(program)), PromptButtons::Ok,
               PromptIcon::Error, kCompanionMissingTitle);
    }
}
