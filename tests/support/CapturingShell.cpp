#include "CapturingShell.h"

int CapturingShell::open(QWidget*, const QString& target) {
    m_targets.append(target);
    return m_result;
}
