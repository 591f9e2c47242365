// The print window: the table document of one print source as an on-screen preview that the
// user pages through, zooms, turns between portrait and landscape, gives a body font, a page
// setup and a header text, then prints or saves as PDF. Every change of a setting recomposes
// the whole document. The print commands of the main window and the memo window show it
// modally through showPrint(), handing over the print source and their list's rows.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "TableDocument.h"

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

namespace Ui {
class frmPrint;
}

class frmPrint : public QDialog {
    Q_OBJECT
public:
    // Reads the rows of the list to print; called at every composition.
    using RowSource = std::function<std::vector<print::PrintRow>()>;

    static constexpr int kHeaderLength = 30;  // characters of the header text

    // Loads the window: zoom 100% in the whole-page mode, landscape with narrow side and top
    // margins, 9 points of 굴림체 (or the installed stand-in), the default header text, then
    // the first composition (which may tell that the print limit cut the selection).
    frmPrint(const QString& printSource, RowSource rows, QWidget* parent = nullptr);
    ~frmPrint() override;

    // The print commands' entry point: loads the window for `printSource` over `rows` and
    // shows it modal to the whole program. Returns at once, without a nested event loop, so
    // the command that opened it ends while the window is up; the window deletes itself
    // when closed (or with `parent`).
    static frmPrint* showPrint(QWidget* parent, const QString& printSource, RowSource rows);

    // Rebuilds the document from the print source, the rows, the header text, the
    // orientation and the body font, then the preview and the page position.
    void compose();

    // Toolbar: paging, zoom ("zoomout" enlarges by 20 while below 300%, "zoomin" reduces by
    // 10 while above 20%), print (print dialog, then the printer) and PDF export.
    void showPage(int page);
    void zoomOut();
    void zoomIn();
    void printCommand();
    void savePdf();
    // The other controls.
    void chooseZoomMode(int index);
    void choosePercent(int index);
    void setOrientation(print::Orientation orientation);
    void fontCommand();
    void pageSetupCommand();
    void headerCommand();

    int zoom() const;  // percent of the actual size
    const QString& headerText() const { return m_headerText; }
    const print::BodyFont& bodyFont() const { return m_body; }
    const print::TableDocument& document() const { return m_document; }
    print::Orientation orientation() const;
    QPrinter& printer() { return *m_printer; }
    QPrintPreviewWidget* preview() const { return VP; }

private:
    void buildToolbar();
    void setZoom(int percent);
    // Checks the option button of the printer's orientation without recomposing.
    void showOrientation();
    void showPagePosition();

    std::unique_ptr<Ui::frmPrint> m_ui;
    std::unique_ptr<QPrinter> m_printer;  // before VP, which paints on it
    QPrintPreviewWidget* VP = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_panel1 = nullptr;

    QString m_printSource;
    RowSource m_rows;
    QString m_headerText;
    print::BodyFont m_body;
    print::TableDocument m_document;
};
