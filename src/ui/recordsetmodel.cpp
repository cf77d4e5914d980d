#include "recordsetmodel.h"

namespace ui {

void RecordSetModel::setRecordSet(store::RecordSet rs) {
    beginResetModel();
    m_rs = std::move(rs);
    endResetModel();
}

int RecordSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rs.recordCount(); }

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rs.columns().size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rs.recordCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return m_rs.rows().at(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole) return int(m_alignment);
    return {};
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    if (o == Qt::Horizontal) return m_rs.columns().value(section);
    return section + 1;
}

} // namespace ui

namespace ui {

void TextListModel::setItems(QStringList texts, QVector<qint64> ids) {
    beginResetModel();
    m_texts = std::move(texts);
    m_ids = std::move(ids);
    endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_texts.size()); }

QVariant TextListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_texts.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return m_texts.at(index.row());
    if (role == Qt::UserRole) return index.row() < m_ids.size() ? QVariant(m_ids.at(index.row())) : QVariant();
    return {};
}

} // namespace ui
