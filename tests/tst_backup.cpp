// Backups made and restored from the "系统设定" menu, and the snapshot before every emptying.
#include "testkit.h"

#include <admin/backups.h>
#include <admin/emptying.h>
#include <admin/frmrestore.h>
#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <shell/frmmain.h>
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/importrows.h>
#include <ui/choosepath.h>
#include <ui/notify.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList backupFolders() { return QDir("backup").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }

void seed(int n) {
    for (int i = 0; i < n; ++i) {
        testkit::exec(store::kRosterFile, QString("insert into tabaddlist (name) values ('教师%1')").arg(i));
        testkit::exec(store::kMinutesFile, QString("insert into tabcahier (theme) values ('会议%1')").arg(i));
        testkit::exec(store::kEventsFile, QString("insert into tabnote (theme) values ('事件%1')").arg(i));
    }
}

// Chooses backup i in the restore window, ticks the books, and presses OK.
void answerRestore(int backup, const QStringList& files) {
    Frmrestore::setHook([=](Frmrestore& d) {
        d.choose(backup);
        for (int i = 0; i < store::dataFiles().size(); ++i)
            d.findChild<QCheckBox*>(QString("chkbook_%1").arg(i))->setChecked(files.contains(store::dataFiles()[i]));
        d.findChild<QPushButton*>("cmdok")->click();
        return d.result();
    });
}

// Takes the place of the system's file manager.
class Opened : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

} // namespace

class tst_backup : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void init() {
        testkit::WindowTest::init();
        ui::setPathHook([](QWidget*, const QString&, const QString& start, ui::PathKind) { return start; });
    }
    void cleanup() {
        ui::setPathHook({});
        Frmrestore::setHook({});
        testkit::WindowTest::cleanup();
    }
    void backupWhileAnotherCopySaves();
    void restoreOneBookAndUndoIt();
    void damagedBackupIsNeverRestored_data();
    void damagedBackupIsNeverRestored();
    void snapshotBeforeEmptying_data();
    void snapshotBeforeEmptying();
    void openWindowsReadTheirBooksAgain_data();
    void openWindowsReadTheirBooksAgain();
    void openDataFolder();
    void hotJournalNeverBlocks_data();
    void hotJournalNeverBlocks();
};

// Another copy of the program saves all the while: each backup holds whole saves only.
void tst_backup::backupWhileAnotherCopySaves() {
    QProcess writer;
    testkit::startWriter(writer, {"save", m_folder->path(), "w", "400"});
    QVERIFY(writer.waitForStarted());
    frmmain m;
    for (int i = 0; i < 3; ++i) {
        m.findChild<QAction*>("backupdata")->trigger();
        QVERIFY2(m_messages->last().startsWith("数据已经备份到“" + testkit::shown("backup")),
                 qPrintable(m_messages->last()));
        QTest::qWait(30);
    }
    // (It may have finished already, noticed while the test waited.)
    QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(60000));
    QCOMPARE(writer.exitCode(), 0);
    QCOMPARE(backupFolders().size(), 3);
    for (const QString& folder : backupFolders()) {
        QVERIFY(folder.contains("_手动备份")); // "（2）" after it for a second backup in the same second
        const QString copy = "backup/" + folder + "/cahier.dat";
        QCOMPARE(testkit::integrity(copy), QString("ok"));
        QCOMPARE(testkit::count(copy, "tabcahier where length(content) <> 400"), 0);
        for (const QString& f : store::dataFiles())
            QVERIFY(QFile::exists("backup/" + folder + "/" + QFileInfo(f).fileName()));
    }
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 400);
    QVERIFY(m_messages->last().contains("会议记录："));
}

// One book comes back from a backup, the others stay as they are; the state before the restore
// was backed up, and restoring that undoes the restore.
void tst_backup::restoreOneBookAndUndoIt() {
    seed(3);
    frmmain m;
    m.findChild<QAction*>("backupdata")->trigger();
    seed(2);         // five of each now
    Frmaddlist open; // a window left open across the restore
    // Cancel at the question goes back to the list, the choice as it was; OK then restores.
    m_messages->clear();
    m_messages->answers = {ui::kAnswerCancel};
    int resultAfterCancel = -1;
    Frmrestore::setHook([&](Frmrestore& d) {
        d.choose(0);
        d.findChild<QCheckBox*>("chkbook_2")->setChecked(true);
        d.findChild<QPushButton*>("cmdok")->click();
        resultAfterCancel = d.result();
        if (d.chosenBackup() == 0 && d.chosenFiles() == QStringList{store::kMinutesFile})
            d.findChild<QPushButton*>("cmdok")->click();
        return d.result();
    });
    m.findChild<QAction*>("restoredata")->trigger();
    QCOMPARE(resultAfterCancel, 0);                                                   // still open
    QVERIFY2(m_messages->all.size() == 3, qPrintable(m_messages->texts().join('|'))); // asked, asked again, done
    QVERIFY(m_messages->all[0].text.startsWith("确定要用") && m_messages->all[0].text == m_messages->all[1].text);
    QVERIFY2(m_messages->last().startsWith("已经恢复：会议记录。"), qPrintable(m_messages->last()));
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 3);
    QCOMPARE(testkit::count(store::kEventsFile, "tabnote"), 5);
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist"), 5);
    QCOMPARE(testkit::integrity(store::kMinutesFile), QString("ok"));
    QVERIFY(!QFile::exists(QString(store::kMinutesFile) + "-journal"));
    // Undo: the newest backup is the one made before the restore.
    const QVector<store::Backup> found = store::findBackups("backup");
    QCOMPARE(found.first().label, QString("恢复数据前"));
    QCOMPARE(found.first().file(store::kMinutesFile)->counts.value("tabcahier"), 5);
    answerRestore(0, {store::kMinutesFile, store::kRosterFile});
    m.findChild<QAction*>("restoredata")->trigger();
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 5);
    // The window open all along writes into the restored file.
    testkit::clickTool(&open, Frmaddlist::Add);
    open.findChild<QLineEdit*>("txtname")->setText("新来的");
    open.findChild<QLineEdit*>("txtsex")->setText("女");
    testkit::clickTool(&open, Frmaddlist::Save);
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist where name='新来的'"), 1);
}

// A damaged or foreign file in a backup folder is listed as unusable and cannot be chosen; a
// table of another shape or kind under a book's table name likewise, with the reason. From a
// usable one only the records come back: never a trigger, view or other table of the backup.
void tst_backup::damagedBackupIsNeverRestored_data() {
    QTest::addColumn<QString>("change"); // statements on the backup's cahier.dat, split at "|" ("truncate": cut it)
    QTest::addColumn<QString>("reason"); // in the minutes' line; empty: restorable
    QTest::newRow("truncated, and a foreign file") << "truncate"
                                                   << "会议记录：文件已损坏或不完整，不能用来恢复";
    QTest::newRow("a view in the table's place") << "drop table tabcahier|create view tabcahier as select 1 as theme"
                                                 << "中的“tabcahier”不是数据表，而是视图";
    QTest::newRow("the table with other columns") << "alter table tabcahier drop column content"
                                                  << "中的数据表“tabcahier”缺少“content”一栏";
    QTest::newRow("a trigger that deletes other rows")
        << "create trigger keepone after insert on tabcahier begin delete from tabcahier where rowid <> new.rowid; end"
        << "";
    QTest::newRow("a view, an index and another table")
        << "create view v as select * from tabcahier|create index i on tabcahier(theme)|create table extra (x)"
        << "";
}

void tst_backup::damagedBackupIsNeverRestored() {
    QFETCH(QString, change);
    QFETCH(QString, reason);
    seed(2);
    const QString folder = store::makeBackup("backup", "手动备份", store::dataFiles());
    if (change == "truncate") {
        QFile damaged(folder + "/cahier.dat");
        QVERIFY(damaged.resize(damaged.size() / 2));
        testkit::exec(folder + "/foreign.dat", "create table t (x)");
    } else {
        for (const QString& statement : change.split('|')) testkit::exec(folder + "/cahier.dat", statement);
    }
    seed(1);
    const QString schema =
        testkit::rows(store::kMinutesFile, "select group_concat(sql) from sqlite_master").at(0).at(0);
    QStringList shown;
    bool minutesTickable = true, eventsTickable = false, oneLine = false;
    Frmrestore::setHook([&](Frmrestore& d) {
        d.choose(0);
        // One line per backup, the books side by side.
        auto* list = d.findChild<QTreeWidget*>("lstbackups");
        oneLine = !list->wordWrap() && list->topLevelItem(0)->text(2).count('\n') == 0;
        shown = list->topLevelItem(0)->text(2).split("；");
        minutesTickable = d.findChild<QCheckBox*>("chkbook_2")->isEnabled();
        eventsTickable = d.findChild<QCheckBox*>("chkbook_3")->isEnabled();
        if (!reason.isEmpty()) return int(QDialog::Rejected);
        d.findChild<QCheckBox*>("chkbook_2")->setChecked(true);
        d.findChild<QPushButton*>("cmdok")->click();
        return d.result();
    });
    frmmain m;
    m.findChild<QAction*>("restoredata")->trigger();
    QVERIFY(eventsTickable);
    QVERIFY(oneLine);
    QVERIFY(shown.contains("学校事历：2 条事历"));
    if (!reason.isEmpty()) {
        QVERIFY(!minutesTickable);
        QVERIFY2(std::any_of(shown.begin(), shown.end(), [&](const QString& l) { return l.contains(reason); }),
                 qPrintable(shown.join('|')));
        if (change == "truncate") QVERIFY(shown.contains("foreign.dat：不是本软件的数据文件，不能用来恢复"));
        QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 3);
        QVERIFY(m_messages->all.isEmpty());
        return;
    }
    QVERIFY(minutesTickable);
    QVERIFY2(m_messages->last().startsWith("已经恢复：会议记录。"), qPrintable(m_messages->last()));
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 2);
    // The book's schema is its own, as before; the next saves keep every record.
    QCOMPARE(testkit::rows(store::kMinutesFile, "select group_concat(sql) from sqlite_master").at(0).at(0), schema);
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('新会议1')");
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('新会议2')");
    QCOMPARE(testkit::count(store::kMinutesFile, "tabcahier"), 4);
}

// After OK, the book's file is first copied into backup/, holding exactly what is emptied; when
// that copy cannot be made, nothing is emptied.
void tst_backup::snapshotBeforeEmptying_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::newRow("minutes") << "cleancahier" << store::kMinutesFile << "tabcahier";
    QTest::newRow("address book") << "cleanaddlist" << store::kRosterFile << "tabaddlist";
    QTest::newRow("duty rota") << "cleanonduty" << store::kRosterFile << "tabonduty";
}

void tst_backup::snapshotBeforeEmptying() {
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, table);
    seed(4);
    testkit::exec(store::kRosterFile, "insert into tabonduty values ('第1周','张伟','')");
    const QString before = testkit::content(file);
    frmmain m;
    // backup/ is a file: the snapshot cannot be made.
    testkit::exec("backup", "create table x (y)");
    m.findChild<QAction*>(command)->trigger();
    QVERIFY2(m_messages->last().contains("没有清空：清空之前无法备份这个记录本"), qPrintable(m_messages->last()));
    QCOMPARE(testkit::content(file), before);
    QVERIFY(QFile::remove("backup"));
    m.findChild<QAction*>(command)->trigger();
    QCOMPARE(testkit::count(file, table), 0);
    const QStringList made = backupFolders();
    QCOMPARE(made.size(), 1);
    QVERIFY(made.first().endsWith("前"));
    QCOMPARE(testkit::content("backup/" + made.first() + "/" + QFileInfo(file).fileName()), before);
}

// After a command that changed the books, an open window shows what the files hold; typed
// input is given up only when the person agrees, and a command that changed nothing asks nothing.
void tst_backup::openWindowsReadTheirBooksAgain_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("themes"); // listed in the window afterwards
    QTest::addColumn<bool>("asked");
    QTest::newRow("restore") << "restoredata" << false << QList<int>{} << 2 << false;
    QTest::newRow("emptying") << "cleancahier" << false << QList<int>{} << 0 << false;
    QTest::newRow("restore over typed input: kept") << "restoredata" << true << QList<int>{1, 1, 2} << 4 << true;
    QTest::newRow("restore over typed input: given up") << "restoredata" << true << QList<int>{1, 1, 1} << 2 << true;
    QTest::newRow("emptying cancelled: nothing asked") << "cleancahier" << true << QList<int>{2} << 4 << false;
}

void tst_backup::openWindowsReadTheirBooksAgain() {
    QFETCH(QString, command);
    QFETCH(bool, typed);
    QFETCH(QList<int>, answers);
    QFETCH(int, themes);
    QFETCH(bool, asked);
    seed(2);
    store::makeBackup("backup", "手动备份", store::dataFiles());
    seed(2);
    frmmain m;
    m.show();
    m.findChild<QAction*>("cahier")->trigger();
    QPointer<QWidget> shown = m.child(WindowId::Frmcahier);
    QCOMPARE(shown->findChild<QComboBox*>("Combo1")->count(), 4);
    if (typed) {
        testkit::clickTool(shown, ThemeBook::Add);
        auto* content = shown->findChild<QPlainTextEdit*>("txtcontent");
        content->setFocus();
        testkit::type(content, "未保存的内容");
    }
    answerRestore(0, {store::kMinutesFile});
    m_messages->answers = answers.toVector();
    m.findChild<QAction*>(command)->trigger();
    testkit::settle();
    QCOMPARE(m_messages->texts().contains("《会议记录》中输入的内容还没有保存。放弃这些内容吗？"), asked);
    QWidget* now = m.child(WindowId::Frmcahier);
    QVERIFY(now);
    QCOMPARE(now->findChild<QComboBox*>("Combo1")->count(), themes);
    const bool kept = typed && themes == 4;
    QCOMPARE(now == shown, kept);
    if (kept) QCOMPARE(now->findChild<QPlainTextEdit*>("txtcontent")->toPlainText(), QString("未保存的内容"));
}

// "打开数据文件夹" shows the working folder, where the data files and backup/ are, in the file manager.
void tst_backup::openDataFolder() {
    Opened opened;
    QDesktopServices::setUrlHandler("file", &opened, "open");
    frmmain m;
    m.findChild<QAction*>("opendatafolder")->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QDir::currentPath())});
    QVERIFY(m_messages->all.isEmpty());
}

// A crash in the middle of a save left a hot journal beside the minutes: each command opens the
// book read-write first, so the engine rolls the unfinished change back, and then runs; the copy
// it makes holds the rolled-back (whole) content.
void tst_backup::hotJournalNeverBlocks_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("done");  // how its message begins
    QTest::addColumn<QString>("label"); // of the folder holding the copy
    QTest::newRow("备份数据") << "backupdata"
                              << "数据已经备份到"
                              << "手动备份";
    QTest::newRow("恢复数据 of the minutes") << "restoredata"
                                             << "已经恢复：会议记录。"
                                             << "恢复数据前";
    QTest::newRow("清空会议记录") << "cleancahier"
                                  << "会议记录已经清空"
                                  << "清空会议记录前";
    QTest::newRow("the snapshot before an import") << "import"
                                                   << ""
                                                   << "导入旧数据前";
}

void tst_backup::hotJournalNeverBlocks() {
    QFETCH(QString, command);
    QFETCH(QString, done);
    QFETCH(QString, label);
    testkit::exec(store::kMinutesFile,
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<300) "
                  "insert into tabcahier (theme, content) select 't'||i, hex(randomblob(200)) from n");
    if (command == "restoredata") store::makeBackup("backup", "手动备份", {store::kMinutesFile});
    const QString whole = testkit::content(store::kMinutesFile);
    testkit::leaveHotJournal(store::kMinutesFile, "delete from tabcahier");
    frmmain m;
    if (command == "import") {
        const store::ImportBook book{"old.dat",
                                     store::kMinutesFile,
                                     "会议记录",
                                     {{"tabcahier", {{"导入的会议", "1", "2", "3", "4", "5", "6", "7", "8"}}}},
                                     {}};
        store::importRows(book, store::ImportMode::Add, admin::snapshotBefore(label));
    } else {
        answerRestore(0, {store::kMinutesFile});
        m.findChild<QAction*>(command)->trigger();
        QVERIFY2(m_messages->last().startsWith(done), qPrintable(m_messages->texts().join(" | ")));
    }
    const QStringList copies = QDir("backup").entryList({"*_" + label}, QDir::Dirs);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(testkit::content("backup/" + copies.first() + "/cahier.dat"), whole);
    QVERIFY(!QFile::exists(store::kMinutesFile + "-journal"));
}

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
