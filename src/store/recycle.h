#pragma once

#include "database.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The recycle bin ("database/recycle.dat"): every record a delete command removes is kept there
// first, in the same transaction as the delete, and can be put back into its book with exactly
// the values it had.
namespace store {

// Runs statement, a delete of one catalogued table ("delete from T where ..."), on db, keeping
// every row it removes in the recycle bin: the copy and the delete are one transaction over the
// attached bin, so either both land or neither does. oneRecord: the statement aims at one record
// as it was read, and removing nothing is an Error (Changed). Returns how many rows it removed.
// A bin that is missing, damaged or cannot be written refuses the delete (an Error naming the bin).
int deleteKeeping(Database& db, const QString& statement, bool oneRecord = false);

// One record in the bin.
struct RecycledRecord {
    qint64 id = -1;     // its row in the bin
    QString table;      // the table it came from
    QString deletedAt;  // "yyyy-MM-dd HH:mm:ss", local time
    QStringList values; // in the catalogue's column order; a null text is NULL
};

// Every record in the bin, newest first.
QVector<RecycledRecord> recycledRecords();

// Puts the records with these ids back into their books (an insert each, with the values they
// had) and removes them from the bin, one transaction per book. Returns how many records went
// back into each table. Throws Error; a book whose transaction failed is then as it was, and its
// records stay in the bin (books before it in the catalogue are restored).
QMap<QString, int> restoreRecycled(const QVector<qint64>& ids);

// Removes the records with these ids from the bin for good.
void purgeRecycled(const QVector<qint64>& ids);

// A bin inside folder that the engine cannot read is kept beside it under a dated name and a new,
// empty bin put in its place; a bin without its table gets it. Returns the kept file's path, or
// nothing when nothing was kept (a missing bin is the layout's to make).
QString renewDamagedBin(const QString& folder);

} // namespace store
