// The label command: hands over to the label program "Lablor" by asking it, over the
// desktop's message bus, to execute "CM:" on its design form. When no program answers on
// the bus, the program is started once from the program folder with "/NoLoad", and asked
// again 2 seconds later. Nothing else crosses: no entries, files or other arguments.
//
// The conversation on the session bus (doc/dbus.md): the service "Lablor" is the bus name
// org.telvia.Lablor, its topic "frmDesign" the object /frmDesign, which offers the
// interface org.telvia.Conversation with Link(item) (a manual link on the item "Form") and
// Execute(command). A bus name without an owner is the case of a conversation that no
// partner answers.
//
// The command runs from the event loop: the window stays live during the wait, and a second
// command while one runs is ignored.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <chrono>

class QDBusMessage;
class QTimer;
class QWidget;

namespace label {

inline constexpr char kService[] = "org.telvia.Lablor";
inline constexpr char kTopicPath[] = "/frmDesign";
inline constexpr char kInterface[] = "org.telvia.Conversation";
inline constexpr char kItem[] = "Form";
inline constexpr char kExecute[] = "CM:";
// The label program's file in the program folder and its one argument.
inline constexpr char kProgram[] = "Lablor";
inline constexpr char kNoLoad[] = "/NoLoad";

}  // namespace label

class LabelLauncher : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        kTakenOver,       // the label program accepted "CM:"
        kProgramMissing,  // nobody answered and there is no program to start (the user was told)
        kNoAnswer,        // nobody answered the second attempt either (nothing is said)
    };

    // The program folder defaults to the main program's; messages go over `owner`.
    explicit LabelLauncher(QWidget* owner = nullptr);

    void setProgramFolder(const QString& folder);  // a separator is appended unless present
    QString programFolder() const { return m_folder; }
    void setConnection(const QDBusConnection& bus) { m_bus = bus; }
    void setStartWait(std::chrono::milliseconds wait) { m_startWait = wait; }
    void setCallTimeout(std::chrono::milliseconds timeout) { m_callTimeout = timeout; }

    // Runs the label command. False, doing nothing, while an earlier one is still running.
    bool labelCommand();
    bool isRunning() const { return m_running; }

signals:
    void finished(LabelLauncher::Outcome outcome);

private:
    void attempt();
    void call(const char* method, const QString& argument, void (LabelLauncher::*onSuccess)());
    void linked();
    void executed();
    void failed(const QDBusMessage& error);
    void finish(Outcome outcome);

    QWidget* m_owner;
    QString m_folder;
    QDBusConnection m_bus;
    std::chrono::milliseconds m_startWait{2000};
    std::chrono::milliseconds m_callTimeout{5000};
    QTimer* m_wait;
    bool m_running = false;
    bool m_retry = false;
};
