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

namespace {

// Rowids one statement of a search reads: small enough that a new search (or a closed window)
// stops the old one at once, large enough that the statements cost little.
constexpr qint64 kSlice = 5000;

} // namespace

QString findStatement(const Table& table, const QString& text, int limit, qint64 from, qint64 upTo) {
    QStringList columns, conditions;
    const QString needle = SqlQuote(text);
    for (const Column& c : table.columns) {
        columns << sqlName(c.name);
        conditions << QString("instr(%1, %2) > 0").arg(sqlName(c.name), needle);
    }
    const QString range = upTo < from ? QString() : QString("rowid >= %1 and rowid <= %2 and ").arg(from).arg(upTo);
    return QString("select rowid, %1 from %2 where %3(%4) limit %5")
        .arg(columns.join(", "), sqlName(table.name), range, conditions.join(" or "))
        .arg(limit);
}

bool findRecords(const SearchedTable& where, const QString& text, int limit,
                 const std::function<void(const QVector<Found>&)>& found, const std::function<bool()>& stop) {
    if (text.isEmpty() || limit <= 0) return false;
    Database db(where.book->file, Database::ReadOnly);
    const QString table = sqlName(where.table->name);
    const RecordSet bounds = db.openRecordset("select min(rowid), max(rowid) from " + table);
    if (bounds.fields(0).isNull()) return false; // no records
    const qint64 last = bounds.fields(1).toLongLong();
    int count = 0;
    for (qint64 from = bounds.fields(0).toLongLong(); !stop();) {
        const qint64 upTo = quint64(last) - quint64(from) < quint64(kSlice) ? last : from + kSlice - 1;
        // One more than is still wanted: whether the table holds more is known without a count.
        const RecordSet rs = db.openRecordset(findStatement(*where.table, text, limit - count + 1, from, upTo));
        QVector<Found> slice;
        slice.reserve(rs.recordCount());
        for (const QStringList& row : rs.rows()) {
            Found f{where.book, where.table, row.value(0).toLongLong(), -1, row.mid(1)};
            for (int i = 0; i < f.values.size() && f.column < 0; ++i)
                if (f.values[i].contains(text)) f.column = i;
            slice.append(f);
        }
        const bool more = count + slice.size() > limit;
        if (more) slice.resize(limit - count);
        count += slice.size();
        if (!slice.isEmpty()) found(slice);
        if (more) return true;
        if (upTo >= last) break;
        // The next slice starts at the next record: a gap in the rowids costs one lookup.
        const RecordSet next =
            db.openRecordset(QString("select min(rowid) from %1 where rowid > %2").arg(table).arg(upTo));
        if (next.fields(0).isNull()) break;
        from = next.fields(0).toLongLong();
    }
    return false;
}

} // namespace store
