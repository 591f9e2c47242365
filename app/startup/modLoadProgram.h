// The start routine: refuse a second instance, find the CD-ROM drives, locate the directory
// CD ("SRCDISK" of Halvern.ini, else the first drive), wait for its data file, set the
// program-wide paths and the display scale, then show the splash and the main window.
// It never ends the process itself: it returns kEnded and main() returns at once.
#pragma once

#include <QString>
#include <memory>

class SingleInstanceGuard;
class frmMain;
class frmSplash;

namespace modLoadProgram {

enum class StartResult { kRunning, kEnded };

// Where the start routine looks; the defaults are the real program's.
struct StartOptions {
    QString programDirectory;  // "" = the folder of the executable
    QString instanceLockPath;  // "" = SingleInstanceGuard::defaultLockPath()
    QString mountTable = QStringLiteral("/proc/self/mounts");
    QString controlLibrary;  // "" = Zendari20.so beside the executable
    // Where an installed (read-only) program folder keeps the user's copies of its files;
    // "" = UserDataFolder::defaultLocation(). Unused for a program folder without the marker.
    QString userDataDirectory;
};

// What a started program holds until it ends: the instance lock and its windows.
struct ProgramSession {
    ProgramSession();
    ~ProgramSession();
    std::unique_ptr<SingleInstanceGuard> guard;
    std::unique_ptr<frmSplash> splash;
    std::unique_ptr<frmMain> mainWindow;
};

StartResult StartProgram(ProgramSession& session, const StartOptions& options = {});

// Asks for the directory CD until its data file "data/human.cod" is under `cdRoot`: true
// once it is, false when the user cancels.
bool CheckCdData(const QString& cdRoot);

// 96 divided by the numeric value of a DPIPhysicalY text. A text that is not a positive
// number ("", "0", "abc", "-5") gives 1, the same as a missing value.
float displayScale(const QString& dpiText);

}  // namespace modLoadProgram
