#include "importrows.h"

#include "accounts.h"
#include "catalogue.h"
#include "database.h"
#include "statements.h"

#include <QSet>

namespace store {

namespace {
QString literal(const QString& value) { return value.isNull() ? QStringLiteral("NULL") : SqlQuote(value); }

QString insertStatement(const QString& table, const QStringList& columns, const QStringList& values) {
    QStringList names, literals;
    for (const QString& c : columns) names << sqlName(c);
    for (const QString& v : values) literals << literal(v);
    return "insert into " + table + " (" + names.join(',') + ") values (" + literals.join(',') + ")";
}

int count(Database& db, const QString& sql) { return db.openRecordset(sql).fields(0).toInt(); }

// An account we have already: the same name, and a password of ours that the imported one
// matches (ours may be a hash, the imported one as typed) or the very same value.
bool knownAccount(Database& db, const QStringList& columns, const QStringList& row) {
    const QString name = row.value(0), password = row.value(1);
    const QString where = row.value(0).isNull() ? sqlName(columns.value(0)) + " is null"
                                                : sqlName(columns.value(0)) + " = " + SqlQuote(name);
    const RecordSet rows = db.openRecordset("select * from tabel1 where " + where);
    for (const QStringList& ours : rows.rows()) {
        const QString stored = ours.value(1);
        if ((stored.isNull() && password.isNull()) || stored == password || passwordMatches(stored, password))
            return true;
    }
    return false;
}

// An imported account keeps its password as a hash, like every account of ours.
QStringList hashedAccount(QStringList row) {
    if (row.size() >= 2 && !row.at(1).isNull() && !isPasswordHash(row.at(1))) row[1] = hashPassword(row.at(1));
    return row;
}

// A row as one text to compare: a NULL apart from an empty text.
QString rowKey(const QStringList& values) {
    QString key;
    for (const QString& v : values) key += v.isNull() ? QStringLiteral("\x1fN") : QStringLiteral("\x1fT") + v;
    return key;
}

// The rows the table holds, each cut to the columns given, as keys.
QSet<QString> rowsHeld(Database& db, const QString& table, const QStringList& columns) {
    QStringList names;
    for (const QString& c : columns) names << sqlName(c);
    QSet<QString> keys;
    if (names.isEmpty()) return keys;
    const RecordSet held = db.openRecordset("select " + names.join(',') + " from " + table);
    for (const QStringList& row : held.rows()) keys.insert(rowKey(row));
    return keys;
}

ImportedTable importTable(Database& db, const ImportTable& t, bool replace) {
    const QStringList ours = db.columns(t.name);
    const int width = t.rows.isEmpty() ? 0 : t.rows.first().size();
    const QStringList columns = ours.mid(0, width);
    const bool accounts = t.name == "tabel1", school = t.name == "tabel2";
    ImportedTable done;
    done.name = t.name;
    done.replaced = replace;
    if (school && count(db, "select count(*) from tabel2") > 0) {
        done.keptOurs = true;
        return done;
    }
    if (replace) done.removed = db.execute("delete from " + t.name);
    QSet<QString> held;
    if (!replace && !accounts) held = rowsHeld(db, t.name, columns);
    for (const QStringList& row : t.rows) {
        if (accounts && knownAccount(db, columns, row)) {
            done.sameAccounts << row.value(0);
            continue;
        }
        if (!replace && !accounts) {
            const QString key = rowKey(row);
            if (held.contains(key)) {
                ++done.skipped;
                continue;
            }
            held.insert(key);
        }
        db.execute(insertStatement(t.name, columns, accounts ? hashedAccount(row) : row));
        ++done.added;
    }
    return done;
}

} // namespace

QVector<ImportedTable> importRows(const ImportBook& book, ImportMode mode, const BeforeChange& beforeChange) {
    if (!book.importable())
        throw Error(Error::BadSource, book.source, QString(), book.problems.join('\n'), 0, Error::kSourceDamaged);
    // The accounts and the school's details are never replaced: only added to.
    const bool replace = mode == ImportMode::Replace && book.bookFile != kUserFile;
    Database db(book.bookFile);
    QVector<ImportedTable> done;
    db.transaction(
        [&] {
            for (const ImportTable& t : book.tables) done << importTable(db, t, replace);
        },
        beforeChange);
    return done;
}

} // namespace store
