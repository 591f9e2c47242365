// Where a directory CD can be: optical mounts (iso9660, udf) from the mount table, then the
// folders listed in the environment variable TELVIA_CDROM_DIRS (":"-separated), for
// installs that keep the directory CD as a folder. Each root is an absolute native path
// ending in "/". Listed folders that do not exist are left out; duplicates appear once.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr char kCdRomDirsVariable[] = "TELVIA_CDROM_DIRS";

// The roots in that order. `mountTable` is the file to read (tests pass their own).
QStringList cdRomRoots(const QString& mountTable = QStringLiteral("/proc/self/mounts"));

// The optical mount points listed in mount-table text (fields: device, mount point,
// type, ...; blanks in a mount point escaped as \040), each ending in "/".
QStringList opticalMounts(const QByteArray& mountTableText);
