// The one owner of each piece of the window's screen state. Every routine that changes which
// pane is on show, what the search bar offers or which commands act on results goes through
// these, so a pane or a command can no longer be left behind in the wrong state.
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>

#include "frmMain.h"
#include "ui_frmMain.h"

void frmMain::showPanes(Pane pane) {
    m_pane = pane;
    m_ui->vsSearch->setVisible(pane == Pane::Search);
    m_ui->vsResult->setVisible(pane == Pane::Result);
    m_ui->vsDong->setVisible(pane == Pane::Dong);
}

void frmMain::showSearchBox(SearchBar bar) {
    const bool box = bar != SearchBar::DongWarning;
    m_ui->txtSearch->setVisible(box);
    m_ui->cmdSearch->setVisible(box);
    m_ui->Label4->setVisible(bar == SearchBar::BoxAndPrompt);
    m_ui->lblDongCaption->setVisible(!box);
}

void frmMain::setKindCommands(bool nameKind) {
    m_tbFirst->setEnabled(nameKind);
    m_tbNext->setEnabled(nameKind);
    m_ui->cmdDongSungSearch->setVisible(nameKind);
    // Nothing fills the category box, and the ordering note is never shown.
    m_ui->cboABCCateSearch->hide();
    m_ui->Label5->hide();
}

void frmMain::setResultCommands(bool available) {
    // The search button waits while results are on show; the input state offers it again.
    m_ui->cmdSearch->setEnabled(!available);
    for (QAction* command :
         {m_tbPrint, m_tbLabelPrint, m_tbSelectAll, m_ui->mnuPrint, m_ui->mnuPrintDM,
          m_ui->popupMemo2, m_popupMemo, m_popupPrint, m_popupSelectAll}) {
        command->setEnabled(available);
    }
}

void frmMain::updateDongCommands() {
    const bool surname = m_searchMode == SearchMode::Surname;
    const bool pageable = !m_ui->txtDong->text().isEmpty() && !m_dongListed;
    m_ui->cmdNext->setVisible(!surname);
    m_ui->cmdFull->setVisible(!surname);
    m_ui->cmdNext->setEnabled(pageable);
    m_ui->cmdFull->setEnabled(pageable);
    m_ui->txtSung->setVisible(surname);
    m_ui->lblSung->setVisible(surname);
    m_ui->cmdSungSearch->setVisible(surname);
}

void frmMain::clearList(QTreeView* view) {
    static_cast<ResultListModel*>(view->model())->clear();
    // An empty list opens at its first column, not where a wide listing was scrolled to.
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
}
