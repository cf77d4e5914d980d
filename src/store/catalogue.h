#pragma once

#include <QString>
#include <QStringList>

// The data files of the program, relative to the working directory, and the tables each holds.
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

// True for an existing ordinary file that is not hidden; false for a folder, a missing path or
// anything that cannot be looked up.
bool FileExists(const QString& path);

} // namespace store
