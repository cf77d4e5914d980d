#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Creates, inside folder, every data file and template that is missing, from the SQL shipped
// with the program. A file that exists is never opened, changed or replaced.
// Returns the paths (relative to folder) it created; throws Error when one cannot be made.
QStringList layOutDataFiles(const QString& folder);

// Creates one database file at path from the statements of a schema ("uinfo", "addonduty",
// "cahier", "snote", "teacher"). The file appears whole or not at all.
void createFromSchema(const QString& schema, const QString& path);

// Creates, in the existing database file at path, each table of a schema that the file lacks;
// the tables it has and their rows are left as they are.
void addMissingTables(const QString& schema, const QString& path);

} // namespace store
