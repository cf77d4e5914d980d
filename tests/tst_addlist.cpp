// The teachers' address book, driven through its toolbar and boxes as a person would.
#include "testkit.h"

#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <store/catalogue.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QtTest>

namespace {

const QStringList kBoxes{"txtname", "txtsex", "txtmphone", "txtphone", "txtcode", "txtqq", "txtemail", "txtaddress"};

struct Book {
    Frmaddlist w;
    Book() { w.show(); }
    QLineEdit* box(const QString& name) { return w.findChild<QLineEdit*>(name); }
    QPlainTextEdit* remark() { return w.findChild<QPlainTextEdit*>("txtremark"); }
    QString label11() {
        return w.findChild<QLabel*>("Label11")->isVisible() ? w.findChild<QLabel*>("Label11")->text() : QString();
    }
    void click(int i) { testkit::clickTool(&w, i); }
    bool enabled(int i) { return testkit::toolEnabled(&w, i); }
    void fill(const QString& name, const QString& value) {
        QLineEdit* e = box(name);
        e->selectAll();
        e->setFocus();
        testkit::type(e, value);
    }
    QString shownName() { return box("txtname")->text(); }
    void add(const QString& name, const QString& sex, const QString& phone = QString()) {
        click(Frmaddlist::Add);
        fill("txtname", name);
        fill("txtsex", sex);
        if (!phone.isEmpty()) fill("txtphone", phone);
        click(Frmaddlist::Save);
    }
};

QVector<QStringList> stored() { return testkit::rows(store::kRosterFile, "select * from tabaddlist order by rowid"); }

} // namespace

class tst_addlist : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void emptyBookShowsThePlaceholder();
    void hintLineIsBoldAtAFractionalSize();
    void addStoresNoneForEmptyBoxes();
    void requiredInputsInOrder();
    void searchProtocol();
    void navigationAtBothEnds();
    void editChangesOnlyTheShownTeacher();
    void deleteRemovesOnlyTheShownTeacher();
    void deleteKeepsTheRecordInTheBin_data();
    void deleteKeepsTheRecordInTheBin();
    void editOfAVanishedRecordIsNotReportedSaved();
    void longStoredValuesAreNeverCut();
    void editThenAddKeepsNameDisabled();
    void enterMovesFocusExceptInRemark();
    void engineErrorsAreReported();
};

void tst_addlist::emptyBookShowsThePlaceholder() {
    Book b;
    QCOMPARE(b.remark()->toPlainText(), QString("暂时没有记录！"));
    QCOMPARE(b.remark()->font().pointSizeF(), 20.0);
    QVERIFY(b.remark()->styleSheet().contains("#ff0000"));
    QVERIFY(!b.enabled(Frmaddlist::Edit) && !b.enabled(Frmaddlist::Save) && b.enabled(Frmaddlist::Add));
    for (const QString& name : kBoxes) QVERIFY(b.box(name)->isReadOnly());
    QCOMPARE(b.w.findChild<QLabel*>("Label1")->text(), QString("欢迎使用教师通讯录"));
    for (int nav : {Frmaddlist::First, Frmaddlist::Previous, Frmaddlist::Next, Frmaddlist::Last}) b.click(nav);
    QCOMPARE(b.shownName(), QString());
    QVERIFY(m_messages->all.isEmpty());
    // The placeholder keeps its size and colour while records are added.
    b.add("张伟", "男");
    QCOMPARE(b.remark()->font().pointSizeF(), 20.0);
    QVERIFY(b.remark()->styleSheet().contains("#ff0000"));
}

// The form holds whole points (uic writes no others); the window sets the fraction.
void tst_addlist::hintLineIsBoldAtAFractionalSize() {
    Book b;
    b.click(Frmaddlist::Add);
    const QFont font = b.w.findChild<QLabel*>("Label11")->font();
    QCOMPARE(font.pointSizeF(), 14.25);
    QVERIFY(font.bold());
}

void tst_addlist::addStoresNoneForEmptyBoxes() {
    testkit::exec(store::kUserFile, "insert into tabel2 values ('实验小学','1','2','3')");
    Book b;
    QCOMPARE(b.w.findChild<QLabel*>("Label1")->text(), QString("欢迎使用实验小学教师通讯录"));
    b.click(Frmaddlist::Add);
    QVERIFY(b.enabled(Frmaddlist::Save));
    QCOMPARE(b.label11(), QString("请输入相关信息，然后单击保存按钮 "));
    b.fill("txtname", "O'Neil");
    b.fill("txtsex", "男");
    b.click(Frmaddlist::Save);
    QCOMPARE(m_messages->all.last().text, QString("内容已经保存"));
    QCOMPARE(m_messages->all.last().style, 64);
    QCOMPARE(stored(), QVector<QStringList>({{"O'Neil", "男", "无", "无", "无", "无", "无", "无", "无"}}));
    QVERIFY(!b.enabled(Frmaddlist::Save));
    QCOMPARE(b.box("txtmphone")->text(), QString()); // the boxes keep what was typed
    QCOMPARE(b.label11(), QString());
    // Adding the same name again makes a second record.
    b.add("O'Neil", "男");
    QCOMPARE(stored().size(), 2);
}

void tst_addlist::requiredInputsInOrder() {
    Book b;
    b.click(Frmaddlist::Add);
    b.click(Frmaddlist::Save);
    QCOMPARE(m_messages->texts(), QStringList{"请输入名字！"});
    QCOMPARE(m_messages->all.last().style, 48);
    b.fill("txtname", "张伟");
    b.click(Frmaddlist::Save);
    QCOMPARE(m_messages->last(), QString("请输入性别！"));
    QVERIFY(stored().isEmpty());
    b.click(Frmaddlist::Delete);
    QVERIFY(m_messages->last() != "请输入姓名！");
    b.click(Frmaddlist::Add);
    b.click(Frmaddlist::Delete);
    QCOMPARE(m_messages->last(), QString("请输入姓名！"));
    QCOMPARE(m_messages->all.last().style, 64);
}

void tst_addlist::searchProtocol() {
    Book b;
    b.add("张伟", "男", "6666");
    b.add("李娜", "女", "7777");
    b.click(Frmaddlist::Search);
    QCOMPARE(m_messages->last(), QString("请输入相应的查寻条件，然后单击'查寻'"));
    QCOMPARE(b.w.searchStep(), 1);
    QVERIFY(!b.box("txtsex")->isEnabled() && !b.box("txtcode")->isEnabled());
    b.click(Frmaddlist::Search); // nothing typed: the same hint, still armed
    QCOMPARE(m_messages->all.size(), 4);
    QCOMPARE(b.w.searchStep(), 1);
    b.fill("txtname", "张伟");
    b.fill("txtphone", "7777"); // the landline alone decides
    b.click(Frmaddlist::Search);
    QCOMPARE(b.label11(), QString("共找到1位"));
    QCOMPARE(b.shownName(), QString("李娜"));
    QCOMPARE(b.w.searchStep(), 0);
    b.click(Frmaddlist::Search);
    b.fill("txtname", "王芳");
    b.click(Frmaddlist::Search);
    QCOMPARE(b.label11(), QString("没有该记录！"));
    QCOMPARE(b.w.searchStep(), 1);
    b.fill("txtname", "");
    b.fill("txtemail", "无");
    b.click(Frmaddlist::Search);
    QCOMPARE(b.label11(), QString("共找到2位"));
    b.click(Frmaddlist::Next);
    QCOMPARE(b.shownName(), QString("李娜"));
    b.click(Frmaddlist::Next);
    QCOMPARE(b.shownName(), QString("李娜"));
}

void tst_addlist::navigationAtBothEnds() {
    for (const char* n : {"甲", "乙", "丙"})
        testkit::exec(store::kRosterFile,
                      QString("insert into tabaddlist values ('%1','男','','','','','','','')").arg(n));
    Book b;
    QCOMPARE(b.shownName(), QString("甲"));
    b.click(Frmaddlist::Previous); // to BOF: the first record stays on screen
    QCOMPARE(b.shownName(), QString("甲"));
    b.click(Frmaddlist::First); // at BOF: nothing
    QCOMPARE(b.shownName(), QString("甲"));
    b.click(Frmaddlist::Previous);
    b.click(Frmaddlist::Next);
    QCOMPARE(b.shownName(), QString("乙"));
    b.click(Frmaddlist::Last);
    QCOMPARE(b.shownName(), QString("丙"));
    b.click(Frmaddlist::Next);
    QCOMPARE(b.shownName(), QString("丙"));
    b.click(Frmaddlist::Last); // at EOF: nothing
    b.click(Frmaddlist::Next);
    QCOMPARE(b.shownName(), QString("丙"));
    b.click(Frmaddlist::Previous);
    QCOMPARE(b.shownName(), QString("乙"));
}

void tst_addlist::editChangesOnlyTheShownTeacher() {
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','1','','','','','','语文')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','2','','','','','','数学')");
    Book b;
    b.click(Frmaddlist::Next);
    QCOMPARE(b.box("txtmphone")->text(), QString("2"));
    b.click(Frmaddlist::Edit);
    QVERIFY(!b.box("txtname")->isEnabled());
    QCOMPARE(b.label11(), QString("请更改相关信息，然后单击保存按钮"));
    b.fill("txtmphone", "13900000000");
    b.click(Frmaddlist::Save);
    QCOMPARE(m_messages->last(), QString("内容已经保存"));
    const auto rows = stored();
    QCOMPARE(rows.at(0).at(2), QString("1"));
    QCOMPARE(rows.at(0).at(8), QString("语文"));
    QCOMPARE(rows.at(1).at(2), QString("13900000000"));
    QVERIFY(b.box("txtname")->isEnabled());
}

void tst_addlist::deleteRemovesOnlyTheShownTeacher() {
    for (int i = 0; i < 2; ++i)
        testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','','','','','','','')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('李娜','女','','','','','','','')");
    Book b;
    b.click(Frmaddlist::Delete);
    QCOMPARE(m_messages->last(), QString("内容已经删除！"));
    QCOMPARE(m_messages->all.last().style, 48);
    QCOMPARE(stored().size(), 2);
    // A typed name removes every teacher with that name.
    b.click(Frmaddlist::Search);
    b.fill("txtname", "张伟");
    b.click(Frmaddlist::Delete);
    QCOMPARE(stored(), QVector<QStringList>({{"李娜", "女", "", "", "", "", "", "", ""}}));
    QCOMPARE(b.shownName(), QString("李娜"));
    b.click(Frmaddlist::Delete);
    QVERIFY(stored().isEmpty());
    QCOMPARE(b.remark()->toPlainText(), QString("暂时没有记录！"));
}

void tst_addlist::deleteKeepsTheRecordInTheBin_data() {
    QTest::addColumn<bool>("byName");
    QTest::addColumn<QByteArray>("bin"); // what stands in the bin's place; "-": the bin is missing
    QTest::addColumn<int>("kept");
    QTest::newRow("the shown record") << false << QByteArray() << 1;
    QTest::newRow("a typed name") << true << QByteArray() << 2;
    QTest::newRow("missing bin") << false << QByteArray("-") << 0;
    QTest::newRow("damaged bin") << true << QByteArray(4096, 'z') << 0;
}

// The deleted records go into the bin in the delete's own transaction, and 恢复 brings them back
// with exactly their values (NULL apart from '', a number as a number); a bin that cannot take
// them refuses the delete.
void tst_addlist::deleteKeepsTheRecordInTheBin() {
    QFETCH(bool, byName);
    QFETCH(QByteArray, bin);
    QFETCH(int, kept);
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男',NULL,'',100081,'','','','it''s')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','2','','','','','','')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('李娜','女','','','','','','','')");
    const auto before = testkit::records(store::kRosterFile, "tabaddlist");
    if (bin == "-") {
        QVERIFY(QFile::remove(store::kRecycleFile));
    } else if (!bin.isEmpty()) {
        QFile f(store::kRecycleFile);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bin);
    }
    Book b;
    if (byName) {
        b.click(Frmaddlist::Search);
        b.fill("txtname", "张伟");
    }
    b.click(Frmaddlist::Delete);
    if (!kept) {
        QVERIFY2(m_messages->last().startsWith("没有删除。"), qPrintable(m_messages->last()));
        QVERIFY(m_messages->last().contains("“" + testkit::shown(store::kRecycleFile) + "”"));
        QVERIFY(m_messages->last().contains("回收站不能使用时，不删除任何记录"));
        QCOMPARE(testkit::records(store::kRosterFile, "tabaddlist"), before);
        return;
    }
    QCOMPARE(m_messages->last(), QString("内容已经删除！"));
    QCOMPARE(stored().size(), 3 - kept);
    QCOMPARE(testkit::binCount(), kept);
    testkit::restoreFromBin();
    QCOMPARE(m_messages->last(), QString("记录已经恢复到：教师通讯录 %1 条（database/addonduty.dat）").arg(kept));
    QCOMPARE(testkit::records(store::kRosterFile, "tabaddlist"), before);
    QCOMPARE(testkit::binCount(), 0);
}

void tst_addlist::editOfAVanishedRecordIsNotReportedSaved() {
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','1','','','','','','')");
    Book b;
    b.click(Frmaddlist::Edit);
    b.fill("txtmphone", "999");
    testkit::exec(store::kRosterFile, "delete from tabaddlist"); // emptied meanwhile
    b.click(Frmaddlist::Save);
    QVERIFY(m_messages->last().contains("已被修改或删除"));
    QVERIFY(!m_messages->texts().contains("内容已经保存"));
    QVERIFY(stored().isEmpty());
    QCOMPARE(b.remark()->toPlainText(), QString("暂时没有记录！")); // what the file holds now
    // Search cleared the boxes: Edit then has no record to change, and Save says so.
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('李娜','女','','','','','','','')");
    Book c;
    c.click(Frmaddlist::Search);
    c.fill("txtname", "x");
    c.click(Frmaddlist::Edit);
    c.fill("txtsex", "y");
    c.click(Frmaddlist::Save);
    QVERIFY2(m_messages->last().contains("没有显示任何记录"), qPrintable(m_messages->texts().join("|")));
    QCOMPARE(stored().size(), 1);
}

// Values written longer than the boxes' limits by another program: shown whole, kept whole by
// Edit + Save, and a Delete reaches that teacher, not the one whose name is the first 20 characters.
void tst_addlist::longStoredValuesAreNeverCut() {
    const QString name(25, QChar(0x540d)), remark(150, 'r');
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('" + name +
                                          "','男女男女男女男女男女男','1','','','','','','" + remark + "')");
    testkit::exec(store::kRosterFile,
                  "insert into tabaddlist values ('" + name.left(20) + "','女','2','','','','','','')");
    Book b;
    QCOMPARE(b.shownName(), name);
    QCOMPARE(b.box("txtname")->cursorPosition(), 0); // its beginning shows
    QCOMPARE(b.remark()->toPlainText(), remark);
    b.click(Frmaddlist::Edit);
    b.fill("txtmphone", "999");
    b.click(Frmaddlist::Save);
    QCOMPARE(stored().at(0),
             QStringList({name, "男女男女男女男女男女男", "999", "无", "无", "无", "无", "无", remark}));
    b.box("txtphone")->setFocus();
    testkit::type(b.remark(), "x"); // the limit still stops it growing
    QCOMPARE(b.remark()->toPlainText().size(), 150);
    b.click(Frmaddlist::First);
    b.click(Frmaddlist::Delete);
    QCOMPARE(stored().size(), 1);
    QCOMPARE(stored().at(0).at(0), name.left(20));
}

void tst_addlist::editThenAddKeepsNameDisabled() {
    testkit::exec(store::kRosterFile, "insert into tabaddlist values ('张伟','男','','','','','','','')");
    Book b;
    b.click(Frmaddlist::Edit);
    b.click(Frmaddlist::Add);
    QVERIFY(!b.box("txtname")->isEnabled());
    QVERIFY(b.w.addMode());
    b.click(Frmaddlist::First);
    QVERIFY(b.box("txtname")->isEnabled());
}

void tst_addlist::enterMovesFocusExceptInRemark() {
    Book b;
    QApplication::setActiveWindow(&b.w);
    b.click(Frmaddlist::Add);
    b.box("txtname")->setFocus();
    for (int i = 0; i + 1 < kBoxes.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), b.box(kBoxes[i]));
        testkit::key(QApplication::focusWidget(), Qt::Key_Return);
    }
    testkit::key(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), b.remark());
    testkit::type(b.remark(), "第一行\n第二行");
    QCOMPARE(QApplication::focusWidget(), b.remark());
    QCOMPARE(b.remark()->toPlainText(), QString("第一行\n第二行"));
}

void tst_addlist::engineErrorsAreReported() {
    Book b;
    testkit::exec(store::kRosterFile, "drop table tabaddlist");
    b.add("张伟", "男");
    QVERIFY(m_messages->last().contains("内容没有保存"));
    QVERIFY(m_messages->last().contains(testkit::shown(store::kRosterFile)));
    QVERIFY(b.enabled(Frmaddlist::Save)); // still usable: the user may try again
    QFile::remove(store::kRosterFile);
    b.click(Frmaddlist::Search);
    b.fill("txtname", "张伟");
    b.click(Frmaddlist::Search);
    QVERIFY(m_messages->last().contains("找不到数据文件"));
    QVERIFY(!QFile::exists(store::kRosterFile));
}

QTEST_MAIN(tst_addlist)
#include "tst_addlist.moc"
