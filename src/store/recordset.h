#pragma once

#include <QStringList>
#include <QVector>

namespace store {

// The rows of one query, held in memory, with a cursor that stands on a row, before the first
// row (BOF) or after the last (EOF). A NULL reads as empty text.
class RecordSet {
public:
    RecordSet() = default;
    RecordSet(QStringList columns, QVector<QStringList> rows, QVector<qint64> rowids = {});

    bool bof() const { return m_rows.isEmpty() || m_pos < 0; }
    bool eof() const { return m_rows.isEmpty() || m_pos >= m_rows.size(); }
    int recordCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    void moveFirst() { m_pos = 0; }
    void moveLast() { m_pos = m_rows.size() - 1; }
    void moveNext() { m_pos = qMin(m_pos + 1, int(m_rows.size())); }
    void movePrevious() { m_pos = qMax(m_pos - 1, -1); }

    // The value at a zero-based column position of the current row.
    QString fields(int column) const;
    // The rowid of the current row, or -1 where none was read.
    qint64 rowid() const;

    const QStringList& columns() const { return m_columns; }
    const QVector<QStringList>& rows() const { return m_rows; }
    const QVector<qint64>& rowids() const { return m_rowids; }
    QVector<QStringList>& rows() { return m_rows; }
    QVector<qint64>& rowids() { return m_rowids; }

private:
    QStringList m_columns;
    QVector<QStringList> m_rows;
    QVector<qint64> m_rowids;
    int m_pos = 0;
};

} // namespace store
