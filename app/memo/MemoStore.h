// The memo database of one memo mode: creating and opening the file, and every operation on
// its pads (list, load, save, empty, delete, rename). The memo window owns one while it is
// loaded and the pad chooser works through it.
//
// These are the user's own data, so every change is all or nothing: a save, an empty, a
// delete and a rename each run in one transaction, and a failure at any step leaves the
// stored pads exactly as they were. Pad names reach SQL only as quoted identifiers and only
// after the name rule (MemoNames.h) accepted them; values are always bound.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

#include "Database.h"
#include "MemoFormat.h"
#include "MemoMessages.h"

class MemoStore {
public:
    explicit MemoStore(MemoMode mode) : m_mode(mode) {}
    MemoMode mode() const { return m_mode; }

    // The database file of the mode: the data folder followed by its file name.
    QString databasePath() const;

    enum class OpenResult { Opened, CreateFailed, OpenFailed };
    // The memo window's opening, in order: the compaction check, creating the file when it
    // is missing, opening it shared and read-write.
    OpenResult open();
    void close() { m_db.close(); }
    bool isOpen() const { return m_db.is_open(); }
    telvia::Database& dbDB() { return m_db; }

    // Creates the file with an empty catalogue, closed. It is written under another name and
    // renamed into place, so a file of this name is always a complete database. False when it
    // failed or the file already exists.
    bool createMemoDB();

    // The pad names in catalogue order; nullopt when the catalogue cannot be read.
    std::optional<QStringList> padNames();
    // Creates an empty pad table of the mode's fields.
    bool createPadTable(const QString& name);
    // The entries of a pad in the order they were saved; nullopt when it cannot be read in
    // full (a missing pad, a bad name, a read error).
    std::optional<std::vector<MemoEntry>> loadPad(const QString& name);

    struct SaveResult {
        int code = 0;  // 0 saved; -1 create, -2 clear, -3 insert, -4 open failed
        MemoMessage message;
    };
    // Saves `entries` as the pad: `flgDup` overwrites the existing pad, otherwise the pad is
    // created and added to the catalogue. An empty list saves nothing and returns 0.
    SaveResult savePad(const QString& name, const std::vector<MemoEntry>& entries, bool flgDup);
    // Removes every entry of an existing pad; it keeps its name and place.
    bool emptyPad(const QString& name);
    // Removes a pad and its catalogue row (also when its table is already gone).
    bool deletePad(const QString& name);
    enum class RenameResult { Renamed, CopyFailed, DropFailed };
    // Moves the pad's entries under `newName`; the pad keeps its place in the catalogue.
    RenameResult renamePad(const QString& oldName, const QString& newName);

private:
    telvia::Status createPadTableStatus(const QString& name);

    MemoMode m_mode;
    telvia::Database m_db;
};

namespace memo {

// The counter check of the memo window's load: below the threshold the counter goes up by
// one; past it the database file is compacted and the counter goes back to 0, whatever the
// compaction's outcome.
void compactMemoDB(MemoMode mode);
// Compacts `file` through a copy at `scratch` that is checked (every table with as many rows
// as the original) and then renamed over the file. On any failure the file is untouched and
// the copy removed. A missing file is nothing to do.
telvia::Status compactFile(const std::filesystem::path& file, const std::filesystem::path& scratch);

}  // namespace memo
