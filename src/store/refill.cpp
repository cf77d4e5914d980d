#include "refill.h"

#include "catalogue.h"
#include "statements.h"
#include "database.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace store {

namespace {

struct SchemaObject {
    QString type, name, sql;
};

QVector<SchemaObject> schemaOf(Database& db, const QString& schema) {
    QVector<SchemaObject> objects;
    const RecordSet rs = db.openRecordset("select type, name, sql from " + schema +
                                          ".sqlite_master where name not like 'sqlite_%' and sql is not null");
    for (const QStringList& row : rs.rows()) objects.push_back({row.value(0), row.value(1), row.value(2)});
    return objects;
}

const SchemaObject* find(const QVector<SchemaObject>& objects, const SchemaObject& o) {
    for (const SchemaObject& other : objects)
        if (other.type == o.type && other.name.compare(o.name, Qt::CaseInsensitive) == 0) return &other;
    return nullptr;
}

// Inside the book's open transaction: drop what the source lacks, then give every table of the
// source the source's definition and rows.
void copySchemaAndRows(Database& db) {
    const QVector<SchemaObject> mine = schemaOf(db, "main"), theirs = schemaOf(db, "source");
    for (const SchemaObject& o : mine) {
        const SchemaObject* same = find(theirs, o);
        if (same && same->sql == o.sql) continue;
        // Dropping a table drops its indexes and triggers with it.
        db.execute(QString("drop %1 if exists main.%2").arg(o.type, sqlName(o.name)));
    }
    const QVector<SchemaObject> kept = schemaOf(db, "main");
    for (const SchemaObject& o : theirs) {
        const bool present = find(kept, o) != nullptr;
        if (o.type == "table") {
            if (present)
                db.execute("delete from main." + sqlName(o.name));
            else
                db.execute(o.sql);
            db.execute(QString("insert into main.%1 select * from source.%1").arg(sqlName(o.name)));
        }
    }
    for (const SchemaObject& o : theirs)
        if (o.type != "table" && !find(kept, o)) db.execute(o.sql);
}

void refillOpenBook(Database& db, const QString& source) {
    db.execute("attach database " + SqlQuote(sqliteUri(source) + "?mode=ro") + " as source");
    try {
        db.begin();
        copySchemaAndRows(db);
        db.commit();
    } catch (const Error&) {
        db.rollback();
        db.execute("detach database source");
        throw;
    }
    db.execute("detach database source");
}

QByteArray contentOf(const QString& source) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) throw Error(Error::Missing, source, QString(), in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFile::NoError) throw Error(Error::BadSource, source, QString(), in.errorString(), 0,
                                                  Error::kSourceDamaged);
    return bytes;
}

// The whole file at once, written beside it and renamed over it (QSaveFile): either the old file
// or the new one is there, never a part.
void writeWhole(const QString& book, const QByteArray& bytes) {
    const QFile::Permissions permissions = QFile::permissions(book);
    QSaveFile out(book);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw Error(Error::Replace, book, QString(), out.errorString());
    if (permissions) QFile::setPermissions(book, permissions);
}

QString keptName(const QString& book) {
    const QString base = book + QStringLiteral(".损坏-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + "-journal"); ++n)
        name = base + QString("-%1").arg(n);
    return name;
}

// The engine cannot read the book: keep it (and its journal) under a dated name, then put a copy
// of the source in its place.
QString replaceDamaged(const QString& book, const QString& source) {
    const QByteArray bytes = contentOf(source);
    const QString kept = keptName(book);
    if (!QFile::copy(book, kept)) throw Error(Error::Replace, book, QString(), QFile(book).errorString(), 0, kept);
    const QString journal = book + "-journal", keptJournal = kept + "-journal";
    // The journal goes with the damaged file: it must never meet the new one.
    const bool hadJournal = QFileInfo::exists(journal);
    if (hadJournal && !QFile::rename(journal, keptJournal)) {
        QFile::remove(kept);
        throw Error(Error::Replace, book, QString(), QFile(journal).errorString(), 0, kept);
    }
    try {
        writeWhole(book, bytes);
    } catch (const Error&) {
        if (hadJournal) QFile::rename(keptJournal, journal);
        QFile::remove(kept);
        throw;
    }
    return kept;
}

} // namespace

void checkSource(const QString& source, const QStringList& tables) {
    try {
        Database db(source, Database::ReadOnly);
        const RecordSet check = db.openRecordset("pragma integrity_check");
        if (check.rows().value(0).value(0) != "ok")
            throw Error(Error::BadSource, source, QString(), check.rows().value(0).value(0), 0, Error::kSourceDamaged);
        const QStringList present = db.tables();
        if (present.isEmpty()) throw Error(Error::BadSource, source, QString(), QString(), 0, Error::kSourceEmpty);
        for (const QString& table : tables)
            if (!present.contains(table, Qt::CaseInsensitive))
                throw Error(Error::BadSource, source, QString(), QString(), 0, table);
    } catch (const Error& e) {
        const bool unreadable = e.kind() == Error::Engine &&
                                (e.primaryCode() == kNotADb || e.primaryCode() == kCorrupt);
        if (!unreadable) throw;
        throw Error(Error::BadSource, source, e.statement(), e.engineText(), e.code(), Error::kSourceDamaged);
    }
}

QString refillBook(const QString& book, const QString& source) {
    checkSource(source, tablesOf(book));
    if (!QFileInfo::exists(book)) {
        writeWhole(book, contentOf(source));
        return QString();
    }
    try {
        Database db(book);
        refillOpenBook(db, source);
        return QString();
    } catch (const Error& e) {
        const bool unreadable = e.kind() == Error::Engine &&
                                (e.primaryCode() == kNotADb || e.primaryCode() == kCorrupt);
        if (!unreadable) throw;
    }
    return replaceDamaged(book, source);
}

} // namespace store
