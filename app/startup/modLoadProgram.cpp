#include "modLoadProgram.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include "ProfileFile.h"
#include "Prompt.h"
#include "Registry.h"
#include "SingleInstance.h"
#include "frmMain.h"
#include "modAdditionalAPI.h"
#include "startup/ProgramGlobals.h"
#include "startup/UserDataFolder.h"
#include "startup/frmSplash.h"
#include "startup/modCDFind.h"

namespace modLoadProgram {
namespace {

const QString kErrorL0003 = QStringLiteral("오류 (L0003)");
const QString kAlreadyRunning =
    QStringLiteral("Telvia 프로그램이 이미 실행 중 입니다.\r\n\r\n프로그램 실행을 취소하겠습니다.");
const QString kConfirm = QStringLiteral("확인");
const QString kNoCdRomDrive = QStringLiteral(
    "이 시스템에는 CD-ROM 드라이브가 없습니다.\r\n"
    "CD-ROM 드라이브가 없는 시스템에서는 프로그램을 실행할 수 없습니다.\r\n\r\n"
    "프로그램 실행을 취소하겠습니다.");
const QString kErrorL0001 = QStringLiteral("오류 (L0001)");
const QString kCdMissingBefore = QStringLiteral("CD-ROM 드라이브( ");
const QString kCdMissingAfter = QStringLiteral(
    " )에 번호부 CD가 들어있지 않습니다.\r\n\r\n"
    "계속 하시려면 번호부 CD를 삽입하신 후 \"재시도\"를 누르십시오");

// Linux paths run far past the 128 characters the installer's value was once read into;
// a cut path would send the CD check to the wrong folder.
constexpr std::size_t kSrcDiskBuffer = 4096;

QString withSeparator(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

// The leading decimal number of a text (as a number field would read it), or 0.
double leadingValue(const QString& text) {
    const QString t = text.trimmed();
    qsizetype n = 0;
    bool dot = false;
    if (n < t.size() && (t[n] == QLatin1Char('+') || t[n] == QLatin1Char('-'))) ++n;
    while (n < t.size() && ((t[n] >= QLatin1Char('0') && t[n] <= QLatin1Char('9')) ||
                            (!dot && t[n] == QLatin1Char('.')))) {
        if (t[n] == QLatin1Char('.')) dot = true;
        ++n;
    }
    bool ok = false;
    const double v = t.left(n).toDouble(&ok);
    return ok ? v : 0.0;
}

}  // namespace

ProgramSession::ProgramSession() = default;
ProgramSession::~ProgramSession() = default;

float displayScale(const QString& dpiText) {
    const double dpi = leadingValue(dpiText);
    return dpi > 0.0 ? static_cast<float>(96.0 / dpi) : 1.0f;
}

bool CheckCdData(const QString& cdRoot) {
    const QString text = kCdMissingBefore + modCDFind::driveLabel(cdRoot) + kCdMissingAfter;
    // A drive that cannot be read counts as one without the CD.
    while (!QFileInfo(cdRoot + QStringLiteral("data/human.cod")).isFile()) {
        if (msgBox(text, PromptButtons::RetryCancel, PromptIcon::Error, kErrorL0001, Beep::Yes) !=
            PromptAnswer::Retry) {
            return false;
        }
    }
    return true;
}

StartResult StartProgram(ProgramSession& session, const StartOptions& options) {
    // 1. One instance only.
    session.guard = std::make_unique<SingleInstanceGuard>(
        options.instanceLockPath.isEmpty() ? SingleInstanceGuard::defaultLockPath()
                                           : options.instanceLockPath);
    if (!session.guard->acquire()) {
        msgBox(kAlreadyRunning, PromptButtons::Ok, PromptIcon::Error, kErrorL0003);
        return StartResult::kEnded;
    }

    // 2. A CD-ROM drive must exist, whatever the settings file says.
    const QString drives = modCDFind::FindCdRomDrives(options.mountTable);
    if (drives.isEmpty()) {
        msgBox(kNoCdRomDrive, PromptButtons::Ok, PromptIcon::Error, kConfirm);
        return StartResult::kEnded;
    }

    // 3. The CD root: the installer's SRCDISK, else the first drive. An empty value counts
    //    as unset, and the root gets its separator once.
    const QString srcDisk =
        modAdditionalAPI::TrimTrailingBlanks(QString::fromStdString(telvia::GetPrivateProfileString(
            "INSTALL", "SRCDISK", "NULL", kSrcDiskBuffer, "Halvern.ini")));
    strCdDrive = srcDisk != QLatin1String("NULL") && !srcDisk.isEmpty()
                     ? withSeparator(srcDisk)
                     : modCDFind::firstDriveRoot(drives);

    // 4.
    if (!CheckCdData(strCdDrive)) return StartResult::kEnded;

    // 5. Paths under the program folder, or under the user's data folder that stands in for
    //    an installed, read-only one.
    const UserDataFolder::Prepared data = UserDataFolder::prepare(
        options.programDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                           : options.programDirectory,
        options.userDataDirectory);
    for (const QString& problem : data.problems) qWarning("Halvern: %s", qUtf8Printable(problem));
    strDocsPath = data.folder + QStringLiteral("/Pro/Docs/");
    strBinPath = data.folder + QStringLiteral("/Pro/Bin/");
    strDatPath = data.folder + QStringLiteral("/dat/");

    // 6. Display scale.
    QString dpi;
    sngDisplayScale =
        ReadRegistryValue(RegistryRoot::CurrentConfig, QStringLiteral("Display\\Settings"),
                          QStringLiteral("DPIPhysicalY"), dpi)
            ? displayScale(dpi)
            : 1.0f;

    // 7.-8. Busy pointer, the splash painted once, then the main window.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    session.splash = std::make_unique<frmSplash>();
    session.splash->show();
    QCoreApplication::processEvents();
    session.mainWindow = std::make_unique<frmMain>();
    session.mainWindow->setControlLibrary(options.controlLibrary);
    session.mainWindow->show();
    const bool loaded = session.mainWindow->loadWindow(session.splash.get());
    QApplication::restoreOverrideCursor();
    if (!loaded) {
        session.mainWindow->hide();
        session.splash->close();
        return StartResult::kEnded;
    }
    return StartResult::kRunning;
}

}  // namespace modLoadProgram
