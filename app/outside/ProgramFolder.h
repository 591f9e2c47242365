// The main program's folder, where the label program, the business library and the help
// file lie: the folder that holds "Pro/Bin/" once the start routine has set the program-wide
// paths (tests start the program on another folder; an installed, read-only program has the
// user's data folder stand in for it), else the folder of the running executable. Ends in "/".
#pragma once

#include <QCoreApplication>
#include <QString>

#include "startup/ProgramGlobals.h"

inline QString programFolder() {
    const QString bin = QStringLiteral("Pro/Bin/");
    if (strBinPath.endsWith(bin)) return strBinPath.chopped(bin.size());
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}
