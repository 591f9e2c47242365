// Lets GoogleTest print Qt strings readably in failure messages (found by argument lookup).
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
