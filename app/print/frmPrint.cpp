#include "frmPrint.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <optional>

#include "BusyCursor.h"
#include "PrintDialogs.h"
#include "Prompt.h"
#include "TableRenderer.h"
#include "ToolbarIcons.h"
#include "ui_frmPrint.h"

namespace {

const QString kDefaultHeader = QStringLiteral("전국판 Telvia 리스트");
const QString kHeaderTitle = QStringLiteral("Header Setting");
const QString kHeaderPrompt =
    QStringLiteral("입력하고 싶은 머리말을 입력하십시오?.\r\n머리말 크기는 고정되었습니다");
const QString kNotice = QStringLiteral("알림");
const QString kAppTitle = QStringLiteral("Halvern");
const QString kCantZoomOut = QStringLiteral("Can't Zoom Out.");
const QString kCantZoomIn = QStringLiteral("Can't Zoom In.");
const QString kPdfFailedTitle = QStringLiteral("오류 (P0001)");
const QString kPdfFailed = QStringLiteral("PDF 파일을 저장할 수 없습니다.\r\n\r\n");
const QString kPrintFailedTitle = QStringLiteral("오류 (P0002)");
const QString kPrintFailed = QStringLiteral("인쇄하지 못했습니다.\r\n\r\n프린터를 확인하십시오.");

// Page margins in twips: the printer's until the window sets its own, the three narrow ones
// of landscape at load, and the top and bottom ones a confirmed page setup sets.
constexpr double kDefaultMargin = 1440;
constexpr double kLandscapeMargin = 500;
constexpr double kSetupTopMargin = 800;
constexpr double kSetupBottomMargin = 500;
constexpr double kTwipsPerPoint = 20;

constexpr int kZoomOutBelow = 300;
constexpr int kZoomOutStep = 20;
constexpr int kZoomInAbove = 20;
constexpr int kZoomInStep = 10;

enum ZoomMode { kPercentage, kThumbnail, kTwoPages, kWholePage, kPageWidth };
constexpr int kPercent100 = 3;

// The first `count` characters of `text`; a character outside the basic plane is never split.
QString firstCharacters(const QString& text, int count) {
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

void setMargins(QPrinter& printer, std::optional<double> left, std::optional<double> top,
                std::optional<double> right, std::optional<double> bottom) {
    const QMarginsF now = printer.pageLayout().margins(QPageLayout::Point);
    auto points = [](std::optional<double> twips, double current) {
        return twips ? *twips / kTwipsPerPoint : current;
    };
    printer.setPageMargins(QMarginsF(points(left, now.left()), points(top, now.top()),
                                     points(right, now.right()), points(bottom, now.bottom())),
                           QPageLayout::Point);
}

}  // namespace

frmPrint::frmPrint(const QString& printSource, RowSource rows, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::frmPrint>()),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_printSource(printSource),
      m_rows(std::move(rows)),
      m_headerText(kDefaultHeader),
      m_body(print::defaultBodyFont()) {
    m_ui->setupUi(this);
    // Korean listings print on A4; the page setup offers the others.
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(
        QMarginsF(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin) / kTwipsPerPoint,
        QPageLayout::Point);
    m_printer->setCreator(kAppTitle);

    buildToolbar();
    VP = new QPrintPreviewWidget(m_printer.get(), this);
    VP->setObjectName(QStringLiteral("VP"));
    m_ui->layoutWindow->addWidget(VP, 1);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    m_panel1 = new QLabel(status);
    m_panel1->setObjectName(QStringLiteral("panel1"));
    status->addWidget(m_panel1, 1);
    m_ui->layoutWindow->addWidget(status);

    // Defaults, in the order the window has always set them.
    m_ui->cmbPercent->setCurrentIndex(kPercent100);
    m_ui->cmbZoomMode->setCurrentIndex(kWholePage);
    chooseZoomMode(kWholePage);
    m_ui->opOrient1->setChecked(true);
    m_printer->setPageOrientation(QPageLayout::Landscape);
    setMargins(*m_printer, kLandscapeMargin, kLandscapeMargin, kLandscapeMargin, std::nullopt);

    connect(VP, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { print::renderDocument(m_document, *printer); });
    connect(VP, &QPrintPreviewWidget::previewChanged, this, &frmPrint::showPagePosition);
    connect(m_ui->cmbZoomMode, &QComboBox::activated, this, &frmPrint::chooseZoomMode);
    connect(m_ui->cmbPercent, &QComboBox::activated, this, &frmPrint::choosePercent);
    connect(m_ui->opOrient0, &QRadioButton::toggled, this, [this](bool on) {
        if (on) setOrientation(print::Orientation::Portrait);
    });
    connect(m_ui->opOrient1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) setOrientation(print::Orientation::Landscape);
    });
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmPrint::fontCommand);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmPrint::pageSetupCommand);
    connect(m_ui->Command3, &QPushButton::clicked, this, &frmPrint::headerCommand);

    compose();
}

frmPrint::~frmPrint() = default;

frmPrint* frmPrint::showPrint(QWidget* parent, const QString& printSource, RowSource rows) {
    auto* window = new frmPrint(printSource, std::move(rows), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    return window;
}

void frmPrint::buildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* key;
        const char16_t* text;
        const char* themeIcon;  // the desktop theme's icon, else the style's
        QStyle::StandardPixmap icon;
        QKeySequence shortcut;
        void (frmPrint::*command)();
    };
    const Button buttons[] = {
        {"leftend", u"처음", "go-first", QStyle::SP_MediaSkipBackward,
         QKeySequence(Qt::CTRL | Qt::Key_Home), nullptr},
        {"left", u"이전", "go-previous", QStyle::SP_MediaSeekBackward, QKeySequence(Qt::Key_PageUp),
         nullptr},
        {"right", u"다음", "go-next", QStyle::SP_MediaSeekForward, QKeySequence(Qt::Key_PageDown),
         nullptr},
        {"rightend", u"마지막", "go-last", QStyle::SP_MediaSkipForward,
         QKeySequence(Qt::CTRL | Qt::Key_End), nullptr},
        {"zoomout", u"확대", "zoom-in", QStyle::SP_ArrowUp, QKeySequence::ZoomIn,
         &frmPrint::zoomOut},
        {"zoomin", u"축소", "zoom-out", QStyle::SP_ArrowDown, QKeySequence::ZoomOut,
         &frmPrint::zoomIn},
        {"print", u"인쇄", "document-print", QStyle::SP_FileDialogDetailedView, QKeySequence::Print,
         &frmPrint::printCommand},
        {"pdf", u"PDF로 저장", "document-save-as", QStyle::SP_DriveFDIcon, QKeySequence::Save,
         &frmPrint::savePdf},
    };
    for (const Button& b : buttons) {
        // The printer is the main window's own drawing: no stock icon shows one everywhere.
        const QIcon icon =
            b.command == &frmPrint::printCommand
                ? toolbarIcon(ToolbarIcon::Printer)
                : QIcon::fromTheme(QString::fromLatin1(b.themeIcon), style()->standardIcon(b.icon));
        QAction* action = m_toolbar->addAction(icon, QString::fromUtf16(b.text));
        action->setObjectName(QString::fromLatin1(b.key));
        action->setShortcut(b.shortcut);
        action->setToolTip(action->text() + QStringLiteral(" (") +
                           b.shortcut.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        if (b.command) connect(action, &QAction::triggered, this, b.command);
    }
    // Paging reads the preview's page at the moment of the click.
    auto page = [this](const char* key, auto target) {
        connect(m_toolbar->findChild<QAction*>(QString::fromLatin1(key)), &QAction::triggered, this,
                [this, target] { showPage(target()); });
    };
    page("leftend", [] { return 1; });
    page("left", [this] { return VP->currentPage() - 1; });
    page("right", [this] { return VP->currentPage() + 1; });
    page("rightend", [this] { return VP->pageCount(); });
    m_ui->layoutWindow->insertWidget(0, m_toolbar);
}

void frmPrint::compose() {
    {
        BusyCursor busy;
        std::vector<print::PrintRow> rows;
        if (print::printLayout(m_printSource) && m_rows) rows = m_rows();
        m_document = print::composeTable(
            {m_printSource, m_headerText, orientation(), m_body, QDateTime::currentDateTime()},
            rows);
    }
    // Told with the ordinary pointer, between the composition and the preview.
    if (!m_document.limitMessage.isEmpty())
        msgBox(m_document.limitMessage, PromptButtons::Ok, PromptIcon::None, kNotice);
    BusyCursor busy;
    VP->updatePreview();
    showPagePosition();
}

print::Orientation frmPrint::orientation() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Portrait
               ? print::Orientation::Portrait
               : print::Orientation::Landscape;
}

void frmPrint::showPage(int page) {
    if (page >= 1 && page <= VP->pageCount()) VP->setCurrentPage(page);
    showPagePosition();
}

void frmPrint::showPagePosition() {
    m_panel1->setText(QStringLiteral("Page : (%1/%2)").arg(VP->currentPage()).arg(VP->pageCount()));
}

int frmPrint::zoom() const {
    // In the fitted modes too: the scale the preview chose for the window.
    return qRound(VP->zoomFactor() * 100);
}

void frmPrint::setZoom(int percent) {
    VP->setZoomFactor(percent / 100.0);
}

void frmPrint::zoomOut() {
    const int now = zoom();
    if (now < kZoomOutBelow) {
        BusyCursor busy;
        setZoom(now + kZoomOutStep);
    } else {
        msgBox(kCantZoomOut, PromptButtons::Ok, PromptIcon::Information, kAppTitle, Beep::Yes);
    }
}

void frmPrint::zoomIn() {
    const int now = zoom();
    if (now > kZoomInAbove) {
        BusyCursor busy;
        setZoom(now - kZoomInStep);
    } else {
        msgBox(kCantZoomIn, PromptButtons::Ok, PromptIcon::Information, kAppTitle, Beep::Yes);
    }
}

void frmPrint::chooseZoomMode(int index) {
    // The fitted modes, by their index in the list less one.
    struct Fitted {
        QPrintPreviewWidget::ViewMode view;
        QPrintPreviewWidget::ZoomMode zoom;
    };
    static constexpr Fitted kFitted[] = {
        {QPrintPreviewWidget::AllPagesView, QPrintPreviewWidget::FitInView},      // Thumbnail
        {QPrintPreviewWidget::FacingPagesView, QPrintPreviewWidget::FitInView},   // TwoPages
        {QPrintPreviewWidget::SinglePageView, QPrintPreviewWidget::FitInView},    // WholePage
        {QPrintPreviewWidget::SinglePageView, QPrintPreviewWidget::FitToWidth}};  // PageWidth
    m_ui->cmbPercent->setEnabled(index == kPercentage);
    if (index == kPercentage) {
        VP->setViewMode(QPrintPreviewWidget::SinglePageView);
        choosePercent(m_ui->cmbPercent->currentIndex());
    } else if (index >= kThumbnail && index <= kPageWidth) {
        VP->setViewMode(kFitted[index - kThumbnail].view);
        VP->setZoomMode(kFitted[index - kThumbnail].zoom);
    }
}

void frmPrint::choosePercent(int index) {
    QString text = m_ui->cmbPercent->itemText(index);
    text.remove(QLatin1Char('%'));
    setZoom(text.toInt());
}

void frmPrint::setOrientation(print::Orientation orientation) {
    m_printer->setPageOrientation(orientation == print::Orientation::Portrait
                                      ? QPageLayout::Portrait
                                      : QPageLayout::Landscape);
    compose();
}

void frmPrint::showOrientation() {
    QRadioButton* button =
        orientation() == print::Orientation::Portrait ? m_ui->opOrient0 : m_ui->opOrient1;
    const QSignalBlocker blocker(button);  // the caller composes once
    button->setChecked(true);
}

void frmPrint::fontCommand() {
    if (std::optional<print::BodyFont> chosen =
            print::activePrintDialogs().chooseFont(this, m_body))
        m_body = *chosen;
    compose();  // a cancelled dialog recomposes with the font unchanged
}

void frmPrint::pageSetupCommand() {
    if (!print::activePrintDialogs().pageSetup(this, *m_printer)) return;
    setMargins(*m_printer, std::nullopt, kSetupTopMargin, std::nullopt, kSetupBottomMargin);
    showOrientation();  // the page setup may have turned the page
    compose();
}

void frmPrint::headerCommand() {
    const std::optional<QString> answer = inputBox(kHeaderPrompt, kHeaderTitle);
    m_headerText =
        answer && !answer->isEmpty() ? firstCharacters(*answer, kHeaderLength) : kDefaultHeader;
    compose();
}

void frmPrint::printCommand() {
    const print::Orientation before = orientation();
    if (!print::activePrintDialogs().choosePrinter(this, *m_printer)) return;
    // The print dialog may have turned the page: print the layouts of the new orientation.
    if (orientation() != before) {
        showOrientation();
        compose();
    }
    BusyCursor busy;
    if (!print::printDocument(m_document, *m_printer))
        msgBox(kPrintFailed, PromptButtons::Ok, PromptIcon::Error, kPrintFailedTitle, Beep::Yes);
}

void frmPrint::savePdf() {
    const QString path = print::activePrintDialogs().pdfFileName(this);
    if (path.isEmpty()) return;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageLayout(m_printer->pageLayout());
    pdf.setCreator(kAppTitle);
    pdf.setDocName(m_headerText);
    bool written = false;
    {
        BusyCursor busy;
        written = print::renderDocument(m_document, pdf);
    }
    if (!written) {
        msgBox(kPdfFailed + QDir::toNativeSeparators(path), PromptButtons::Ok, PromptIcon::Error,
               kPdfFailedTitle, Beep::Yes);
    }
}
