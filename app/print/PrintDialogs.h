// The standard dialogs the print window opens (font and colour, page setup, print, PDF file
// name), behind one seam as the prompts are, so that tests answer them headless. The program
// uses Qt's dialogs; a test installs its own answers with PrintDialogsInstaller.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "TableDocument.h"

class QPrinter;
class QWidget;

namespace print {

struct PrintDialogs {
    // The font dialog (screen and printer fonts, with effects), then the text colour: the
    // chosen font, or nullopt when the font dialog was cancelled. A cancelled colour step
    // keeps the current colour.
    std::function<std::optional<BodyFont>(QWidget* parent, const BodyFont& current)> chooseFont;
    // Page setup on the printer (paper, orientation, margins); true when the user confirmed.
    std::function<bool(QWidget* parent, QPrinter& printer)> pageSetup;
    // The print dialog on the printer; true to print.
    std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
    // The PDF file to save to; "" when cancelled.
    std::function<QString(QWidget* parent)> pdfFileName;
};

// Qt's own dialogs.
PrintDialogs qtPrintDialogs();

// The dialogs the print window uses: the ones installed last, else Qt's.
const PrintDialogs& activePrintDialogs();

// Installs dialogs for the life of this object and puts the previous ones back after.
class PrintDialogsInstaller {
public:
    explicit PrintDialogsInstaller(PrintDialogs dialogs);
    ~PrintDialogsInstaller();
    PrintDialogsInstaller(const PrintDialogsInstaller&) = delete;
    PrintDialogsInstaller& operator=(const PrintDialogsInstaller&) = delete;

private:
    PrintDialogs m_previous;
};

}  // namespace print
