#include "jetrows.h"

#include "jetvalue.h"

namespace jet {

namespace {

constexpr int kMaxMoves = 4; // a row moved on (its place left pointing at the next) at most this often

// One value's place in a row: null, or its bytes; a Boolean's value is its null bit.
struct Field {
    bool null = true;
    Bytes bytes;
};

// Splits a row into its columns' values. False when the row's own bookkeeping (column count,
// null mask, offsets of the variable-length values) does not fit inside it.
bool crack(const Bytes& row, const TableDef& def, QVector<Field>* fields) {
    const uchar* r = row.data;
    const int size = row.size;
    if (size < 2) return false;
    const int count = U16(r);
    const int mask = (count + 7) / 8;
    if (count == 0 || 2 + mask + 2 > size) return false;
    const int varCount = U16(r + size - mask - 2);
    // the offsets of the variable-length values, one more than there are, backwards before the count
    const int table = size - mask - 4 - 2 * varCount;
    if (table < 2) return false;
    auto varOffset = [&](int i) { return int(U16(r + size - mask - 4 - 2 * i)); };
    fields->fill(Field(), def.columns.size());
    for (int c = 0; c < def.columns.size(); ++c) {
        const Column& col = def.columns[c];
        Field& f = (*fields)[c];
        f.null = col.number >= count || !(r[size - mask + col.number / 8] & (1 << (col.number % 8)));
        if (f.null || col.type == Boolean) continue;
        int start = 0, end = 0;
        if (col.fixed) {
            start = 2 + col.fixedOffset;
            end = start + col.length;
        } else {
            if (col.varIndex >= varCount) {
                f.null = true;
                continue;
            }
            start = varOffset(col.varIndex);
            end = varOffset(col.varIndex + 1);
        }
        if (start < 2 || end < start || end > table) return false;
        f.bytes = {r + start, end - start};
    }
    return true;
}

} // namespace

store::SourceTable readTableRows(const Pages& pages, const TableDef& def) {
    store::SourceTable t;
    QVector<quint32> dataPages;
    if (!pages.usedPages(def.usageMap, &dataPages)) {
        t.problem = QStringLiteral("找不到表的数据页，文件已损坏或不完整");
        return t;
    }
    QVector<Field> fields;
    for (const quint32 page : dataPages) {
        const uchar* p = pages.page(page);
        if (!p || p[0] != 0x01 || U32(p + 4) != def.page) continue; // another table's page
        for (int i = 0; i < pages.rowCount(page); ++i) {
            bool deleted = false, moved = false;
            Bytes row = pages.row(page, i, &deleted, &moved);
            if (deleted) continue;
            // A row that grew too big for its page left the address of its new place.
            for (int hops = 0; moved && row.found() && row.size >= 4 && hops < kMaxMoves; ++hops) {
                const quint32 address = U32(row.data);
                row = pages.row(address >> 8, int(address & 0xff), nullptr, &moved);
            }
            if (!row.found() || moved || !crack(row, def, &fields)) {
                t.problem = QString("第 %1 条记录已损坏，无法读取").arg(t.rows.size() + 1);
                return t;
            }
            QStringList values;
            values.reserve(fields.size());
            for (int c = 0; c < fields.size(); ++c) {
                QString why;
                const QString text = valueText(pages, def.columns[c], fields[c].null, fields[c].bytes, &why);
                if (!why.isEmpty()) t.unreadable.push_back({int(t.rows.size()), c, why});
                values << text;
            }
            t.rows << values;
        }
    }
    if (t.rows.size() != def.rows)
        t.problem = QString("只读到 %1 条记录，表中登记有 %2 条，文件已损坏或不完整").arg(t.rows.size()).arg(def.rows);
    return t;
}

} // namespace jet
