#pragma once

#include <store/recordset.h>

#include <QAbstractTableModel>

namespace ui {

// The rows of a record set for a grid: every column in order, the column names as headings,
// read-only. The rows live in memory, so the grid never keeps a statement (or a lock) open.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRecordSet(store::RecordSet rs);
    const store::RecordSet& recordSet() const { return m_rs; }
    void setAlignment(Qt::Alignment a) { m_alignment = a; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

protected:
    store::RecordSet m_rs;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace ui

namespace ui {

// A long list of texts for a combo box, each with a number kept beside it (Qt::UserRole),
// replaced in one step: a hundred thousand entries fill at once.
class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    void setItems(QStringList texts, QVector<qint64> ids = {});
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_texts;
    QVector<qint64> m_ids;
};

} // namespace ui
