#pragma once

#include <ui/childform.h>

class QLabel;
class QTableView;
class QToolBar;
class RotaModel;

// The weekly duty rota, edited in a grid that the toolbar unlocks and locks.
class Frmonduty : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based).
    enum Button { Entry = 1, Modify, Lock, Return };

    explicit Frmonduty(QWidget* parent = nullptr);

    void Toolbar1_ButtonClick(int index);
    RotaModel* model() const { return m_model; }
    // Writes the row being edited before the program ends (a refusal is reported).
    void writePending() override { commitPending(); }

    void Form_Activate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Resize() override;
    void applyState();
    bool commitPending();
    void reload();
    void deleteRow(int row);
    void deleteSelectedRows();
    void moveCurrent(int row);

    RotaModel* m_model;
    QLabel* Label1;
    QWidget* Frame1;
    QWidget* Data1;
    QToolBar* Toolbar1;
    QTableView* DBGrid1;
};
