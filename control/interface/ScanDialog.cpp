#include "ScanDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zendari {

ScanDialog::ScanDialog(QWidget* parent, std::function<void()> scan)
    : QDialog(parent), m_scan(std::move(scan)) {
    setObjectName(QStringLiteral("ScanDialog"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(
        new QLabel(QStringLiteral("동별검색중입니다. 잠시만 기다려주십시오...."), frame));
    inner->addWidget(new QProgressBar(frame));
    layout->addWidget(frame);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->hide();
    connect(ok, &QPushButton::clicked, this, &ScanDialog::onOk);
}

void ScanDialog::runScan() {
    exec();
}

void ScanDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        QTimer::singleShot(0, this, &ScanDialog::onOk);
    }
}

void ScanDialog::onOk() {
    accept();
    if (m_scan) m_scan();
}

}  // namespace zendari
