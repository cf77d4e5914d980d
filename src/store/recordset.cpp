#include "recordset.h"

#include "statements.h"

namespace store {

RecordSet::RecordSet(QStringList columns, QVector<QStringList> rows, QVector<qint64> rowids)
    : m_columns(std::move(columns)), m_rows(std::move(rows)), m_rowids(std::move(rowids)) {}

QString RecordSet::fields(int column) const {
    if (bof() || eof()) return {};
    const QStringList& row = m_rows.at(m_pos);
    return column >= 0 && column < row.size() ? row.at(column) : QString();
}

qint64 RecordSet::rowid() const {
    if (bof() || eof() || m_pos >= m_rowids.size()) return -1;
    return m_rowids.at(m_pos);
}

} // namespace store

namespace store {

QString RecordRef::condition() const { return store::sameRecord(columns, values, rowid); }

RecordRef RecordSet::current() const {
    if (bof() || eof()) return {};
    return {rowid(), m_columns, m_rows.at(m_pos)};
}

bool RecordSet::moveToRowid(qint64 rowid) {
    const int at = int(m_rowids.indexOf(rowid));
    if (at < 0 || at >= m_rows.size()) return false;
    m_pos = at;
    return true;
}

} // namespace store
