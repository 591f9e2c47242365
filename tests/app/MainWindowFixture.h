// A running main window on a generated sample directory: telvia-sample writes a small
// directory (CD, Windows folder with Halvern.ini and Quenby.INI, program folder with
// adDocs.cad and chb.cad) once per test process, the start routine runs against it with the
// control library of this build, and every prompt goes to the scripted prompt.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "CapturingShell.h"
#include "ScriptedPrompt.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "modLoadProgram.h"

class QAction;
class QMenu;
class QTreeWidget;
class QWidget;

// Types `text` into a widget one character at a time as key presses carrying the text
// (QTest's key clicks know only Latin-1 keys).
void typeText(QWidget* target, const QString& text);

class QTreeWidgetItem;

// The sample directory of this test process; "" when it could not be made.
QString sampleRoot();

// One line of the sample's listings file, and the dong names by code.
struct SampleListing {
    QString name, dong, area, exchange, line, suffix, lotMain, lotSub, postal, detail;
    // The four columns a result row shows for it (the telephone with its line as four
    // digits, the postal code with its hyphen, the dong words, lot and detail line).
    QStringList shownCells(const QString& dongWords) const;
};
const std::vector<SampleListing>& sampleListings();
const QHash<QString, QString>& sampleDongWords();
// The rows a search for `name` in `areaCode` must show, in listing order, without the
// excluded sample record (dong 10010101, detail "텔비아 견본 가입자").
std::vector<QStringList> expectedNameRows(const QString& name,
                                          const std::function<bool(const QString&)>& inArea);
// Options of the start routine for a sample installation at `root`.
modLoadProgram::StartOptions sampleStartOptions(const QString& root, const QString& lockPath);

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program; false (with a test failure) when it did not come up. Another
    // program folder (one with a crafted adDocs.cad) may replace the sample's.
    bool start(const QString& programDirectory = {});
    frmMain& window() { return *m_session.mainWindow; }
    template <typename T>
    T* child(const char* name) {
        return window().findChild<T*>(QString::fromLatin1(name));
    }
    QTreeWidget* tree();
    // The node with this key ("!10", "@1101", ...), or nullptr.
    QTreeWidgetItem* node(const QString& key);
    // Clicks the node as the user would (it becomes current, then the click runs).
    void clickNode(const QString& key);
    // The toolbar button with this key ("Print", ...), and a click on it as the user makes it.
    QAction* toolbarAction(const char* key);
    void clickToolbar(const char* key);
    // A left click on the named button.
    void click(const char* button);
    // Chooses an item of a menu the way a user does: the menu opens, the item is clicked.
    void chooseFromMenu(QMenu* menu, QAction* item);
    // Sets an Orvello value before the program reads it.
    void saveSetting(const QString& section, const QString& key, const QString& value);

    QTemporaryDir m_tmp;
    ScriptedPrompt m_prompt;
    CapturingShell m_shell;
    std::unique_ptr<PromptInstaller> m_promptInstalled;
    std::unique_ptr<ShellInstaller> m_shellInstalled;
    modLoadProgram::ProgramSession m_session;
};
