#include "search.h"

#include "database.h"
#include "statements.h"

namespace store {

QVector<SearchedTable> searchedTables() {
    QVector<SearchedTable> tables;
    for (const Book& b : books()) {
        if (b.file == kUserFile) continue;
        for (const Table& t : b.tables)
            if (t.counted) tables.append({&b, &t});
    }
    return tables;
}

QString findStatement(const Table& table, const QString& text, int limit) {
    QStringList columns, conditions;
    const QString needle = SqlQuote(text);
    for (const Column& c : table.columns) {
        columns << sqlName(c.name);
        conditions << QString("instr(%1, %2) > 0").arg(sqlName(c.name), needle);
    }
    return QString("select rowid, %1 from %2 where %3 limit %4")
        .arg(columns.join(", "), sqlName(table.name), conditions.join(" or "))
        .arg(limit);
}

QVector<Found> findRecords(const SearchedTable& where, const QString& text, int limit) {
    QVector<Found> found;
    if (text.isEmpty() || limit <= 0) return found;
    const RecordSet rs =
        Database(where.book->file, Database::ReadOnly).openRecordset(findStatement(*where.table, text, limit));
    found.reserve(rs.recordCount());
    for (const QStringList& row : rs.rows()) {
        Found f{where.book, where.table, row.value(0).toLongLong(), -1, row.mid(1)};
        for (int i = 0; i < f.values.size() && f.column < 0; ++i)
            if (f.values[i].contains(text)) f.column = i;
        found.append(f);
    }
    return found;
}

} // namespace store
