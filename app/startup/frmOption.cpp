#include "frmOption.h"

#include "Orvello.h"
#include "ui_frmOption.h"

namespace {

const QString kSection = QStringLiteral("Option");

// A stored entry outside the list (only by hand-editing) falls back to the default entry,
// so OK never saves an index that matches no entry.
void selectEntry(QComboBox* box, int index, int fallback) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : fallback);
}

}  // namespace

frmOption::frmOption(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::frmOption>()) {
    m_ui->setupUi(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmOption::cmdOKClick);
    connect(m_ui->Command1, &QPushButton::clicked, this, &QDialog::reject);
    loadSettings();
}

frmOption::~frmOption() = default;

void frmOption::loadSettings() {
    selectEntry(m_ui->cboComPort,
                Orvello::leadingNumber(Orvello::Read(kSection, "ComPort", "3")) - 1, 2);
    m_ui->txtArea->setText(Orvello::Read(kSection, "AreaCode", "02"));
    selectEntry(m_ui->cboPreFix, Orvello::leadingNumber(Orvello::Read(kSection, "PreFix", "0")), 0);
    m_ui->txtDisplayMax->setText(Orvello::Read(kSection, "MaxDisplayCount", "0"));
}

void frmOption::cmdOKClick() {
    Orvello::Save(kSection, "ComPort", QString::number(m_ui->cboComPort->currentIndex() + 1));
    Orvello::Save(kSection, "AreaCode", m_ui->txtArea->text());
    Orvello::Save(kSection, "PreFix", QString::number(m_ui->cboPreFix->currentIndex()));
    Orvello::Save(kSection, "MaxDisplayCount", m_ui->txtDisplayMax->text());
    accept();
}
