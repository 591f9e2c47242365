// One dial attempt on a Hayes modem: open the port at 9600,N,8,1, send "ATDT" + the dial
// string + ";", watch the answer for at most 20 ticks of a one-second timer, tell the user to
// pick up the handset, hang up with "ATH". Everything runs from the event loop (readyRead,
// the timer, bytesWritten), never in a waiting loop, and finished() reports the result.
// The port is only closed once what was written to it has left, so an "ATH" is never lost.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

class QSerialPort;
class QTimer;

namespace phone {

class ModemDialer : public QObject {
    Q_OBJECT
public:
    // Result codes of an attempt.
    enum Result : int {
        kAnswered = 0,     // the modem said "OK"; the user was told to pick up the handset
        kPortFailed = -1,  // no port, or it could not be opened
        kNoDialTone = -2,  // "NO DIALTONE" (or "NO DIAL TONE")
        kNoCarrier = -3,   // "NO CARRIER"
        kNoAnswer = -4,    // nothing of the above within kMaxTicks ticks
    };
    static constexpr int kMaxTicks = 20;

    explicit ModemDialer(QObject* parent = nullptr);
    // Hangs up and closes a port still open (waiting at most a second for "ATH" to leave).
    ~ModemDialer() override;

    // The timer's tick, one second by default; tests shorten it.
    void setTickInterval(std::chrono::milliseconds interval);
    // How long a close waits for written bytes to leave before it closes anyway.
    void setWriteTimeout(std::chrono::milliseconds timeout) { m_writeTimeout = timeout; }

    // Starts an attempt on `device` (nullopt: the port setting named no device). Returns
    // false, doing nothing, while an attempt runs. A port that cannot be opened ends the
    // attempt at once: finished(kPortFailed) is emitted before dial() returns.
    bool dial(const std::optional<QString>& device, const QString& dialString);
    bool isBusy() const { return m_state != State::kIdle; }
    bool isPortOpen() const;

signals:
    // Each tick, with the count before it advances: 0 on the first tick.
    void ticked(int count);
    void finished(int result);

private:
    enum class State { kIdle, kWaiting, kConfirming, kClosing };

    void onReadyRead();
    void onTick();
    void onAnswered();
    // Sends "ATH" and closes; or closes alone. Either way once the bytes have left.
    void hangUp(int result);
    void closeWhenWritten(int result);
    void closeNow();

    QSerialPort* m_port;
    QTimer* m_timer;
    QTimer* m_writeGuard;
    std::chrono::milliseconds m_writeTimeout{2000};
    State m_state = State::kIdle;
    QByteArray m_answer;
    int m_ticks = 0;
    int m_result = kAnswered;
};

}  // namespace phone
