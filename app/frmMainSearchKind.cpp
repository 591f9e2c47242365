// The search kinds, the input state, the search command, the toolbar and txtSearch.
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "Orvello.h"
#include "frmMain.h"
#include "startup/ProgramGlobals.h"
#include "startup/frmOption.h"
#include "ui_frmMain.h"

namespace {

const QString kNameKind = QStringLiteral("인명검색");
const QString kDongKind = QStringLiteral("동별검색");
const QString kDefaultName = QStringLiteral("이곳에 이름을 입력하세요");
const QString kAdvertiserSite = QStringLiteral("https://ad.telvia.example/");

}  // namespace

void frmMain::connectSearchKind() {
    connect(m_ui->cmbSearchKind, &QComboBox::activated, this, [this] { setUpSearchKind(); });
    connect(m_ui->txtSearch, &QLineEdit::textChanged, this, &frmMain::onSearchTextChanged);
    connect(m_ui->cmdSearch, &QPushButton::clicked, this, &frmMain::searchCommand);
    connect(m_ui->mnuPrint, &QAction::triggered, this, [this] { printCommand(); });
    m_ui->txtSearch->installEventFilter(this);
    m_ui->txtArea->installEventFilter(this);
}

void frmMain::setToolbarAvailable(const QString& key, bool available) {
    if (QAction* a = m_toolButtons.value(key)) a->setEnabled(available);
}

void frmMain::setUpSearchKind() {
    // 1.
    m_ui->txtSearch->clear();
    m_ui->lblDongCaption->hide();
    setStatus(3, QString());
    // 2.
    requestTree();
    const QString kind = m_ui->cmbSearchKind->currentText();
    if (kind == kNameKind) {
        m_dongModel->clear();
        blnDongResult = false;  // the dong list holds no names now: printing takes lvResult
        m_ui->vsSearch->show();
        m_ui->vsResult->hide();
        m_ui->vsDong->hide();
        m_ui->txtSearch->show();
        m_ui->cmdDongSungSearch->show();
        m_ui->Label5->hide();
        m_ui->Label4->hide();
        m_ui->cmdSearch->show();
        m_ui->cmdSearch->setEnabled(true);
        setToolbarAvailable(QStringLiteral("First"), true);
        setToolbarAvailable(QStringLiteral("Next"), true);
        m_ui->cboABCCateSearch->hide();
        intSearchKindCode = 2;
        intSearchMode = 1;
        m_searchModel->clear();
        m_ui->txtSearch->setText(
            Orvello::Read(QStringLiteral("CurrentSearch"), QStringLiteral("Human"), kDefaultName));
        ListNames();
    } else if (kind == kDongKind) {
        intSearchMode = 2;
        m_ui->lblSung->hide();
        m_ui->cmdDongSungSearch->hide();
        m_ui->cmdSungSearch->hide();
        m_ui->txtSung->hide();
        m_ui->cmdNext->show();
        m_ui->cmdFull->show();
        m_ui->Label4->show();
        setToolbarAvailable(QStringLiteral("First"), false);
        setToolbarAvailable(QStringLiteral("Next"), false);
        m_dongModel->clear();
        blnDongResult = false;  // until a dong page fills the list again
        cmdDongSeekClick();
    }
    // 5. People pads; the memo window is unloaded and loaded again around this once it exists.
    intMemoPadKind = 1;
    // 6.
    setWindowTitle(QStringLiteral("Telvia"));
}

void frmMain::inputState() {
    m_ui->cmdSearch->setEnabled(true);
    setStatus(3, QString());
    m_ui->popupMemo2->setEnabled(false);
    setToolbarAvailable(QStringLiteral("Print"), false);
    setToolbarAvailable(QStringLiteral("SelectAll"), false);
    m_ui->mnuPrint->setEnabled(false);
    if (m_ui->cmbSearchKind->currentText() == kNameKind) {
        m_ui->vsSearch->show();
        m_ui->vsResult->hide();
    }
}

void frmMain::searchCommand() {
    m_ui->cmdSearch->setEnabled(false);
    m_ui->popupMemo2->setEnabled(true);
    m_ui->vsDong->hide();
    m_ui->vsSearch->hide();
    m_ui->vsResult->show();
    setToolbarAvailable(QStringLiteral("Print"), true);
    setToolbarAvailable(QStringLiteral("SelectAll"), true);
    m_ui->mnuPrintDM->setEnabled(true);
    setToolbarAvailable(QStringLiteral("LabelPrint"), true);  // "종료" takes both away
    m_ui->mnuPrint->setEnabled(true);
    const QString code = selectedCode();
    const QString two = code.left(2);
    if (two == QLatin1String("84") || two == QLatin1String("65") ||
        code == QLatin1String("65:84")) {
        localExactNameSearch();
    } else {
        nameSearchFromList();
    }
}

void frmMain::toolbarCommand(const QString& key) {
    if (key == QLatin1String("First")) {
        m_ui->cmdSearch->setEnabled(true);
        setStatus(3, QString());
        m_ui->popupMemo2->setEnabled(false);
        m_ui->lblDongCaption->hide();
        setToolbarAvailable(QStringLiteral("Print"), false);
        setToolbarAvailable(QStringLiteral("SelectAll"), false);
        m_ui->mnuPrint->setEnabled(false);
        m_ui->txtSearch->show();
        m_ui->cmdSearch->show();
        m_ui->vsDong->hide();
        m_ui->vsResult->show();
        blnDongResult = false;
        inputState();
    } else if (key == QLatin1String("Next")) {
        m_ui->cmdSearch->setEnabled(false);
        m_ui->popupMemo2->setEnabled(true);
        setToolbarAvailable(QStringLiteral("Print"), true);
        setToolbarAvailable(QStringLiteral("SelectAll"), true);
        m_ui->mnuPrintDM->setEnabled(true);
        setToolbarAvailable(QStringLiteral("LabelPrint"), true);
        m_ui->mnuPrint->setEnabled(true);
        m_ui->txtSearch->show();
        searchCommand();
    } else if (key == QLatin1String("Memo")) {
        m_ui->mnuMemo->popup(QCursor::pos());
    } else if (key == QLatin1String("Print")) {
        printCommand();
    } else if (key == QLatin1String("SelectAll")) {
        selectAll();
    } else if (key == QLatin1String("Dail")) {
        dialCommand();
    } else if (key == QLatin1String("webcall")) {
        webCall();
    } else if (key == QLatin1String("Option")) {
        frmOption options(this);
        options.exec();
    }
    // "LabelPrint" hands over to the label program, which arrives with the printing work.
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

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_ui->txtSearch || watched == m_ui->txtArea) {
        auto* edit = static_cast<QLineEdit*>(watched);
        if (type == QEvent::FocusIn) {
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        } else if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Space) return true;  // names have no blanks
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (watched == m_ui->txtSearch) {
                    nameSearchFromList();
                } else {
                    m_ui->txtSearch->setFocus();
                }
                return true;
            }
        } else if (type == QEvent::MouseButtonPress && watched == m_ui->txtSearch) {
            inputState();
        } else if (type == QEvent::InputMethod && watched == m_ui->txtSearch) {
            onSearchInputMethod(*static_cast<QInputMethodEvent*>(event));
        }
    } else if (watched == m_ui->imgAdTop && type == QEvent::MouseButtonRelease) {
        openAddress(kAdvertiserSite);
        return true;
    } else if (watched == m_ui->imgAdTop && type == QEvent::Resize) {
        m_ui->imgAdTop->setPixmap(
            bannerPixmap(m_ui->imgAdTop->width(), m_ui->imgAdTop->height(), font()));
    } else if ((watched == m_ui->lvResult || watched == m_ui->lvDongResult) &&
               type == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->text() == QLatin1String("*")) {
            selectAll();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
