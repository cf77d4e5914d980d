#include "openings.h"

#include "catalogue.h"

namespace store {

RecordSet OpenUserTable() {
    Database db(kUserFile);
    return db.openRecordset("select * from tabel1");
}

RecordSet OpenSchoolTable() {
    Database db(kUserFile);
    return db.openRecordset("select * from tabel2");
}

QString schoolName() {
    RecordSet rs = OpenSchoolTable();
    return rs.isEmpty() ? QString() : rs.fields(0);
}

std::unique_ptr<Database> OpenRosterDatabase() { return std::make_unique<Database>(kRosterFile); }

} // namespace store
