#pragma once

#include <store/recordset.h>
#include <ui/childform.h>

#include <memory>

class QComboBox;
class QToolBar;
namespace ui {
class RecordSetModel;
}
namespace Ui {
class frmteacher;
}

// The teachers' attendance register: entries are added and listed, never changed. Its second
// mode edits the lookup lists of categories, subjects and lesson numbers.
class frmteacher : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based).
    enum Button { Settings = 1, Save, Query, Browse, Return };

    explicit frmteacher(QWidget* parent = nullptr);
    ~frmteacher() override;

    void Toolbar1_ButtonClick(int index);
    bool showRecord(const QString& table, qint64 rowid, const QStringList& values) override;
    void cmdok_Click();
    void cmdcancel_Click();
    ui::RecordSetModel* gridModel() const { return m_model; }

    // The order of the grid's rows, chosen with the two option buttons.
    enum class Order { AsStored, ByDate, ByName };
    static void sortRows(store::RecordSet& rs, Order order);

private:
    void Form_Load();
    void Form_Resize() override;
    void save();
    void query();
    void FormatAttendanceGrid();
    void LoadAllAttendance();
    void bindGrid(store::RecordSet rs);
    QList<QComboBox*> combos() const;      // the four drop-down lists of an entry
    QList<QWidget*> entryControls() const; // the six entry labels and their six inputs
    QList<QWidget*> addControls() const;   // the eight list-editing controls
    void HideEntryControls();
    void ShowEntryControls();
    void ShowAddControls();
    void HideAddControls();
    void setNote(const QString& text);

    Order m_order = Order::AsStored;
    ui::RecordSetModel* m_model;

    std::unique_ptr<Ui::frmteacher> m_form; // the controls, from frmteacher.ui
    QToolBar* Toolbar1;
};
