#include "rotamodel.h"

#include <store/catalogue.h>
#include <store/statements.h>

void RotaModel::load() {
    store::RecordSet rs = store::OpenRosterDatabase()->openRecordsetWithRowids("select * from tabonduty");
    m_pendingRow = -1;
    setRecordSet(rs);
}

void RotaModel::setAllowAddNew(bool on) {
    if (on == m_allowAddNew) return;
    const int n = m_rs.recordCount();
    if (on) {
        beginInsertRows({}, n, n);
        m_allowAddNew = true;
        endInsertRows();
    } else {
        beginRemoveRows({}, n, n);
        m_allowAddNew = false;
        endRemoveRows();
    }
}

int RotaModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return m_rs.recordCount() + (m_allowAddNew ? 1 : 0);
}

Qt::ItemFlags RotaModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = ui::RecordSetModel::flags(index);
    if (!index.isValid()) return f;
    if (isNewRow(index.row()) ? m_allowAddNew : m_allowUpdate) f |= Qt::ItemIsEditable;
    return f;
}

QVariant RotaModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Vertical && role == Qt::DisplayRole) {
        if (isNewRow(section)) return QStringLiteral("*");
        if (section == m_pendingRow) return QStringLiteral("✎");
        return QString();
    }
    return ui::RecordSetModel::headerData(section, o, role);
}

bool RotaModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    int row = index.row();
    if (m_pendingRow >= 0 && m_pendingRow != row) return false; // the edited row is written first
    const QString text = value.toString();
    if (isNewRow(row)) {
        if (text.isEmpty()) return false;
        // The new-record row becomes a row of its own; a fresh new-record row follows it.
        beginInsertRows({}, row + 1, row + 1);
        m_rs.rows().append(QStringList(QVector<QString>(m_rs.columns().size())));
        m_rs.rowids().append(-1);
        endInsertRows();
    }
    QStringList& cells = m_rs.rows()[row];
    if (cells.value(index.column()) == text) return false;
    cells[index.column()] = text;
    m_pendingRow = row;
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

void RotaModel::commit() {
    if (m_pendingRow < 0) return;
    const int row = m_pendingRow;
    const QStringList& cells = m_rs.rows().at(row);
    auto db = store::OpenRosterDatabase();
    const qint64 rowid = m_rs.rowids().at(row);
    if (rowid < 0)
        m_rs.rowids()[row] = db->insert(sql::rotaInsert(m_rs.columns(), cells));
    else if (db->execute(sql::rotaUpdate(m_rs.columns(), cells, rowid)) == 0)
        throw store::Error(store::Error::NotWritten, db->path(), QString(), "no row");
    m_pendingRow = -1;
    emit headerDataChanged(Qt::Vertical, row, row);
}

void RotaModel::revert() {
    m_pendingRow = -1;
    load();
}

void RotaModel::removeRecord(int row) {
    if (row < 0 || row >= m_rs.recordCount()) return;
    const qint64 rowid = m_rs.rowids().at(row);
    if (rowid >= 0) {
        auto db = store::OpenRosterDatabase();
        db->execute(sql::rotaDelete(rowid));
    }
    beginRemoveRows({}, row, row);
    m_rs.rows().removeAt(row);
    m_rs.rowids().removeAt(row);
    if (m_pendingRow == row)
        m_pendingRow = -1;
    else if (m_pendingRow > row)
        --m_pendingRow;
    endRemoveRows();
}
