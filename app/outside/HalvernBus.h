// The main program's public operations on the session bus, so that other programs (or
// `gdbus call` from a shell) reach the running program (doc/dbus.md):
//
//   bus name   org.telvia.Halvern
//   /frmMain   org.telvia.Halvern.frmMain   enSubmitClickMulti(s comName, s DongCode)
//                                           enMnuStandardSearchClick()
//   /frmMemo   org.telvia.Halvern.frmMemo   exLoadMemo(s eTableName)
//                                           enSaveMemo(s eTableName, b flgDup) -> i
//
// The operations are handed in as functions, so this file knows no window. Calls run one
// at a time on the window thread, each after the one before has ended (an operation may
// show a modal box, during which further calls wait), and the caller gets its reply when
// its operation has ended.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantList>
#include <deque>
#include <functional>
#include <memory>

namespace halvern_bus {

inline constexpr char kService[] = "org.telvia.Halvern";
inline constexpr char kMainPath[] = "/frmMain";
inline constexpr char kMainInterface[] = "org.telvia.Halvern.frmMain";
inline constexpr char kMemoPath[] = "/frmMemo";
inline constexpr char kMemoInterface[] = "org.telvia.Halvern.frmMemo";

}  // namespace halvern_bus

class MainWindowBusObject;
class MemoWindowBusObject;

// The main window's operations.
struct MainOperations {
    std::function<void(const QString& comName, const QString& dongCode)> enSubmitClickMulti;
    std::function<void()> enMnuStandardSearchClick;
};

// The memo window's operations (on the memo window loaded at the time of the call).
struct MemoOperations {
    std::function<void(const QString& eTableName)> exLoadMemo;
    std::function<int(const QString& eTableName, bool flgDup)> enSaveMemo;
};

class HalvernBus : public QObject {
    Q_OBJECT
public:
    explicit HalvernBus(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                        QObject* parent = nullptr);
    ~HalvernBus() override;

    // Each exports one object and takes the bus name if this program does not hold it yet;
    // publishing again replaces the operations (a memo window loaded anew). False when the
    // bus refused (no session bus, the name held by another program); the reason is in
    // lastError(). The program goes on without the bus then.
    bool publishMain(MainOperations operations);
    bool publishMemo(MemoOperations operations);
    QString lastError() const { return m_lastError; }

    // Queues an operation for `call`; its result becomes the reply's arguments. Used by the
    // exported objects.
    void enqueue(const QDBusMessage& call, std::function<QVariantList()> operation);

private:
    template <typename Object, typename Operations>
    bool publish(const char* path, Object*& object, Operations operations);
    void runQueue();

    struct Job {
        QDBusMessage call;
        std::function<QVariantList()> operation;
    };
    QDBusConnection m_bus;
    std::deque<Job> m_queue;
    bool m_running = false;
    bool m_ownsName = false;
    MainWindowBusObject* m_main = nullptr;  // children of this object
    MemoWindowBusObject* m_memo = nullptr;
    QString m_lastError;
};
