// The test shell: records every target the program opens and answers with a chosen code
// (success unless told otherwise). Install it with ShellInstaller.
#pragma once

#include <QStringList>

#include "Shell.h"

class CapturingShell final : public Shell {
public:
    int open(QWidget* owner, const QString& target) override;
    void setResult(int code) { m_result = code; }
    const QStringList& targets() const { return m_targets; }

private:
    int m_result = ShellResult::kOk;
    QStringList m_targets;
};

