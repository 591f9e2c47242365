#include "MemoStore.h"

#include <QDebug>

#include "MemoNames.h"
#include "SqlIdentifier.h"

using telvia::Database;
using telvia::DbValue;
using telvia::Recordset;
using telvia::Status;
using telvia::Transaction;

namespace {

std::string ident(const QString& name) {
    return telvia::quote_identifier(name.toStdString());
}

// The mode's fields as a column list, optionally with the entry order after them.
std::string columnList(const QStringList& fields, bool withOrder) {
    std::string out;
    for (const QString& f : fields) {
        if (!out.empty()) out += ", ";
        out += ident(f);
    }
    if (withOrder) out += std::string(", ") + memo::kEntryOrder;
    return out;
}

std::string catalogueSql() {
    return std::string("CREATE TABLE ") + memo::kCatalogue + " (" + memo::kCatalogueName +
           " TEXT CHECK (length(" + memo::kCatalogueName +
           ") <= " + std::to_string(memo::kCatalogueNameSize) + "), " + memo::kCatalogueOrder +
           " INTEGER PRIMARY KEY)";
}

void logFailure(const char* what, const QString& name, const Status& st) {
    qWarning("memo store: %s \"%s\": %s", what, qPrintable(name), st.message().c_str());
}

}  // namespace

QString MemoStore::databasePath() const {
    return strDatPath + memo::databaseFileName(m_mode);
}

MemoStore::OpenResult MemoStore::open() {
    m_db.close();
    memo::compactMemoDB(m_mode);
    const std::filesystem::path file = databasePath().toStdString();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !createMemoDB()) return OpenResult::CreateFailed;
    const Status st = Database::open(file, memo::kSecret, telvia::OpenShare::kShared,
                                     telvia::OpenAccess::kReadWrite, m_db);
    if (!st.ok()) {
        logFailure("cannot open", databasePath(), st);
        return OpenResult::OpenFailed;
    }
    return OpenResult::Opened;
}

bool MemoStore::createMemoDB() {
    const std::filesystem::path file = databasePath().toStdString();
    std::filesystem::path fresh = file;
    fresh += ".new";
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return false;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::filesystem::remove(fresh, ec);  // left by a creation that was cut short
    Status st;
    {
        Database db;
        st = Database::create(fresh, memo::kSecret, db);
        if (st.ok()) st = db.execute_script(catalogueSql());
    }
    if (st.ok()) {
        std::filesystem::rename(fresh, file, ec);
        if (ec) st = {Status::Code::kIoError, ec.message()};
    }
    if (!st.ok()) {
        logFailure("cannot create", databasePath(), st);
        std::filesystem::remove(fresh, ec);
        return false;
    }
    return true;
}

std::optional<QStringList> MemoStore::padNames() {
    Recordset rs;
    const Status st =
        m_db.open_recordset(std::string("SELECT ") + memo::kCatalogueName + " FROM " +
                                memo::kCatalogue + " ORDER BY " + memo::kCatalogueOrder,
                            rs);
    if (!st.ok()) return std::nullopt;
    QStringList names;
    for (; !rs.eof(); rs.move_next()) {
        names << QString::fromStdString(rs.text(memo::kCatalogueName));
    }
    if (!rs.status().ok()) return std::nullopt;
    return names;
}

Status MemoStore::createPadTableStatus(const QString& name) {
    if (!memo::isStorablePadName(name)) {
        return {Status::Code::kMisuse, "not a pad name: " + name.toStdString()};
    }
    std::string sql = "CREATE TABLE " + ident(name) + " (";
    for (const QString& f : memo::createdFieldNames(m_mode)) {
        sql += ident(f) + " TEXT CHECK (length(" + ident(f) +
               ") <= " + std::to_string(memo::kFieldSize) + "), ";
    }
    sql += std::string(memo::kEntryOrder) + " INTEGER PRIMARY KEY)";
    return m_db.execute(sql);
}

bool MemoStore::createPadTable(const QString& name) {
    const Status st = createPadTableStatus(name);
    if (!st.ok()) logFailure("cannot create pad", name, st);
    return st.ok();
}

std::optional<std::vector<MemoEntry>> MemoStore::loadPad(const QString& name) {
    if (!memo::isStorablePadName(name)) return std::nullopt;
    const QStringList fields = memo::fieldNames(m_mode);
    Recordset rs;
    const Status st = m_db.open_recordset("SELECT " + columnList(fields, false) + " FROM " +
                                              ident(name) + " ORDER BY " + memo::kEntryOrder,
                                          rs);
    if (!st.ok()) {
        logFailure("cannot load", name, st);
        return std::nullopt;
    }
    std::vector<MemoEntry> entries;
    for (; !rs.eof(); rs.move_next()) {
        MemoEntry entry;
        for (const QString& f : fields) entry << QString::fromStdString(rs.text(f.toStdString()));
        entries.push_back(std::move(entry));
    }
    // A read that stopped half-way is a failure: a part of a pad must never pass for the pad.
    if (!rs.status().ok()) {
        logFailure("cannot read", name, rs.status());
        return std::nullopt;
    }
    return entries;
}

MemoStore::SaveResult MemoStore::savePad(const QString& name, const std::vector<MemoEntry>& entries,
                                         bool flgDup) {
    if (entries.empty()) return {};
    const auto fail = [&](int code, MemoMessage message, const Status& st) {
        logFailure("cannot save", name, st);
        return SaveResult{code, std::move(message)};
    };
    // One transaction: a failure anywhere rolls the pad (and a new pad's table and catalogue
    // row) back as they were, and keeps the code and message of the step that failed.
    Transaction tx(m_db);
    if (flgDup) {
        Status st = tx.begun();
        if (st.ok() && !memo::isStorablePadName(name)) {
            st = {Status::Code::kNotFound, "no such pad"};
        }
        if (st.ok()) st = m_db.execute("DELETE FROM " + ident(name));
        if (!st.ok()) return fail(-2, memo::cannotClearPad(m_mode), st);
    } else {
        Status st = tx.begun();
        if (st.ok()) st = createPadTableStatus(name);
        if (st.ok()) {
            st = m_db.execute(std::string("INSERT INTO ") + memo::kCatalogue + " (" +
                                  memo::kCatalogueName + ", " + memo::kCatalogueOrder +
                                  ") VALUES (?, (SELECT coalesce(max(" + memo::kCatalogueOrder +
                                  "), 0) + 1 FROM " + memo::kCatalogue + "))",
                              {DbValue(name.toStdString())});
        }
        if (!st.ok()) return fail(-1, memo::cannotCreatePad(), st);
    }

    const QStringList fields = memo::fieldNames(m_mode);
    std::string marks;
    for (int i = 0; i <= fields.size(); ++i) marks += i ? ", ?" : "?";
    telvia::Statement insert;
    if (Status st = m_db.prepare("INSERT INTO " + ident(name) + " (" + columnList(fields, true) +
                                     ") VALUES (" + marks + ")",
                                 insert);
        !st.ok()) {
        return fail(-4, memo::cannotOpenPad(m_mode), st);
    }
    std::vector<DbValue> row(static_cast<std::size_t>(fields.size()) + 1);
    std::int64_t order = 0;
    for (const MemoEntry& entry : entries) {
        for (int c = 0; c < fields.size(); ++c) {
            const QString cell = entry.value(c);
            row[static_cast<std::size_t>(c)] =
                cell.isEmpty() ? DbValue() : DbValue(cell.toStdString());
        }
        row.back() = DbValue(++order);
        if (Status st = insert.execute(row); !st.ok()) {
            return fail(-3, memo::cannotInsertEntries(), st);
        }
    }
    insert = telvia::Statement();
    if (Status st = tx.commit(); !st.ok()) return fail(-3, memo::cannotInsertEntries(), st);
    return {};
}

bool MemoStore::emptyPad(const QString& name) {
    if (!memo::isStorablePadName(name)) return false;
    Transaction tx(m_db);
    Status st = tx.begun();
    if (st.ok()) st = m_db.execute("DROP TABLE " + ident(name));
    if (st.ok()) st = createPadTableStatus(name);
    if (st.ok()) st = tx.commit();
    if (!st.ok()) logFailure("cannot empty", name, st);
    return st.ok();
}

bool MemoStore::deletePad(const QString& name) {
    if (!memo::isStorablePadName(name)) return false;
    Transaction tx(m_db);
    Status st = tx.begun();
    if (st.ok()) st = m_db.execute("DROP TABLE IF EXISTS " + ident(name));
    if (st.ok()) {
        st = m_db.execute(std::string("DELETE FROM ") + memo::kCatalogue + " WHERE " +
                              memo::kCatalogueName + " = ?",
                          {DbValue(name.toStdString())});
    }
    if (st.ok()) st = tx.commit();
    if (!st.ok()) logFailure("cannot delete", name, st);
    return st.ok();
}

MemoStore::RenameResult MemoStore::renamePad(const QString& oldName, const QString& newName) {
    if (!memo::isStorablePadName(oldName) || !memo::isStorablePadName(newName)) {
        return RenameResult::CopyFailed;
    }
    const std::string columns = columnList(memo::fieldNames(m_mode), true);
    Transaction tx(m_db);
    Status st = tx.begun();
    if (st.ok()) st = createPadTableStatus(newName);
    if (st.ok()) {
        st = m_db.execute("INSERT INTO " + ident(newName) + " (" + columns + ") SELECT " + columns +
                          " FROM " + ident(oldName));
    }
    if (!st.ok()) {
        logFailure("cannot copy", oldName, st);
        return RenameResult::CopyFailed;
    }
    st = m_db.execute("DROP TABLE " + ident(oldName));
    if (st.ok()) {
        st = m_db.execute(std::string("UPDATE ") + memo::kCatalogue + " SET " +
                              memo::kCatalogueName + " = ? WHERE " + memo::kCatalogueName + " = ?",
                          {DbValue(newName.toStdString()), DbValue(oldName.toStdString())});
    }
    if (st.ok()) st = tx.commit();
    if (!st.ok()) {
        logFailure("cannot rename", oldName, st);
        return RenameResult::DropFailed;
    }
    return RenameResult::Renamed;
}
