#include "LabelLauncher.h"

#include <QApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include "Prompt.h"
#include "outside/ProgramFolder.h"

namespace {

const QString kNoLabelProgram = QStringLiteral("라벨 인쇄 프로그램이 없습니다. ");

// No partner on the bus: the name has no owner, or there is no bus to ask.
bool noPartner(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::Disconnected ||
           error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

}  // namespace

LabelLauncher::LabelLauncher(QWidget* owner)
    : QObject(owner),
      m_owner(owner),
      m_folder(::programFolder()),
      m_bus(QDBusConnection::sessionBus()),
      m_wait(new QTimer(this)) {
    m_wait->setSingleShot(true);
    m_wait->setTimerType(Qt::PreciseTimer);  // a coarse timer may end the wait early
    connect(m_wait, &QTimer::timeout, this, &LabelLauncher::attempt);
}

void LabelLauncher::setProgramFolder(const QString& folder) {
    m_folder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool LabelLauncher::labelCommand() {
    if (m_running) return false;
    m_running = true;
    m_retry = false;
    attempt();
    return true;
}

void LabelLauncher::attempt() {
    call("Link", QString::fromLatin1(label::kItem), &LabelLauncher::linked);
}

void LabelLauncher::linked() {
    call("Execute", QString::fromLatin1(label::kExecute), &LabelLauncher::executed);
}

void LabelLauncher::executed() {
    finish(Outcome::kTakenOver);
}

void LabelLauncher::call(const char* method, const QString& argument,
                         void (LabelLauncher::*onSuccess)()) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(label::kService), QString::fromLatin1(label::kTopicPath),
        QString::fromLatin1(label::kInterface), QString::fromLatin1(method));
    message << argument;
    // Only a running label program counts as a partner: the bus must not start one.
    message.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(message, static_cast<int>(m_callTimeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onSuccess](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<> reply = *w;
                if (reply.isError()) {
                    failed(reply.reply());
                } else {
                    (this->*onSuccess)();
                }
            });
}

void LabelLauncher::failed(const QDBusMessage& error) {
    if (m_retry) {
        finish(Outcome::kNoAnswer);
        return;
    }
    m_retry = true;
    if (!noPartner(QDBusError(error))) {
        attempt();  // any other failure: one more try, without starting the program
        return;
    }
    const QString program = m_folder + QString::fromLatin1(label::kProgram);
    if (!QFileInfo(program).isFile()) {
        MessageRequest box;
        box.title = QApplication::applicationDisplayName();
        box.text = kNoLabelProgram;
        box.icon = PromptIcon::Error;
        box.owner = m_owner;
        activePrompt().message(box);
        finish(Outcome::kProgramMissing);
        return;
    }
    QProcess::startDetached(program, {QString::fromLatin1(label::kNoLoad)});
    m_wait->start(m_startWait);
}

void LabelLauncher::finish(Outcome outcome) {
    m_running = false;
    emit finished(outcome);
}
