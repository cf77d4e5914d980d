#pragma once

#include <store/recordset.h>
#include <ui/childform.h>

#include <memory>

class QLineEdit;
class QToolBar;
namespace Ui {
class Frmaddlist;
}

// The teachers' address book: one teacher at a time in nine boxes, a ten-button toolbar.
class Frmaddlist : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based).
    enum Button { Add = 1, Save, Edit, Search, Delete, First, Previous, Next, Last, Exit };

    explicit Frmaddlist(QWidget* parent = nullptr);
    ~Frmaddlist() override;

    void Toolbar1_ButtonClick(int index);
    bool hasUnsavedInput() const override;
    bool showRecord(const QString& table, qint64 rowid, const QStringList& values) override;

    bool addMode() const { return AddMode; }
    int searchStep() const { return SearchStep; }

private:
    void Form_Load();
    void Form_Resize() override;
    void add();
    void save();
    void edit();
    void search();
    void remove();
    void first();
    void previous();
    void next();
    void last();

    void ClearFields();
    void UnlockFields();
    void ShowCurrentRecord();
    void showEmptyTable();
    void showHint(const QString& text);
    void setSexAndCodeEnabled(bool enabled);
    void reload(const QString& where);
    void removeShownOrNamed(const QString& name);
    void showAfterDelete(const store::RecordSet& before, const QVector<qint64>& gone);
    void showAfterRefusal(const store::Error& e);
    QVector<QLineEdit*> lineBoxes() const;
    QStringList boxTexts() const;
    void setBoxTexts(const QStringList& values);

    bool AddMode = false;
    int SearchStep = 0;
    store::RecordSet m_rs;
    QString m_where; // the condition m_rs was read with: empty for the whole table
    // The record last shown in the boxes, as read: Edit + Save changes it, and Delete removes it
    // alone, only while it is still as read.
    store::RecordRef m_shown;

    std::unique_ptr<Ui::Frmaddlist> form; // the controls, from frmaddlist.ui
    QToolBar* Toolbar1;
};
