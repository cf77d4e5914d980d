#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The one catalogue of the program's books: each data file, the SQL it is made from, its
// template, its tables with their columns, the book's Chinese title and the unit its rows are
// counted in. The layout, backups, restore, import, emptying, reports and search read it here.
// The last entry is the recycle bin, which holds the records deleted from the others.
namespace store {

inline const QString kUserFile = QStringLiteral("uinfo.dat");
inline const QString kRosterFile = QStringLiteral("database/addonduty.dat");
inline const QString kMinutesFile = QStringLiteral("database/cahier.dat");
inline const QString kEventsFile = QStringLiteral("database/snote.dat");
inline const QString kAttendanceFile = QStringLiteral("database/teacher.dat");
inline const QString kRecycleFile = QStringLiteral("database/recycle.dat");
inline const QString kMinutesTemplate = QStringLiteral("cahier._");
inline const QString kEventsTemplate = QStringLiteral("snote._");
inline const QString kAttendanceTemplate = QStringLiteral("teacher._");

struct Column {
    QString name;    // as in the statements
    QString caption; // as the person reads it ("姓名")
};

struct Table {
    QString name;  // "tabcahier"
    QString title; // "会议记录"
    QString unit;  // how its rows are counted: "条会议记录"
    bool counted;  // its rows are what the book is counted by (backups, restore, import)
    QVector<Column> columns;
    QStringList columnNames() const;
};

struct Book {
    QString file;         // relative to the program folder
    QString schema;       // the SQL in data/ it is made from
    QString templateFile; // the empty copy an emptying refills it from; empty for none
    QString title;        // "教师考勤"
    QVector<Table> tables;
    const Table* table(const QString& name) const;
};

// Every book, in the order the menus and reports list them.
const QVector<Book>& books();

// The book of a data file, a template or a copy of either ("cahier.dat", "cahier._",
// "backup/.../cahier.dat" are all the minutes), by its file name; null for a file of no book.
const Book* bookOf(const QString& path);

// A table of any book, by name (exact); null when no book has it.
const Table* findTable(const QString& name);

// A table's Chinese title ("节次" for tabaddnumber), or the name itself for a table of no book.
QString tableTitle(const QString& name);

// The names of the tables a data file or template holds; empty for a file of no book.
QStringList tablesOf(const QString& path);

// The book's title for a data file ("会议记录"), or the file's own name for a file of no book.
QString bookTitle(const QString& path);

// A mark of what the books' files hold now (the recycle bin left out): it changes with every
// commit to any of them, since the engine counts its commits in each file's header, and when a
// file is replaced. Comparing two marks tells whether a command wrote to a book.
QByteArray booksState();

// True for an existing ordinary file that is not hidden; false for a folder, a missing path or
// anything that cannot be looked up.
bool FileExists(const QString& path);

} // namespace store
