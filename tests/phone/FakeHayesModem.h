// A Hayes modem on a pseudo-terminal, for the dialler's tests: the program opens device() as
// its serial port. The modem reads commands ending in CR, echoes what it receives when echo
// is on, answers a dial command ("ATD…") with the scripted reply (whole, split in two writes
// with a pause between, or not at all) and "ATH" with "OK". It logs every byte it received
// and notices when the program closes the port, and whether "ATH" had arrived by then.
// A thread of its own serves the terminal, so the test's event loop only runs the program.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

// How the modem answers a dial command.
struct HayesScript {
    QByteArray dialReply = "\r\nOK\r\n";  // empty: the modem stays silent
    bool echo = true;
    // > 0: the reply leaves in two writes, this many bytes first, then the rest after `pause`.
    int splitAt = 0;
    std::chrono::milliseconds delay{0};  // before the reply
    std::chrono::milliseconds pause{50};
};

class FakeHayesModem {
public:
    using Script = HayesScript;

    explicit FakeHayesModem(Script script = {});
    ~FakeHayesModem();
    FakeHayesModem(const FakeHayesModem&) = delete;
    FakeHayesModem& operator=(const FakeHayesModem&) = delete;

    bool ok() const { return m_master >= 0; }
    QString device() const { return m_device; }

    QByteArray received() const;
    // Closes seen so far (a close is seen once the program has sent something).
    int closes() const { return m_closes; }
    // "ATH\r" had arrived when the port was last closed.
    bool hungUpBeforeClose() const { return m_hungUpBeforeClose; }
    // Waits (without an event loop: the modem has its own thread) until `closes` closes
    // were seen; false on timeout.
    bool waitForCloses(int closes, std::chrono::milliseconds timeout) const;

private:
    void serve();
    void handleLine(const QByteArray& line);
    void send(const QByteArray& bytes);

    Script m_script;
    int m_master = -1;
    QString m_device;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_closes{0};
    std::atomic<bool> m_hungUpBeforeClose{false};
    mutable std::mutex m_mutex;
    QByteArray m_received;  // guarded by m_mutex
    QByteArray m_line;      // serve() thread only
};
