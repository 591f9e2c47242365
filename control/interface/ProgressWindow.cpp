#include "ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>

#include "ProfileFile.h"

namespace zendari {
namespace {
constexpr int kMargin = 10;
constexpr int kWidth = 390;
constexpr int kTextLines = 4;
const char* const kCancelCaption = " 취소 ";
}  // namespace

ProgressWindow::ProgressWindow(const QString& title, bool smooth, QWidget* owner,
                               QWidget* mainWindow)
    : QWidget(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                         Qt::CustomizeWindowHint),
      m_title(title),
      m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(title);
    setCursor(Qt::BusyCursor);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    const QFont messageFont = QApplication::font("QMessageBox");
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setFont(messageFont);
    m_text->setWordWrap(false);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setTextVisible(!smooth);
    m_cancel = new QPushButton(QString::fromUtf8(kCancelCaption), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setFont(messageFont);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::cancel);

    // Text area of four lines of the message font, then one row: the bar left, the button right.
    const QFontMetrics fm(messageFont);
    const int textHeight = fm.lineSpacing() * kTextLines;
    m_text->setGeometry(kMargin, kMargin, kWidth - 2 * kMargin, textHeight);
    const int edge = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int buttonWidth =
        fm.horizontalAdvance(QString::fromUtf8(kCancelCaption) + "  ") + 4 * edge + 16;
    const int buttonHeight = fm.height() + 3 * edge + 8;
    const int rowTop = kMargin + textHeight + kMargin;
    m_cancel->setGeometry(kWidth - kMargin - buttonWidth, rowTop, buttonWidth, buttonHeight);
    m_bar->setGeometry(kMargin, rowTop + edge, kWidth - 3 * kMargin - buttonWidth,
                       buttonHeight - 2 * edge);
    setFixedSize(kWidth, rowTop + buttonHeight + kMargin);

    placeFromProfile();
    if (m_mainWindow) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && m_mainWindow->isAncestorOf(focus)) m_focusBefore = focus;
        m_mainWindow->setEnabled(false);
    }
    show();
    raise();
    activateWindow();
}

ProgressWindow::~ProgressWindow() {
    savePosition();
    if (m_mainWindow) {
        m_mainWindow->setEnabled(true);
        m_mainWindow->activateWindow();
        if (m_focusBefore && m_focusBefore->isEnabled()) m_focusBefore->setFocus();
    }
}

void ProgressWindow::setRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_bar->setRange(lower, std::max(lower, upper));
}

void ProgressWindow::setText(const QString& text) {
    m_text->setText(text);
}

QString ProgressWindow::text() const {
    return m_text->text();
}

void ProgressWindow::stepBy(int steps) {
    m_position += m_step * steps;
    const int percent =
        m_lower < m_upper
            ? static_cast<int>(static_cast<long long>(m_position) * 100 / (m_upper - m_lower))
            : 0;
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(m_title).arg(percent));
    }
    m_bar->setValue(std::min(m_position, m_bar->maximum()));
}

bool ProgressWindow::pump() {
    if (!m_cancelled && isVisible() && !isActiveWindow()) activateWindow();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_cancelled;
}

void ProgressWindow::cancel() {
    if (m_cancelled) return;
    m_cancelled = true;
    hide();
    // The main window comes to the front but stays disabled until this window goes with the
    // scan's end: events still pending behind the cancel (a click on a command) must not run
    // the main window's commands inside the scan that is finishing its current name.
    if (m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // Closing by the window manager counts as cancelling; the scan decides when it ends.
    cancel();
    event->ignore();
}

QString ProgressWindow::profilePath() {
    return QString::fromStdString((telvia::windows_directory() / "Zendari.INI").string());
}

void ProgressWindow::placeFromProfile() {
    QSettings profile(profilePath(), QSettings::IniFormat);
    bool okX = false, okY = false;
    const int x = profile.value(QStringLiteral("Settings/X"), -1).toInt(&okX);
    const int y = profile.value(QStringLiteral("Settings/Y"), -1).toInt(&okY);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    if (!okX || !okY || x < 0 || y < 0 || x >= screenSize.width() || y >= screenSize.height()) {
        move((screenSize.width() - width()) / 2, (screenSize.height() - height()) / 2);
    } else {
        move(x, y);
    }
}

void ProgressWindow::savePosition() {
    QSettings profile(profilePath(), QSettings::IniFormat);
    profile.setValue(QStringLiteral("Settings/X"), pos().x());
    profile.setValue(QStringLiteral("Settings/Y"), pos().y());
}

}  // namespace zendari
