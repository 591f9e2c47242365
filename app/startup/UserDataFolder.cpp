#include "UserDataFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace UserDataFolder {
namespace {

// What the program folder ships that the user's folder takes over.
const QString kShippedFile = QStringLiteral("chb.cad");
const QString kShippedTree = QStringLiteral("Pro");
// Made even when the program folder ships nothing for them: the memo store creates its
// pads in dat/, and the user puts companion programs into Pro/Bin/.
const QString kMadeFolders[] = {QStringLiteral("dat"), QStringLiteral("Pro/Bin"),
                                QStringLiteral("Pro/Docs")};

// Copies `relative` from `from` to `to` unless `to` has it already.
void copyIfMissing(const QString& from, const QString& to, const QString& relative,
                   QStringList& problems) {
    const QString target = to + QLatin1Char('/') + relative;
    if (QFileInfo::exists(target)) return;
    const QString source = from + QLatin1Char('/') + relative;
    if (!QDir().mkpath(QFileInfo(target).path())) {
        problems << QStringLiteral("cannot create the folder %1").arg(QFileInfo(target).path());
        return;
    }
    // QFile::copy writes a temporary file and renames it, so a start cut short leaves no
    // half-written copy that a later start would take for the user's own file.
    QFile file(source);
    if (!file.copy(target))
        problems
            << QStringLiteral("cannot copy %1 to %2: %3").arg(source, target, file.errorString());
}

}  // namespace

QString defaultLocation() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/telvia"));
}

Prepared prepare(const QString& programFolder, const QString& userDataFolder) {
    const QString program = QDir::cleanPath(programFolder);
    if (!QFileInfo::exists(program + QLatin1Char('/') + QLatin1String(kInstalledMarker)))
        return {program, {}};

    Prepared prepared{
        QDir::cleanPath(userDataFolder.isEmpty() ? defaultLocation() : userDataFolder), {}};
    for (const QString& folder : kMadeFolders) {
        const QString path = prepared.folder + QLatin1Char('/') + folder;
        if (!QDir().mkpath(path))
            prepared.problems << QStringLiteral("cannot create the folder %1").arg(path);
    }
    if (QFileInfo::exists(program + QLatin1Char('/') + kShippedFile))
        copyIfMissing(program, prepared.folder, kShippedFile, prepared.problems);
    const QDir tree(program + QLatin1Char('/') + kShippedTree);
    QDirIterator it(tree.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = kShippedTree + QLatin1Char('/') + tree.relativeFilePath(it.next());
        copyIfMissing(program, prepared.folder, relative, prepared.problems);
    }
    return prepared;
}

}  // namespace UserDataFolder
