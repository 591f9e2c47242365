// The main window: the search kinds and commands, the region tree, the three result lists
// over models, the toolbar, menus and status bar, and the name-search control zendari1 it
// hosts (loaded by file name). Creation reads the current area; load opens adDocs.cad (held
// open for the window's whole life as dbDocs), initialises the control, sets up the lists,
// the search kind and the tree. Closing asks for confirmation, then closes dbDocs.
//
// The screen state has one owner each: showPanes() decides which of the three panes is on
// show, showSearchBox() the search box or the dong warning above them, setKindCommands() what
// belongs to one search kind, setResultCommands() the commands that act on results (toolbar,
// menus, pop-up and the search button together), updateDongCommands() the dong paging
// buttons. Routines change the state only through them.
// The routines live in frmMain*.cpp by subject: window and load here, search kinds, region
// tree, name search, local listing and result commands in their own files.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <memory>
#include <optional>
#include <vector>

#include "Database.h"
#include "MemoTransfer.h"
#include "ResultCommands.h"
#include "ResultListModel.h"
#include "SearchMode.h"
#include "ZendariClient.h"
#include "search/NameSearch.h"

class QAction;
class QCloseEvent;
class QInputMethodEvent;
class QLabel;
class QMenu;
class QTreeView;
class QTreeWidgetItem;
class frmMemo;
class frmSplash;

namespace Ui {
class frmMain;
}
namespace business {
class BusinessCommands;
}

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The auxiliary database's secret.
    static constexpr char kDocsSecret[] = "lanterns";
    // The three panes under the search bar; exactly one is on show.
    enum class Pane { Search, Result, Dong };
    // What the search bar offers: the search box, the box with its prompt label beside it, or
    // in a dong search the warning that a dong must be chosen.
    enum class SearchBar { Box, BoxAndPrompt, DongWarning };

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The control library to load; "" (the default) is Zendari20.so beside the program.
    void setControlLibrary(const QString& path) { m_controlLibrary = path; }
    // Runs the load sequence. False when it stopped at a failure (the user was told, or the
    // control reported its own); the program then ends.
    bool loadWindow(frmSplash* splash);

    // State other windows read.
    int intLoadedArea() const { return m_loadedArea; }  // -1 before the first tree
    int intCurrentArea() const { return m_currentArea; }
    SearchMode searchMode() const { return m_searchMode; }
    qint32 intSearchKindCode() const { return m_searchKindCode; }  // 2 once set up
    bool blnDongResult() const { return m_dongResult; }  // lvDongResult holds dong-scan names
    bool isNameKind() const;                             // cmbSearchKind reads "인명검색"
    Pane paneOnShow() const { return m_pane; }
    int foundCount() const { return m_foundCount; }
    int localCount() const { return m_localCount; }
    telvia::Database& dbDocs() { return m_dbDocs; }
    zendari::ZendariClient& zendari1() { return m_zendari; }
    QString statusText(int panel) const;  // panels 1-4

    ResultListModel* searchModel() const { return m_searchModel; }
    ResultListModel* resultModel() const { return m_resultModel; }
    ResultListModel* dongModel() const { return m_dongModel; }
    QTreeView* resultList() const;
    QTreeView* dongList() const;
    // The list the result commands act on: lvResult while its pane is on show, else
    // lvDongResult.
    QTreeView* commandList() const;

    // Search kinds and commands.
    void setUpSearchKind();
    void inputState();
    void searchCommand();

    // Region tree.
    void selectRegion(int index);
    void requestTree();
    QString selectedCode() const;  // the selected node's key without its marker
    void nodeClicked(QTreeWidgetItem* node);
    bool dongChanged() const { return m_dongChanged; }
    int treeLoads() const { return m_treeBuilds; }  // region-tree loads begun since creation

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
    // The names one dong page walks (20,000); tests page through small samples with fewer.
    void setScanPage(int names) { m_scanPage = names; }

    // Local listing (chb.cad).
    void localExactNameSearch();
    void localDongListing();

    // Result-list commands; each returns what the window it opens would receive.
    void selectAll();
    QString printCommand();
    std::optional<search::DialValues> dialCommand();
    QString webCall();  // the address opened, "" when nothing was sent
    void startCompanion(int menu, int index);
    void sortList(QTreeView* list, int column);

    // Memo pads: the memo window of the memo mode (loaded hidden), and the copy of the
    // selected results into its list that "메모하기" saves as a pad.
    frmMemo* memoWindow() const { return m_memo.get(); }
    MemoTransferResult loadMemoList();

    // The business search, which no command of the window runs: other programs call it over
    // the session bus (HalvernBus). The one from outside runs the query even after the name
    // search kind was set up, and shows its rows as the window's own search would.
    void enSubmitClickMulti(const QString& comName, const QString& DongCode);
    void enMnuStandardSearchClick();
    void businessSearchFromOutside(const QString& comName, const QString& DongCode);

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
    // The print and dial commands of the toolbar, menus and pop-up: the hand-off decided by
    // printCommand()/dialCommand(), then the window that takes it.
    void openPrintWindow();
    void openDialWindow();
    static QPixmap bannerPixmap(int width, int height, const QFont& font);
    bool confirmExit();
    void unloadWindow();
    // frmMainScreen.cpp: the one owner of each piece of screen state.
    void showPanes(Pane pane);
    void showSearchBox(SearchBar bar);
    void setKindCommands(bool nameKind);
    void setResultCommands(bool available);
    void updateDongCommands();
    void setSearchMode(SearchMode mode) { m_searchMode = mode; }
    void clearList(QTreeView* view);
    // frmMainSearchKind.cpp
    void connectSearchKind();
    void firstCommand();
    void nextCommand();
    void backCommand();
    void onSearchTextChanged();
    void onSearchInputMethod(const QInputMethodEvent& event);
    bool searchBoxKey(int key);
    QString searchWord() const;  // txtSearch's text with the syllable being composed
    // frmMainRegion.cpp
    void connectRegion();
    void chooseArea(int index);
    bool buildTree(int area);
    void jumpToNode(const QString& typed);
    // frmMainNames.cpp
    void connectNames();
    void showDongScanPage(bool fullPage);
    void showSurnameScan();
    void runDongSearch(bool surname, bool fullPage);
    void beginScanPage(int addressWidth);
    void enterDongSearch(SearchMode mode);
    // frmMainResults.cpp
    void connectResults();
    void setUpList(QTreeView* view, ResultListModel* model);
    void showListHeaders(QTreeView* view, const QStringList& headers, const QList<int>& twips);
    void showPopup(QTreeView* view, const QPoint& pos);
    bool resultListEvent(QObject* watched, QEvent* event);

    std::unique_ptr<Ui::frmMain> m_ui;
    telvia::Database m_dbDocs;
    std::unique_ptr<frmMemo> m_memo;
    zendari::ZendariClient m_zendari;
    QString m_controlLibrary;
    search::ExcludedRecords m_excluded;
    search::RegionSelection m_controlRegion;

    ResultListModel* m_searchModel = nullptr;
    ResultListModel* m_resultModel = nullptr;
    ResultListModel* m_dongModel = nullptr;
    Qt::SortOrder m_resultOrder = Qt::DescendingOrder;  // the first click sorts ascending
    Qt::SortOrder m_dongOrder = Qt::DescendingOrder;

    // Toolbar1's nine buttons, in order; their keys are the actions' data.
    QAction* m_tbFirst = nullptr;
    QAction* m_tbNext = nullptr;
    QAction* m_tbMemo = nullptr;
    QAction* m_tbPrint = nullptr;
    QAction* m_tbLabelPrint = nullptr;
    QAction* m_tbSelectAll = nullptr;
    QAction* m_tbDail = nullptr;
    QAction* m_tbWebcall = nullptr;
    QAction* m_tbOption = nullptr;
    // mnuPopUp and mnuPopup2.
    QMenu* m_mnuPopUp = nullptr;
    QMenu* m_mnuPopup2 = nullptr;
    QAction* m_popupFront = nullptr;
    QAction* m_popupSelectAll = nullptr;
    QAction* m_popupMemo = nullptr;
    QAction* m_popupPhone = nullptr;
    QAction* m_popupPrint = nullptr;
    QAction* m_popupNext = nullptr;
    QLabel* m_picProgress = nullptr;
    QLabel* m_panels[4] = {};

    business::BusinessCommands* m_business = nullptr;  // "기본검색"/"단어검색" and Varlink

    QHash<QString, QTreeWidgetItem*> m_nodesByKey;
    std::vector<QTreeWidgetItem*> m_nodesInOrder;

    int m_loadedArea = -1;      // area whose region tree is loaded
    int m_currentArea = 0;      // area chosen
    bool m_treeFailed = false;  // the loaded area's tree could not be built
    SearchMode m_searchMode = SearchMode::None;
    qint32 m_searchKindCode = 0;
    bool m_dongResult = false;
    Pane m_pane = Pane::Search;
    QString m_preedit;              // the syllable the input method is composing in txtSearch
    bool m_refreshing = false;      // ListNames is running
    bool m_skipNextChange = false;  // the next txtSearch change skips the lookup
    bool m_settingText = false;     // the window itself writes txtArea/txtDong
    bool m_dongChanged = false;
    bool m_dongListed = false;  // the control reached the region's end for the chosen dong
    int m_treeBuilds = 0;       // tree loads begun; a load that sees a later one begin stops
    int m_foundCount = 0;
    int m_localCount = 0;
    int m_scanPage = search::kScanPage;
};
