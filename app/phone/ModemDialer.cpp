#include "ModemDialer.h"

#include <QSerialPort>
#include <QTimer>

#include "DialString.h"
#include "Prompt.h"

namespace phone {
namespace {

const QString kPickUpHandset =
    QStringLiteral("전화기를 들고 \"Enter\"키 또는 마우스로 \"확인\" 버튼을 누르십시오.");

}  // namespace

ModemDialer::ModemDialer(QObject* parent)
    : QObject(parent),
      m_port(new QSerialPort(this)),
      m_timer(new QTimer(this)),
      m_writeGuard(new QTimer(this)) {
    m_timer->setInterval(std::chrono::seconds(1));
    m_writeGuard->setSingleShot(true);
    connect(m_port, &QSerialPort::readyRead, this, &ModemDialer::onReadyRead);
    connect(m_timer, &QTimer::timeout, this, &ModemDialer::onTick);
    connect(m_port, &QSerialPort::bytesWritten, this, [this] {
        if (m_state == State::kClosing && m_port->bytesToWrite() == 0) closeNow();
    });
    // A port that fails while closing (the device went away) closes at once; while waiting
    // for the answer a failure is left to the timeout.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (m_state == State::kClosing && e != QSerialPort::NoError) closeNow();
    });
    connect(m_writeGuard, &QTimer::timeout, this, [this] {
        if (m_state == State::kClosing) closeNow();
    });
}

ModemDialer::~ModemDialer() {
    if (!m_port->isOpen()) return;
    if (m_state != State::kClosing) m_port->write(kHangUp);
    m_port->waitForBytesWritten(1000);
    m_port->close();
}

void ModemDialer::setTickInterval(std::chrono::milliseconds interval) {
    m_timer->setInterval(interval);
}

bool ModemDialer::isPortOpen() const {
    return m_port->isOpen();
}

bool ModemDialer::dial(const std::optional<QString>& device, const QString& dialString) {
    if (isBusy()) return false;
    m_answer.clear();
    m_ticks = 0;
    if (!device) {
        emit finished(kPortFailed);
        return true;
    }
    m_port->setPortName(*device);
    if (!m_port->open(QIODevice::ReadWrite)) {
        emit finished(kPortFailed);
        return true;
    }
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->clear(QSerialPort::Input);
    m_state = State::kWaiting;
    m_port->write(dialCommand(dialString));
    m_timer->start();
    return true;
}

void ModemDialer::onReadyRead() {
    const QByteArray bytes = m_port->readAll();
    if (m_state != State::kWaiting) return;  // the handset message is up, or hanging up
    m_answer += bytes;
    switch (classifyAnswer(m_answer)) {
        case ModemAnswer::kOk:
            onAnswered();
            break;
        case ModemAnswer::kNoDialTone:
            closeWhenWritten(kNoDialTone);
            break;
        case ModemAnswer::kNoCarrier:
            closeWhenWritten(kNoCarrier);
            break;
        case ModemAnswer::kNone:
            break;
    }
}

void ModemDialer::onTick() {
    emit ticked(m_ticks);
    ++m_ticks;
    if (m_state == State::kWaiting && m_ticks >= kMaxTicks) hangUp(kNoAnswer);
}

void ModemDialer::onAnswered() {
    // The box is modal: the events it lets run find the attempt confirming and leave it be.
    m_state = State::kConfirming;
    msgBox(kPickUpHandset, PromptButtons::Ok, PromptIcon::Information, QStringLiteral("알림"));
    hangUp(kAnswered);
}

void ModemDialer::hangUp(int result) {
    m_port->write(kHangUp);
    closeWhenWritten(result);
}

void ModemDialer::closeWhenWritten(int result) {
    m_timer->stop();
    m_result = result;
    m_state = State::kClosing;
    if (m_port->bytesToWrite() == 0) {
        closeNow();
        return;
    }
    m_writeGuard->start(m_writeTimeout);
}

void ModemDialer::closeNow() {
    m_writeGuard->stop();
    m_timer->stop();
    m_port->close();
    m_state = State::kIdle;
    emit finished(m_result);
}

}  // namespace phone
