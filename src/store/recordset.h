#pragma once

#include <QStringList>
#include <QVector>

namespace store {

// One record as a window read it: its rowid, the columns and the values (a null text is NULL).
// Enough to find it again exactly as it was, or to learn that it is no longer there.
struct RecordRef {
    qint64 rowid = -1;
    QStringList columns, values;
    bool isValid() const { return rowid >= 0; }
    // The statement condition that matches this record only, and only while it is unchanged.
    QString condition() const;
};

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
    // The current row as a record to find again; invalid before the first or after the last row.
    RecordRef current() const;
    // Puts the cursor on the row with this rowid; returns false (cursor unchanged) if there is none.
    bool moveToRowid(qint64 rowid);

    const QStringList& columns() const { return m_columns; }
    const QVector<QStringList>& rows() const { return m_rows; }
    const QVector<qint64>& rowids() const { return m_rowids; }
    QVector<QStringList>& rows() { return m_rows; }
    QVector<qint64>& rowids() { return m_rowids; }
    int position() const { return m_pos; }

private:
    QStringList m_columns;
    QVector<QStringList> m_rows;
    QVector<qint64> m_rowids;
    int m_pos = 0;
};

} // namespace store
