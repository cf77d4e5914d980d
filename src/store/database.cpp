#include "database.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <atomic>

namespace store {

namespace {

std::atomic<quint64> g_connectionCounter{0};
std::atomic<int> g_busyTimeoutMs{5000};

// The engine's English text, with the Chinese words a school office needs to act on it.
QString explainEngineText(const QString& text) {
    const QString t = text.toLower();
    if (t.contains("locked") || t.contains("busy")) return "正被其他程序使用，请稍后再试";
    if (t.contains("not a database") || t.contains("malformed") || t.contains("corrupt"))
        return "已经损坏，或不是本软件的数据文件";
    if (t.contains("no such table")) return "缺少所需的数据表";
    if (t.contains("readonly") || t.contains("read-only") || t.contains("read only")) return "是只读的，无法写入";
    if (t.contains("unable to open") || t.contains("cannot open")) return "无法打开，或者它所在的文件夹不能写入";
    if (t.contains("disk") && (t.contains("full") || t.contains("i/o"))) return "无法写入磁盘";
    return "无法完成所需的操作";
}

QString withoutDeleteStar(const QString& sql) {
    // "delete * from T" empties T; SQLite spells it "delete from T".
    static const QRegularExpression deleteStar("^\\s*delete\\s+\\*\\s+from\\b",
                                               QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    return out.replace(deleteStar, "delete from");
}

} // namespace

int busyTimeoutMs() { return g_busyTimeoutMs; }
void setBusyTimeoutMs(int ms) { g_busyTimeoutMs = ms; }

Error::Error(Kind kind, QString file, QString statement, QString engineText)
    : std::runtime_error(engineText.toStdString()), m_kind(kind), m_file(std::move(file)),
      m_statement(std::move(statement)), m_engineText(std::move(engineText)) {}

QString Error::describe() const {
    const QString where = QDir::toNativeSeparators(QDir::currentPath());
    switch (m_kind) {
    case Missing: return QString("找不到数据文件“%1”（当前文件夹：%2）。").arg(m_file, where);
    case Unstorable: return QString("内容中含有无法保存的字符（空字符），请删去后再保存。");
    case NotWritten:
        return QString("数据文件“%1”中已没有这条记录，它可能已被删除或清空，所做的更改没有保存。").arg(m_file);
    case Copy: return QString("无法替换数据文件“%1”：%2").arg(m_file, m_engineText);
    case Engine: break;
    }
    return QString("数据文件“%1”%2。（%3）").arg(m_file, explainEngineText(m_engineText), m_engineText);
}

Database::Database(const QString& path) : m_path(path), m_connection(QString("lumno-%1").arg(++g_connectionCounter)) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) throw Error(Error::Missing, path, QString(), "no such file");
    m_db = QSqlDatabase::addDatabase("QSQLITE", m_connection);
    // mode=rw: the engine must never create a missing file as a new, empty database.
    m_db.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) + "?mode=rw");
    m_db.setConnectOptions(QString("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs()));
    if (!m_db.open()) {
        const QString text = m_db.lastError().text();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw Error(Error::Engine, path, QString(), text);
    }
    // A save that reported success must survive a crash the next instant.
    QSqlQuery pragma(m_db);
    pragma.exec("PRAGMA synchronous=FULL");
}

Database::~Database() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

void Database::fail(const QString& sql, const QString& engineText) {
    throw Error(Error::Engine, m_path, sql, engineText);
}

namespace {
QString engineText(const QSqlError& e) { return e.databaseText().isEmpty() ? e.text() : e.databaseText(); }
} // namespace

// Runs a statement, refusing a value the engine cannot store; sql is what the window built,
// statement what is sent for it.
QSqlQuery Database::run(const QString& sql, const QString& statement) {
    if (sql.contains(QChar(0))) throw Error(Error::Unstorable, m_path, sql, "NUL character");
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(statement)) fail(sql, engineText(q.lastError()));
    return q;
}

int Database::execute(const QString& sql) { return run(sql, withoutDeleteStar(sql)).numRowsAffected(); }

qint64 Database::insert(const QString& sql) { return run(sql, sql).lastInsertId().toLongLong(); }

RecordSet Database::read(const QString& sql, bool rowids) {
    QString statement = sql;
    if (rowids) {
        static const QRegularExpression selectStar("^\\s*select\\s+\\*\\s+from\\b",
                                                   QRegularExpression::CaseInsensitiveOption);
        statement.replace(selectStar, "select rowid, * from");
    }
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
        for (int i = first; i < n; ++i) row << q.value(i).toString();
        rows << row;
        if (rowids) ids << q.value(0).toLongLong();
    }
    if (q.lastError().isValid()) fail(sql, q.lastError().text());
    q.finish();
    return RecordSet(columns, rows, ids);
}

RecordSet Database::openRecordset(const QString& sql) { return read(sql, false); }

RecordSet Database::openRecordsetWithRowids(const QString& sql) { return read(sql, true); }

QStringList Database::columns(const QString& table) {
    return read(QString("select * from %1 where 0").arg(table), false).columns();
}

} // namespace store
