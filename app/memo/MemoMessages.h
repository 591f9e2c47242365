// The error boxes of the memo store, the memo window and the pad chooser, kept together. Each
// is an OK box with the critical icon; the store's and the rename's come after a beep.
#pragma once

#include <QString>

#include "MemoFormat.h"
#include "Prompt.h"

struct MemoMessage {
    QString title;
    QString text;
    bool beep = true;

    bool isEmpty() const { return title.isEmpty(); }
    // Shows the box through the prompt seam (nothing for an empty message).
    void show() const;
};

namespace memo {

// A Yes/No question titled "확인" with the question icon; true for Yes.
bool ask(const QString& text, Beep beep = Beep::No);
// A notice titled "알림" with the information icon.
void tell(const QString& text, Beep beep = Beep::No);

// Deleting a pad's rows before an overwrite failed (-2).
MemoMessage cannotClearPad(MemoMode mode);
// Creating a new pad failed (-1).
MemoMessage cannotCreatePad();
// The pad could not be opened, for writing (-4) or for reading.
MemoMessage cannotOpenPad(MemoMode mode);
// Writing the entries failed (-3).
MemoMessage cannotInsertEntries();
// The memo database could not be created when the memo window loaded; the program ends.
MemoMessage cannotCreateDatabase();
// The edit command on an empty list.
MemoMessage nothingToEdit();

// The pad chooser's: a name with refused characters (`bad` as findBadNameChars gives them),
// the 100-pad limit, a rename to a name in use, and the two rename failures.
MemoMessage badPadName(const QString& bad);
MemoMessage tooManyPads();
MemoMessage duplicateName();
MemoMessage renameCopyFailed();
MemoMessage renameDropFailed();

}  // namespace memo
