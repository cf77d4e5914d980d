// The attendance register and its lookup lists.
#include "testkit.h"

#include <books/frmteacher.h>
#include <shell/frmmain.h>
#include <store/attendancedate.h>
#include <store/catalogue.h>
#include <ui/recordsetmodel.h>

#include <QAction>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCollator>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <ui/notify.h>

namespace {

struct Register {
    frmteacher* w;
    std::unique_ptr<frmteacher> owned;
    explicit Register(frmteacher* existing = nullptr) : w(existing) {
        if (!w) {
            owned.reset(new frmteacher);
            w = owned.get();
        }
        w->show();
    }
    QComboBox* combo(const char* name) { return w->findChild<QComboBox*>(name); }
    QLineEdit* box(const char* name) { return w->findChild<QLineEdit*>(name); }
    QStringList items(const char* name) {
        QStringList out;
        for (int i = 0; i < combo(name)->count(); ++i) out << combo(name)->itemText(i);
        return out;
    }
    QString note() { return w->findChild<QLabel*>("Label2")->text(); }
    int gridRows() { return w->gridModel()->rowCount(); }
    QString grid(int r, int c) { return w->gridModel()->index(r, c).data().toString(); }
    void click(int i) { testkit::clickTool(w, i); }
    void set(const char* name, const QString& text) {
        if (QLineEdit* e = box(name))
            e->setText(text);
        else
            combo(name)->setEditText(text);
    }
    void entry(const QString& date, const QString& name, const QString& count = "2") {
        testkit::saveAttendance(w, {date, name, "缺席", "语文", count, "第一节"});
    }
};

void insertEntry(const QString& date, const QString& name) {
    testkit::exec(store::kAttendanceFile,
                  QString("insert into tabkaoqin values ('%1','','%2','迟到','数学','1','第二节')").arg(date, name));
}

} // namespace

class tst_teacher : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void readDate_data();
    void readDate();
    void weekdayNames();
    void emptyRegister();
    void fractionalPointSizes();
    void listsAtOpening();
    void checksInOrder_data();
    void checksInOrder();
    void saveStoresWeekdayAndClears();
    void unreadableDateIsRefused();
    void queryByName();
    void optionButtonsOrderTheGrid();
    void listEditingStoresAndReopens();
    void cancelKeepsTheTexts();
    void addedItemsCanBeRemoved_data();
    void addedItemsCanBeRemoved();
    void queryWithEmptyNameInListMode();
    void engineErrorsAreReported();
    void gridNeverHoldsTheFileLocked();
    void gridCopiesButNeverTakesAPaste_data();
    void gridCopiesButNeverTakesAPaste();
};

// The register's grid gives its cells out as spreadsheet text, Chinese intact; a paste changes
// nothing.
void tst_teacher::gridCopiesButNeverTakesAPaste_data() {
    QTest::addColumn<QString>("keys"); // what the person does before Ctrl+C
    QTest::addColumn<QString>("copied");
    QTest::newRow("two cells of a row") << "cells"
                                        << "张伟\t迟到\n";
    QTest::newRow("a whole row by its header") << "row"
                                               << "3-2-2026\t\t李娜\t迟到\t数学\t1\t第二节\n";
    QTest::newRow("Ctrl+A: every row")
        << "all"
        << "3-1-2026\t\t张伟\t迟到\t数学\t1\t第二节\n3-2-2026\t\t李娜\t迟到\t数学\t1\t第二节\n";
}

void tst_teacher::gridCopiesButNeverTakesAPaste() {
    QFETCH(QString, keys);
    QFETCH(QString, copied);
    insertEntry("3-1-2026", "张伟");
    insertEntry("3-2-2026", "李娜");
    Register r;
    auto* grid = r.w->findChild<QTableView*>("DBGrid1");
    grid->setFocus();
    auto* model = grid->model();
    if (keys == "cells")
        grid->selectionModel()->select(QItemSelection(model->index(0, 2), model->index(0, 3)),
                                       QItemSelectionModel::ClearAndSelect);
    if (keys == "row") grid->selectRow(1); // as a click on its header does
    if (keys == "all") QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QApplication::clipboard()->setText("1-1-2027\tx\ty");
    grid->setCurrentIndex(model->index(0, 0));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(r.grid(0, 0), QString("3-1-2026"));
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabkaoqin"), 2);
}

void tst_teacher::readDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("box form") << "12-07-2026" << QDate(2026, 12, 7);
    QTest::newRow("one digit month and day") << "1-5-2027" << QDate(2027, 1, 5);
    QTest::newRow("iso") << "2026-12-06" << QDate(2026, 12, 6);
    QTest::newRow("slashes") << "2026/3/9" << QDate(2026, 3, 9);
    QTest::newRow("chinese") << "2026年12月7日" << QDate(2026, 12, 7);
    QTest::newRow("blanks around") << " 2026-12-07 " << QDate(2026, 12, 7);
    QTest::newRow("no such day") << "02-30-2026" << QDate();
    QTest::newRow("mixed separators") << "2026-12/07" << QDate();
    QTest::newRow("words") << "昨天" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void tst_teacher::readDate() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(attendance::readDate(text), date);
}

// The full Chinese names, Monday first, from the locale data of the Qt the program runs on.
void tst_teacher::weekdayNames() {
    const QStringList names{"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
    for (int i = 0; i < 7; ++i) QCOMPARE(attendance::weekdayName(QDate(2026, 12, 7).addDays(i)), names[i]);
    QCOMPARE(attendance::weekdayName(QDate()), QString());
}

void tst_teacher::emptyRegister() {
    Register r;
    QVERIFY(r.items("comname").isEmpty());
    QCOMPARE(r.gridRows(), 0);
    r.click(frmteacher::Browse);
    QCOMPARE(r.w->gridModel()->columnCount(), 7);
    auto* grid = r.w->findChild<QTableView*>("DBGrid1");
    QCOMPARE(grid->columnWidth(0), 100);
    QCOMPARE(grid->columnWidth(6), 67);
    QCOMPARE(r.w->gridModel()->index(0, 0).data(Qt::TextAlignmentRole), QVariant());
    QCOMPARE(r.w->gridModel()->headerData(2, Qt::Horizontal).toString(), QString("姓名"));
    QCOMPARE(r.box("txtdate")->text(), attendance::boxText(QDate::currentDate()));
    QCOMPARE(r.note(), QString("注意：为保证真实，数据保存后不能更改！"));
    QCOMPARE(r.w->findChild<QLabel*>("Label1")->text(), QString("欢迎使用教师考勤系统"));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The forms hold whole points (uic writes no others); the window sets the fractions.
void tst_teacher::fractionalPointSizes() {
    Register r;
    QCOMPARE(r.w->findChild<QLabel*>("Label1")->font().pointSizeF(), 15.75);
    for (const char* name : {"Label2", "labdate", "labnumber", "Option1_1", "DBGrid1", "labaddsort", "cmdcancel"})
        QCOMPARE(r.w->findChild<QWidget*>(name)->font().pointSizeF(), 10.5);
    QCOMPARE(r.w->findChild<QTableView*>("DBGrid1")->horizontalHeader()->font().pointSizeF(), 12.0);
    QCOMPARE(r.box("txtdate")->font().pointSizeF(), 12.0);
}

void tst_teacher::listsAtOpening() {
    for (const char* n : {"张伟", "李娜", "张伟", "li lei", "Li Lei", "张伟"}) insertEntry("12-07-2026", n);
    testkit::exec(store::kAttendanceFile, "insert into tabaddsubject values ('语文')");
    testkit::exec(store::kAttendanceFile, "insert into tabaddsubject values ('书法')");
    testkit::exec(store::kAttendanceFile, "insert into tabaddsort values ('公假')");
    testkit::exec(store::kAttendanceFile, "insert into tabaddnumber values ('第十一节')");
    Register r;
    QCOMPARE(r.items("comname"), QStringList({"张伟", "李娜", "li lei", "Li Lei"}));
    QCOMPARE(r.items("comsubject"), QStringList({"语文", "数学", "思品", "自然", "英语", "信息技术", "体育", "美术",
                                                 "劳动", "社会", "科技", "语文", "书法"}));
    QCOMPARE(r.items("comsort"), QStringList({"缺席", "迟到", "早退", "请假", "公假"}));
    QCOMPARE(r.items("comnumber").size(), 11);
    QCOMPARE(r.items("comnumber").last(), QString("第十一节"));
    QCOMPARE(r.gridRows(), 6);
}

void tst_teacher::checksInOrder_data() {
    QTest::addColumn<QStringList>("empty");
    QTest::addColumn<QString>("message");
    QTest::newRow("date") << QStringList{"txtdate", "comname"} << "请输入日期！";
    QTest::newRow("name") << QStringList{"comname", "comnumber"} << "请选择或输入姓名！";
    QTest::newRow("category") << QStringList{"comsort"} << "请选择考勤类别！";
    QTest::newRow("subject") << QStringList{"comsubject", "txtcount"} << "请选择科目！";
    QTest::newRow("count") << QStringList{"txtcount"} << "请输入节数！";
    QTest::newRow("lesson") << QStringList{"comnumber"} << "请选择节次！";
}

void tst_teacher::checksInOrder() {
    QFETCH(QStringList, empty);
    QFETCH(QString, message);
    Register r;
    for (const char* name : {"txtdate", "comname", "comsort", "comsubject", "txtcount", "comnumber"})
        r.set(name, empty.contains(name) ? QString() : (QString(name) == "txtdate" ? "12-07-2026" : " "));
    r.click(frmteacher::Save);
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->all.last().style, 48);
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabkaoqin"), 0);
}

void tst_teacher::saveStoresWeekdayAndClears() {
    Register r;
    QHeaderView* rowNumbers = r.w->findChild<QTableView*>("DBGrid1")->verticalHeader();
    const int width = rowNumbers->width();
    QVERIFY(width > 0); // the row-number column is there before any row
    // The calendar beside the date box opens on the typed date and fills the box in its own form.
    auto* date = r.box("txtdate");
    QCOMPARE(date->toolTip(), QString("月-日-年"));
    r.set("txtdate", "12-05-2026");
    r.w->findChild<QToolButton*>("cmddate")->click();
    auto* calendar = r.w->findChild<QCalendarWidget*>("caldate");
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2026, 12, 5));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!calendar->isVisible());
    QCOMPARE(date->text(), QString("12-06-2026"));
    r.combo("comsort")->setCurrentIndex(2);
    r.entry(date->text(), "O'Neil"); // a Sunday
    QCOMPARE(m_messages->texts(), QStringList{"已经保存"});
    QCOMPARE(testkit::rows(store::kAttendanceFile, "select * from tabkaoqin"),
             QVector<QStringList>({{"12-06-2026", "星期日", "O'Neil", "缺席", "语文", "2", "第一节"}}));
    for (const char* name : {"txtdate", "comname", "comsort", "comsubject", "txtcount", "comnumber"})
        QVERIFY2((r.box(name) ? r.box(name)->text() : r.combo(name)->currentText()).isEmpty(), name);
    QCOMPARE(r.gridRows(), 1);
    QCOMPARE(r.grid(0, 1), QString("星期日"));
    QCOMPARE(rowNumbers->width(), width); // and the columns stay where they were
    // The emptied lists forget their pick: Down starts again from the first entry.
    testkit::key(r.combo("comsort"), Qt::Key_Down);
    QCOMPARE(r.combo("comsort")->currentText(), QString("缺席"));
    r.click(frmteacher::Save);
    QCOMPARE(m_messages->last(), QString("请输入日期！"));
    // The new name joins the list only when the window is opened again, but a query finds it now.
    QVERIFY(!r.items("comname").contains("O'Neil"));
    r.set("comname", "O'Neil");
    r.click(frmteacher::Query);
    QCOMPARE(r.note(), QString("共找到1条记录"));
    r.entry("2026年12月7日", "李娜");
    QCOMPARE(testkit::rows(store::kAttendanceFile, "select 星期 from tabkaoqin where 姓名='李娜'").at(0).at(0),
             QString("星期一"));
}

void tst_teacher::unreadableDateIsRefused() {
    Register r;
    r.entry("下周三", "张伟");
    QCOMPARE(m_messages->all.size(), 1);
    QVERIFY(m_messages->last().contains("2026年12月7日"));
    QCOMPARE(m_messages->all.last().style, 48);
    QCOMPARE(r.box("txtdate")->text(), QString("下周三"));
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabkaoqin"), 0);
}

void tst_teacher::queryByName() {
    for (const char* n : {"张伟", "李娜", "张伟", "张伟"}) insertEntry("12-07-2026", n);
    Register r;
    r.set("comname", "张伟");
    r.click(frmteacher::Query);
    QCOMPARE(r.note(), QString("共找到3条记录"));
    QCOMPARE(r.gridRows(), 3);
    r.set("comname", "王芳");
    r.click(frmteacher::Query);
    QCOMPARE(r.note(), QString("没有找到您查寻的记录！"));
    QCOMPARE(r.gridRows(), 3); // the grid keeps what it showed
    r.set("comname", "");
    r.click(frmteacher::Query);
    QCOMPARE(m_messages->texts(), QStringList{"请在姓名栏内输入或选择姓名，然后单击查寻按钮。"});
    QCOMPARE(m_messages->all.last().style, 64);
    QCOMPARE(r.note(), QString("查寻时，在姓名栏内输入或选择姓名，然后单击查寻按钮。"));
    r.click(frmteacher::Browse);
    QCOMPARE(r.gridRows(), 4);
    QCOMPARE(r.note(), QString("注意：为保证真实，数据保存后不能更改！"));
}

void tst_teacher::optionButtonsOrderTheGrid() {
    insertEntry("12-07-2026", "乙");
    insertEntry("不详", "甲");
    insertEntry("2025/1/3", "丙");
    insertEntry("01-02-2026", "甲");
    Register r;
    QTest::mouseClick(r.w->findChild<QRadioButton*>("Option1_0"), Qt::LeftButton);
    QStringList dates;
    for (int i = 0; i < r.gridRows(); ++i) dates << r.grid(i, 0);
    QCOMPARE(dates, QStringList({"2025/1/3", "01-02-2026", "12-07-2026", "不详"}));
    r.entry("2024-05-05", "丁"); // the order holds for later fills
    QCOMPARE(r.grid(0, 0), QString("2024-05-05"));
    r.set("comname", "甲");
    r.click(frmteacher::Query);
    QCOMPARE(r.grid(0, 0), QString("01-02-2026"));
    QTest::mouseClick(r.w->findChild<QRadioButton*>("Option1_1"), Qt::LeftButton);
    QCOMPARE(r.gridRows(), 2);
    r.click(frmteacher::Browse);
    QStringList names;
    for (int i = 0; i < r.gridRows(); ++i) names << r.grid(i, 2);
    QStringList expected{"丙", "丁", "甲", "甲", "乙"}; // in pinyin order, as a Chinese list is read
    if (testkit::underWine()) {
        // Wine's collation for zh-CN is not pinyin (Windows' own is): there the order is the system's.
        const QCollator zh(QLocale(QLocale::Chinese, QLocale::China));
        std::sort(expected.begin(), expected.end(), zh);
    }
    QCOMPARE(names, expected);
}

void tst_teacher::listEditingStoresAndReopens() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("teacher")->trigger();
    QPointer<frmteacher> first = qobject_cast<frmteacher*>(m.child(WindowId::frmteacher));
    Register r(first);
    r.click(frmteacher::Settings);
    QVERIFY(!testkit::toolEnabled(r.w, frmteacher::Save));
    QVERIFY(!r.box("txtdate")->isVisible() && r.box("txtaddsubject")->isVisible());
    r.set("txtaddsubject", "O'Reilly书法");
    r.set("txtaddsort", "迟到");
    r.w->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(m_messages->last(), QString("已经添加"));
    testkit::settle();
    QVERIFY(!first); // the old window is gone, after its handler returned
    Register again(qobject_cast<frmteacher*>(m.child(WindowId::frmteacher)));
    QCOMPARE(again.items("comsubject").last(), QString("O'Reilly书法"));
    QCOMPARE(again.items("comsort"), QStringList({"缺席", "迟到", "早退", "请假", "迟到"}));
    QCOMPARE(again.items("comnumber").size(), 10);
    QVERIFY(again.box("txtdate")->isVisible() && !again.box("txtaddsubject")->isVisible());
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddnumber"), 0);
    // OK with three empty boxes stores nothing, and still says so.
    again.click(frmteacher::Settings);
    again.w->findChild<QPushButton*>("cmdok")->click();
    QCOMPARE(m_messages->last(), QString("已经添加"));
    testkit::settle();
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddsubject"), 1);
}

void tst_teacher::cancelKeepsTheTexts() {
    Register r;
    r.click(frmteacher::Settings);
    r.set("txtaddnumber", "第十一节");
    r.w->findChild<QPushButton*>("cmdcancel")->click();
    QVERIFY(r.box("txtdate")->isVisible() && !r.box("txtaddnumber")->isVisible());
    QVERIFY(testkit::toolEnabled(r.w, frmteacher::Save));
    r.click(frmteacher::Settings);
    QCOMPARE(r.box("txtaddnumber")->text(), QString("第十一节"));
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddnumber"), 0);
}

// In list-editing mode an added item is removed after a question (into the recycle bin); an
// item of the program's own never is. Entries that use a removed item keep their text.
void tst_teacher::addedItemsCanBeRemoved_data() {
    QTest::addColumn<QString>("list"); // the drop-down list the chosen item belongs to
    QTest::addColumn<QString>("item"); // chosen in comitems (the last of its name in that list)
    QTest::addColumn<int>("answer");   // to the question
    QTest::addColumn<QString>("said"); // the first message
    QTest::addColumn<int>("kept");     // rows of the item's table that hold it afterwards
    QTest::addColumn<int>("listed");   // times the list holds it when the window is opened again
    QTest::newRow("an added category") << "comsort"
                                       << "公假" << ui::kAnswerOk << "确定要删除考勤类别“公假”吗？" << 0 << 0;
    QTest::newRow("one of two equal subjects") << "comsubject"
                                               << "书法" << ui::kAnswerOk << "确定要删除科目“书法”吗？" << 1 << 1;
    QTest::newRow("Cancel keeps it") << "comnumber"
                                     << "第十一节" << ui::kAnswerCancel << "确定要删除节次“第十一节”吗？" << 1 << 1;
    QTest::newRow("a built-in lesson") << "comnumber"
                                       << "第十节" << ui::kAnswerOk << "“第十节”是软件自带的节次，不能删除。" << 0 << 1;
    QTest::newRow("a built-in subject added again") << "comsubject"
                                                    << "语文" << ui::kAnswerOk << "确定要删除科目“语文”吗？" << 0 << 1;
    QTest::newRow("nothing chosen") << ""
                                    << "" << ui::kAnswerOk << "请先在" << 0 << 0;
}

void tst_teacher::addedItemsCanBeRemoved() {
    QFETCH(QString, list);
    QFETCH(QString, item);
    QFETCH(int, answer);
    QFETCH(QString, said);
    QFETCH(int, kept);
    QFETCH(int, listed);
    const QHash<QString, QString> tables{
        {"comsort", "tabaddsort"}, {"comsubject", "tabaddsubject"}, {"comnumber", "tabaddnumber"}};
    for (const char* row :
         {"tabaddsort values ('公假')", "tabaddsort values ('病假')", "tabaddsubject values ('书法')",
          "tabaddsubject values ('语文')", "tabaddsubject values ('书法')", "tabaddnumber values ('第十一节')"})
        testkit::exec(store::kAttendanceFile, QString("insert into ") + row);
    testkit::exec(store::kAttendanceFile,
                  "insert into tabkaoqin values ('12-07-2026','星期一','张伟','公假','书法','1','第十一节')");
    const QString before = testkit::content(store::kAttendanceFile);
    frmmain m;
    m.show();
    m.findChild<QAction*>("teacher")->trigger();
    Register r(qobject_cast<frmteacher*>(m.child(WindowId::frmteacher)));
    r.click(frmteacher::Settings);
    r.set("txtaddsort", "未存");
    QComboBox* items = r.combo("comitems");
    QVERIFY(items->isVisible());
    for (int i = 0; i < items->count(); ++i)
        if (items->itemText(i) == item && items->itemData(i, Qt::UserRole + 1).toString() == tables.value(list))
            items->setCurrentIndex(i);
    QCOMPARE(items->currentText(), item);
    m_messages->answers = {answer};
    r.w->findChild<QPushButton*>("cmddelete")->click();
    QVERIFY2(m_messages->texts().value(0).startsWith(said), qPrintable(m_messages->texts().join('|')));
    const bool removed = said.startsWith("确定") && answer == ui::kAnswerOk;
    QCOMPARE(m_messages->all.size(), removed ? 2 : 1);
    if (removed) QCOMPARE(m_messages->last(), QString("已经删除"));
    QCOMPARE(testkit::binCount(), removed ? 1 : 0);
    if (!removed) QCOMPARE(testkit::content(store::kAttendanceFile), before);
    if (list.isEmpty()) return;
    const QString table = tables.value(list);
    QCOMPARE(testkit::rows(store::kAttendanceFile, QString("select count(*) from %1 where %2='%3'")
                                                       .arg(table, store::findTable(table)->columns.first().name, item))
                 .at(0)
                 .at(0),
             QString::number(kept));
    // Still in list-editing mode, the typed text kept; the entry that used the item keeps its text.
    QVERIFY(r.box("txtaddsort")->isVisible());
    QCOMPARE(r.box("txtaddsort")->text(), QString("未存"));
    QCOMPARE(r.items(qPrintable(list)).count(item), listed);
    QCOMPARE(testkit::rows(store::kAttendanceFile, "select 考勤类别, 科目, 节次 from tabkaoqin"),
             QVector<QStringList>({{"公假", "书法", "第十一节"}}));
    // Opened again, the list holds what the file holds.
    r.click(frmteacher::Return);
    testkit::settle();
    m.findChild<QAction*>("teacher")->trigger();
    Register again(qobject_cast<frmteacher*>(m.child(WindowId::frmteacher)));
    QCOMPARE(again.items(qPrintable(list)).count(item), listed);
}

void tst_teacher::queryWithEmptyNameInListMode() {
    Register r;
    QApplication::setActiveWindow(r.w);
    r.click(frmteacher::Settings);
    r.box("txtaddsort")->setFocus();
    r.click(frmteacher::Query);
    QCOMPARE(m_messages->all.size(), 1);
    QCOMPARE(QApplication::focusWidget(), r.box("txtaddsort"));
}

void tst_teacher::engineErrorsAreReported() {
    Register r;
    testkit::exec(store::kAttendanceFile, "drop table tabaddsort");
    r.click(frmteacher::Settings);
    r.set("txtaddsubject", "书法");
    r.set("txtaddsort", "公假");
    r.w->findChild<QPushButton*>("cmdok")->click();
    QVERIFY(m_messages->last().contains("新增的项目没有保存"));
    // All or nothing: the subject before the refused category was not kept either.
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddsubject"), 0);
    QVERIFY(r.box("txtaddsort")->isVisible());
    QFile::remove(store::kAttendanceFile);
    r.click(frmteacher::Browse);
    QVERIFY(m_messages->last().contains("找不到数据文件"));
    QVERIFY(!QFile::exists(store::kAttendanceFile));
}

void tst_teacher::gridNeverHoldsTheFileLocked() {
    testkit::exec(store::kAttendanceFile,
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<700) "
                  "insert into tabkaoqin select '12-07-2026','星期一','张'||i,'缺席','语文','1','第一节' from n");
    testkit::exec(store::kAttendanceFile, "insert into tabkaoqin values ('12-01-2026','','甲','缺席','语文','1','')");
    Register r;
    QCOMPARE(r.gridRows(), 701);
    r.entry("12-07-2026", "新来的");
    QCOMPARE(m_messages->last(), QString("已经保存"));
    QCOMPARE(r.gridRows(), 702);
    // The new entry is selected and in view, in the grid's order of the moment.
    auto* grid = r.w->findChild<QTableView*>("DBGrid1");
    auto shownAndSelected = [&](int row) {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 && rows.first().row() == row &&
               grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(row, 0)));
    };
    QVERIFY(shownAndSelected(701));
    QTest::mouseClick(r.w->findChild<QRadioButton*>("Option1_1"), Qt::LeftButton); // by name
    r.entry("12-08-2026", "甲");
    // Where the name order puts it depends on the system's collation (pinyin, or code points).
    int saved = -1;
    for (int row = 0; row < r.gridRows(); ++row)
        if (r.grid(row, 0) == QLatin1String("12-08-2026")) saved = row;
    QVERIFY(saved >= 0);
    QCOMPARE(r.grid(saved, 2), QString("甲"));
    QVERIFY(shownAndSelected(saved));
}

QTEST_MAIN(tst_teacher)
#include "tst_teacher.moc"
