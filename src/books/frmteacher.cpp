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
