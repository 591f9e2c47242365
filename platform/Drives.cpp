#include "Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Undoes the octal escapes (\040 blank, \011 tab, \012 newline, \134 backslash) of
// /proc/mounts.
QString unescapeMountPoint(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

QString withTrailingSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

}  // namespace

QStringList opticalMounts(const QByteArray& mountTableText) {
    QStringList roots;
    for (const QByteArray& line : mountTableText.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3) continue;
        const QByteArray type = fields[2].toLower();
        if (type == "iso9660" || type == "udf") {
            roots.append(withTrailingSlash(unescapeMountPoint(fields[1])));
        }
    }
    return roots;
}

QStringList cdRomRoots(const QString& mountTable) {
    QStringList roots;
    QFile table(mountTable);
    // /proc files report size 0, so read to the end rather than by size.
    if (table.open(QIODevice::ReadOnly)) roots = opticalMounts(table.readAll());
    const QString listed = qEnvironmentVariable(kCdRomDirsVariable);
    for (const QString& entry : listed.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QFileInfo info(entry);
        if (info.isDir()) roots.append(withTrailingSlash(info.absoluteFilePath()));
    }
    roots.removeDuplicates();
    return roots;
}
