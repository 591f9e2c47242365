#include "SerialPorts.h"

#include "Orvello.h"

namespace phone {

std::optional<QString> portDevice(const QString& portSetting) {
    bool ok = false;
    const int n = portSetting.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 255) return std::nullopt;
    return Orvello::Read(QStringLiteral("Serial"), QStringLiteral("COM%1").arg(n),
                         QStringLiteral("/dev/ttyS%1").arg(n - 1));
}

}  // namespace phone
