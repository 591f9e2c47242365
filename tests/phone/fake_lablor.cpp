// A stand-in for the label program "Lablor", started by the label tests as the program
// folder's "Lablor". It appends its arguments and then every call it is asked to run to the
// file named by FAKE_LABLOR_LOG, serves the conversation on the session bus and ends a
// second after the first "Execute", or after ten seconds. Not a label program.
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "FakeLabelServer.h"

namespace {

void appendLog(const QString& line) {
    QFile log(qEnvironmentVariable("FAKE_LABLOR_LOG"));
    if (log.open(QIODevice::Append | QIODevice::Text)) log.write((line + '\n').toUtf8());
}

}  // namespace

int main(int argc, char** argv) {
    // Started detached by the test: it must not keep the test's output open.
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    QCoreApplication app(argc, argv);
    appendLog(QStringLiteral("start ") + app.arguments().mid(1).join(QLatin1Char(' ')));
    FakeLabelServer server(QStringLiteral("fake-lablor"));
    server.setOnCall([](const QString& call) {
        appendLog(call);
        if (call.startsWith(QLatin1String("Execute")))
            QTimer::singleShot(1000, qApp, &QCoreApplication::quit);
    });
    if (!server.serve()) {
        appendLog(QStringLiteral("no bus"));
        return 1;
    }
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    return app.exec();
}
