// The folder the program's own files live under: Pro/Docs (adDocs.cad), Pro/Bin (companion
// programs), chb.cad and dat/ (the memo pads the program writes). Normally that is the
// program folder itself. A program folder installed read-only under /usr carries the marker
// file "Halvern.userdata"; then the user's data folder stands in for it, so nothing the user
// writes lands beside the program, and each start copies into it what the program folder
// ships and the user's folder still lacks. A file already there is the user's: it is never
// replaced, so a user may put another directory's adDocs.cad or chb.cad in its place, and
// removing a copy brings back the shipped one at the next start.
#pragma once

#include <QString>
#include <QStringList>

namespace UserDataFolder {

inline constexpr char kInstalledMarker[] = "Halvern.userdata";

// $XDG_DATA_HOME/telvia, or ~/.local/share/telvia when XDG_DATA_HOME is unset or relative.
QString defaultLocation();

struct Prepared {
    QString folder;        // the folder the program-wide paths are formed under, no "/" at the end
    QStringList problems;  // one line per file or folder that could not be made; "" when none
};

// The program folder itself when it lacks the marker (nothing is touched). Otherwise
// `userDataFolder` ("" = defaultLocation()), after making its dat/ and Pro/Bin/ folders and
// copying the program folder's Pro/ tree and chb.cad file by file where missing. A copy that
// fails is reported in `problems` and the rest goes on: a missing adDocs.cad or memo pad is
// then reported by the window that needs it.
Prepared prepare(const QString& programFolder, const QString& userDataFolder = {});

}  // namespace UserDataFolder
