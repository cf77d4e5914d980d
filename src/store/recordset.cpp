#include "recordset.h"

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
