// The modem's port number ("Option"/"ComPort", "1" to "4" from the options dialog) and the
// serial device it stands for. The map is a setting of its own: section "Serial", key "COM"
// + the number, holding a device path; without it port n is the n-th serial device,
// /dev/ttyS<n-1> (COM1 is /dev/ttyS0). A USB modem is set with, for example,
// COM3=/dev/ttyACM0.
#pragma once

#include <QString>
#include <optional>

namespace phone {

// The device of a port number text; nullopt when the text is not a whole number from 1 to
// 255 (blanks around it allowed), so the dial fails as a port that cannot be opened.
std::optional<QString> portDevice(const QString& portSetting);

}  // namespace phone
