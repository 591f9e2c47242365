// What the memo window hands to windows that live elsewhere: the print window (frmPrint), the
// dial window (frmDial) and the web-telephone page. The values are worked out here without
// widgets; each command then ends in one call below that opens the window.
#pragma once

#include <QString>
#include <QStringList>

#include "MemoFormat.h"
#include "ResultCommands.h"

class QTreeWidget;
class QWidget;

namespace memo {

// The print source of the memo list: "메모창:인명" (people) or "메모창:상호" (business).
QString printSource(MemoMode mode);
// The dial window's boxes for one memo entry: the name, the telephone split at the first ")"
// after its opening bracket, and in business mode the fifth cell as the department.
search::DialValues dialValues(MemoMode mode, const QStringList& cells);
// The digits of the telephone cell, the number the web-telephone page is given.
QString webCallNumber(const QString& telephone);

// The print window over `owner`, modal, printing the selected entries of `list` as
// strPrintSource says; it may still be up when this returns.
void showPrintWindow(QWidget* owner, QTreeWidget* list);
// The dial window with these boxes filled, modal.
void showDialWindow(QWidget* owner, const search::DialValues& values);
// The web-telephone page for this number, opened through the shell ("오류 (F0002)" when the
// shell cannot).
void openWebCall(QWidget* owner, const QString& number);

}  // namespace memo
