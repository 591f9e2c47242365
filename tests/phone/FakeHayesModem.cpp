#include "FakeHayesModem.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

FakeHayesModem::FakeHayesModem(Script script) : m_script(std::move(script)) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_device = QString::fromLocal8Bit(::ptsname(m_master));
    // A raw terminal from the start: the serial port puts back the settings it found when it
    // closes, and a cooked terminal would echo the modem's last reply back to it.
    if (const int slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY); slave >= 0) {
        termios raw{};
        if (::tcgetattr(slave, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(slave, TCSANOW, &raw);
        }
        ::close(slave);
    }
    m_thread = std::thread([this] { serve(); });
}

FakeHayesModem::~FakeHayesModem() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_master >= 0) ::close(m_master);
}

QByteArray FakeHayesModem::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool FakeHayesModem::waitForCloses(int closes, std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (m_closes < closes) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void FakeHayesModem::serve() {
    // The master reports a hang-up (POLLHUP) once the last holder of the terminal closes it,
    // and keeps reporting it until the terminal is opened again.
    bool open = false;
    qsizetype sessionStart = 0;  // where the bytes of the current opening begin
    while (!m_stop) {
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) continue;
        if (p.revents & POLLIN) {
            char buf[256];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                const QByteArray bytes(buf, n);
                {
                    std::lock_guard lock(m_mutex);
                    if (!open) sessionStart = m_received.size();
                    m_received += bytes;
                }
                open = true;
                if (m_script.echo) send(bytes);
                for (char c : bytes) {
                    if (c == '\r') {
                        handleLine(m_line);
                        m_line.clear();
                    } else {
                        m_line += c;
                    }
                }
                continue;
            }
        }
        if (p.revents & POLLHUP) {
            if (open) {
                open = false;
                m_hungUpBeforeClose = received().mid(sessionStart).contains("ATH\r");
                ++m_closes;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

void FakeHayesModem::handleLine(const QByteArray& line) {
    const QByteArray command = line.trimmed().toUpper();
    if (command.startsWith("ATD")) {
        if (m_script.dialReply.isEmpty()) return;
        std::this_thread::sleep_for(m_script.delay);
        if (m_script.splitAt > 0 && m_script.splitAt < m_script.dialReply.size()) {
            send(m_script.dialReply.left(m_script.splitAt));
            std::this_thread::sleep_for(m_script.pause);
            send(m_script.dialReply.mid(m_script.splitAt));
        } else {
            send(m_script.dialReply);
        }
    } else if (command.startsWith("AT")) {
        send("\r\nOK\r\n");
    }
}

void FakeHayesModem::send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n <= 0) return;
        done += n;
    }
}
