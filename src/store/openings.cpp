#include "openings.h"

#include "catalogue.h"
#include "statements.h"

namespace store {

RecordSet OpenUserTable() {
    Database db(kUserFile);
    return db.openRecordset("select * from tabel1");
}

RecordSet OpenSchoolTable() {
    Database db(kUserFile);
    return db.openRecordset(schoolSelect());
}

QString schoolName() {
    RecordSet rs = OpenSchoolTable();
    return rs.isEmpty() ? QString() : rs.fields(0);
}

void saveSchool(const QString& name, const QString& phone, const QString& address, const QString& email) {
    Database db(kUserFile);
    const bool empty = db.openRecordset(schoolSelect()).isEmpty();
    db.execute(empty ? schoolInsert(name, phone, address, email) : schoolUpdate(name, phone, address, email));
}

std::unique_ptr<Database> OpenRosterDatabase() { return std::make_unique<Database>(kRosterFile); }

} // namespace store
