#include "database.h"

#include "catalogue.h"
#include "statements.h"

#include <filesystem>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <atomic>

namespace store {

namespace {

std::atomic<quint64> g_connectionCounter{0};
std::atomic<int> g_busyTimeoutMs{5000};
QMutex g_unconfirmedMutex;
QStringList g_unconfirmed;

// How long one request for the write lock lets the engine wait before begin() asks again.
constexpr int kLockPollMs = 20;

QString engineText(const QSqlError& e) { return e.databaseText().isEmpty() ? e.text() : e.databaseText(); }

int engineCode(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? code : 0;
}

// "delete * from T" empties T; SQLite spells it "delete from T".
QString withoutDeleteStar(const QString& sql) {
    static const QString star = QStringLiteral("delete * from ");
    return sql.startsWith(star, Qt::CaseInsensitive) ? "delete from " + sql.mid(star.size()) : sql;
}

} // namespace

int busyTimeoutMs() { return g_busyTimeoutMs; }

QStringList takeUnconfirmedWrites() {
    QMutexLocker lock(&g_unconfirmedMutex);
    QStringList files;
    files.swap(g_unconfirmed);
    return files;
}
void setBusyTimeoutMs(int ms) { g_busyTimeoutMs = ms; }

Error::Error(Kind kind, QString file, QString statement, QString engineText, int code, QString detail)
    : std::runtime_error(engineText.isEmpty() ? file.toStdString() : engineText.toStdString()), m_kind(kind),
      m_file(std::move(file)), m_statement(std::move(statement)), m_engineText(std::move(engineText)), m_code(code),
      m_detail(std::move(detail)) {}

QString sqliteUri(const QString& path) {
    // An absolute path as it is: a share's leading "//" must not be folded into one "/".
    const QString absolute =
        QDir::fromNativeSeparators(QDir::isAbsolutePath(path) ? path : QFileInfo(path).absoluteFilePath());
    // "file:" + "//" (an empty authority) + the path; a path that does not begin with "/" (C:/...)
    // gets one, and a share's "//server/share" stays a path.
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/:"));
    return "file://" + QString(absolute.startsWith('/') ? "" : "/") + encoded;
}

Database::Database(const QString& path, Access access, const KeepWaiting& keepWaiting)
    : m_path(path), m_connection(QString("lumno-%1").arg(++g_connectionCounter)) {
    const QFileInfo info(path);
    if (!info.exists()) throw Error(Error::Missing, path);
    // A folder or a pipe in the file's place, or in its journal's, would fail or block the engine.
    if (!info.isFile()) throw Error(Error::NotAFile, path, QString(), QString(), 0, path);
    // One look at the journal's type: another copy's commit may delete it at any moment, and two
    // looks (is it there? is it a file?) would then call a vanished journal a folder.
    const QFileInfo journal(path + "-journal");
    std::error_code unknown;
    const auto type = std::filesystem::status(journal.filesystemFilePath(), unknown).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::none)
        throw Error(Error::NotAFile, path, QString(), QString(), 0, journal.filePath());

    m_db = QSqlDatabase::addDatabase("QSQLITE", m_connection);
    // mode=rw: the engine must never create a missing file as a new, empty database.
    m_db.setDatabaseName(sqliteUri(path) + (access == ReadOnly ? "?mode=ro" : "?mode=rw"));
    m_db.setConnectOptions(QString("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs()));
    if (!m_db.open()) {
        const QSqlError e = m_db.lastError();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw Error(Error::Engine, path, QString(), engineText(e), engineCode(e));
    }
    // In rollback-journal mode the journal's deletion is the commit: EXTRA also syncs the folder
    // after it, so a save that reported success survives a power cut.
    // The setting reads the file's schema: under another copy's write it waits like begin().
    const QSqlError e = execWaiting("PRAGMA synchronous=EXTRA", keepWaiting);
    if (e.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw Error(Error::Engine, path, QString(), engineText(e), engineCode(e));
    }
}

Database::~Database() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

void Database::fail(const QString& sql, const QSqlError& error) {
    const int code = engineCode(error);
    // A statement on a table the file should hold, and does not: say which table.
    if ((code & 0xff) == kSqlError) {
        QStringList present;
        QSqlQuery q(m_db);
        if (q.exec("select name from sqlite_master where type='table'"))
            while (q.next()) present << q.value(0).toString();
        for (const QString& table : tablesOf(m_path))
            if (!present.contains(table, Qt::CaseInsensitive))
                throw Error(Error::TableMissing, m_path, sql, engineText(error), code, table);
    }
    throw Error(Error::Engine, m_path, sql, engineText(error), code);
}

// Runs a statement, refusing a value the engine cannot store; sql is what the window built,
// statement what is sent for it.
QSqlQuery Database::run(const QString& sql, const QString& statement) {
    if (sql.contains(QChar(0))) throw Error(Error::Unstorable, m_path, sql);
    m_unconfirmed = false;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(statement)) {
        if (committedUnconfirmed(q.lastError())) return q;
        fail(sql, q.lastError());
    }
    return q;
}

// The folder's sync after the journal's deletion failed: the engine reports an I/O error, but
// the journal is gone, and in rollback-journal mode that deletion is the commit: the change is
// in the file and nothing can take it back. It is noted as written but unconfirmed, never
// reported as not saved (the person would save it again: a duplicate).
bool Database::committedUnconfirmed(const QSqlError& error) {
    if (engineCode(error) != kIoErrDirFsync || QFileInfo::exists(m_path + "-journal")) return false;
    m_unconfirmed = true;
    QMutexLocker lock(&g_unconfirmedMutex);
    if (!g_unconfirmed.contains(m_path)) g_unconfirmed << m_path;
    return true;
}

int Database::execute(const QString& sql) {
    const int changed = run(sql, withoutDeleteStar(sql)).numRowsAffected();
    // Written, then the commit was not confirmed: the engine no longer counts the change, but a
    // statement that changed nothing would have written nothing to commit.
    return m_unconfirmed ? qMax(changed, 1) : changed;
}

void Database::executeOnRecord(const QString& sql) {
    if (execute(sql) == 0) throw Error(Error::Changed, m_path, sql);
}

qint64 Database::insert(const QString& sql) {
    const QVariant id = run(sql, sql).lastInsertId();
    if (!m_unconfirmed) return id.toLongLong();
    return openRecordset("select last_insert_rowid()").fields(0).toLongLong();
}

RecordSet Database::read(const QString& sql, const QString& statement, bool rowids) {
    QSqlQuery q = run(sql, statement);
    const QSqlRecord rec = q.record();
    const int first = rowids ? 1 : 0;
    QStringList columns;
    for (int i = first; i < rec.count(); ++i) columns << rec.fieldName(i);
    QVector<QStringList> rows;
    QVector<qint64> ids;
    const int n = rec.count();
    while (q.next()) {
        QStringList row;
        row.reserve(n - first);
        for (int i = first; i < n; ++i) row << q.value(i).toString(); // a NULL stays a null text
        rows << row;
        if (rowids) ids << q.value(0).toLongLong();
    }
    if (q.lastError().isValid()) fail(sql, q.lastError());
    q.finish();
    return RecordSet(columns, rows, ids);
}

RecordSet Database::openRecordset(const QString& sql) { return read(sql, sql, false); }

RecordSet Database::openTableWithRowids(const QString& table, const QString& where) {
    const QString tail = where.isEmpty() ? QString() : " where " + where;
    return read("select * from " + table + tail, "select rowid, * from " + table + tail, true);
}

QStringList Database::columns(const QString& table) {
    return openRecordset(QString("select * from %1 where 0").arg(table)).columns();
}

QStringList Database::tables() {
    const RecordSet rs = openRecordset("select name from sqlite_master where type='table'");
    QStringList names;
    for (const QStringList& row : rs.rows()) names << row.value(0);
    return names;
}

// Runs statement, asking again every few milliseconds while another connection holds the lock:
// without keepWaiting until the busy timeout, with it until it answers false. Returns the last
// error (none when the statement ran).
QSqlError Database::execWaiting(const QString& statement, const KeepWaiting& keepWaiting) {
    const int poll = qMin(kLockPollMs, busyTimeoutMs());
    QSqlQuery(m_db).exec(QString("pragma busy_timeout=%1").arg(poll));
    QElapsedTimer waited;
    waited.start();
    QSqlError error;
    for (;;) {
        QSqlQuery q(m_db);
        if (q.exec(statement)) break;
        error = q.lastError();
        const int code = engineCode(error) & 0xff;
        const bool busy = code == kBusy || code == kLocked;
        if (!busy || !(keepWaiting ? keepWaiting() : waited.elapsed() < busyTimeoutMs())) break;
        error = QSqlError();
    }
    QSqlQuery(m_db).exec(QString("pragma busy_timeout=%1").arg(busyTimeoutMs()));
    return error;
}

void Database::begin(const KeepWaiting& keepWaiting) {
    const QSqlError e = execWaiting("begin immediate", keepWaiting);
    if (e.isValid()) fail(QString(), e);
}

void Database::transaction(const std::function<void()>& change, const BeforeChange& before,
                           const KeepWaiting& keepWaiting) {
    begin(keepWaiting);
    try {
        if (before) before(m_path);
        change();
        commit();
    } catch (const Error&) {
        rollback();
        throw;
    }
}

void Database::commit() { run(QString(), "commit"); }

void Database::rollback() {
    QSqlQuery q(m_db);
    q.exec("rollback"); // nothing to undo is not a failure
}

} // namespace store
