#include "rotamodel.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <store/recycle.h>
#include <store/statements.h>

void RotaModel::reload() {
    store::RecordSet rs = store::OpenRosterDatabase()->openTableWithRowids("tabonduty");
    m_pendingRow = -1;
    m_original.clear();
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
    if (m_pendingRow < 0) m_original = cells;
    cells[index.column()] = text;
    m_pendingRow = row;
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

store::RecordRef RotaModel::asRead(int row) const {
    return {m_rs.rowids().at(row), m_rs.columns(), row == m_pendingRow ? m_original : m_rs.rows().at(row)};
}

void RotaModel::commit() {
    if (m_pendingRow < 0) return;
    const int row = m_pendingRow;
    QStringList& cells = m_rs.rows()[row];
    auto db = store::OpenRosterDatabase();
    const store::RecordRef read = asRead(row);
    if (!read.isValid()) {
        m_rs.rowids()[row] = db->insert(store::rotaInsert(m_rs.columns(), cells));
        // Cells never typed in were stored as empty texts, not NULL: keep them as stored.
        for (QString& c : cells)
            if (c.isNull()) c = QStringLiteral("");
    } else {
        db->executeOnRecord(store::rotaUpdate(m_rs.columns(), cells, read.condition()));
    }
    m_pendingRow = -1;
    m_original.clear();
    emit headerDataChanged(Qt::Vertical, row, row);
}

void RotaModel::revert() {
    if (m_pendingRow < 0) return;
    const int row = m_pendingRow;
    m_pendingRow = -1;
    if (m_rs.rowids().at(row) < 0) {
        dropRow(row);
    } else {
        m_rs.rows()[row] = m_original;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    }
    m_original.clear();
}

void RotaModel::removeRecord(int row) {
    if (row < 0 || row >= m_rs.recordCount()) return;
    const store::RecordRef read = asRead(row);
    if (read.isValid()) {
        auto db = store::OpenRosterDatabase();
        store::deleteKeeping(*db, store::rotaDelete(read.condition()), true);
    }
    if (m_pendingRow == row) {
        m_pendingRow = -1;
        m_original.clear();
    }
    dropRow(row);
}

void RotaModel::dropRow(int row) {
    beginRemoveRows({}, row, row);
    m_rs.rows().removeAt(row);
    m_rs.rowids().removeAt(row);
    if (m_pendingRow > row) --m_pendingRow;
    endRemoveRows();
}
