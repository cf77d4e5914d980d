#pragma once

#include <store/attendancedate.h>
#include <store/recordset.h>
#include <ui/childform.h>

#include <memory>

class QCalendarWidget;
class QComboBox;
class QToolBar;
namespace store {
class Database;
}
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
    void cmddate_Click();   // the calendar under the date box
    void cmddelete_Click(); // removes the item chosen in comitems from its list
    ui::RecordSetModel* gridModel() const { return m_model; }

private:
    void Form_Load();
    void Form_Resize() override;
    void save();
    void fillLists(store::Database& db); // the three lookup lists and comitems
    void query();
    void FormatAttendanceGrid();
    void LoadAllAttendance();
    void bindGrid(store::RecordSet rs);
    void selectRowid(qint64 rowid);        // selects the grid's row of this record and scrolls to it
    QList<QComboBox*> combos() const;      // the four drop-down lists of an entry
    QList<QWidget*> entryControls() const; // the six entry labels and their six inputs
    QList<QWidget*> addControls() const;   // the eight list-editing controls
    void HideEntryControls();
    void ShowEntryControls();
    void ShowAddControls();
    void HideAddControls();
    void setNote(const QString& text);

    // A drop-down list fed by a lookup table, after the items the program brings itself.
    struct Lookup {
        QComboBox* box;
        QString table;
        QStringList builtIn;
    };
    QVector<Lookup> m_lookups;
    QVector<store::RecordRef> m_added; // the added items listed in comitems, as read
    QCalendarWidget* m_calendar;

    attendance::Order m_order = attendance::Order::AsStored; // chosen with the two option buttons
    ui::RecordSetModel* m_model;

    std::unique_ptr<Ui::frmteacher> m_form; // the controls, from frmteacher.ui
    QToolBar* Toolbar1;
};
