#pragma once

#include <ui/recordsetmodel.h>

// The duty rota's rows for its grid, on "database/addonduty.dat". Each row is known by its
// SQLite rowid and the values it was read with, so an edit or a delete touches exactly the row
// the user acted on, also when two rows are alike, and nothing when another copy of the program
// changed or removed it meanwhile. Edits are kept for the row being edited and written when the
// user leaves it (commit); a failed write throws store::Error.
class RotaModel : public ui::RecordSetModel {
    Q_OBJECT
public:
    using ui::RecordSetModel::RecordSetModel;

    // Reads every row of the rota again (all at once: no statement stays open); pending edits
    // are dropped. Throws store::Error.
    void reload();

    void setAllowAddNew(bool on);
    void setAllowUpdate(bool on) { m_allowUpdate = on; }
    bool allowAddNew() const { return m_allowAddNew; }
    bool allowUpdate() const { return m_allowUpdate; }

    // The row whose edits are not written yet, or -1.
    int pendingRow() const { return m_pendingRow; }
    // Writes the pending row (insert for a new row, update otherwise).
    void commit();
    // Forgets the pending edits: a new row goes, an edited row shows what was read. Qt calls it
    // (Escape in a cell editor); it never touches the file.
    void revert() override;
    // Deletes one stored row, as it was read.
    void removeRecord(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    bool isNewRow(int row) const { return m_allowAddNew && row == m_rs.recordCount(); }
    store::RecordRef asRead(int row) const;
    void dropRow(int row);

    bool m_allowAddNew = false;
    bool m_allowUpdate = false;
    int m_pendingRow = -1;
    QStringList m_original; // the pending row as it was read
};
