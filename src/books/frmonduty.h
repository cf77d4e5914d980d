#pragma once

#include <ui/childform.h>

#include <memory>

class QToolBar;
class RotaModel;
namespace Ui {
class Frmonduty;
}

// The weekly duty rota, edited in a grid that the toolbar unlocks and locks.
class Frmonduty : public ui::ChildForm {
    Q_OBJECT
public:
    // The toolbar's buttons by index (1-based).
    enum Button { Entry = 1, Modify, Lock, Return };

    explicit Frmonduty(QWidget* parent = nullptr);
    ~Frmonduty() override;

    void Toolbar1_ButtonClick(int index);
    bool showRecord(const QString& table, qint64 rowid, const QStringList& values) override;
    RotaModel* model() const { return m_model; }
    // Writes the row being edited before the program ends (a refusal is reported).
    void writePending() override { commitPending(); }
    // A new or changed row not yet written.
    bool hasUnsavedInput() const override;

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
    void paste(const QModelIndex& from, const QVector<QStringList>& rows);

    RotaModel* m_model;
    std::unique_ptr<Ui::Frmonduty> m_form; // the controls, from frmonduty.ui
    QToolBar* Toolbar1;
};
