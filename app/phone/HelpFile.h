// The program's help: the help file "Telvia.hlp" in the program folder, opened at a context
// number through the shell seam (the target is the file's address with "#" and the context).
#pragma once

class QWidget;

namespace phone {

// Opens the help file at `context`. A missing file or viewer is the viewer's business, as
// it was the help system's: nothing is shown here.
void showHelp(QWidget* owner, int context);

}  // namespace phone
