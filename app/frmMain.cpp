#include "frmMain.h"

#include <QApplication>
#include <QCloseEvent>

#include "Orvello.h"
#include "Prompt.h"
#include "modAdditionalAPI.h"
#include "startup/ProgramGlobals.h"
#include "startup/frmSplash.h"
#include "ui_frmMain.h"

namespace {

const QString kDocsMissingTitle = QStringLiteral("오류 (M0008)");
const QString kDocsMissingText = QStringLiteral("보조 데이터 파일을 찾을 수 없습니다.");
const QString kConfirmTitle = QStringLiteral("확인");
const QString kExitQuestion = QStringLiteral("전국판 인명 Telvia2002을 종료하시겠습니까?");

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::frmMain>()) {
    m_ui->setupUi(this);
    connect(m_ui->mnuEnd, &QAction::triggered, this, &QWidget::close);

    intLoadedArea = -1;  // so the first tree request loads a tree
    intCurrentArea = Orvello::leadingNumber(Orvello::Read("Main", "CurrentArea", "0"));
    if (intCurrentArea == -1) intCurrentArea = 0;
}

frmMain::~frmMain() = default;

bool frmMain::loadWindow(frmSplash* splash) {
    // 1. The auxiliary database, exclusively and read-only, for the window's whole life.
    const telvia::Status opened = telvia::Database::open((strDocsPath + "adDocs.cad").toStdString(),
                                                         kDocsSecret, telvia::OpenShare::kExclusive,
                                                         telvia::OpenAccess::kReadOnly, m_dbDocs);
    if (!opened.ok()) {
        qWarning("adDocs.cad: %s", opened.message().c_str());
        msgBox(kDocsMissingText, PromptButtons::Ok, PromptIcon::Error, kDocsMissingTitle,
               Beep::Yes);
        return false;
    }

    // 2. Initialising the name-search control (InitDB = 1, ending the program when it does
    //    not read back 1) lands here with the control's host.

    // 3. Whole-row selection in the three result lists.
    modAdditionalAPI::SetFullRowSelect(m_ui->lvSearch);
    modAdditionalAPI::SetFullRowSelect(m_ui->lvResult);
    modAdditionalAPI::SetFullRowSelect(m_ui->lvDongResult);

    // 4.-6. The search kind "인명검색", the first region of the region box and the region
    //    tree of the current area come with the search panes and the region tree.

    // 7.
    if (splash) splash->close();
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!confirmExit()) {
        event->ignore();
        return;
    }
    unloadWindow();
    event->accept();
}

bool frmMain::confirmExit() {
    if (msgBox(kExitQuestion, PromptButtons::YesNo, PromptIcon::Question, kConfirmTitle) !=
        PromptAnswer::Yes) {
        return false;
    }
    m_ui->lvResult->clear();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return true;
}

void frmMain::unloadWindow() {
    // The memo window unloads first (it saves its own settings), when it exists.
    m_dbDocs.close();
}
