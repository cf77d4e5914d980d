#pragma once

#include "recordset.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <stdexcept>

namespace store {

// A failure of the database engine or of a data file. It carries what the user needs to hear
// (the file, the statement that was refused, the engine's result code and text); the ui layer
// turns it into a sentence.
class Error : public std::runtime_error {
public:
    enum Kind {
        Missing,      // the file is not there
        NotAFile,     // a folder, pipe or device stands where the file (or its journal, detail) should be
        Engine,       // the engine refused; code() says why
        TableMissing, // the file lacks a table it must have (detail)
        Unstorable,   // a value the engine cannot store (a NUL character)
        Changed,      // the record was changed or removed meanwhile: nothing was written
        BadSource,    // a template or backup that cannot be copied into a book (detail says why)
        Replace,      // a damaged file could not be replaced (detail: the reason)
        Target,       // a copy could not be written where it was to go (file: that folder)
    };
    // Why a source file cannot be used (the detail of BadSource).
    static constexpr const char* kSourceDamaged = "damaged";
    static constexpr const char* kSourceEmpty = "empty";
    // The other details of BadSource: "table" (the table is missing), "table.column" (the table
    // lacks a column of the book), "table:type" (the name is taken by a view, an index, ...).

    Error(Kind kind, QString file, QString statement = QString(), QString engineText = QString(), int code = 0,
          QString detail = QString());

    Kind kind() const { return m_kind; }
    const QString& file() const { return m_file; }
    const QString& statement() const { return m_statement; }
    const QString& engineText() const { return m_engineText; }
    // The engine's (extended) result code; 0 when the failure did not come from the engine.
    int code() const { return m_code; }
    // The primary result code (SQLITE_READONLY, SQLITE_IOERR, ...), the low byte of code().
    int primaryCode() const { return m_code & 0xff; }
    const QString& detail() const { return m_detail; }

private:
    Kind m_kind;
    QString m_file, m_statement, m_engineText;
    int m_code;
    QString m_detail;
};

// The SQLite result codes the program tells apart (sqlite3.h).
enum ResultCode {
    kSqlError = 1,
    kBusy = 5,
    kLocked = 6,
    kNoMem = 7,
    kReadOnly = 8,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kTooBig = 18,
    kConstraint = 19,
    kNotADb = 26,
    kIoErrRead = kIoErr | (1 << 8),
    kIoErrShortRead = kIoErr | (2 << 8),
    kIoErrDelete = kIoErr | (10 << 8),
    kIoErrDirFsync = kIoErr | (5 << 8),
};

// Asked again and again while a lock is being waited for; false gives up (Cancel).
using KeepWaiting = std::function<bool()>;

// Called with a book's data file once the change's write lock is held, before anything changes
// (the snapshot of the book is taken there); throwing Error leaves the book alone.
using BeforeChange = std::function<void(const QString& bookFile)>;

// The files whose last write was committed although the disk did not confirm it (the folder's
// sync after the journal's deletion failed): the record is in the file, and may not survive a
// power cut. Taken (and cleared) by whoever reports the action.
QStringList takeUnconfirmedWrites();

// The URI that names a file for the engine: an empty authority, so that a folder on a network
// share (\\server\share\...) is a path, never a host.
QString sqliteUri(const QString& path);

// One open database file, for the length of one operation (or of one grid on screen).
// Opens existing files only: a missing file is an Error, never a new empty database.
class Database {
public:
    enum Access { ReadWrite, ReadOnly };
    // keepWaiting: while another copy writes, opening waits as begin() does (the engine reads the
    // file's schema to set it up).
    explicit Database(const QString& path, Access access = ReadWrite, const KeepWaiting& keepWaiting = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    // Runs a statement that returns no rows; returns how many rows it changed.
    int execute(const QString& sql);
    // Runs an update or delete of one record as it was read; throws Error (Changed) when it
    // changed no row: the record was changed or removed meanwhile.
    void executeOnRecord(const QString& sql);
    // Runs an insert of one row; returns the new row's rowid.
    qint64 insert(const QString& sql);
    // Runs a query and reads all of its rows at once, so no read lock outlives the call.
    RecordSet openRecordset(const QString& sql);
    // Every row of a table with each row's SQLite rowid kept beside it; where, when given, is the
    // text after "where".
    RecordSet openTableWithRowids(const QString& table, const QString& where = QString());
    // The column names of a table, in table order.
    QStringList columns(const QString& table);
    // The names of the tables the file holds.
    QStringList tables();

    // All or nothing: statements between begin() and commit() land together. begin() takes the
    // write lock at once, so a second copy of the program waits instead of failing halfway. It
    // asks for the lock every few milliseconds, so a copy saving in a loop cannot keep it away;
    // without keepWaiting it gives up after the busy timeout, with it only when it answers false.
    void begin(const KeepWaiting& keepWaiting = {});
    void commit();
    void rollback();
    // begin(keepWaiting), then before (the snapshot of the book, under the lock), then change,
    // then commit; rolled back when any of them throws.
    void transaction(const std::function<void()>& change, const BeforeChange& before = {},
                     const KeepWaiting& keepWaiting = {});

private:
    QSqlError execWaiting(const QString& statement, const KeepWaiting& keepWaiting);
    QSqlQuery run(const QString& sql, const QString& statement);
    bool committedUnconfirmed(const QSqlError& error);
    RecordSet read(const QString& sql, const QString& statement, bool rowids);
    [[noreturn]] void fail(const QString& sql, const QSqlError& error);

    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
    bool m_unconfirmed = false; // the last statement's commit was done but not confirmed
};

// How long a statement waits for another program's write to finish before it gives up
// (5 seconds; tests shorten it).
int busyTimeoutMs();
void setBusyTimeoutMs(int ms);

} // namespace store
