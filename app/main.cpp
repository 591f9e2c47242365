// Halvern, the main program. With TELVIA_SCREENSHOT set it saves a PNG of the loaded main
// window to that path and quits (used by `make run` without a display).
#include <QApplication>
#include <QTimer>

#include "Prompt.h"
#include "frmMain.h"
#include "startup/modLoadProgram.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvern"));
    QtPrompt prompt;
    PromptInstaller installed(prompt);

    modLoadProgram::ProgramSession session;
    if (modLoadProgram::StartProgram(session) == modLoadProgram::StartResult::kEnded) return 1;

    const QString screenshot = qEnvironmentVariable("TELVIA_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &app, [&] {
            const bool saved = session.mainWindow->grab().save(screenshot, "PNG");
            if (!saved) qWarning("could not save the screenshot to %s", qUtf8Printable(screenshot));
            QCoreApplication::exit(saved ? 0 : 2);
        });
    }
    return app.exec();
}
