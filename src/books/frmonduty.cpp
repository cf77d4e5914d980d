#include "frmonduty.h"

#include "rotamodel.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/toolbar.h>
#include <ui/twips.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <algorithm>

using ui::place;

namespace {
}

Frmonduty::Frmonduty(QWidget* parent) : ui::ChildForm(parent) {
    setObjectName("Frmonduty");
    setWindowTitle(QStringLiteral("教师值周安排"));
    resize(ui::twips(10500), ui::twips(7500));

    Label1 = new QLabel(QStringLiteral("值周表"), this);
    Label1->setObjectName("Label1");
    Label1->setFont(ui::song(15, true));
    place(Label1, 2640, 120, 960, 300);

    Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    place(Frame1, 240, 480, 9855, 6495);

    // The visible data control: its arrows move the grid's current row.
    Data1 = new QWidget(Frame1);
    Data1->setObjectName("Data1");
    Data1->setStyleSheet("#Data1 { border: 1px solid #808080; background: #f0f0f0; }");
    place(Data1, 3840, 120, 2655, 555);
    auto* row = new QHBoxLayout(Data1);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    auto arrow = [this, row](const char* name, Qt::ArrowType type, const QString& text, auto move) {
        auto* b = new QToolButton(Data1);
        b->setObjectName(name);
        if (text.isEmpty())
            b->setArrowType(type);
        else
            b->setText(text);
        b->setFixedSize(22, 24);
        connect(b, &QToolButton::clicked, this, move);
        row->addWidget(b);
        return b;
    };
    arrow("Data1_First", Qt::NoArrow, QStringLiteral("|◀"), [this] { moveCurrent(0); });
    arrow("Data1_Previous", Qt::LeftArrow, QString(), [this] { moveCurrent(DBGrid1->currentIndex().row() - 1); });
    auto* caption = new QLabel(QStringLiteral("  控制条"), Data1);
    caption->setFont(ui::song(12));
    row->addWidget(caption, 1);
    arrow("Data1_Next", Qt::RightArrow, QString(), [this] { moveCurrent(DBGrid1->currentIndex().row() + 1); });
    arrow("Data1_Last", Qt::NoArrow, QStringLiteral("▶|"),
          [this] { moveCurrent(m_model->recordSet().recordCount() - 1); });

    Toolbar1 = ui::makeToolbar(Frame1, {{"录入", "enter"}, {"修改", "modify"}, {"锁定", "lock"}, {"返回", "back"}},
                               [this](int i) { Toolbar1_ButtonClick(i); });
    ui::placeToolbar(Toolbar1, 6720, 120, 1935, 585);

    m_model = new RotaModel(this);
    DBGrid1 = new QTableView(Frame1);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection); // a row header selects its row
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    ui::keepRowHeaderWidth(DBGrid1, QStringLiteral("✎")); // the new row's "*" and the edited row's mark
    DBGrid1->installEventFilter(this);
    place(DBGrid1, 120, 720, 9615, 5655);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (previous.isValid() && previous.row() == m_model->pendingRow()) commitPending();
            });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        QAction* del = menu.addAction(QStringLiteral("删除该行"));
        del->setEnabled(m_model->allowUpdate() && DBGrid1->indexAt(pos).isValid());
        if (menu.exec(DBGrid1->viewport()->mapToGlobal(pos)) == del) deleteRow(DBGrid1->indexAt(pos).row());
    });
    Form_Load();
}

void Frmonduty::Form_Load() {
    const QString school = schoolName();
    Label1->setText(school + QStringLiteral("教师值周表"));
    Label1->adjustSize();
    Label1->move((Frame1->width() - Label1->width()) / 2, Label1->y());
    attempt(QStringLiteral("无法打开值周表。"), [this] { m_model->reload(); });
    applyState();
    Form_Activate();
}

void Frmonduty::Form_Activate() {
    const int widths[] = {1500, 4500, 3000};
    for (int c = 0; c < 3 && c < m_model->columnCount(); ++c) DBGrid1->setColumnWidth(c, ui::twips(widths[c]));
}

void Frmonduty::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(Frame1, 150);
}


// Locked, entry (add, delete, update) or modify (delete, update) follow the model's flags.
void Frmonduty::applyState() {
    DBGrid1->setEditTriggers(m_model->allowUpdate() || m_model->allowAddNew()
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
    for (QWidget* editor : DBGrid1->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible()) continue;
        emit DBGrid1->itemDelegate()->commitData(editor);
        emit DBGrid1->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
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
    attempt(QStringLiteral("这一行没有删除。"), [&] { m_model->removeRecord(row); },
            [this](const store::Error& e) {
                if (e.kind() == store::Error::Changed) reload();
            });
}

// The Del key deletes the rows selected whole (by their row headers), never a row of which one
// cell is selected.
void Frmonduty::deleteSelectedRows() {
    QList<int> rows;
    for (const QModelIndex& i : DBGrid1->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) deleteRow(row);
}

void Frmonduty::moveCurrent(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    const int column = qMax(0, DBGrid1->currentIndex().column());
    DBGrid1->setCurrentIndex(m_model->index(row, column));
}

bool Frmonduty::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Delete: deleteSelectedRows(); return true;
        case Qt::Key_Escape: m_model->revert(); return true; // the pending new row or edit is cancelled
        default: break;
        }
    }
    return ui::ChildForm::eventFilter(watched, event);
}
