#include "recycle.h"

#include "catalogue.h"
#include "layout.h"
#include "refill.h"
#include "statements.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace store {

namespace {

QString idList(const QVector<qint64>& ids) {
    QStringList out;
    for (qint64 id : ids) out << QString::number(id);
    return out.join(',');
}

// A failure of a statement on the bin, told as the bin's.
Error asBinError(const Error& e) {
    return Error(e.kind(), kRecycleFile, e.statement(), e.engineText(), e.code(), e.detail());
}

// The bin attached to db as "recycle", checked to be there, writable and holding its table;
// a failure names the bin.
void attachBin(Database& db) {
    if (!QFileInfo::exists(kRecycleFile)) throw Error(Error::Missing, kRecycleFile);
    if (!QFileInfo(kRecycleFile).isFile()) throw Error(Error::NotAFile, kRecycleFile, {}, {}, 0, kRecycleFile);
    if (!QFileInfo(kRecycleFile).isWritable()) throw Error(Error::Engine, kRecycleFile, {}, {}, kReadOnly);
    try {
        db.execute("attach database " + SqlQuote(sqliteUri(kRecycleFile) + "?mode=rw") + " as recycle");
    } catch (const Error& e) {
        throw asBinError(e);
    }
    try {
        const RecordSet tables = db.openRecordset("select name from recycle.sqlite_master where type='table'");
        QStringList present;
        for (const QStringList& row : tables.rows()) present << row.value(0);
        if (!present.contains("tabrecycle", Qt::CaseInsensitive))
            throw Error(Error::TableMissing, kRecycleFile, {}, {}, 0, "tabrecycle");
    } catch (const Error& e) {
        db.execute("detach database recycle");
        throw asBinError(e);
    }
}

void detachBin(Database& db) {
    try {
        db.execute("detach database recycle");
    } catch (const Error&) {
        // The connection closes with the operation; a refused detach leaves nothing behind.
    }
}

// Runs work inside one immediate transaction over db and the attached bin.
template <class Work> auto withBin(Database& db, Work work) {
    attachBin(db);
    try {
        db.begin();
        auto result = work();
        db.commit();
        detachBin(db);
        return result;
    } catch (const Error&) {
        db.rollback();
        detachBin(db);
        throw;
    }
}

} // namespace

int deleteKeeping(Database& db, const QString& statement, bool oneRecord) {
    static const QRegularExpression form(QStringLiteral("^delete (?:\\* )?from (\\S+) where (.*)$"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(statement);
    if (!m.hasMatch() || !findTable(m.captured(1)))
        throw Error(Error::Engine, db.path(), statement, QStringLiteral("not a delete of one catalogued table"));
    const QString table = m.captured(1), condition = m.captured(2);
    const QStringList columns = db.columns(table);
    QStringList pairs;
    for (const QString& c : columns) pairs << SqlQuote(c) + "," + sqlName(c);
    return withBin(db, [&] {
        // Read inside the transaction: exactly the rows the delete then removes.
        const RecordSet rows = db.openRecordset("select json_object(" + pairs.join(',') + ") from main." +
                                                sqlName(table) + " where " + condition);
        const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        try {
            for (const QStringList& row : rows.rows())
                db.execute("insert into recycle.tabrecycle (tablename, deleted_at, record) values (" +
                           quotedList({table, now, row.value(0)}) + ")");
        } catch (const Error& e) {
            throw asBinError(e);
        }
        const int removed = db.execute(statement);
        if (oneRecord && removed == 0) throw Error(Error::Changed, db.path(), statement);
        return removed;
    });
}

QVector<RecycledRecord> recycledRecords() {
    const RecordSet rs = Database(kRecycleFile, Database::ReadOnly)
                             .openRecordset("select rowid, tablename, deleted_at, record from tabrecycle "
                                            "order by deleted_at desc, rowid desc");
    QVector<RecycledRecord> out;
    out.reserve(rs.recordCount());
    for (const QStringList& row : rs.rows()) {
        RecycledRecord r{row.value(0).toLongLong(), row.value(1), row.value(2), {}};
        const QJsonObject o = QJsonDocument::fromJson(row.value(3).toUtf8()).object();
        if (const Table* t = findTable(r.table))
            for (const Column& c : t->columns) {
                const QJsonValue v = o.value(c.name);
                r.values << (v.isNull() || v.isUndefined() ? QString()
                             : v.isString()                ? v.toString()
                                                           : v.toVariant().toString());
            }
        out << r;
    }
    return out;
}

QMap<QString, int> restoreRecycled(const QVector<qint64>& ids) {
    if (ids.isEmpty()) return {};
    // Which tables the records came from.
    QMap<QString, int> wanted;
    {
        const RecordSet rs = Database(kRecycleFile, Database::ReadOnly)
                                 .openRecordset("select tablename, count(*) from tabrecycle where rowid in (" +
                                                idList(ids) + ") group by tablename");
        for (const QStringList& row : rs.rows()) wanted[row.value(0)] = row.value(1).toInt();
    }
    QMap<QString, int> restored;
    for (const Book& b : books()) {
        QStringList tables;
        for (const Table& t : b.tables)
            if (wanted.contains(t.name)) tables << t.name;
        if (tables.isEmpty()) continue;
        Database db(b.file);
        withBin(db, [&] {
            for (const QString& table : tables) {
                const QString chosen =
                    "from recycle.tabrecycle where rowid in (" + idList(ids) + ") and tablename=" + SqlQuote(table);
                QStringList names, values;
                for (const QString& c : db.columns(table)) {
                    names << sqlName(c);
                    values << "json_extract(record," + SqlQuote("$." + sqlName(c)) + ")";
                }
                restored[table] = db.execute("insert into main." + sqlName(table) + " (" + names.join(',') +
                                             ") select " + values.join(',') + " " + chosen + " order by rowid");
                db.execute("delete " + chosen);
            }
            return 0;
        });
    }
    return restored;
}

void purgeRecycled(const QVector<qint64>& ids) {
    if (ids.isEmpty()) return;
    Database(kRecycleFile).execute("delete from tabrecycle where rowid in (" + idList(ids) + ")");
}

QString renewDamagedBin(const QString& folder) {
    const QString bin = QDir(folder).filePath(kRecycleFile);
    if (!QFileInfo::exists(bin)) return QString();
    try {
        checkSource(bin);
        return QString();
    } catch (const Error& e) {
        if (e.kind() != Error::BadSource) throw;
        // A bin the engine reads, only without its table (an empty file, a table dropped by
        // hand): the table is made in it.
        if (e.detail() != QLatin1String(Error::kSourceDamaged)) {
            addMissingTables("recycle", bin);
            return QString();
        }
    }
    QTemporaryDir temp;
    const QString empty = QDir(temp.path()).filePath("recycle.dat");
    createFromSchema("recycle", empty);
    return refillBook(bin, empty);
}

} // namespace store
