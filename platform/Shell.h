// Opening a document or a web address with the desktop's default program, the way the
// program's Windows code used ShellExecute with the verb "open". Results keep ShellExecute's
// numbers so callers map them to their messages: above 32 is success; 2 file (or browser)
// not found, 3 path not found, 11 bad format, 31 no program associated.
// The program uses DesktopShell; tests install a recording shell with ShellInstaller.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ShellResult {
inline constexpr int kOk = 33;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kBadFormat = 11;
inline constexpr int kNoAssociation = 31;
}  // namespace ShellResult

class Shell {
public:
    virtual ~Shell() = default;
    // Opens `target` (a local path or an address with a scheme); returns a ShellResult code.
    virtual int open(QWidget* owner, const QString& target) = 0;
};

// Through QDesktopServices. A local path that does not exist gives 3 when its folder is
// missing too, else 2; an address that nothing could open gives 2 (no browser), a local
// file that nothing could open 31.
class DesktopShell final : public Shell {
public:
    int open(QWidget* owner, const QString& target) override;
};

// The shell in use: the one installed last, else a DesktopShell.
Shell& activeShell();

class ShellInstaller {
public:
    explicit ShellInstaller(Shell& shell);
    ~ShellInstaller();
    ShellInstaller(const ShellInstaller&) = delete;
    ShellInstaller& operator=(const ShellInstaller&) = delete;

private:
    Shell* m_previous;
};
