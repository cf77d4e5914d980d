#pragma once

#include "database.h"

#include <memory>

// The openings every window uses: the user and school tables of "uinfo.dat", and the roster file.
namespace store {

// The rows of "select * from tabel1" in "uinfo.dat".
RecordSet OpenUserTable();
// The rows of "select * from tabel2" in "uinfo.dat".
RecordSet OpenSchoolTable();
// The school name (first column of the first row of tabel2), empty when there is no row.
QString schoolName();
// Writes the school's details: the first row of tabel2 when there is none, otherwise every row.
void saveSchool(const QString& name, const QString& phone, const QString& address, const QString& email);
// "database/addonduty.dat", open for one operation.
std::unique_ptr<Database> OpenRosterDatabase();

} // namespace store
