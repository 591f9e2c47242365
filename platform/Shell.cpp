#include "Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
Shell* g_installedShell = nullptr;
}  // namespace

int DesktopShell::open(QWidget*, const QString& target) {
    if (target.trimmed().isEmpty()) return ShellResult::kFileNotFound;
    const QUrl url(target);
    // One letter before ":" is a drive letter, not a scheme.
    const bool isAddress = url.isValid() && url.scheme().size() > 1;
    if (isAddress && url.scheme() != QLatin1String("file")) {
        return QDesktopServices::openUrl(url) ? ShellResult::kOk : ShellResult::kFileNotFound;
    }
    const QString path = isAddress ? url.toLocalFile() : QDir::fromNativeSeparators(target);
    const QFileInfo info(path);
    if (!info.exists()) {
        return info.absoluteDir().exists() ? ShellResult::kFileNotFound
                                           : ShellResult::kPathNotFound;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))
               ? ShellResult::kOk
               : ShellResult::kNoAssociation;
}

Shell& activeShell() {
    if (g_installedShell) return *g_installedShell;
    static DesktopShell desktop;
    return desktop;
}

ShellInstaller::ShellInstaller(Shell& shell) : m_previous(g_installedShell) {
    g_installedShell = &shell;
}

ShellInstaller::~ShellInstaller() {
    g_installedShell = m_previous;
}
