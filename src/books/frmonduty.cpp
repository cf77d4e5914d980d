#include "frmonduty.h"

#include "rotamodel.h"
#include "ui_frmonduty.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/designedform.h>
#include <ui/gridclipboard.h>
#include <ui/notify.h>
#include <ui/twips.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

Frmonduty::Frmonduty(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::Frmonduty) {
    m_form->setupUi(this);
    Toolbar1 = ui::makeToolbarIn(m_form->Toolbar1,
                                 // Esc in the grid cancels the row being edited: the return is Ctrl+W.
                                 {{"录入", "enter", QKeySequence::New},
                                  {"修改", "modify", Qt::CTRL | Qt::Key_E},
                                  {"锁定", "lock", Qt::CTRL | Qt::Key_L},
                                  {"返回", "back", Qt::CTRL | Qt::Key_W}},
                                 [this](int i) { Toolbar1_ButtonClick(i); });
    // The visible data control: its arrows move the grid's current row.
    QTableView* grid = m_form->DBGrid1;
    connect(m_form->Data1_First, &QToolButton::clicked, this, [this] { moveCurrent(0); });
    connect(m_form->Data1_Previous, &QToolButton::clicked, this,
            [this, grid] { moveCurrent(grid->currentIndex().row() - 1); });
    connect(m_form->Data1_Next, &QToolButton::clicked, this,
            [this, grid] { moveCurrent(grid->currentIndex().row() + 1); });
    connect(m_form->Data1_Last, &QToolButton::clicked, this,
            [this] { moveCurrent(m_model->recordSet().recordCount() - 1); });

    m_model = new RotaModel(this);
    grid->setModel(m_model);
    ui::keepRowHeaderWidth(grid, QStringLiteral("✎")); // the new row's "*" and the edited row's mark
    grid->installEventFilter(this);
    ui::speakSpreadsheet(grid,
                         [this](const QModelIndex& from, const QVector<QStringList>& rows) { paste(from, rows); });
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (previous.isValid() && previous.row() == m_model->pendingRow()) commitPending();
            });
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& pos) {
        QMenu menu(this);
        ui::addCopyItem(&menu, grid);
        QAction* del = menu.addAction(QStringLiteral("删除该行"));
        del->setEnabled(m_model->allowUpdate() && grid->indexAt(pos).isValid());
        if (menu.exec(grid->viewport()->mapToGlobal(pos)) == del) deleteRow(grid->indexAt(pos).row());
    });
    Form_Load();
}

Frmonduty::~Frmonduty() = default;

void Frmonduty::Form_Load() {
    const QString school = schoolName();
    m_form->Label1->setText(school + QStringLiteral("教师值周表"));
    m_form->Label1->adjustSize();
    m_form->Label1->move((m_form->Frame1->width() - m_form->Label1->width()) / 2, m_form->Label1->y());
    attempt(QStringLiteral("无法打开值周表。"), [this] { m_model->reload(); });
    applyState();
    Form_Activate();
}

void Frmonduty::Form_Activate() {
    const int widths[] = {1500, 4500, 3000};
    for (int c = 0; c < 3 && c < m_model->columnCount(); ++c) m_form->DBGrid1->setColumnWidth(c, ui::twips(widths[c]));
}

void Frmonduty::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(m_form->Frame1, 150);
}

// Locked, entry (add, delete, update) or modify (delete, update) follow the model's flags.
void Frmonduty::applyState() {
    m_form->DBGrid1->setEditTriggers(m_model->allowUpdate() || m_model->allowAddNew()
                                         ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                               QAbstractItemView::AnyKeyPressed
                                         : QAbstractItemView::NoEditTriggers);
}

void Frmonduty::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case Entry:
        m_model->setAllowAddNew(true);
        m_model->setAllowUpdate(true);
        break;
    case Modify: m_model->setAllowUpdate(true); break;
    case Lock:
        // A refused write has been reported and the grid reloaded: the command still does its work.
        commitPending();
        m_model->setAllowAddNew(false);
        m_model->setAllowUpdate(false);
        break;
    case Return:
        commitPending();
        emit backRequested();
        return;
    default: return;
    }
    applyState();
}

// Writes the row the user was editing; a refused write is reported and the grid goes back to
// what the file holds.
bool Frmonduty::commitPending() {
    // A cell still being typed in hands its text to the model first.
    for (QWidget* editor : m_form->DBGrid1->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible()) continue;
        emit m_form->DBGrid1->itemDelegate()->commitData(editor);
        emit m_form->DBGrid1->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (m_model->pendingRow() < 0) return true;
    if (attempt(QStringLiteral("这一行没有保存。"), [this] { m_model->commit(); })) return true;
    reload();
    return false;
}

void Frmonduty::reload() {
    attempt(QStringLiteral("无法重新读取值周表。"), [this] { m_model->reload(); });
}

// Deleting is allowed while the grid is unlocked ("录入" or "修改").
void Frmonduty::deleteRow(int row) {
    if (!m_model->allowUpdate() || row < 0 || row >= m_model->recordSet().recordCount()) return;
    attempt(
        QStringLiteral("这一行没有删除。"), [&] { m_model->removeRecord(row); },
        [this](const store::Error& e) {
            if (e.kind() == store::Error::Changed) reload();
        });
}

// The Del key deletes the rows selected whole (by their row headers), never a row of which one
// cell is selected.
void Frmonduty::deleteSelectedRows() {
    QList<int> rows;
    for (const QModelIndex& i : m_form->DBGrid1->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) deleteRow(row);
}

void Frmonduty::moveCurrent(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    const int column = qMax(0, m_form->DBGrid1->currentIndex().column());
    m_form->DBGrid1->setCurrentIndex(m_model->index(row, column));
}

bool Frmonduty::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form->DBGrid1 && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Delete: deleteSelectedRows(); return true;
        case Qt::Key_Escape: m_model->revert(); return true; // the pending new row or edit is cancelled
        default: break;
        }
    }
    return ui::ChildForm::eventFilter(watched, event);
}

bool Frmonduty::hasUnsavedInput() const { return m_model && m_model->pendingRow() >= 0; }

// A row a search found: the rota read again, that row current and selected.
bool Frmonduty::showRecord(const QString& table, qint64 rowid, const QStringList&) {
    if (table != QLatin1String("tabonduty")) return false;
    commitPending();
    reload();
    const int row = m_model->recordSet().rowids().indexOf(rowid);
    if (row < 0) {
        ui::notify(this, QStringLiteral("这一行已经不在了！"), ui::Information);
        return false;
    }
    moveCurrent(row);
    m_form->DBGrid1->selectRow(row);
    m_form->DBGrid1->scrollTo(m_model->index(row, 0));
    m_form->DBGrid1->setFocus();
    return true;
}

// Pasted rows of cells, from the current cell on: each row an edit written as a typed one, the
// new-record row taking the rows past the last. A locked grid takes none.
void Frmonduty::paste(const QModelIndex& from, const QVector<QStringList>& rows) {
    if (!m_model->allowUpdate() && !m_model->allowAddNew()) {
        ui::notify(this, QStringLiteral("值周表已锁定。请先单击“修改”或“录入”，再粘贴。"), ui::Information);
        return;
    }
    if (!commitPending()) return;
    int row = from.row();
    for (const QStringList& cells : rows) {
        if (row >= m_model->rowCount()) break; // past the last row, where no new row may be added
        for (int c = 0; c < cells.size() && from.column() + c < m_model->columnCount(); ++c)
            m_model->setData(m_model->index(row, from.column() + c), cells[c]);
        if (!commitPending()) return;
        ++row;
    }
    moveCurrent(qMin(row, m_model->rowCount()) - 1);
}
