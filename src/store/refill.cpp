#include "refill.h"

#include "catalogue.h"
#include "database.h"
#include "statements.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace store {

namespace {

bool unreadable(const Error& e) {
    return e.kind() == Error::Engine && (e.primaryCode() == kNotADb || e.primaryCode() == kCorrupt);
}

// Inside the book's open transaction: each of the book's tables gets source's rows, column by
// column by name.
void copyRecords(Database& db, const Book& book) {
    for (const Table& t : book.tables) {
        QStringList columns;
        for (const QString& c : t.columnNames()) columns << sqlName(c);
        db.execute("delete from main." + sqlName(t.name));
        db.execute(
            QString("insert into main.%1 (%2) select %2 from source.%1").arg(sqlName(t.name), columns.join(',')));
    }
}

void refillOpenBook(Database& db, const Book& book, const QString& source, const BeforeChange& before,
                    const KeepWaiting& keepWaiting) {
    db.execute("attach database " + SqlQuote(sqliteUri(source) + "?mode=ro") + " as source");
    try {
        db.transaction([&] { copyRecords(db, book); }, before, keepWaiting);
    } catch (const Error&) {
        db.execute("detach database source");
        throw;
    }
    db.execute("detach database source");
}

QByteArray contentOf(const QString& source) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) throw Error(Error::Missing, source, QString(), in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFile::NoError)
        throw Error(Error::BadSource, source, QString(), in.errorString(), 0, Error::kSourceDamaged);
    return bytes;
}

// The bytes of a new book made from source: a copy of it without anything that is not one of the
// book's tables (views, triggers, other tables), made in a folder of its own.
QByteArray recordsOf(const QString& source, const Book& book) {
    QTemporaryDir scratch;
    const QString copy = scratch.filePath("book.dat");
    if (!scratch.isValid() || !QFile(source).copy(copy))
        throw Error(Error::BadSource, source, QString(), QString(), 0, Error::kSourceDamaged);
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
    {
        Database db(copy);
        QStringList ours;
        for (const Table& t : book.tables) ours << t.name.toLower();
        const RecordSet objects =
            db.openRecordset("select type, name from sqlite_master where name not like 'sqlite_%'");
        for (const QStringList& o : objects.rows())
            if (o.value(0) == "view" || o.value(0) == "trigger" ||
                (o.value(0) == "table" && !ours.contains(o.value(1).toLower())))
                db.execute(QString("drop %1 if exists %2").arg(o.value(0), sqlName(o.value(1))));
    }
    return contentOf(copy);
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
    const QString base =
        book + QStringLiteral(".损坏-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + "-journal"); ++n)
        name = base + QString("-%1").arg(n);
    return name;
}

// The engine cannot read the book: keep it (and its journal) under a dated name, then put the
// new content in its place.
QString replaceDamaged(const QString& book, const QByteArray& bytes) {
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

void checkSource(const QString& source) {
    try {
        Database db(source, Database::ReadOnly);
        const RecordSet check = db.openRecordset("pragma integrity_check");
        if (check.rows().value(0).value(0) != "ok")
            throw Error(Error::BadSource, source, QString(), check.rows().value(0).value(0), 0, Error::kSourceDamaged);
        if (db.openRecordset("select count(*) from sqlite_master").fields(0).toInt() == 0)
            throw Error(Error::BadSource, source, QString(), QString(), 0, Error::kSourceEmpty);
        const Book* book = bookOf(source);
        if (!book) return;
        for (const Table& t : book->tables) {
            const RecordSet kind =
                db.openRecordset("select type from sqlite_master where name = " + SqlQuote(t.name) + " collate nocase");
            if (kind.isEmpty()) throw Error(Error::BadSource, source, QString(), QString(), 0, t.name);
            if (kind.fields(0) != "table")
                throw Error(Error::BadSource, source, QString(), QString(), 0, t.name + ":" + kind.fields(0));
            QStringList present;
            const RecordSet columns = db.openRecordset("select name from pragma_table_info(" + SqlQuote(t.name) + ")");
            for (const QStringList& row : columns.rows()) present << row.value(0);
            for (const QString& c : t.columnNames())
                if (!present.contains(c, Qt::CaseInsensitive))
                    throw Error(Error::BadSource, source, QString(), QString(), 0, t.name + "." + c);
        }
    } catch (const Error& e) {
        if (!unreadable(e)) throw;
        throw Error(Error::BadSource, source, e.statement(), e.engineText(), e.code(), Error::kSourceDamaged);
    }
}

QString refillBook(const QString& book, const QString& source, const BeforeChange& before,
                   const KeepWaiting& keepWaiting) {
    checkSource(source);
    const Book* b = bookOf(book);
    if (!b) throw Error(Error::BadSource, source, QString(), QString(), 0, Error::kSourceDamaged);
    if (!QFileInfo::exists(book)) {
        writeWhole(book, recordsOf(source, *b));
        return QString();
    }
    try {
        Database db(book, Database::ReadWrite, keepWaiting);
        refillOpenBook(db, *b, source, before, keepWaiting);
        return QString();
    } catch (const Error& e) {
        if (!unreadable(e)) throw;
    }
    if (before) before(book); // the damaged bytes, as they are
    return replaceDamaged(book, recordsOf(source, *b));
}

} // namespace store
