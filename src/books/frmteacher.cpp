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

const QString kNote = QStringLiteral("注意：为保证真实，数据保存后不能更改！");

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// What an entry of comitems stands for (its data): a heading, an item of the program's own, or
// (0, 1, ...) the added item at that index.
enum { Heading = -2, BuiltIn = -1 };
constexpr int kTableRole = Qt::UserRole + 1;

} // namespace

frmteacher::frmteacher(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::frmteacher) {
    m_form->setupUi(this);
    ui::setPointSize(15.75, {m_form->Label1});
    ui::setPointSize(10.5, {m_form->Label2, m_form->labdate, m_form->labname, m_form->labsort, m_form->labsubject,
                            m_form->labcount, m_form->labnumber, m_form->Label8, m_form->Option1_0, m_form->Option1_1,
                            m_form->DBGrid1, m_form->labaddnumber, m_form->labaddsubject, m_form->labaddsort,
                            m_form->cmdok, m_form->cmdcancel});
    m_form->DBGrid1->horizontalHeader()->setFont(ui::song(12));
    Toolbar1 = ui::makeToolbarIn(m_form->Toolbar1,
                                 {{"设置", "settings", Qt::CTRL | Qt::Key_T},
                                  {"保存", "save", QKeySequence::Save},
                                  {"查寻", "search", QKeySequence::Find},
                                  {"浏览", "browse", Qt::CTRL | Qt::Key_B},
                                  {"返回", "back", Qt::Key_Escape}},
                                 [this](int i) { Toolbar1_ButtonClick(i); });
    for (QComboBox* c : combos()) ui::setUpCombo(c);
    // The items of the program's own (the form's, and the subjects) come first and stay.
    m_lookups = {{m_form->comsort, "tabaddsort", itemsOf(m_form->comsort)},
                 {m_form->comsubject,
                  "tabaddsubject",
                  {"语文", "数学", "思品", "自然", "英语", "信息技术", "体育", "美术", "劳动", "社会", "科技"}},
                 {m_form->comnumber, "tabaddnumber", itemsOf(m_form->comnumber)}};

    // The calendar that fills the date box, in the box's own form, month-day-year.
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName("caldate");
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(true);
    auto pick = [this](QDate date) {
        m_calendar->hide();
        ui::setText(m_form->txtdate, attendance::boxText(date));
        m_form->txtdate->setFocus();
    };
    connect(m_calendar, &QCalendarWidget::clicked, this, pick);
    connect(m_calendar, &QCalendarWidget::activated, this, pick);
    connect(m_form->cmddate, &QToolButton::clicked, this, &frmteacher::cmddate_Click);

    // The chosen order holds for every later fill of the grid.
    auto reorder = [this](attendance::Order order) {
        m_order = order;
        store::RecordSet rs = m_model->recordSet();
        attendance::sortRows(rs, order);
        m_model->setRecordSet(rs);
        FormatAttendanceGrid();
    };
    connect(m_form->Option1_0, &QRadioButton::clicked, this, [reorder] { reorder(attendance::Order::ByDate); });
    connect(m_form->Option1_1, &QRadioButton::clicked, this, [reorder] { reorder(attendance::Order::ByName); });

    // The data control behind the grid stays hidden: the grid's rows come from the record set.
    m_form->Data1->hide();
    m_model = new ui::RecordSetModel(this);
    m_model->setAlignment(Qt::AlignCenter);
    m_form->DBGrid1->setModel(m_model);
    ui::keepRowHeaderWidth(m_form->DBGrid1, QStringLiteral("00000"));
    ui::speakSpreadsheet(m_form->DBGrid1); // copied out, never pasted into

    HideAddControls();
    connect(m_form->cmdok, &QPushButton::clicked, this, &frmteacher::cmdok_Click);
    connect(m_form->cmdcancel, &QPushButton::clicked, this, &frmteacher::cmdcancel_Click);
    connect(m_form->cmddelete, &QPushButton::clicked, this, &frmteacher::cmddelete_Click);
    Form_Load();
}

frmteacher::~frmteacher() = default;

void frmteacher::Form_Load() {
    const QString school = schoolName();
    m_form->Label1->setText(QStringLiteral("欢迎使用") + school + QStringLiteral("教师考勤系统"));
    m_form->Label1->adjustSize();

    const bool read = attempt(QStringLiteral("无法读取教师考勤。"), [&] {
        store::Database db(store::kAttendanceFile);
        store::RecordSet entries = db.openTableWithRowids("tabkaoqin");
        // The distinct names in order of first appearance, in one pass.
        QStringList names;
        QSet<QString> seen;
        for (const QStringList& row : entries.rows()) {
            const QString name = row.value(2);
            if (!seen.contains(name)) {
                seen.insert(name);
                names << name;
            }
        }
        m_form->comname->addItems(names);
        fillLists(db);
        attendance::sortRows(entries, m_order);
        bindGrid(entries);
    });
    if (!read) {
        bindGrid(store::RecordSet());
        for (const Lookup& l : m_lookups) l.box->addItems(l.builtIn);
    }
    // The lists are filled; the boxes start empty until the user picks or types.
    for (QComboBox* c : combos()) c->setCurrentIndex(-1);
    ui::setText(m_form->txtdate, attendance::boxText(QDate::currentDate()));
}

void frmteacher::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(m_form->Frame1);
    m_form->Label1->move((ui::twips(10500) - m_form->Label1->width()) / 2, m_form->Label1->y());
    FormatAttendanceGrid();
}

void frmteacher::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case Settings:
        ui::toolButton(Toolbar1, Save)->setEnabled(false);
        ShowAddControls();
        break;
    case Save: save(); break;
    case Query: query(); break;
    case Browse:
        LoadAllAttendance();
        setNote(kNote);
        break;
    case Return: emit backRequested(); break;
    default: break;
    }
}

void frmteacher::setNote(const QString& text) {
    m_form->Label2->setText(text);
    m_form->Label2->adjustSize();
}

void frmteacher::save() {
    const struct {
        QString text;
        const char* message;
    } checks[] = {{m_form->txtdate->text(), "请输入日期！"},
                  {m_form->comname->currentText(), "请选择或输入姓名！"},
                  {m_form->comsort->currentText(), "请选择考勤类别！"},
                  {m_form->comsubject->currentText(), "请选择科目！"},
                  {m_form->txtcount->text(), "请输入节数！"},
                  {m_form->comnumber->currentText(), "请选择节次！"}};
    for (const auto& c : checks) {
        if (c.text.isEmpty()) {
            ui::notify(this, QString::fromUtf8(c.message), ui::Warning);
            return;
        }
    }
    const QDate date = attendance::readDate(m_form->txtdate->text());
    if (!date.isValid()) {
        ui::notify(this, attendance::unreadableDateMessage(), ui::Warning);
        return;
    }
    const QStringList values{m_form->txtdate->text(),           attendance::weekdayName(date),
                             m_form->comname->currentText(),    m_form->comsort->currentText(),
                             m_form->comsubject->currentText(), m_form->txtcount->text(),
                             m_form->comnumber->currentText()};
    qint64 saved = -1;
    if (!attempt(QStringLiteral("考勤记录没有保存。"),
                 [&] { saved = store::Database(store::kAttendanceFile).insert(store::attendanceInsert(values)); }))
        return;
    ui::notify(this, QStringLiteral("已经保存"), ui::Information);
    m_form->txtdate->clear();
    for (QComboBox* c : combos()) ui::setText(c, QString());
    m_form->txtcount->clear();
    m_form->txtdate->setFocus();
    LoadAllAttendance();
    selectRowid(saved); // the new entry, in view
}

void frmteacher::query() {
    setNote(QStringLiteral("查寻时，在姓名栏内输入或选择姓名，然后单击查寻按钮。"));
    const QString name = m_form->comname->currentText();
    if (name.isEmpty()) {
        ui::notify(this, QStringLiteral("请在姓名栏内输入或选择姓名，然后单击查寻按钮。"), ui::Information);
        if (m_form->comname->isVisible()) m_form->comname->setFocus();
        return;
    }
    store::RecordSet rs;
    if (!attempt(QStringLiteral("无法查寻。"),
                 [&] { rs = store::Database(store::kAttendanceFile).openRecordset(store::attendanceQuery(name)); }))
        return;
    if (rs.isEmpty()) {
        setNote(QStringLiteral("没有找到您查寻的记录！"));
        return;
    }
    setNote(QStringLiteral("共找到") + QString::number(rs.recordCount()) + QStringLiteral("条记录"));
    attendance::sortRows(rs, m_order);
    bindGrid(rs);
}

void frmteacher::LoadAllAttendance() {
    attempt(QStringLiteral("无法读取教师考勤。"), [this] {
        store::RecordSet rs = store::Database(store::kAttendanceFile).openTableWithRowids("tabkaoqin");
        attendance::sortRows(rs, m_order);
        bindGrid(rs);
    });
}

void frmteacher::bindGrid(store::RecordSet rs) {
    m_model->setRecordSet(std::move(rs));
    FormatAttendanceGrid();
}

void frmteacher::selectRowid(qint64 rowid) {
    const int row = m_model->recordSet().rowids().indexOf(rowid);
    if (row < 0) return;
    m_form->DBGrid1->selectRow(row);
    m_form->DBGrid1->scrollTo(m_model->index(row, 0));
}

void frmteacher::cmddate_Click() {
    const QDate typed = attendance::readDate(m_form->txtdate->text());
    m_calendar->setSelectedDate(typed.isValid() ? typed : QDate::currentDate());
    m_calendar->adjustSize();
    m_calendar->move(m_form->txtdate->mapToGlobal(QPoint(0, m_form->txtdate->height())));
    m_calendar->show();
    m_calendar->setFocus();
}

void frmteacher::FormatAttendanceGrid() {
    m_form->DBGrid1->setColumnWidth(0, ui::twips(1500));
    for (int c = 1; c <= 6; ++c) m_form->DBGrid1->setColumnWidth(c, ui::twips(1000));
}

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

// An entry a search found: its teacher queried, the entry selected in the grid.
bool frmteacher::showRecord(const QString& table, qint64, const QStringList& values) {
    if (table != QLatin1String("tabkaoqin")) return false;
    if (!m_form->cmdok->isHidden()) cmdcancel_Click(); // back from list editing to entry
    ui::setText(m_form->comname, values.value(2));
    query();
    const QVector<QStringList>& rows = m_model->recordSet().rows();
    for (int row = 0; row < rows.size(); ++row) {
        if (rows[row] != values) continue;
        m_form->DBGrid1->selectRow(row);
        m_form->DBGrid1->scrollTo(m_model->index(row, 0));
        return true;
    }
    return false;
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
