#include "frmteacher.h"

#include "attendancedate.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/statements.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/recordsetmodel.h>
#include <ui/toolbar.h>
#include <ui/twips.h>

#include <QCollator>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTableView>
#include <algorithm>
#include <limits>
#include <numeric>

using ui::place;

namespace {

const QString kNote = QStringLiteral("注意：为保证真实，数据保存后不能更改！");

QLabel* label(QWidget* parent, const char* name, const QString& text, double l, double t, double w, double h) {
    auto* lb = new QLabel(text, parent);
    lb->setObjectName(name);
    lb->setFont(ui::song(10.5));
    place(lb, l, t, w, h);
    if (lb->sizeHint().width() > lb->width()) lb->resize(lb->sizeHint().width(), lb->height());
    return lb;
}

QComboBox* combo(QWidget* parent, const char* name, double l, double t, double w, double h) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    ui::setUpCombo(c);
    c->setFont(ui::song(12));
    place(c, l, t, w, h);
    return c;
}

QLineEdit* textBox(QWidget* parent, const char* name, double l, double t, double w, double h) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFont(ui::song(12));
    place(e, l, t, w, h);
    return e;
}

} // namespace

frmteacher::frmteacher(QWidget* parent) : ui::ChildForm(parent) {
    setObjectName("frmteacher");
    setWindowTitle(QStringLiteral("教师考勤"));
    resize(ui::twips(10500), ui::twips(7500));
    Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    place(Frame1, 0, 0, 10095, 6975);
    buildEntryControls();
    buildAddControls();
    Form_Load();
}

void frmteacher::buildEntryControls() {
    Label1 = new QLabel(Frame1);
    Label1->setObjectName("Label1");
    Label1->setFont(ui::song(15.75));
    ui::placeAt(Label1, 0, 240);
    Toolbar1 = ui::makeToolbar(
        Frame1, {{"设置", "settings"}, {"保存", "save"}, {"查寻", "search"}, {"浏览", "browse"}, {"返回", "back"}},
        [this](int i) { Toolbar1_ButtonClick(i); });
    ui::placeToolbar(Toolbar1, 120, 720, 3975, 390);
    Label2 = label(Frame1, "Label2", kNote, 4560, 840, 3990, 210);
    Label2->setStyleSheet("color: #ff0000;");

    labdate = label(Frame1, "labdate", QStringLiteral("日期："), 240, 1320, 720, 240);
    txtdate = textBox(Frame1, "txtdate", 960, 1200, 1815, 360);
    labname = label(Frame1, "labname", QStringLiteral("姓名："), 3240, 1320, 720, 240);
    comname = combo(Frame1, "comname", 3960, 1200, 1695, 360);
    labsort = label(Frame1, "labsort", QStringLiteral("考勤类别："), 6240, 1320, 1200, 240);
    comsort = combo(Frame1, "comsort", 7440, 1200, 1575, 360);
    comsort->addItems({"缺席", "迟到", "早退", "请假"});
    labsubject = label(Frame1, "labsubject", QStringLiteral("科目："), 240, 1680, 705, 360);
    comsubject = combo(Frame1, "comsubject", 960, 1560, 1815, 360);
    labcount = label(Frame1, "labcount", QStringLiteral("节数："), 3240, 1680, 720, 240);
    txtcount = textBox(Frame1, "txtcount", 3960, 1560, 1695, 360);
    labnumber = label(Frame1, "labnumber", QStringLiteral("节　　次："), 6240, 1680, 1200, 240);
    comnumber = combo(Frame1, "comnumber", 7440, 1560, 1575, 360);
    comnumber->addItems(
        {"第一节", "第二节", "第三节", "第四节", "第五节", "第六节", "第七节", "第八节", "第九节", "第十节"});

    auto* line = new QFrame(Frame1);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(0, ui::twips(2040), ui::twips(10080), 2);
    Label8 = label(Frame1, "Label8", QStringLiteral("请选择浏览方式："), 120, 2160, 1920, 240);
    Option1_0 = new QRadioButton(QStringLiteral("按日期浏览"), Frame1);
    Option1_0->setObjectName("Option1_0");
    Option1_0->setFont(ui::song(10.5));
    place(Option1_0, 2160, 2160, 1695, 255);
    Option1_1 = new QRadioButton(QStringLiteral("按姓名浏览"), Frame1);
    Option1_1->setObjectName("Option1_1");
    Option1_1->setFont(ui::song(10.5));
    place(Option1_1, 4200, 2160, 1575, 255);
    // The chosen order holds for every later fill of the grid.
    auto reorder = [this](Order order) {
        m_order = order;
        store::RecordSet rs = m_model->recordSet();
        sortRows(rs, order);
        m_model->setRecordSet(rs);
        FormatAttendanceGrid();
    };
    connect(Option1_0, &QRadioButton::clicked, this, [reorder] { reorder(Order::ByDate); });
    connect(Option1_1, &QRadioButton::clicked, this, [reorder] { reorder(Order::ByName); });

    // The data control behind the grid stays hidden: the grid's rows come from the record set.
    auto* Data1 = new QWidget(Frame1);
    Data1->setObjectName("Data1");
    place(Data1, 6120, 2160, 1140, 300);
    Data1->hide();

    m_model = new ui::RecordSetModel(this);
    m_model->setAlignment(Qt::AlignCenter);
    DBGrid1 = new QTableView(Frame1);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setFont(ui::song(10.5));
    DBGrid1->horizontalHeader()->setFont(ui::song(12));
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    ui::keepRowHeaderWidth(DBGrid1, QStringLiteral("00000"));
    place(DBGrid1, 120, 2520, 9855, 4335);

    QWidget* order[] = {txtdate, comname, comsort, comsubject, txtcount, comnumber, Option1_0, Option1_1, DBGrid1};
    for (int i = 0; i + 1 < 9; ++i) setTabOrder(order[i], order[i + 1]);
}

void frmteacher::Form_Load() {
    const QString school = schoolName();
    Label1->setText(QStringLiteral("欢迎使用") + school + QStringLiteral("教师考勤系统"));
    Label1->adjustSize();

    comsubject->addItems({"语文", "数学", "思品", "自然", "英语", "信息技术", "体育", "美术", "劳动", "社会", "科技"});
    const bool read = attempt(QStringLiteral("无法读取教师考勤。"), [&] {
        store::Database db(store::kAttendanceFile);
        store::RecordSet entries = db.openRecordset("select * from tabkaoqin");
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
        comname->addItems(names);
        auto addColumn = [&db](QComboBox* box, const char* table) {
            QStringList items;
            const store::RecordSet rs = db.openRecordset(QString("select * from ") + table);
            for (const QStringList& row : rs.rows()) items << row.value(0);
            box->addItems(items);
        };
        addColumn(comsubject, "tabaddsubject");
        addColumn(comsort, "tabaddsort");
        addColumn(comnumber, "tabaddnumber");
        sortRows(entries, m_order);
        bindGrid(entries);
    });
    if (!read) bindGrid(store::RecordSet());
    // The lists are filled; the boxes start empty until the user picks or types.
    for (QComboBox* c : {comname, comsort, comsubject, comnumber}) c->setCurrentIndex(-1);
    ui::setText(txtdate, attendance::boxText(QDate::currentDate()));
}

void frmteacher::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(Frame1);
    Label1->move((ui::twips(10500) - Label1->width()) / 2, Label1->y());
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
    Label2->setText(text);
    Label2->adjustSize();
}

void frmteacher::save() {
    const struct {
        QString text;
        const char* message;
    } checks[] = {{txtdate->text(), "请输入日期！"},
                  {comname->currentText(), "请选择或输入姓名！"},
                  {comsort->currentText(), "请选择考勤类别！"},
                  {comsubject->currentText(), "请选择科目！"},
                  {txtcount->text(), "请输入节数！"},
                  {comnumber->currentText(), "请选择节次！"}};
    for (const auto& c : checks) {
        if (c.text.isEmpty()) {
            ui::notify(this, QString::fromUtf8(c.message), ui::Warning);
            return;
        }
    }
    const QDate date = attendance::readDate(txtdate->text());
    if (!date.isValid()) {
        ui::notify(this, attendance::unreadableDateMessage(), ui::Warning);
        return;
    }
    const QStringList values{txtdate->text(),         attendance::weekdayName(date), comname->currentText(),
                             comsort->currentText(),  comsubject->currentText(),     txtcount->text(),
                             comnumber->currentText()};
    if (!attempt(QStringLiteral("考勤记录没有保存。"),
                 [&] { store::Database(store::kAttendanceFile).insert(store::attendanceInsert(values)); }))
        return;
    ui::notify(this, QStringLiteral("已经保存"), ui::Information);
    txtdate->clear();
    for (QComboBox* c : {comname, comsort, comsubject, comnumber}) ui::setText(c, QString());
    txtcount->clear();
    txtdate->setFocus();
    LoadAllAttendance();
}

void frmteacher::query() {
    setNote(QStringLiteral("查寻时，在姓名栏内输入或选择姓名，然后单击查寻按钮。"));
    const QString name = comname->currentText();
    if (name.isEmpty()) {
        ui::notify(this, QStringLiteral("请在姓名栏内输入或选择姓名，然后单击查寻按钮。"), ui::Information);
        if (comname->isVisible()) comname->setFocus();
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
    sortRows(rs, m_order);
    bindGrid(rs);
}

void frmteacher::LoadAllAttendance() {
    attempt(QStringLiteral("无法读取教师考勤。"), [this] {
        store::RecordSet rs = store::Database(store::kAttendanceFile).openRecordset("select * from tabkaoqin");
        sortRows(rs, m_order);
        bindGrid(rs);
    });
}

void frmteacher::bindGrid(store::RecordSet rs) {
    m_model->setRecordSet(std::move(rs));
    FormatAttendanceGrid();
}

void frmteacher::FormatAttendanceGrid() {
    DBGrid1->setColumnWidth(0, ui::twips(1500));
    for (int c = 1; c <= 6; ++c) DBGrid1->setColumnWidth(c, ui::twips(1000));
}

void frmteacher::sortRows(store::RecordSet& rs, Order order) {
    if (order == Order::AsStored || rs.recordCount() < 2) return;
    QVector<int> index(rs.recordCount());
    std::iota(index.begin(), index.end(), 0);
    const QVector<QStringList>& rows = rs.rows();
    if (order == Order::ByDate) {
        // As dates, oldest first; texts that are no date after every date, as stored.
        QVector<qint64> day(rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const QDate d = attendance::readDate(rows[i].value(0));
            day[i] = d.isValid() ? d.toJulianDay() : std::numeric_limits<qint64>::max();
        }
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return day[a] < day[b]; });
    } else {
        // In the order a Chinese list is read (pinyin), each name's sort key made once.
        const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        for (const QStringList& row : rows) keys.push_back(collator.sortKey(row.value(2)));
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    }
    QVector<QStringList> sorted;
    sorted.reserve(rows.size());
    for (int i : index) sorted << rows[i];
    rs = store::RecordSet(rs.columns(), sorted);
}
