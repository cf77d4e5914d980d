// The school's details, the commands that empty a record book, the accounts and their passwords,
// and the modes of the files the program creates.
#include "testkit.h"

#include <admin/emptying.h>
#include <admin/frmpassword.h>
#include <admin/frmsystem.h>
#include <admin/frmusers.h>
#include <books/frmteacher.h>
#include <shell/frmmain.h>
#include <store/accounts.h>
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <store/layout.h>
#include <store/privacy.h>
#include <store/statements.h>
#include <ui/notify.h>

#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <cmath>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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

// The passwords stored for an account, in table order.
QStringList storedPasswords(const QString& name) {
    QStringList out;
    for (const QStringList& row :
         testkit::rows(store::kUserFile, "select password from tabel1 where username = " + store::SqlQuote(name)))
        out << row[0];
    return out;
}

// Fills the boxes of a password dialog (those it shows) and presses OK.
int answerPassword(Frmpassword& d, const QStringList& boxes) {
    const char* names[] = {"txtname", "txtold", "txtnew", "txtnew2"};
    for (int i = 0; i < 4; ++i) {
        auto* box = d.findChild<QLineEdit*>(names[i]);
        if (!box->isHidden() && !box->isReadOnly()) box->setText(boxes.value(i));
    }
    d.findChild<QPushButton*>("cmdok")->click();
    return d.result();
}

// Two accounts kept as typed, as an old file or an SQLite tool leaves them, and a row without a name.
void seedAccounts() {
    testkit::exec(store::kUserFile,
                  "insert into tabel1 values ('teacher1', 'oldpass1'), (NULL, 'x'), ('teacher1', 'other')");
}

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
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void windowLeftOpenSavesIntoTheNewFile();
    void refusedTemplateIsNotReportedDone();
    void damagedBookIsKeptAndSaid();
    void passwordDialog_data();
    void passwordDialog();
    void userManagement_data();
    void userManagement();
    void newFilesAreTheOwnersAlone_data();
    void newFilesAreTheOwnersAlone();
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
    auto* form = m.child(WindowId::Frmsystem);
    QCOMPARE(qobject_cast<QMdiSubWindow*>(form->parentWidget())->size(), QSize(400, 281));
    QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    form->findChild<QLineEdit*>("Text1")->setText("城南中学");
    QTest::mouseClick(form->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>("cmdexit"), Qt::LeftButton);
    testkit::settle();
    QVERIFY(!m.child(WindowId::Frmsystem));
    QVERIFY(m.child(WindowId::Frmbg)->parentWidget()->isVisible());
    m.findChild<QAction*>("cahier")->trigger();
    QCOMPARE(m.child(WindowId::Frmcahier)->findChild<QLabel*>("Label1_0")->text(), QString("城南中学学校会议记录"));
}

void tst_admin::emptyingDeletesOneTableOfTheRosterFile() {
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('张伟')");
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('1','2','3')");
    admin::cleanaddlist_Click(nullptr);
    QCOMPARE(m_messages->texts(), QStringList({"确定需要清空吗？清空后将不能恢复！", "教师通讯录已经清空"}));
    QCOMPARE(m_messages->all.first().style, ui::OkCancel | ui::DefaultCancel);
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist"), 0);
    QCOMPARE(testkit::count(store::kRosterFile, "tabonduty"), 1);
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('李娜')");
    admin::cleanonduty_Click(nullptr);
    QCOMPARE(m_messages->last(), QString("值周安排已经清空"));
    QCOMPARE(testkit::count(store::kRosterFile, "tabonduty"), 0);
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist"), 1);
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

void tst_admin::cancelChangesNothing_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel") << int(ui::kAnswerCancel);
    QTest::newRow("enter: cancel is the default") << testkit::kEnter;
}

void tst_admin::cancelChangesNothing() {
    QFETCH(int, answer);
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('周例会')");
    testkit::exec(store::kRosterFile, "insert into tabaddlist (name) values ('张伟')");
    const QByteArray minutes = testkit::bytes(store::kMinutesFile), roster = testkit::bytes(store::kRosterFile);
    m_messages->answers = {answer, answer};
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
    testkit::saveAttendance(&w, {"12-07-2026", "新", "缺席", "语文", "1", "第一节"});
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
    QVERIFY(
        m_messages->last().contains("“" + testkit::shown(store::kAttendanceTemplate) + "”中缺少数据表“tabaddnumber”"));
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

// Every refusal of the password dialog names its box and writes nothing; what it accepts is
// stored as a hash that the new password matches.
void tst_admin::passwordDialog_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("boxes"); // txtname, txtold, txtnew, txtnew2
    QTest::addColumn<QString>("message");
    const int change = Frmpassword::Change, add = Frmpassword::Add, reset = Frmpassword::Reset;
    const QString changed = "用户“teacher1”的密码已修改。";
    const QString sixtyFour(64, QChar(0x5bc6)), nul = QString("abc") + QChar(0) + "defg";
    QTest::newRow("change") << change << "teacher1" << QStringList{"", "oldpass1", "newpass1", "newpass1"} << changed;
    QTest::newRow("change by the second row's password")
        << change << "teacher1" << QStringList{"", "other", "newpass1", "newpass1"} << changed;
    QTest::newRow("wrong current password")
        << change << "teacher1" << QStringList{"", "oldpass2", "newpass1", "newpass1"}
        << "“原密码”不正确，请重新输入。";
    QTest::newRow("empty current password")
        << change << "teacher1" << QStringList{"", "", "newpass1", "newpass1"} << "“原密码”不能为空。";
    QTest::newRow("five characters") << change << "teacher1" << QStringList{"", "oldpass1", "abc12", "abc12"}
                                     << "“新密码”至少要 6 个字符。";
    QTest::newRow("same as the name") << reset << "teacher1" << QStringList{"", "", "teacher1", "teacher1"}
                                      << "“新密码”不能与用户名相同。";
    QTest::newRow("confirmation differs") << reset << "teacher1" << QStringList{"", "", "newpass1", "newpass2"}
                                          << "“确认新密码”与“新密码”不一致，请重新输入。";
    QTest::newRow("empty") << reset << "teacher1" << QStringList{"", "", "", ""} << "“新密码”不能为空。";
    QTest::newRow("65 characters") << reset << "teacher1" << QStringList{"", "", sixtyFour + "x", sixtyFour + "x"}
                                   << "“新密码”不能超过 64 个字符。";
    QTest::newRow("64 characters") << reset << "teacher1" << QStringList{"", "", sixtyFour, sixtyFour} << changed;
    QTest::newRow("NUL") << reset << "teacher1" << QStringList{"", "", nul, nul}
                         << "“新密码”中有不能保存的字符，请重新输入。";
    QTest::newRow("lone surrogate in a name")
        << add << "" << QStringList{QString("王") + QChar(0xd800), "", "abcdefg", "abcdefg"}
        << "“用户名”中有不能保存的字符，请重新输入。";
    QTest::newRow("empty name") << add << "" << QStringList{"", "", "abcdefg", "abcdefg"} << "“用户名”不能为空。";
    QTest::newRow("add") << add << "" << QStringList{"张老师", "", "密码密码密码", "密码密码密码"}
                         << "用户“张老师”已添加。";
    QTest::newRow("add an apostrophe") << add << "" << QStringList{"O'Neil", "", "it's me!", "it's me!"}
                                       << "用户“O'Neil”已添加。";
    QTest::newRow("add a name we have") << add << "" << QStringList{"teacher1", "", "abcdefg", "abcdefg"}
                                        << "用户“teacher1”已经存在，请换一个用户名。";
    QTest::newRow("reset") << reset << "teacher1" << QStringList{"", "", "密码 pass", "密码 pass"} << changed;
    QTest::newRow("change an account removed meanwhile")
        << change << "gone" << QStringList{"", "abcdefg", "abcdefgh", "abcdefgh"}
        << "用户“gone”已不存在（可能已在另一处删除），密码没有保存。";
    QTest::newRow("reset an account removed meanwhile") << reset << "gone" << QStringList{"", "", "abcdefg", "abcdefg"}
                                                        << "用户“gone”已不存在（可能已在另一处删除），密码没有保存。";
}

void tst_admin::passwordDialog() {
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);
    seedAccounts();
    const QString account = mode == Frmpassword::Add ? boxes[0] : name;
    const bool storable = store::credentialProblem(account) == store::CredentialProblem::Fine;
    const QStringList before = storable ? storedPasswords(account) : QStringList();
    Frmpassword d(nullptr, Frmpassword::Mode(mode), name);
    const bool accepted = answerPassword(d, boxes) == QDialog::Accepted;
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(accepted, message.endsWith("已修改。") || message.endsWith("已添加。"));
    const QStringList after = storable ? storedPasswords(account) : QStringList();
    if (!accepted) {
        QCOMPARE(after, before);
        return;
    }
    QCOMPARE(m_messages->all[0].style, 64);
    QCOMPARE(after.size(), qMax(1, int(before.size())));
    for (const QString& stored : after) {
        QVERIFY2(store::isPasswordHash(stored), qPrintable(stored));
        QVERIFY(store::passwordMatches(stored, boxes[2]));
        QVERIFY(!store::passwordMatches(stored, boxes[1]));
    }
    QCOMPARE(storedPasswords("admin"), QStringList{"admin"}); // no other account touched
}

// 用户管理 from the menu: the names (each once, no password), adding, resetting, removing with a
// confirmation, never the account logged in nor the last one.
void tst_admin::userManagement_data() {
    QTest::addColumn<QString>("user"); // logged in
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("boxes"); // of the password dialog it opens
    QTest::addColumn<int>("answer");        // to the confirmation
    QTest::addColumn<QStringList>("names"); // listed afterwards
    QTest::addColumn<QStringList>("messages");
    const QStringList both{"admin", "teacher1"};
    const int ok = ui::kAnswerOk, cancel = ui::kAnswerCancel;
    const QString confirm = "确实要删除用户“teacher1”吗？";
    QTest::newRow("list") << "admin"
                          << ""
                          << "" << QStringList() << ok << both << QStringList();
    QTest::newRow("add") << "admin"
                         << ""
                         << "cmdadd" << QStringList{"李老师", "", "abcdefg", "abcdefg"} << ok
                         << QStringList{"admin", "teacher1", "李老师"} << QStringList{"用户“李老师”已添加。"};
    QTest::newRow("add, cancelled") << "admin"
                                    << ""
                                    << "cmdadd" << QStringList() << ok << both << QStringList();
    QTest::newRow("reset") << "admin"
                           << "teacher1"
                           << "cmdreset" << QStringList{"", "", "newpass1", "newpass1"} << ok << both
                           << QStringList{"用户“teacher1”的密码已修改。"};
    QTest::newRow("remove") << "admin"
                            << "teacher1"
                            << "cmdremove" << QStringList() << ok << QStringList{"admin"} << QStringList{confirm};
    QTest::newRow("remove, cancelled") << "admin"
                                       << "teacher1"
                                       << "cmdremove" << QStringList() << cancel << both << QStringList{confirm};
    QTest::newRow("remove the account logged in")
        << "teacher1"
        << "teacher1"
        << "cmdremove" << QStringList() << ok << both << QStringList{"不能删除正在使用的用户“teacher1”。"};
    QTest::newRow("remove the last") << "gone"
                                     << "admin"
                                     << "cmdremove" << QStringList() << ok << QStringList{"admin"}
                                     << QStringList{"确实要删除用户“admin”吗？", "“admin”是最后一个用户，不能删除。"};
}

void tst_admin::userManagement() {
    QFETCH(QString, user);
    QFETCH(QString, pick);
    QFETCH(QString, button);
    QFETCH(QStringList, boxes);
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QFETCH(QStringList, messages);
    seedAccounts();
    if (user == "gone") testkit::exec(store::kUserFile, "delete from tabel1 where username is not 'admin'");
    m_messages->answers = {answer};
    Frmpassword::setHook(
        [&](Frmpassword& d) { return boxes.isEmpty() ? int(QDialog::Rejected) : answerPassword(d, boxes); });
    QStringList listed;
    Frmusers::setHook([&](Frmusers& d) {
        auto* list = d.findChild<QListWidget*>("lstusers");
        if (!pick.isEmpty()) list->setCurrentItem(list->findItems(pick, Qt::MatchExactly).value(0));
        if (!button.isEmpty()) d.findChild<QPushButton*>(button)->click();
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        return int(QDialog::Accepted);
    });
    frmmain window;
    window.setUser(user);
    window.findChild<QAction*>("usermanage")->trigger();
    Frmusers::setHook({});
    QCOMPARE(listed, names);
    QCOMPARE(m_messages->texts(), messages);
    if (button != "cmdremove") QCOMPARE(storedPasswords("admin"), QStringList{"admin"});
    if (!boxes.isEmpty()) {
        const QString account = boxes[0].isEmpty() ? pick : boxes[0];
        for (const QString& stored : storedPasswords(account)) QVERIFY(store::passwordMatches(stored, boxes[2]));
    }
}

// Files 0600 and folders 0700 whatever the umask of the person (022 here): laid out by the set-up
// program, or made by the program itself (a journal, an emptied book, a backup, also the copy of
// a damaged book). A file that was there keeps its mode.
void tst_admin::newFilesAreTheOwnersAlone_data() {
    QTest::addColumn<bool>("setupProgram");
    QTest::newRow("set-up program") << true;
    QTest::newRow("program") << false;
}

void tst_admin::newFilesAreTheOwnersAlone() {
#ifndef Q_OS_UNIX
    QSKIP("Windows: the program's folder is the person's own");
#else
    QFETCH(bool, setupProgram);
    const mode_t umaskBefore = ::umask(022);
    QTemporaryDir dir;
    const QString root = dir.filePath("data");
    QString kept; // a damaged book the person had, readable by others
    if (setupProgram) {
        QProcess setup;
        setup.start(LUMNO_SETUP, {root});
        QVERIFY(setup.waitForFinished(60000));
        QCOMPARE(setup.exitCode(), 0);
    } else {
        store::keepNewFilesPrivate(); // as the program does first
        store::layOutDataFiles(root);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(root);
        {
            store::Database db(store::kUserFile);
            db.begin();
            db.execute("insert into tabel2 (schoolname) values ('x')");
            QCOMPARE(::umask(077), mode_t(077));
            struct stat st;
            QCOMPARE(::stat(QFile::encodeName(store::kUserFile + "-journal").constData(), &st), 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0600));
            db.rollback();
        }
        kept = QDir(root).filePath(store::kEventsFile);
        QFile f(kept);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'z'));
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        store::makeBackup("backup", "测试", store::dataFiles());
        admin::cleancahier_Click(nullptr);
        QDir::setCurrent(previous);
    }
    ::umask(umaskBefore);
    int files = 0;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    QStringList wrong;
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(root).constData(), &st), 0);
    if ((st.st_mode & 0777) != 0700) wrong << root;
    while (it.hasNext()) {
        const QString path = it.next();
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
        const mode_t expected = path == kept ? 0644 : S_ISDIR(st.st_mode) ? 0700 : 0600;
        if ((st.st_mode & 0777) != expected) wrong << QString("%1 %2").arg(path).arg(st.st_mode & 0777, 0, 8);
        files += !S_ISDIR(st.st_mode);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    QVERIFY2(files >= (setupProgram ? 8 : 14), qPrintable(QString::number(files)));
#endif
}

QTEST_MAIN(tst_admin)
#include "tst_admin.moc"
