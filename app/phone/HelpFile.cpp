#include "HelpFile.h"

#include <QUrl>

#include "Shell.h"
#include "outside/ProgramFolder.h"

namespace phone {

void showHelp(QWidget* owner, int context) {
    QUrl help = QUrl::fromLocalFile(programFolder() + QStringLiteral("Telvia.hlp"));
    help.setFragment(QString::number(context));
    activeShell().open(owner, help.toString());
}

}  // namespace phone
