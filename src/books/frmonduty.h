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
    explicit Frmonduty(QWidget* parent = nullptr);

    void Toolbar1_ButtonClick(int index);
    RotaModel* model() const { return m_model; }
    // Writes the row being edited before the program ends (a refusal is reported).
    void writePending() override { commitPending(); }

public slots:
    // Each time the window becomes the active child window.
    void Form_Activate();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
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
