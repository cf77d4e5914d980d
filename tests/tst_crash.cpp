// Programs killed at random moments lose nothing they reported saved and leave whole files.
// LUMNO_CRASH_ROUNDS sets the number of kills of each loop (default 100 and 40).
#include "testkit.h"

#include <admin/backups.h>
#include <admin/emptying.h>
#include <admin/frmrestore.h>
#include <books/frmaddlist.h>
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/refill.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

int rounds(int fallback) {
    const int n = qEnvironmentVariableIntValue("LUMNO_CRASH_ROUNDS");
    return n > 0 ? n : fallback;
}

// Starts the writer, lets it run for a random moment, kills it (SIGKILL, or TerminateProcess on
// Windows: no chance to clean up), returns what it printed. afterFirstReport: the moment is counted
// from its first report, so that a slow start on a loaded machine never uses up the whole moment.
QStringList runAndKill(const QStringList& args, int minMs, int maxMs, bool afterFirstReport = false) {
    QProcess p;
    testkit::startWriter(p, args);
    if (!p.waitForStarted()) qFatal("cannot start the writer");
    if (afterFirstReport) p.waitForReadyRead(60000);
    QThread::msleep(QRandomGenerator::global()->bounded(minMs, maxMs));
    p.kill();
    p.waitForFinished();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QStringList lines = out.split('\n');
    lines.removeLast(); // the text after the last line break was never a whole report
    return lines;
}

} // namespace

class tst_crash : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSaving();
    void killedWhileEmptying();
    void savesRacingEmptying();
    void snapshotsRacingSaves_data();
    void snapshotsRacingSaves();
    void killedWhileBackingUp();
    void twoCopiesOnOneFolder();
};

void tst_crash::killedWhileSaving() {
    testkit::Folder folder;
    int acknowledged = 0;
    const int n = rounds(100);
    for (int round = 0; round < n; ++round) {
        const QStringList saved = runAndKill({"save", folder.path(), QString("r%1").arg(round)}, 5, 120, true);
        QCOMPARE(testkit::integrity(store::kMinutesFile), QString("ok"));
        QSet<QString> stored;
        for (const QStringList& row : testkit::rows(store::kMinutesFile, "select theme from tabcahier"))
            stored << row[0];
        for (const QString& theme : saved) QVERIFY2(stored.contains(theme), qPrintable(theme + " was reported saved"));
        acknowledged += saved.size();
    }
    qInfo("%d kills, %d saves reported and all of them found", n, acknowledged);
    QVERIFY(acknowledged > 0);
}

void tst_crash::killedWhileEmptying() {
    testkit::Folder folder;
    // A: a minutes file with rows; B: the empty template.
    testkit::exec(store::kMinutesFile,
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<400) "
                  "insert into tabcahier (theme, content) select 't'||i, hex(randomblob(200)) from n");
    QVERIFY(QFile::copy(store::kMinutesFile, "full.dat"));
    const int n = rounds(40);
    int whole[2] = {0, 0};
    for (int round = 0; round < n; ++round) {
        runAndKill({"empty", folder.path(), "full.dat", store::kMinutesTemplate}, 5, 80);
        // Opening rolls back what the killed emptying left half done.
        const QString count = testkit::rows(store::kMinutesFile, "select count(*) from tabcahier").at(0).at(0);
        QVERIFY2(count == "400" || count == "0", qPrintable("the book holds " + count + " rows"));
        ++whole[count == "400" ? 0 : 1];
        QCOMPARE(testkit::integrity(store::kMinutesFile), QString("ok"));
    }
    qInfo("%d kills: %d times the full book, %d times the empty one", n, whole[0], whole[1]);
}

// Another copy of the program saves while this one empties the book, again and again: every
// save lands wholly before an emptying (and is emptied) or after it (and stays), so the saves
// left in the book are exactly the last ones, without a gap.
void tst_crash::savesRacingEmptying() {
    testkit::Folder folder;
    QProcess writer;
    testkit::startWriter(writer, {"save", folder.path(), "r", "300", "200"});
    QVERIFY(writer.waitForStarted());
    int emptyings = 0;
    QByteArray out;
    // The writer waits after 200 saves; emptying stops once they were all reported, so the
    // last 100 saves come after the last emptying.
    while (out.count('\n') < 200) {
        QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        store::refillBook(store::kMinutesFile, store::kMinutesTemplate);
        ++emptyings;
        writer.waitForReadyRead(QRandomGenerator::global()->bounded(1, 15));
        out += writer.readAllStandardOutput();
    }
    writer.write("\n");
    QVERIFY(writer.waitForFinished(60000));
    QCOMPARE(writer.exitCode(), 0);
    out += writer.readAllStandardOutput();
    const QStringList reported = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(reported.size(), 300);
    QVector<int> left;
    for (const QStringList& row : testkit::rows(store::kMinutesFile, "select theme from tabcahier"))
        left << row[0].section(':', 1).toInt();
    std::sort(left.begin(), left.end());
    QVERIFY(!left.isEmpty());
    QCOMPARE(left.last(), 300); // the save after the last emptying is there
    for (int i = 1; i < left.size(); ++i) QCOMPARE(left[i], left[i - 1] + 1);
    QCOMPARE(testkit::integrity(store::kMinutesFile), QString("ok"));
    qInfo("%d emptyings raced 300 saves; the last %d saves are in the book", emptyings, int(left.size()));
}

// Another copy of the program saves minutes in a loop while this one restores them from a backup,
// or empties them, again and again through the menu: the snapshot and the change take one lock,
// so every save the other copy reported is in the book or in one of the snapshots.
void tst_crash::snapshotsRacingSaves_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("done");
    QTest::newRow("15 restores") << "restore"
                                 << "已经恢复：会议记录。";
    QTest::newRow("15 emptyings") << "empty"
                                  << "会议记录已经清空";
}

void tst_crash::snapshotsRacingSaves() {
    QFETCH(QString, command);
    QFETCH(QString, done);
    testkit::Folder folder;
    testkit::Messages messages;
    testkit::exec(store::kMinutesFile, "insert into tabcahier (theme) values ('backup:1'), ('backup:2')");
    const QString source = store::makeBackup("backup", "手动备份", {store::kMinutesFile});
    Frmrestore::setHook([&](Frmrestore& d) {
        const QVector<store::Backup> listed = store::findBackups("backup");
        for (int i = 0; i < listed.size(); ++i)
            if (listed[i].folder == source) d.choose(i);
        d.findChild<QCheckBox*>("chkbook_2")->setChecked(true);
        d.findChild<QPushButton*>("cmdok")->click();
        return d.result();
    });
    QProcess writer;
    testkit::startWriter(writer, {"save", folder.path(), "w"});
    QVERIFY(writer.waitForStarted());
    QVERIFY(writer.waitForReadyRead(30000)); // saving
    for (int i = 0; i < 15; ++i) {
        if (command == "restore")
            admin::restoredata_Click(nullptr);
        else
            admin::cleancahier_Click(nullptr);
        QVERIFY2(messages.last().startsWith(done), qPrintable(messages.last()));
        QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        writer.waitForReadyRead(QRandomGenerator::global()->bounded(1, 30));
    }
    Frmrestore::setHook({});
    writer.kill();
    writer.waitForFinished();
    QStringList reported = QString::fromUtf8(writer.readAllStandardOutput()).split('\n');
    reported.removeLast(); // the text after the last line break was never a whole report
    QSet<QString> kept;
    QStringList places{store::kMinutesFile};
    int snapshots = 0;
    for (const store::Backup& b : store::findBackups("backup")) {
        if (b.folder == source) continue;
        ++snapshots;
        places << b.folder + "/cahier.dat";
    }
    for (const QString& place : places)
        for (const QStringList& row : testkit::rows(place, "select theme from tabcahier")) kept << row[0];
    int lost = 0;
    for (const QString& theme : reported) lost += !kept.contains(theme);
    qInfo("%d saves reported during 15 %s; %d snapshots; %d lost", int(reported.size()), qPrintable(command), snapshots,
          lost);
    QCOMPARE(snapshots, 15);
    QVERIFY(!reported.isEmpty());
    QCOMPARE(lost, 0);
}

// Backups killed at random moments (5 ms to 1 s: some finish, some do not): every backup listed is whole (all five
// files, each usable); what a killed one left is never listed, and is removed by a later backup once it is old.
void tst_crash::killedWhileBackingUp() {
    testkit::Folder folder;
    testkit::exec(store::kMinutesFile,
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<500) "
                  "insert into tabcahier (theme, content) select 't'||i, hex(randomblob(200)) from n");
    const int n = rounds(20);
    for (int round = 0; round < n; ++round) runAndKill({"backup", folder.path(), "x"}, 5, 1000);
    const QVector<store::Backup> listed = store::findBackups("backup");
    for (const store::Backup& b : listed) {
        QCOMPARE(b.files.size(), store::dataFiles().size());
        for (const store::BackupFile& f : b.files) QVERIFY2(f.usable, qPrintable(f.path));
    }
    const QStringList unfinished = QDir("backup")
                                       .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)
                                       .filter(QRegularExpression("^\\..*\\.part$"));
    qInfo("%d kills: %d whole backups listed, %d unfinished folders ignored", n, int(listed.size()),
          int(unfinished.size()));
    // One left an hour ago is removed by the next backup.
    QVERIFY(QDir("backup").mkpath(".2020-01-01_000000_手动备份.part"));
    store::makeBackup("backup", "手动备份", store::dataFiles());
    QVERIFY(!QFileInfo::exists("backup/.2020-01-01_000000_手动备份.part"));
}

// A second copy of the program writes into the same folder while this one saves.
void tst_crash::twoCopiesOnOneFolder() {
    testkit::Folder folder;
    testkit::Messages messages;
    QProcess other;
    testkit::startWriter(other, {"roster", folder.path(), "other", "150"});
    QVERIFY(other.waitForStarted());
    Frmaddlist w;
    w.show();
    int saved = 0;
    for (int i = 0; i < 30; ++i) {
        testkit::clickTool(&w, Frmaddlist::Add);
        w.findChild<QLineEdit*>("txtname")->setText(QString("mine%1").arg(i));
        w.findChild<QLineEdit*>("txtsex")->setText("女");
        testkit::clickTool(&w, Frmaddlist::Save);
        saved += messages.last() == "内容已经保存";
    }
    QVERIFY(other.state() == QProcess::NotRunning || other.waitForFinished(30000));
    QCOMPARE(other.exitCode(), 0);
    QCOMPARE(saved, 30); // the busy timeout let every save wait for the other copy
    QCOMPARE(testkit::integrity(store::kRosterFile), QString("ok"));
    QCOMPARE(testkit::count(store::kRosterFile, "tabaddlist"), 180);
    // The other copy's saves appear in this one's next load.
    Frmaddlist again;
    testkit::clickTool(&again, Frmaddlist::Search);
    again.findChild<QLineEdit*>("txtname")->setText("other150");
    testkit::clickTool(&again, Frmaddlist::Search);
    QCOMPARE(again.findChild<QLabel*>("Label11")->text(), QString("共找到1位"));
}

QTEST_MAIN(tst_crash)
#include "tst_crash.moc"
