// The CD-ROM drive list in its ":"-joined form: each root (a native folder path ending in
// "/") followed by ":", for example "/media/cdrom/:/srv/telvia-cd/:". A root containing
// "/:" would make the list ambiguous; such a root is left out (with a warning), so every
// root in the list ends exactly at a "/:" pair.
#pragma once

#include <QString>

namespace modCDFind {

// Optical mounts of `mountTable`, then the folders of TELVIA_CDROM_DIRS (see Drives.h).
QString FindCdRomDrives(const QString& mountTable = QStringLiteral("/proc/self/mounts"));

// The first root of a drive list ("" for an empty list).
QString firstDriveRoot(const QString& drives);

// How a root is named in messages: the root without its trailing separator ("/" stays).
QString driveLabel(const QString& root);

}  // namespace modCDFind
