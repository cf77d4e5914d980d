#include "importrows.h"

#include "catalogue.h"
#include "database.h"
#include "statements.h"

namespace store {

namespace {
QString literal(const QString& value) { return value.isNull() ? QStringLiteral("NULL") : SqlQuote(value); }

QString insertStatement(const QString& table, const QStringList& columns, const QStringList& values) {
    QStringList names, literals;
    for (const QString& c : columns) names << sqlName(c);
    for (const QString& v : values) literals << literal(v);
    return "insert into " + table + " (" + names.join(',') + ") values (" + literals.join(',') + ")";
}

// A NULL-safe test for a row identical to the given values.
QString countIdentical(const QString& table, const QStringList& columns, const QStringList& values) {
    QStringList terms;
    for (int i = 0; i < values.size(); ++i) terms << sqlName(columns.value(i)) + " is " + literal(values.at(i));
    return "select count(*) from " + table + " where " + terms.join(" and ");
}

int count(Database& db, const QString& sql) { return db.openRecordset(sql).fields(0).toInt(); }

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
    for (const QStringList& row : t.rows) {
        if (accounts && count(db, countIdentical(t.name, columns, row)) > 0) {
            done.sameAccounts << row.value(0);
            continue;
        }
        db.execute(insertStatement(t.name, columns, row));
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
