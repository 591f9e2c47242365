// The search kinds, the input state, the search command, the toolbar's first two commands
// and the keys of txtSearch.
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "Orvello.h"
#include "frmMain.h"
#include "frmMemo.h"
#include "search/ResultRows.h"
#include "startup/ProgramGlobals.h"
#include "ui_frmMain.h"

namespace {

const QString kNameKind = QStringLiteral("인명검색");
const QString kDefaultName = QStringLiteral("이곳에 이름을 입력하세요");
const QString kAdvertiserSite = QStringLiteral("https://ad.telvia.example/");

}  // namespace

void frmMain::connectSearchKind() {
    connect(m_ui->cmbSearchKind, &QComboBox::activated, this, [this] { setUpSearchKind(); });
    connect(m_ui->txtSearch, &QLineEdit::textChanged, this, &frmMain::onSearchTextChanged);
    connect(m_ui->cmdSearch, &QPushButton::clicked, this, &frmMain::searchCommand);
    connect(m_ui->mnuPrint, &QAction::triggered, this, &frmMain::openPrintWindow);
    m_ui->txtSearch->installEventFilter(this);
    m_ui->txtArea->installEventFilter(this);
    m_ui->lvSearch->installEventFilter(this);
}

bool frmMain::isNameKind() const {
    return m_ui->cmbSearchKind->currentText() == kNameKind;
}

void frmMain::setUpSearchKind() {
    // 1.
    m_ui->txtSearch->clear();
    setStatus(3, QString());
    // 2.
    requestTree();
    m_dongResult = false;  // the dong list is emptied below: printing takes lvResult
    m_dongListed = false;
    clearList(m_ui->lvDongResult);
    setKindCommands(isNameKind());
    if (isNameKind()) {
        showPanes(Pane::Search);
        showSearchBox(SearchBar::Box);
        // The candidates are on show, no results: the input state's commands.
        setResultCommands(false);
        m_searchKindCode = 2;
        setSearchMode(SearchMode::Name);
        clearList(m_ui->lvSearch);
        m_ui->txtSearch->setText(
            Orvello::Read(QStringLiteral("CurrentSearch"), QStringLiteral("Human"), kDefaultName));
        ListNames();
    } else {
        setSearchMode(SearchMode::Dong);
        cmdDongSeekClick();
    }
    // 5. People pads: the memo window of the mode is loaded again, hidden. Without its
    //    database the program cannot keep pads and ends.
    if (m_memo) m_memo->unload();
    intMemoPadKind = 1;
    m_memo = std::make_unique<frmMemo>(currentMemoMode(), this);
    if (!m_memo->loadWindow()) {
        m_memo.reset();
        QCoreApplication::exit(1);
    }
    // 6.
    setWindowTitle(QStringLiteral("Telvia"));
}

void frmMain::inputState() {
    setStatus(3, QString());
    setResultCommands(false);
    // A dong search entered from the name kind keeps its pane while a dong is picked.
    if (isNameKind() && m_pane != Pane::Dong) showPanes(Pane::Search);
}

void frmMain::searchCommand() {
    showPanes(Pane::Result);
    setResultCommands(true);
    const QString code = selectedCode();
    if (search::servedByLocalListing(code)) {
        localExactNameSearch();
    } else {
        nameSearchFromList();
    }
}

void frmMain::firstCommand() {
    showSearchBox(SearchBar::Box);
    showPanes(Pane::Result);
    m_dongResult = false;
    inputState();
}

void frmMain::nextCommand() {
    showSearchBox(SearchBar::Box);
    searchCommand();
}

void frmMain::backCommand() {
    // "Back" from the dong listing of the name kind leaves the dong search for the candidates.
    if (isNameKind() && m_pane == Pane::Dong) cmdEndClick();
    inputState();
}

QString frmMain::searchWord() const {
    if (m_preedit.isEmpty()) return m_ui->txtSearch->text();
    QString text = m_ui->txtSearch->text();
    return text.insert(m_ui->txtSearch->cursorPosition(), m_preedit);
}

void frmMain::onSearchTextChanged() {
    if (m_skipNextChange) {
        m_skipNextChange = false;
        return;
    }
    if (!m_refreshing) ListNames();
}

void frmMain::onSearchInputMethod(const QInputMethodEvent& event) {
    // A syllable being composed counts as typed: the candidates follow it at once. A commit
    // changes the text itself and the change runs the lookup; composing alone does not.
    const bool composingOnly = event.commitString().isEmpty();
    const bool changed = event.preeditString() != m_preedit;
    m_preedit = event.preeditString();
    if (composingOnly && changed) {
        QTimer::singleShot(0, this, [this] {
            if (!m_refreshing) ListNames();
        });
    }
}

// The keys of txtSearch: Enter searches (by the same route as the search button), Down goes
// into the candidates, the space is discarded (names have no blanks). True when handled.
bool frmMain::searchBoxKey(int key) {
    switch (key) {
        case Qt::Key_Space:
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            searchCommand();
            return true;
        case Qt::Key_Down:
            if (m_searchModel->rowCount() == 0) return false;
            m_ui->lvSearch->setFocus(Qt::TabFocusReason);
            if (!m_ui->lvSearch->currentIndex().isValid()) {
                m_ui->lvSearch->setCurrentIndex(m_searchModel->index(0, 0));
            }
            return true;
        default:
            return false;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_ui->txtSearch || watched == m_ui->txtArea) {
        auto* edit = static_cast<QLineEdit*>(watched);
        if (type == QEvent::FocusIn) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        } else if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (watched == m_ui->txtSearch) return searchBoxKey(key);
            if (key == Qt::Key_Space) return true;
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_ui->txtSearch->setFocus();
                return true;
            }
        } else if (type == QEvent::MouseButtonPress && watched == m_ui->txtSearch) {
            inputState();
        } else if (type == QEvent::InputMethod && watched == m_ui->txtSearch) {
            onSearchInputMethod(*static_cast<QInputMethodEvent*>(event));
        }
    } else if (watched == m_ui->lvSearch && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            searchCommand();
            return true;
        }
    } else if (watched == m_ui->imgAdTop && type == QEvent::MouseButtonRelease) {
        openAddress(kAdvertiserSite);
        return true;
    } else if (watched == m_ui->imgAdTop && type == QEvent::Resize) {
        m_ui->imgAdTop->setPixmap(
            bannerPixmap(m_ui->imgAdTop->width(), m_ui->imgAdTop->height(), font()));
    } else if (watched == m_ui->lvResult || watched == m_ui->lvDongResult ||
               watched == m_ui->lvResult->viewport() || watched == m_ui->lvDongResult->viewport()) {
        if (resultListEvent(watched, event)) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
