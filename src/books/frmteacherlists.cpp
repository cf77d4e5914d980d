// The attendance window's list-editing mode: new categories, subjects and lesson numbers for the
// drop-down lists, and the removal of those added.
#include "frmteacher.h"

#include "ui_frmteacher.h"
#include <store/attendancedate.h>

#include <store/catalogue.h>
#include <store/database.h>
#include <store/recycle.h>
#include <store/statements.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/designedform.h>
#include <ui/fonts.h>
#include <ui/gridclipboard.h>
#include <ui/notify.h>
#include <ui/recordsetmodel.h>
#include <ui/twips.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>

namespace {

// What an entry of comitems stands for (its data): a heading, an item of the program's own, or
// (0, 1, ...) the added item at that index.
enum { Heading = -2, BuiltIn = -1 };
constexpr int kTableRole = Qt::UserRole + 1;

} // namespace

// The list-editing mode: new categories, subjects and lesson numbers for the drop-down lists.

QList<QComboBox*> frmteacher::combos() const {
    return {m_form->comname, m_form->comsort, m_form->comsubject, m_form->comnumber};
}

QList<QWidget*> frmteacher::entryControls() const {
    return {m_form->labdate,    m_form->labname,  m_form->labsort,  m_form->labsubject, m_form->labcount,
            m_form->labnumber,  m_form->txtdate,  m_form->cmddate,  m_form->comname,    m_form->comsort,
            m_form->comsubject, m_form->txtcount, m_form->comnumber};
}

QList<QWidget*> frmteacher::addControls() const {
    return {m_form->labaddsort,    m_form->labaddsubject, m_form->labaddnumber, m_form->txtaddsort,
            m_form->txtaddsubject, m_form->txtaddnumber,  m_form->cmdok,        m_form->cmdcancel,
            m_form->comitems,      m_form->cmddelete};
}

void frmteacher::HideEntryControls() {
    for (QWidget* w : entryControls()) w->hide();
}

void frmteacher::ShowEntryControls() {
    for (QWidget* w : entryControls()) w->show();
}

void frmteacher::ShowAddControls() {
    HideEntryControls();
    for (QWidget* w : addControls()) w->show();
}

void frmteacher::HideAddControls() {
    for (QWidget* w : addControls()) w->hide();
}

void frmteacher::cmdcancel_Click() {
    HideAddControls();
    ShowEntryControls();
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
}

// Stores the typed items (all or none) and opens the window afresh with them in its lists.
void frmteacher::cmdok_Click() {
    const struct {
        QLineEdit* box;
        const char* table;
    } items[] = {{m_form->txtaddsort, "tabaddsort"},
                 {m_form->txtaddsubject, "tabaddsubject"},
                 {m_form->txtaddnumber, "tabaddnumber"}};
    const bool stored = attempt(QStringLiteral("新增的项目没有保存。"), [&] {
        store::Database db(store::kAttendanceFile);
        db.begin();
        for (const auto& item : items)
            if (!item.box->text().isEmpty()) db.execute(store::lookupInsert(item.table, item.box->text()));
        db.commit(); // a refused item leaves the transaction open: closing the file rolls it back
    });
    if (!stored) return;
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    ui::notify(this, QStringLiteral("已经添加"), ui::Information);
    emit reloadRequested();
}

// Each list: the program's own items, then the added ones in table order. comitems lists them all
// under their list's name, each added one with the record it was read as.
void frmteacher::fillLists(store::Database& db) {
    QVector<store::RecordSet> added;
    for (const Lookup& l : m_lookups) added << db.openTableWithRowids(l.table);
    m_added.clear();
    m_form->comitems->clear();
    auto* listed = qobject_cast<QStandardItemModel*>(m_form->comitems->model());
    auto list = [&](const QString& text, int what, const QString& table) {
        m_form->comitems->addItem(text, what);
        m_form->comitems->setItemData(m_form->comitems->count() - 1, table, kTableRole);
    };
    for (int i = 0; i < m_lookups.size(); ++i) {
        const Lookup& l = m_lookups[i];
        const QString typed = l.box->currentText();
        l.box->clear();
        l.box->addItems(l.builtIn);
        list(store::tableTitle(l.table) + QStringLiteral("："), Heading, l.table);
        listed->item(m_form->comitems->count() - 1)->setFlags(Qt::NoItemFlags);
        for (const QString& item : l.builtIn) list(item, BuiltIn, l.table);
        store::RecordSet& rs = added[i];
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            l.box->addItem(rs.fields(0));
            list(rs.fields(0), m_added.size(), l.table);
            m_added << rs.current();
        }
        l.box->setCurrentIndex(-1);
        if (!typed.isEmpty()) ui::setText(l.box, typed);
    }
    m_form->comitems->setCurrentIndex(-1);
}

// Removes the added item chosen in comitems, after asking; an item of the program's own stays.
void frmteacher::cmddelete_Click() {
    const int i = m_form->comitems->currentIndex();
    const int what = i < 0 ? int(Heading) : m_form->comitems->itemData(i).toInt();
    if (what == Heading) {
        ui::notify(this, QStringLiteral("请先在“删除所选”左边的列表中选择要删除的考勤类别、科目或节次。"), ui::Warning);
        return;
    }
    const QString item = m_form->comitems->itemText(i), table = m_form->comitems->itemData(i, kTableRole).toString();
    const QString title = store::tableTitle(table);
    if (what == BuiltIn) {
        ui::notify(this, QString("“%1”是软件自带的%2，不能删除。只能删除自己增加的项目。").arg(item, title),
                   ui::Warning);
        return;
    }
    if (ui::notify(this, QString("确定要删除%1“%2”吗？\n已经保存的考勤记录中的“%2”保持不变。").arg(title, item),
                   ui::OkCancel) != ui::kAnswerOk)
        return;
    const store::RecordRef record = m_added.value(what);
    const bool removed = attempt(QString("没有删除%1“%2”。").arg(title, item), [&] {
        store::Database db(store::kAttendanceFile);
        store::deleteKeeping(db, store::lookupDelete(table, record.condition()), true);
    });
    // The lists as the file holds them now, also when another copy removed the item first.
    attempt(QStringLiteral("无法读取考勤类别、科目和节次。"), [this] {
        store::Database db(store::kAttendanceFile);
        fillLists(db);
    });
    if (removed) ui::notify(this, QStringLiteral("已经删除"), ui::Information);
}
