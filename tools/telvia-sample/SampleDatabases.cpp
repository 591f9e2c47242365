#include "SampleDatabases.h"

#include <system_error>

namespace zendari::sample {
namespace {

using telvia::Database;
using telvia::DbValue;
using telvia::Status;

Status create_fresh(const std::filesystem::path& file, std::string_view secret, Database& db) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec)
        return Status(Status::Code::kIoError,
                      "cannot replace " + file.string() + ": " + ec.message());
    return Database::create(file, secret, db);
}

}  // namespace

Status write_area_codes(const Geography& geo, const std::filesystem::path& file) {
    Database db;
    if (Status s = create_fresh(file, kDocsSecret, db); !s.ok()) return s;
    if (Status s = db.execute_script(
            "CREATE TABLE areaCode (areaNumber INTEGER, areaLevel INTEGER, areaName TEXT, "
            "AreaCode TEXT)");
        !s.ok())
        return s;
    if (Status s = db.begin_transaction(); !s.ok()) return s;
    telvia::Statement insert;
    if (Status s = db.prepare("INSERT INTO areaCode VALUES (?1, ?2, ?3, ?4)", insert); !s.ok())
        return s;
    for (const AreaRow& row : geo.rows) {
        if (Status s = insert.execute({DbValue(row.area_number), DbValue(row.level),
                                       DbValue(row.name), DbValue(row.code)});
            !s.ok())
            return s;
    }
    return db.commit();
}

Status LocalListingWriter::open(const std::filesystem::path& file) {
    rows_ = 0;
    if (Status s = create_fresh(file, kLocalSecret, db_); !s.ok()) return s;
    if (Status s = db_.execute_script(
            "CREATE TABLE inchbuk (Name TEXT, dongCode TEXT, ddd TEXT, tel TEXT, Zip TEXT, "
            "address TEXT)");
        !s.ok())
        return s;
    if (Status s = db_.begin_transaction(); !s.ok()) return s;
    return db_.prepare("INSERT INTO inchbuk VALUES (?1, ?2, ?3, ?4, ?5, ?6)", insert_);
}

Status LocalListingWriter::add(const Listing& l, const DongInfo& dong) {
    ++rows_;
    // "ddd" is the area code without its leading 0.
    return insert_.execute({DbValue(l.name), DbValue(std::to_string(l.dong_code)),
                            DbValue(std::string_view(l.area_code).substr(1)),
                            DbValue(shown_telephone(l)), DbValue(std::to_string(l.postal)),
                            DbValue(shown_address(l, dong))});
}

Status LocalListingWriter::finish() {
    insert_ = telvia::Statement();
    if (Status s = db_.commit(); !s.ok()) return s;
    // The searches ask by dong code and by exact name.
    if (Status s = db_.execute_script("CREATE INDEX inchbuk_dong ON inchbuk (dongCode); "
                                      "CREATE INDEX inchbuk_name ON inchbuk (Name)");
        !s.ok())
        return s;
    db_.close();
    return Status::Ok();
}

}  // namespace zendari::sample
