#include "frmDial.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "DialString.h"
#include "HelpFile.h"
#include "Prompt.h"
#include "SerialPorts.h"
#include "startup/ProgramGlobals.h"
#include "ui_frmDial.h"

namespace {

const QString kDiallingCaption = QStringLiteral("전화를 거는 중 - ");
const QString kDialFailed = QStringLiteral("전화 걸기에 실패했습니다");
const QString kDialFailedTitle = QStringLiteral("오류 (D0001)");
constexpr int kHelpContext = 710;

}  // namespace

frmDial::frmDial(QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::frmDial>()),
      m_dialer(new phone::ModemDialer(this)) {
    m_ui->setupUi(this);
    const phone::DialSettings settings = phone::readDialSettings();
    m_port = settings.port;
    m_ownAreaCode = settings.ownAreaCode;
    m_prefix = settings.prefix;
    m_ui->lblDialing->clear();
    m_ui->lblDialing->setBackgroundRole(QPalette::Base);
    if (intMemoPadKind != 0) {  // people pads have no department
        m_ui->txtDept->clear();
        QPalette grey = m_ui->txtDept->palette();
        grey.setColor(QPalette::Base, grey.color(QPalette::Button));
        m_ui->txtDept->setPalette(grey);
    }
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    connect(m_ui->cmdDial, &QPushButton::clicked, this, &frmDial::cmdDialClick);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_dialer, &phone::ModemDialer::ticked, m_ui->lblDialing,
            qOverload<int>(&QLabel::setNum));
    connect(m_dialer, &phone::ModemDialer::finished, this, &frmDial::onDialFinished);
}

frmDial::~frmDial() = default;

void frmDial::dial(QWidget* parent, const QString& name, const QString& areaCode,
                   const QString& number, const QString& department) {
    frmDial window(parent);
    window.setEntry(name, areaCode, number, department);
    window.exec();
}

void frmDial::setEntry(const QString& name, const QString& areaCode, const QString& number,
                       const QString& department) {
    m_ui->txtName->setText(name);
    m_ui->txtAreaCode->setText(areaCode);
    m_ui->txtNumber->setText(number);
    m_ui->txtDept->setText(department);
}

void frmDial::setControlsEnabled(bool enabled) {
    m_ui->txtAreaCode->setEnabled(enabled);
    m_ui->txtNumber->setEnabled(enabled);
    m_ui->cmdCancel->setEnabled(enabled);
    m_ui->cmdDial->setEnabled(enabled);
}

void frmDial::cmdDialClick() {
    if (m_dialling) return;
    setControlsEnabled(false);
    m_dialling = true;
    const QString dialString = phone::dialString(m_ui->txtAreaCode->text(), m_ui->txtNumber->text(),
                                                 m_ownAreaCode, m_prefix);
    if (dialString.isEmpty()) {
        setControlsEnabled(true);
        m_dialling = false;
        return;
    }
    m_caption = windowTitle();
    setWindowTitle(kDiallingCaption + dialString);
    m_ui->lblDialing->setAutoFillBackground(true);
    m_dialer->dial(phone::portDevice(m_port), dialString);
}

void frmDial::onDialFinished(int result) {
    m_ui->lblDialing->setAutoFillBackground(false);
    m_ui->lblDialing->clear();
    setWindowTitle(m_caption);
    if (result != phone::ModemDialer::kAnswered) {
        setControlsEnabled(true);
        m_dialling = false;
        msgBox(kDialFailed, PromptButtons::Ok, PromptIcon::Error, kDialFailedTitle);
        return;
    }
    m_ui->cmdCancel->setEnabled(true);
    m_ui->cmdDial->setEnabled(true);
    m_dialling = false;
    accept();
}

void frmDial::done(int result) {
    if (m_dialling) return;
    QDialog::done(result);
}

void frmDial::closeEvent(QCloseEvent* event) {
    if (m_dialling) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool frmDial::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        phone::showHelp(this, kHelpContext);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
