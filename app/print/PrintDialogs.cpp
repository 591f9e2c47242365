#include "PrintDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <utility>

namespace print {

namespace {

std::optional<BodyFont> chooseFont(QWidget* parent, const BodyFont& current) {
    bool ok = false;
    // Every installed font (screen and printer alike), with the effects.
    const QFont font = QFontDialog::getFont(&ok, current.font, parent, QStringLiteral("폰트설정"));
    if (!ok) return std::nullopt;
    const QColor colour = QColorDialog::getColor(current.colour, parent, QStringLiteral("글자 색"));
    return BodyFont{font, colour.isValid() ? colour : current.colour};
}

bool pageSetup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString pdfFileName(QWidget* parent) {
    QString name = QFileDialog::getSaveFileName(
        parent, QStringLiteral("PDF로 저장"),
        QDir::home().filePath(QStringLiteral("Telvia 리스트.pdf")), QStringLiteral("PDF (*.pdf)"));
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".pdf");
    return name;
}

PrintDialogs& installed() {
    static PrintDialogs dialogs = qtPrintDialogs();
    return dialogs;
}

}  // namespace

PrintDialogs qtPrintDialogs() {
    return {chooseFont, pageSetup, choosePrinter, pdfFileName};
}

const PrintDialogs& activePrintDialogs() {
    return installed();
}

PrintDialogsInstaller::PrintDialogsInstaller(PrintDialogs dialogs)
    : m_previous(std::exchange(installed(), std::move(dialogs))) {}

PrintDialogsInstaller::~PrintDialogsInstaller() {
    installed() = std::move(m_previous);
}

}  // namespace print
