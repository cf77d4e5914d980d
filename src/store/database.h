#pragma once

#include "recordset.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <stdexcept>

namespace store {

// A failure of the database engine or of a data file, with what the user needs to hear:
// the file, the statement that was refused and the engine's own text.
class Error : public std::runtime_error {
public:
    enum Kind { Missing, Engine, Unstorable, NotWritten, Copy };
    Error(Kind kind, QString file, QString statement, QString engineText);

    Kind kind() const { return m_kind; }
    const QString& file() const { return m_file; }
    const QString& statement() const { return m_statement; }
    const QString& engineText() const { return m_engineText; }
    // A short Chinese description of what is wrong with the file, with the engine's text.
    QString describe() const;

private:
    Kind m_kind;
    QString m_file, m_statement, m_engineText;
};

// One open database file, for the length of one operation (or of one grid on screen).
// Opens existing files only: a missing file is an Error, never a new empty database.
class Database {
public:
    explicit Database(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    // Runs a statement that returns no rows; returns how many rows it changed.
    int execute(const QString& sql);
    // Runs an insert of one row; returns the new row's rowid.
    qint64 insert(const QString& sql);
    // Runs a query and reads all of its rows at once, so no read lock outlives the call.
    RecordSet openRecordset(const QString& sql);
    // As openRecordset, and keeps each row's SQLite rowid beside it ("select * from T ...").
    RecordSet openRecordsetWithRowids(const QString& sql);
    // The column names of a table, in table order.
    QStringList columns(const QString& table);

private:
    QSqlQuery run(const QString& sql, const QString& statement);
    RecordSet read(const QString& sql, bool rowids);
    [[noreturn]] void fail(const QString& sql, const QString& engineText);

    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
};

// How long a statement waits for another program's write to finish before it gives up
// (5 seconds; tests shorten it).
int busyTimeoutMs();
void setBusyTimeoutMs(int ms);

} // namespace store
