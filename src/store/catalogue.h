#pragma once

#include "database.h"

#include <QString>
#include <memory>

// The data files of the program, relative to the working directory, and the operations that
// every window uses to reach them.
namespace store {

inline const QString kUserFile = QStringLiteral("uinfo.dat");
inline const QString kRosterFile = QStringLiteral("database/addonduty.dat");
inline const QString kMinutesFile = QStringLiteral("database/cahier.dat");
inline const QString kEventsFile = QStringLiteral("database/snote.dat");
inline const QString kAttendanceFile = QStringLiteral("database/teacher.dat");
inline const QString kMinutesTemplate = QStringLiteral("cahier._");
inline const QString kEventsTemplate = QStringLiteral("snote._");
inline const QString kAttendanceTemplate = QStringLiteral("teacher._");

// The tables a data file or template holds, known by its file name ("cahier.dat", "cahier._",
// "backup/.../cahier.dat" all hold tabcahier); empty for a file of no book.
QStringList TablesOf(const QString& path);

// A value written as an SQL text literal: apostrophes doubled, enclosed in apostrophes.
QString SqlQuote(const QString& value);
// The value with its apostrophes doubled, without the enclosing pair.
QString SqlDouble(const QString& value);
// A table or column name as an SQL identifier: in double quotes, any double quote doubled.
QString SqlName(const QString& name);

// True for an existing ordinary file that is not hidden; false for a folder, a missing path or
// anything that cannot be looked up.
bool FileExists(const QString& path);

// The rows of "select * from tabel1" in "uinfo.dat".
RecordSet OpenUserTable();
// The rows of "select * from tabel2" in "uinfo.dat".
RecordSet OpenSchoolTable();
// The school name (first column of the first row of tabel2), empty when there is no row.
QString SchoolName();
// "database/addonduty.dat", open for one operation.
std::unique_ptr<Database> OpenRosterDatabase();

} // namespace store
