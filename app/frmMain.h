// The main window. Creation reads the current area; load opens the auxiliary database
// adDocs.cad (held open for the window's whole life as dbDocs) and sets up the result lists;
// closing asks for confirmation, then unloads the memo window and closes dbDocs.
// The search panes, toolbar, region tree and the name-search control grow here.
#pragma once

#include <QMainWindow>
#include <memory>

#include "Database.h"

class QCloseEvent;
class QTreeWidget;
class frmSplash;

namespace Ui {
class frmMain;
}

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The auxiliary database's secret.
    static constexpr char kDocsSecret[] = "lanterns";

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the load sequence. False when it stopped at a failure the user was told about;
    // the program then ends (without adDocs.cad there is no region data to work with).
    bool loadWindow(frmSplash* splash);

    int intLoadedArea = -1;  // area whose region tree is loaded; -1 before the first
    int intCurrentArea = 0;  // area chosen
    telvia::Database& dbDocs() { return m_dbDocs; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool confirmExit();
    void unloadWindow();

    std::unique_ptr<Ui::frmMain> m_ui;
    telvia::Database m_dbDocs;
};
