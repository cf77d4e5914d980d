#pragma once

#include "database.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// Records kept by another program in files of its own (the record books in Jet database files),
// brought into our books: what was read, what each file would bring to which book, and the
// import itself. Columns are taken by position; names are never relied on.
namespace store {

// A value that could not be read, by zero-based row and column.
struct SourceCell {
    int row = 0;
    int column = 0;
    QString why;
};

// One table as read from a source file. In a row, a null QString is a NULL and an empty one
// is empty text.
struct SourceTable {
    QString name;
    QStringList columns;
    QVector<QStringList> rows;
    QVector<SourceCell> unreadable;
    QString problem; // why the table could not be read whole; empty when it could
};

struct SourceFile {
    QString path;      // where it was read
    QString shownName; // as the person knows it: relative to the chosen folder
    QVector<SourceTable> tables;
    QString problem; // why the file could not be read; empty when it could
};

// The rows one source file brings to one table of a book, cut to the columns the book uses.
struct ImportTable {
    QString name;
    QVector<QStringList> rows;
};

// What one source file brings to one of our data files.
struct ImportBook {
    QString source;   // the source file's shown name
    QString bookFile; // our data file ("database/cahier.dat"); empty when not recognised
    QString title;    // the record books it holds ("会议记录")
    QVector<ImportTable> tables;
    QStringList problems; // for the person, each naming the file and the table
    bool importable() const { return !bookFile.isEmpty() && problems.isEmpty(); }
};

enum class ImportMode { Add, Replace };

// What the import did to one table.
struct ImportedTable {
    QString name;
    bool replaced = false;
    int removed = 0, added = 0;
    QStringList sameAccounts; // accounts we have (same name and password), not added again
    int skipped = 0;          // other records equal in every column to one we have, not added again
    bool keptOurs = false;    // the school information we had was kept
};

// Brings an importable book in, in one transaction: rows are added to its tables, or replace
// their rows. Added, a row equal in every column to one the table holds (or to one added before
// it) is skipped, so an import run twice adds nothing the second time. Accounts (tabel1) are only
// ever added, skipping one we have (same name, and a password that ours matches), their passwords
// stored as hashes; the school information (tabel2) only fills an empty table. beforeChange runs
// once the book's write lock is held, before anything changes (the snapshot). Throws Error, and
// then the book is unchanged.
QVector<ImportedTable> importRows(const ImportBook& book, ImportMode mode, const BeforeChange& beforeChange);

} // namespace store
