// Halvern, the main program. With TELVIA_SCREENSHOT set it saves a PNG of the loaded main
// window to that path and quits (used by `make run` without a display); with
// TELVIA_SCREENSHOT_SEARCH set as well, that name is typed and searched first, so the
// picture shows a search with its results.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "HalvernBus.h"
#include "MainWindowBus.h"
#include "Prompt.h"
#include "frmMain.h"
#include "startup/modLoadProgram.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvern"));
    // Desktops match the window to its menu entry and icon by this name (packaging/).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.telvia.Halvern"));
    QtPrompt prompt;
    PromptInstaller installed(prompt);

    modLoadProgram::ProgramSession session;
    if (modLoadProgram::StartProgram(session) == modLoadProgram::StartResult::kEnded) return 1;
    // Other programs reach the window's public operations on the session bus (doc/dbus.md).
    HalvernBus bus;
    if (!publishMainWindow(bus, *session.mainWindow)) qInfo("%s", qUtf8Printable(bus.lastError()));

    const QString screenshot = qEnvironmentVariable("TELVIA_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        const QString name = qEnvironmentVariable("TELVIA_SCREENSHOT_SEARCH");
        if (!name.isEmpty()) {
            QTimer::singleShot(500, &app, [&session, name] {
                frmMain& window = *session.mainWindow;
                window.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(name);
                window.searchCommand();
            });
        }
        QTimer::singleShot(1500, &app, [&] {
            const bool saved = session.mainWindow->grab().save(screenshot, "PNG");
            if (!saved) qWarning("could not save the screenshot to %s", qUtf8Printable(screenshot));
            QCoreApplication::exit(saved ? 0 : 2);
        });
    }
    return app.exec();
}
