// The main window: the search kinds and commands, the region tree, the three result lists
// over models, the toolbar, menus and status bar, and the name-search control zendari1 it
// hosts (loaded by file name). Creation reads the current area; load opens adDocs.cad (held
// open for the window's whole life as dbDocs), initialises the control, sets up the lists,
// the search kind and the tree. Closing asks for confirmation, then closes dbDocs.
// The routines live in frmMain*.cpp by subject: window and load here, search kinds, region
// tree, name search, local listing and result commands in their own files.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "Database.h"
#include "ResultCommands.h"
#include "ResultListModel.h"
#include "ZendariClient.h"
#include "search/NameSearch.h"

class QAction;
class QCloseEvent;
class QInputMethodEvent;
class QLabel;
class QMenu;
class QTreeView;
class QTreeWidgetItem;
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

    // The control library to load; "" (the default) is Zendari20.so beside the program.
    void setControlLibrary(const QString& path) { m_controlLibrary = path; }
    // Runs the load sequence. False when it stopped at a failure (the user was told, or the
    // control reported its own); the program then ends.
    bool loadWindow(frmSplash* splash);

    int intLoadedArea = -1;        // area whose region tree is loaded; -1 before the first
    int intCurrentArea = 0;        // area chosen
    int intSearchMode = 0;         // 1 name search kind, 2 dong search, 3 surname search in a dong
    qint32 intSearchKindCode = 0;  // 2 from the first set-up of the name search kind on
    bool blnDongResult = false;    // lvDongResult holds the names of a dong-wide search
    bool blnAllSelected = false;   // the last select-all selected (true) or cleared
    telvia::Database& dbDocs() { return m_dbDocs; }
    zendari::ZendariClient& zendari1() { return m_zendari; }

    // Search kinds and commands.
    void setUpSearchKind();
    void inputState();
    void searchCommand();
    void toolbarCommand(const QString& key);
    QAction* toolbarButton(const QString& key) const { return m_toolButtons.value(key); }
    QString statusText(int panel) const;  // panels 1-4

    // Region tree.
    void selectRegion(int index);
    void requestTree();
    QString selectedCode() const;  // the selected node's key without its marker
    void nodeClicked(QTreeWidgetItem* node);
    bool dongChanged() const { return m_dongChanged; }

    // Name search through the control.
    void ListNames();
    void ShowNameRecords(const QString& name, const QString& firstAndCount,
                         const QString& areaCode);
    void nameSearchFromList();
    void cmdNextClick();
    void cmdFullClick();
    void cmdSungSearchClick();
    void cmdDongSeekClick();
    void cmdDongSungSearchClick();
    void cmdEndClick();
    int foundCount() const { return m_foundCount; }

    // Local listing (chb.cad).
    void localExactNameSearch();
    void localDongListing();
    int localCount() const { return m_localCount; }

    // Result-list commands; each returns what the window it opens would receive.
    void selectAll();
    QString printCommand();
    std::optional<search::DialValues> dialCommand();
    QString webCall();  // the address opened, "" when nothing was sent
    void startCompanion(int menu, int index);
    void sortList(QTreeView* list, int column);

    ResultListModel* searchModel() const { return m_searchModel; }
    ResultListModel* resultModel() const { return m_resultModel; }
    ResultListModel* dongModel() const { return m_dongModel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // frmMain.cpp
    void buildToolbar();
    void buildPopupMenus();
    void buildStatusBar();
    void updateClock();
    void setStatus(int panel, const QString& text);
    void setBlueCaption(QLabel* caption, const QString& text);
    void openAddress(const QString& address);
    static QPixmap bannerPixmap(int width, int height, const QFont& font);
    bool confirmExit();
    void unloadWindow();
    // frmMainSearchKind.cpp
    void connectSearchKind();
    void onSearchTextChanged();
    void onSearchInputMethod(const QInputMethodEvent& event);
    QString searchWord() const;  // txtSearch's text with the syllable being composed
    void setToolbarAvailable(const QString& key, bool available);
    // frmMainRegion.cpp
    void connectRegion();
    void buildTree(int area);
    void jumpToNode(const QString& typed);
    // frmMainNames.cpp
    void connectNames();
    void showDongScanPage();
    void showSurnameScan();
    void runDongSearch(void (frmMain::*scan)());
    void beginScanPage(int addressWidth);
    void enterDongSearch(int mode);
    // frmMainResults.cpp
    void connectResults();
    void setUpList(QTreeView* view, ResultListModel* model);
    void showListHeaders(QTreeView* view, const QStringList& headers, const QList<int>& twips);
    void showPopup(QTreeView* view, const QPoint& pos);

    std::unique_ptr<Ui::frmMain> m_ui;
    telvia::Database m_dbDocs;
    zendari::ZendariClient m_zendari;
    QString m_controlLibrary;
    search::ExcludedRecords m_excluded;
    search::RegionSelection m_controlRegion;

    ResultListModel* m_searchModel = nullptr;
    ResultListModel* m_resultModel = nullptr;
    ResultListModel* m_dongModel = nullptr;
    Qt::SortOrder m_resultOrder = Qt::DescendingOrder;  // the first click sorts ascending
    Qt::SortOrder m_dongOrder = Qt::DescendingOrder;

    QHash<QString, QAction*> m_toolButtons;
    QMenu* m_mnuPopUp = nullptr;
    QMenu* m_mnuPopup2 = nullptr;
    QAction* m_popupSelectAll = nullptr;
    QLabel* m_picProgress = nullptr;
    QLabel* m_panels[4] = {};

    QHash<QString, QTreeWidgetItem*> m_nodesByKey;
    std::vector<QTreeWidgetItem*> m_nodesInOrder;

    QString m_preedit;              // the syllable the input method is composing in txtSearch
    bool m_refreshing = false;      // ListNames is running
    bool m_skipNextChange = false;  // the next txtSearch change skips the lookup
    bool m_settingText = false;     // the window itself writes txtArea/txtDong
    bool m_dongChanged = false;
    bool m_fullSearch = false;
    int m_treeBuilds = 0;  // tree loads begun; a load that sees a later one begin stops
    int m_foundCount = 0;
    int m_localCount = 0;
};
