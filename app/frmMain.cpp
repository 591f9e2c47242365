#include "frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

#include "BusinessCommands.h"
#include "KoreanClock.h"
#include "Orvello.h"
#include "Prompt.h"
#include "ToolbarIcons.h"
#include "frmMemo.h"
#include "modAdditionalAPI.h"
#include "print/LabelLauncher.h"
#include "startup/ProgramGlobals.h"
#include "startup/frmOption.h"
#include "startup/frmSplash.h"
#include "ui_frmMain.h"

namespace {

const QString kDocsMissingTitle = QStringLiteral("오류 (M0008)");
const QString kDocsMissingText = QStringLiteral("보조 데이터 파일을 찾을 수 없습니다.");
const QString kControlMissingTitle = QStringLiteral("오류 (M0009)");
const QString kControlMissingText =
    QStringLiteral("인명 검색 컨트롤을 불러올 수 없습니다.\r\n\r\n%1");
const QString kConfirmTitle = QStringLiteral("확인");
const QString kExitQuestion = QStringLiteral("전국판 인명 Telvia2002을 종료하시겠습니까?");
const QString kShellErrorTitle = QStringLiteral("오류 (F0002)");
const QString kHomePage = QStringLiteral("https://www.pallax.example/");
const QString kNoticeTitle = QStringLiteral("알림");

// The advertisement banner, drawn rather than shipped as a picture.
}  // namespace

QPixmap frmMain::bannerPixmap(int width, int height, const QFont& font) {
    QPixmap pix(width, height);
    QPainter p(&pix);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, QColor(0x1d, 0x3f, 0x8f));
    g.setColorAt(1, QColor(0x4f, 0x9a, 0xd8));
    p.fillRect(pix.rect(), g);
    QFont big = font;
    big.setPointSizeF(font.pointSizeF() * 1.6);
    big.setBold(true);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(pix.rect().adjusted(16, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Telvia 2002  전국 인명 전화번호부"));
    p.setFont(font);
    p.drawText(pix.rect().adjusted(0, 0, -16, 0), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("이름과 지역만으로 전국 가입자를 찾아 드립니다"));
    return pix;
}

namespace {

// Num Lock as the keyboard's LED reports it; unknown (false) without one.
bool numLockOn() {
    const QStringList leds = QDir(QStringLiteral("/sys/class/leds"))
                                 .entryList({QStringLiteral("*numlock*")}, QDir::Dirs);
    for (const QString& led : leds) {
        QFile f(QStringLiteral("/sys/class/leds/%1/brightness").arg(led));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() != "0") return true;
    }
    return false;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::frmMain>()) {
    m_ui->setupUi(this);
    for (const char* family : {"NanumGothic", "Nanum Gothic", "NanumBarunGothic"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont f(QString::fromLatin1(family));
            f.setPointSizeF(font().pointSizeF());
            setFont(f);
            break;
        }
    }
    m_ui->cmbSearchKind->addItems({QStringLiteral("인명검색"), QStringLiteral("동별검색")});
    m_ui->vsMain->setStretchFactor(1, 1);
    m_ui->vsMain->setSizes({230, 770});
    m_picProgress = new QLabel(m_ui->vsElastic3);
    m_picProgress->setObjectName(QStringLiteral("picProgress"));
    m_picProgress->hide();
    m_ui->imgAdTop->installEventFilter(this);
    // The search bar shows different parts in different states. Its labels give way when room
    // is short, and the room the bar needs with every part on show (as now, before any is
    // hidden) is reserved: a label or a box that appears never widens the window.
    m_ui->Label4->setMinimumWidth(1);
    m_ui->lblDongCaption->setMinimumWidth(1);
    m_ui->centralWidget->setMinimumWidth(m_ui->centralWidget->minimumSizeHint().width());

    m_searchModel = new ResultListModel(this);
    m_resultModel = new ResultListModel(this);
    m_dongModel = new ResultListModel(this);
    const QIcon one = style()->standardIcon(QStyle::SP_FileIcon);
    m_resultModel->setItemIcon(one);
    m_dongModel->setItemIcon(one);
    setUpList(m_ui->lvSearch, m_searchModel);
    setUpList(m_ui->lvResult, m_resultModel);
    setUpList(m_ui->lvDongResult, m_dongModel);
    m_searchModel->setHeaders({QStringLiteral("이 름")});
    m_ui->lvSearch->header()->setStretchLastSection(true);
    showListHeaders(m_ui->lvResult,
                    {QStringLiteral("이 름"), QStringLiteral("전 화"), QStringLiteral("우편번호"),
                     QStringLiteral("주 소")},
                    {1000, 1200, 1200, 4500});
    showListHeaders(m_ui->lvDongResult,
                    {QStringLiteral("인명"), QStringLiteral("전화"), QStringLiteral("우편번호"),
                     QStringLiteral("주소")},
                    {1000, 1200, 800, 4000});

    buildToolbar();
    buildPopupMenus();
    buildStatusBar();
    connectSearchKind();
    connectRegion();
    connectNames();
    connectResults();
    connect(m_ui->mnuEnd, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->mnuHomePage, &QAction::triggered, this, [this] { openAddress(kHomePage); });
    auto* labels = new LabelLauncher(this);
    for (QAction* a : {m_ui->mnuPrintDM, m_tbLabelPrint}) {
        connect(a, &QAction::triggered, labels, &LabelLauncher::labelCommand);
    }
    m_business = new business::BusinessCommands(m_ui->mnuStandardSearch, m_ui->mnuWordSearch, this);
    for (QAction* a : {m_ui->popupMemo2, m_popupMemo}) {
        connect(a, &QAction::triggered, this, [this] {
            if (m_memo) m_memo->saveFromMain([this] { return loadMemoList(); });
        });
    }
    connect(m_ui->popupMemoNote, &QAction::triggered, this, [this] {
        if (m_memo) m_memo->showModal();
    });

    // Before the load sequence: the candidate pane with the search box, no results yet, so
    // none of the commands on results (the web call reads the print button to tell whether
    // results are on show).
    showPanes(Pane::Search);
    showSearchBox(SearchBar::Box);
    setResultCommands(false);
    updateDongCommands();
    resize(1000, 700);

    m_loadedArea = -1;  // so the first tree request loads a tree
    m_currentArea = Orvello::leadingNumber(Orvello::Read("Main", "CurrentArea", "0"));
    if (m_currentArea == -1) m_currentArea = 0;
}

frmMain::~frmMain() = default;

void frmMain::buildToolbar() {
    struct Button {
        QAction*& action;
        const char* key;
        const char* caption;
        ToolbarIcon icon;
        void (frmMain::*command)();
    };
    const Button buttons[] = {
        {m_tbFirst, "First", "이전", ToolbarIcon::Back, &frmMain::firstCommand},
        {m_tbNext, "Next", "다음", ToolbarIcon::Forward, &frmMain::nextCommand},
        {m_tbMemo, "Memo", "메모", ToolbarIcon::Memo, nullptr},
        {m_tbPrint, "Print", "인쇄", ToolbarIcon::Printer, nullptr},
        {m_tbLabelPrint, "LabelPrint", "라벨인쇄", ToolbarIcon::Label, nullptr},
        {m_tbSelectAll, "SelectAll", "전체선택", ToolbarIcon::SelectAll, &frmMain::selectAll},
        {m_tbDail, "Dail", "전화걸기", ToolbarIcon::Telephone, nullptr},
        {m_tbWebcall, "webcall", "Callora", ToolbarIcon::WebCall, nullptr},
        {m_tbOption, "Option", "환경설정", ToolbarIcon::Settings, nullptr},
    };
    for (const Button& b : buttons) {
        b.action = m_ui->Toolbar1->addAction(toolbarIcon(b.icon), QString::fromUtf8(b.caption));
        b.action->setObjectName(QStringLiteral("Toolbar1_") + QLatin1String(b.key));
        b.action->setData(QString::fromLatin1(b.key));
        if (b.command) connect(b.action, &QAction::triggered, this, b.command);
    }
    connect(m_tbMemo, &QAction::triggered, this, [this] { m_ui->mnuMemo->popup(QCursor::pos()); });
    connect(m_tbPrint, &QAction::triggered, this, &frmMain::openPrintWindow);
    connect(m_tbDail, &QAction::triggered, this, &frmMain::openDialWindow);
    connect(m_tbWebcall, &QAction::triggered, this, [this] { webCall(); });
    connect(m_tbOption, &QAction::triggered, this, [this] {
        frmOption options(this);
        options.exec();
    });
    m_ui->Toolbar1->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    m_ui->Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    modAdditionalAPI::SetFlatToolbar(m_ui->Toolbar1);
}

void frmMain::buildPopupMenus() {
    m_mnuPopUp = new QMenu(QStringLiteral("팝업메뉴"), this);
    m_mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    auto add = [](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    m_popupFront = add(m_mnuPopUp, "popupFront", QStringLiteral("뒤로"));
    m_popupSelectAll = add(m_mnuPopUp, "popupSelectAll", QStringLiteral("전체선택"));
    m_mnuPopUp->addSeparator()->setObjectName(QStringLiteral("mnuSep0"));
    m_popupMemo = add(m_mnuPopUp, "popupMemo", QStringLiteral("메모하기"));
    m_popupPhone = add(m_mnuPopUp, "popupPhone", QStringLiteral("전화걸기"));
    m_mnuPopUp->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    m_popupPrint = add(m_mnuPopUp, "popupPrint", QStringLiteral("표로인쇄"));
    m_mnuPopUp->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    add(m_mnuPopUp, "popupCancel", QStringLiteral("취소"));
    connect(m_popupFront, &QAction::triggered, this, &frmMain::backCommand);
    connect(m_popupSelectAll, &QAction::triggered, this, &frmMain::selectAll);
    connect(m_popupPhone, &QAction::triggered, this, &frmMain::openDialWindow);
    connect(m_popupPrint, &QAction::triggered, this, &frmMain::openPrintWindow);

    m_mnuPopup2 = new QMenu(QStringLiteral("팝업메뉴2"), this);
    m_mnuPopup2->setObjectName(QStringLiteral("mnuPopup2"));
    add(m_mnuPopup2, "popupPrevious", QStringLiteral("이전"));
    m_popupNext = add(m_mnuPopup2, "popupNext", QStringLiteral("다음"));
    connect(m_popupNext, &QAction::triggered, this, &frmMain::searchCommand);
}

void frmMain::buildStatusBar() {
    static const char* const kNames[4] = {"StatusBar1_Time", "StatusBar1_Date",
                                          "StatusBar1_Message", "StatusBar1_NumLock"};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QString::fromLatin1(kNames[i]));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setAlignment(Qt::AlignCenter);
        m_panels[i]->setMinimumWidth(i == 2 ? 200 : 80);
    }
    m_panels[2]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_panels[2]->setIndent(6);
    m_ui->StatusBar1->addWidget(m_panels[0]);
    m_ui->StatusBar1->addWidget(m_panels[1]);
    m_ui->StatusBar1->addWidget(m_panels[2], 1);
    m_ui->StatusBar1->addWidget(m_panels[3]);
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &frmMain::updateClock);
    clock->start(1000);
    updateClock();
}

void frmMain::updateClock() {
    m_panels[0]->setText(koreanClock(QTime::currentTime()));
    m_panels[1]->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    m_panels[3]->setText(numLockOn() ? QStringLiteral("NUM") : QString());
}

QString frmMain::statusText(int panel) const {
    return panel >= 1 && panel <= 4 ? m_panels[panel - 1]->text() : QString();
}

void frmMain::setStatus(int panel, const QString& text) {
    if (panel >= 1 && panel <= 4) m_panels[panel - 1]->setText(text);
}

void frmMain::setBlueCaption(QLabel* caption, const QString& text) {
    caption->setStyleSheet(QStringLiteral("color: blue;"));
    caption->setText(text);
}

void frmMain::openAddress(const QString& address) {
    const QString error = modAdditionalAPI::OpenWithShell(this, address);
    if (!error.isEmpty()) msgBox(error, PromptButtons::Ok, PromptIcon::Error, kShellErrorTitle);
}

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

    // 2. The name-search control in this window. Without its library nothing can be searched:
    //    say why, then end. A failed initialisation has shown the control's own message.
    const QString library = m_controlLibrary.isEmpty()
                                ? zendari::ZendariClient::defaultLibraryPath()
                                : m_controlLibrary;
    if (!m_zendari.load(library, this)) {
        msgBox(kControlMissingText.arg(m_zendari.errorString()), PromptButtons::Ok,
               PromptIcon::Error, kControlMissingTitle, Beep::Yes);
        return false;
    }
    if (QWidget* control = m_zendari.control()->widget()) {
        control->setObjectName(QStringLiteral("zendari1"));
        control->hide();  // it has no visible function of its own
    }
    m_zendari.putLong(zendari::kDispInitDB, 1);
    if (m_zendari.getLong(zendari::kDispInitDB) != 1) return false;
    m_excluded = search::ExcludedRecords::fromHalvernIni();

    // 3. Whole-row selection in the three result lists.
    modAdditionalAPI::SetFullRowSelect(m_ui->lvSearch);
    modAdditionalAPI::SetFullRowSelect(m_ui->lvResult);
    modAdditionalAPI::SetFullRowSelect(m_ui->lvDongResult);

    // 4. The name search kind (its set-up also asks for the tree of the current area). Step 5
    //    makes area 0 current whatever was read at creation: it is current from here on, so
    //    one tree is built, not the stored area's and then area 0's.
    m_currentArea = 0;
    {
        const QSignalBlocker quiet(m_ui->cmbSearchKind);
        m_ui->cmbSearchKind->setCurrentIndex(0);
    }
    setUpSearchKind();
    if (!m_memo) return false;  // the memo database could not be created (E0005 was shown)
    // 5. The first region.
    chooseArea(0);
    // 6.
    requestTree();
    // 7.
    if (splash) splash->close();
    // Typing at once goes to the search box, replacing the name it shows.
    m_ui->txtSearch->setFocus(Qt::OtherFocusReason);
    m_ui->txtSearch->selectAll();
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

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The load bar spans the caption panel less its left margin (70 twips).
    m_picProgress->setGeometry(5, 4, std::max(10, m_ui->vsElastic3->width() - 10),
                               std::max(8, m_ui->vsElastic3->height() - 8));
}

bool frmMain::confirmExit() {
    if (msgBox(kExitQuestion, PromptButtons::YesNo, PromptIcon::Question, kConfirmTitle) !=
        PromptAnswer::Yes) {
        return false;
    }
    m_resultModel->clear();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return true;
}

void frmMain::unloadWindow() {
    // The memo window unloads first: it asks to save a changed pad and keeps its settings.
    if (m_memo) m_memo->unload();
    m_memo.reset();
    m_dbDocs.close();
}
