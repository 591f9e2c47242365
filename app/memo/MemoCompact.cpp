// Compaction of a memo database: a compacted copy is written beside the file, checked, and
// renamed over it in one step, so the file is at every moment either the old database or the
// complete new one.
#include <QDebug>
#include <map>

#include <fcntl.h>
#include <unistd.h>

#include "MemoStore.h"
#include "Orvello.h"
#include "SqlIdentifier.h"

using telvia::Database;
using telvia::Recordset;
using telvia::Status;

namespace {

// Every table of the database with its row count, and the result of the integrity check.
Status tableCounts(const std::filesystem::path& file, std::map<std::string, std::int64_t>& out) {
    Database db;
    Status st = Database::open(file, memo::kSecret, telvia::OpenShare::kShared,
                               telvia::OpenAccess::kReadOnly, db);
    if (!st.ok()) return st;
    Recordset check;
    if (st = db.open_recordset("PRAGMA integrity_check", check); !st.ok()) return st;
    if (check.eof() || check.text("integrity_check") != "ok") {
        return {Status::Code::kIoError, "the integrity check failed"};
    }
    Recordset tables;
    st = db.open_recordset("SELECT name FROM sqlite_master WHERE type = 'table'", tables);
    if (!st.ok()) return st;
    std::vector<std::string> names;
    for (; !tables.eof(); tables.move_next()) names.push_back(tables.text("name"));
    if (!tables.status().ok()) return tables.status();
    for (const std::string& name : names) {
        Recordset count;
        st =
            db.open_recordset("SELECT count(*) AS n FROM " + telvia::quote_identifier(name), count);
        if (!st.ok()) return st;
        out[name] = count.integer("n");
    }
    return Status::Ok();
}

// Makes a rename in `folder` durable; where the system cannot, the rename stands as it is.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

namespace memo {

Status compactFile(const std::filesystem::path& file, const std::filesystem::path& scratch) {
    std::error_code ec;
    if (std::filesystem::exists(scratch, ec) && !std::filesystem::remove(scratch, ec)) {
        return {Status::Code::kIoError, "cannot remove " + scratch.string() + ": " + ec.message()};
    }
    if (!std::filesystem::exists(file, ec)) return Status::Ok();

    Status st = Database::compact(file, kSecret, scratch);
    std::map<std::string, std::int64_t> before, after;
    if (st.ok()) st = tableCounts(file, before);
    if (st.ok()) st = tableCounts(scratch, after);
    if (st.ok() && before != after) {
        st = {Status::Code::kIoError, "the compacted copy differs from the database"};
    }
    if (st.ok()) {
        std::filesystem::rename(scratch, file, ec);  // replaces the file in one step
        if (ec) st = {Status::Code::kIoError, ec.message()};
    }
    if (!st.ok()) {
        std::filesystem::remove(scratch, ec);
        return st;
    }
    syncFolder(file.parent_path());
    return Status::Ok();
}

void compactMemoDB(MemoMode mode) {
    const QString section = QStringLiteral("Memo");
    const QString key = compactCounterKey(mode);
    const int counter = Orvello::leadingNumber(Orvello::Read(section, key, QStringLiteral("0")));
    if (counter <= kCompactAfter) {
        Orvello::Save(section, key, QString::number(counter + 1));
        return;
    }
    const Status st = compactFile((strDatPath + databaseFileName(mode)).toStdString(),
                                  (strDatPath + QLatin1String(kCompactionFile)).toStdString());
    if (!st.ok()) qWarning("memo store: compaction skipped: %s", st.message().c_str());
    Orvello::Save(section, key, QStringLiteral("0"));
}

}  // namespace memo
