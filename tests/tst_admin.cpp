// The school's details and the commands that empty a record book.
#include "testkit.h"

#include <admin/emptying.h>
#include <admin/frmsystem.h>
#include <books/frmteacher.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <cmath>

namespace {

struct Settings {
    Frmsystem w;
    Settings() { w.show(); }
    QLineEdit* box(int i) { return w.findChild<QLineEdit*>(QString("Text%1").arg(i)); }
    void press(const char* name) { QTest::mouseClick(w.findChild<QPushButton*>(name), Qt::LeftButton); }
};

// How far the darkest pixel of a box (its text) stands out from its background, as WCAG measures
// contrast: 4.5 and more reads well.
double textContrast(QWidget* box) {
    const QImage image = box->grab().toImage();
    auto luminance = [](QColor c) {
        auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    double darkest = 1;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x) darkest = qMin(darkest, luminance(image.pixelColor(x, y)));
    const double background = luminance(image.pixelColor(image.width() - 6, image.height() / 2));
    return (background + 0.05) / (darkest + 0.05);
}

QVector<QStringList> school() { return testkit::rows(store::kUserFile, "select * from tabel2"); }

} // namespace

class tst_admin : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void settingsInsertThenUpdate();
    void settingsKeepApostrophesAndEmptyTexts();
    void settingsReportEngineErrors();
    void titlesShowTheSavedName();
    void emptyingDeletesOneTableOfTheRosterFile();
    void emptyingCopiesTheTemplate_data();
    void emptyingCopiesTheTemplate();
    void missingTemplateAsksNothing();
    void cancelChangesNothing();
    void windowLeftOpenSavesIntoTheNewFile();
    void refusedTemplateIsNotReportedDone();
    void damagedBookIsKeptAndSaid();
};

void tst_admin::settingsInsertThenUpdate() {
    Settings s;
    for (int i = 1; i <= 4; ++i) {
        QVERIFY(!s.box(i)->isEnabled());
        QVERIFY(s.box(i)->text().isEmpty());
    }
    QVERIFY(!s.w.findChild<QPushButton*>("Command2")->isEnabled());
    s.press("Command1");
    QVERIFY(s.box(1)->isEnabled() && s.w.findChild<QPushButton*>("Command2")->isEnabled());
    s.box(1)->setText("实验小学");
    s.box(2)->setText("010-1234");
    s.press("Command2");
    QCOMPARE(m_messages->texts(), QStringList{"保存成功！"});
    QCOMPARE(m_messages->all.last().style, 64);
    QCOMPARE(school(), QVector<QStringList>({{"实验小学", "010-1234", "", ""}}));
    s.box(3)->setText("人民路1号");
    s.press("Command2");
    QCOMPARE(school(), QVector<QStringList>({{"实验小学", "010-1234", "人民路1号", ""}}));
    QVERIFY(s.box(1)->isEnabled());
}

void tst_admin::settingsKeepApostrophesAndEmptyTexts() {
    {
        Settings s;
        s.press("Command1");
        s.box(1)->setText("St John's School");
        s.press("Command2");
    }
    {
        Settings s;
        QCOMPARE(s.box(1)->text(), QString("St John's School"));
        QVERIFY(!s.box(1)->isEnabled());
        QCOMPARE(s.box(1)->cursorPosition(), 0); // a long name shows its beginning
        QVERIFY2(textContrast(s.box(1)) >= 4.5, qPrintable(QString::number(textContrast(s.box(1)))));
        s.press("Command1");
        s.box(1)->setText("O'Neil's '' school");
        s.press("Command2");
    }
    Settings s;
    QCOMPARE(s.box(1)->text(), QString("O'Neil's '' school"));
    s.press("Command1");
    for (int i = 1; i <= 4; ++i) s.box(i)->clear();
    s.press("Command2");
    QCOMPARE(school(), QVector<QStringList>({{"", "", "", ""}}));
    QCOMPARE(testkit::rows(store::kUserFile, "select count(*) from tabel2 where schoolname is not null").at(0).at(0),
             QString("1"));
}

void tst_admin::settingsReportEngineErrors() {
    Settings s;
    QFile::remove(store::kUserFile);
    s.press("Command1");
    s.press("Command2");
    QCOMPARE(m_messages->all.size(), 1);
    QVERIFY(m_messages->last().contains("学校信息没有保存"));
    QVERIFY(m_messages->last().contains("uinfo.dat"));
    QVERIFY(!QFile::exists(store::kUserFile));
}

void tst_admin::titlesShowTheSavedName() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("schooolinfo")->trigger();
    auto* form = m.child("Frmsystem");
    QCOMPARE(qobject_cast<QMdiSubWindow*>(form->parentWidget())->size(), QSize(400, 281));
    QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    form->findChild<QLineEdit*>("Text1")->setText("城南中学");
    QTest::mouseClick(form->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>("cmdexit"), Qt::LeftButton);
    testkit::settle();
    QVERIFY(!m.child("Frmsystem"));
    QVERIFY(m.child("Frmbg")->parentWidget()->isVisible());
    m.findChild<QAction*>("cahier")->trigger();
    QCOMPARE(m.child("Frmcahier")->findChild<QLabel*>("Label1_0")->text(), QString("城南中学学校会议记录"));
}

void tst_admin::emptyingDeletesOneTableOfTheRosterFile() {
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('张伟')");
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('1','2','3')");
    admin::cleanaddlist_Click(nullptr);
    QCOMPARE(m_messages->texts(), QStringList({"确定需要清空吗？清空后将不能恢复！", "教师通讯录已经清空"}));
    QCOMPARE(m_messages->all.first().style, 1);
    QCOMPARE(testkit::rows(store::kRosterFile, "select count(*) from tabaddlist").at(0).at(0), QString("0"));
    QCOMPARE(testkit::rows(store::kRosterFile, "select count(*) from tabonduty").at(0).at(0), QString("1"));
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('李娜')");
    admin::cleanonduty_Click(nullptr);
    QCOMPARE(m_messages->last(), QString("值周安排已经清空"));
    QCOMPARE(testkit::rows(store::kRosterFile, "select count(*) from tabonduty").at(0).at(0), QString("0"));
    QCOMPARE(testkit::rows(store::kRosterFile, "select count(*) from tabaddlist").at(0).at(0), QString("1"));
}

void tst_admin::emptyingCopiesTheTemplate_data() {
    QTest::addColumn<int>("book");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QStringList>("seed");
    QTest::newRow("minutes") << 0 << "cahier._"
                             << "database/cahier.dat"
                             << "会议记录已经清空" << QStringList{"insert into tabcahier (theme) values ('x')"};
    QTest::newRow("events") << 1 << "snote._"
                            << "database/snote.dat"
                            << "学校事历已经清空" << QStringList{"insert into tabnote (theme) values ('x')"};
    QTest::newRow("attendance with its lists")
        << 2 << "teacher._"
        << "database/teacher.dat"
        << "教师考勤已经清空"
        << QStringList{"insert into tabkaoqin (姓名) values ('x')", "insert into tabaddsubject values ('书法')"};
}

void tst_admin::emptyingCopiesTheTemplate() {
    QFETCH(int, book);
    QFETCH(QString, templ);
    QFETCH(QString, target);
    QFETCH(QString, done);
    QFETCH(QStringList, seed);
    void (*clean[])(QWidget*) = {admin::cleancahier_Click, admin::cleannote_Click, admin::cleanteacher_Click};
    for (const QString& statement : seed) testkit::exec(target, statement);
    const QByteArray original = testkit::bytes(templ);
    for (int round = 0; round < 2; ++round) { // twice in a row: emptied each time
        clean[book](nullptr);
        QCOMPARE(m_messages->last(), done);
        QCOMPARE(testkit::content(target), testkit::content(templ));
    }
    QCOMPARE(testkit::bytes(templ), original);
    QCOMPARE(m_messages->all.size(), 4);
}

void tst_admin::missingTemplateAsksNothing() {
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('周例会')");
    const QByteArray before = testkit::bytes(store::kMinutesFile);
    QFile::remove("cahier._");
    admin::cleancahier_Click(nullptr);
    QCOMPARE(m_messages->texts(), QStringList{"系统文件cahier._丢失"});
    QCOMPARE(m_messages->all.last().style, 64);
    QCOMPARE(testkit::bytes(store::kMinutesFile), before);
}

void tst_admin::cancelChangesNothing() {
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('周例会')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('张伟')");
    const QByteArray minutes = testkit::bytes(store::kMinutesFile), roster = testkit::bytes(store::kRosterFile);
    m_messages->answers = {2, 2};
    admin::cleancahier_Click(nullptr);
    admin::cleanaddlist_Click(nullptr);
    QCOMPARE(m_messages->all.size(), 2); // the two questions, nothing more
    QCOMPARE(testkit::bytes(store::kMinutesFile), minutes);
    QCOMPARE(testkit::bytes(store::kRosterFile), roster);
}

// A window open across the emptying keeps its screen, and its next save lands in the new file.
void tst_admin::windowLeftOpenSavesIntoTheNewFile() {
    testkit::exec(store::kAttendanceFile,
                  "insert into tabkaoqin values ('12-01-2026','星期二','旧','缺席','语文','1','第一节')");
    frmteacher w;
    w.show();
    admin::cleanteacher_Click(nullptr);
    QCOMPARE(m_messages->last(), QString("教师考勤已经清空"));
    w.findChild<QLineEdit*>("txtdate")->setText("12-07-2026");
    w.findChild<QComboBox*>("comname")->setEditText("新");
    w.findChild<QComboBox*>("comsort")->setEditText("缺席");
    w.findChild<QComboBox*>("comsubject")->setEditText("语文");
    w.findChild<QLineEdit*>("txtcount")->setText("1");
    w.findChild<QComboBox*>("comnumber")->setEditText("第一节");
    testkit::clickTool(&w, frmteacher::Save);
    QCOMPARE(m_messages->last(), QString("已经保存"));
    QCOMPARE(testkit::rows(store::kAttendanceFile, "select 姓名 from tabkaoqin"), QVector<QStringList>({{"新"}}));
}

void tst_admin::refusedTemplateIsNotReportedDone() {
    testkit::exec(store::kAttendanceFile, "insert into tabaddsort values ('公出')");
    const QByteArray before = testkit::bytes(store::kAttendanceFile);
    testkit::exec(store::kAttendanceTemplate, "drop table tabaddnumber");
    admin::cleanteacher_Click(nullptr);
    QCOMPARE(m_messages->all.size(), 2);
    QVERIFY(m_messages->last().contains("没有清空，原有记录保持不变"));
    QVERIFY(m_messages->last().contains("“" + testkit::shown(store::kAttendanceTemplate) + "”中缺少数据表“tabaddnumber”"));
    QCOMPARE(testkit::bytes(store::kAttendanceFile), before);
}

// A book the engine cannot read can still be emptied; the damaged file is kept and named.
void tst_admin::damagedBookIsKeptAndSaid() {
    QFile f(store::kMinutesFile);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'z'));
    f.close();
    admin::cleancahier_Click(nullptr);
    QVERIFY(m_messages->last().startsWith("会议记录已经清空\n原来的文件已经损坏"));
    const QStringList kept = QDir("database").entryList({"cahier.dat.损坏-*"});
    QCOMPARE(kept.size(), 1);
    QVERIFY(m_messages->last().contains(testkit::shown("database/" + kept.first())));
    QCOMPARE(testkit::bytes("database/" + kept.first()), QByteArray(4096, 'z'));
    QCOMPARE(testkit::content(store::kMinutesFile), testkit::content(store::kMinutesTemplate));
}

QTEST_MAIN(tst_admin)
#include "tst_admin.moc"
