#include "modCDFind.h"

#include <QtGlobal>

#include "Drives.h"

namespace modCDFind {

QString FindCdRomDrives(const QString& mountTable) {
    QString drives;
    for (const QString& root : cdRomRoots(mountTable)) {
        if (root.chopped(1).contains(QLatin1String("/:"))) {
            qWarning("CD-ROM root left out, its name contains \"/:\": %s", qUtf8Printable(root));
            continue;
        }
        drives += root + QLatin1Char(':');
    }
    return drives;
}

QString firstDriveRoot(const QString& drives) {
    const qsizetype end = drives.indexOf(QLatin1String("/:"));
    return end < 0 ? QString() : drives.left(end + 1);
}

QString driveLabel(const QString& root) {
    return root.size() > 1 && root.endsWith(QLatin1Char('/')) ? root.chopped(1) : root;
}

}  // namespace modCDFind
