// The store: literals, file tests, the database files and the cursor over their rows.
#include "testkit.h"

#include <store/catalogue.h>
#include <store/filecopy.h>
#include <store/layout.h>
#include <store/statements.h>

#include <QtTest>

using namespace store;

class tst_store : public QObject {
    Q_OBJECT
private slots:
    void sqlQuote_data();
    void sqlQuote();
    void quotedValuesRoundTrip();
    void fileExists();
    void missingFileIsAnErrorAndStaysMissing();
    void chineseTableAndColumnNames();
    void cursorAtBothEnds();
    void nullReadsAsEmptyText();
    void deleteStarEmptiesTheTable();
    void nulCharacterIsRefused();
    void engineErrorsNameTheFile();
    void layoutKeepsExistingFiles();
    void layoutCreatesEveryTable();
    void replaceWithCopy();
    void replaceWithCopyFailsWithoutTouchingTarget();
    void staleJournalNeverMeetsTheNewFile();
    void statementsAsDesigned();
};

void tst_store::sqlQuote_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("empty") << ""
                           << "''";
    QTest::newRow("lone apostrophe") << "'"
                                     << "''''";
    QTest::newRow("between letters") << "O'Neil"
                                     << "'O''Neil'";
    QTest::newRow("two in a row") << "''"
                                  << "''''''";
    QTest::newRow("none") << "张伟"
                          << "'张伟'";
    QTest::newRow("at both ends") << "'a'"
                                  << "'''a'''";
}

void tst_store::sqlQuote() {
    QFETCH(QString, value);
    QFETCH(QString, literal);
    const QString before = value;
    QCOMPARE(SqlQuote(value), literal);
    QCOMPARE(value, before);
}

// Whatever a value holds, the literal brings it back unchanged and runs nothing else.
void tst_store::quotedValuesRoundTrip() {
    testkit::Folder folder;
    const QStringList values{
        "'); drop table tabaddlist; --", "' or '1'='1", "a\\b%_\"c", "😀ｆｕｌｌ１２", "  ", "x\ny"};
    Database db(kRosterFile);
    for (const QString& v : values) db.execute("insert into tabonduty values (" + SqlQuote(v) + ",'','')");
    const RecordSet rs = db.openRecordset("select * from tabonduty");
    QCOMPARE(rs.recordCount(), values.size());
    for (int i = 0; i < values.size(); ++i) QCOMPARE(rs.rows().at(i).at(0), values.at(i));
    QCOMPARE(db.openRecordset("select * from tabaddlist").recordCount(), 0);
}

void tst_store::fileExists() {
    testkit::Folder folder;
    QVERIFY(FileExists("uinfo.dat"));
    QVERIFY(FileExists("cahier._"));
    QVERIFY(!FileExists("database"));
    QVERIFY(!FileExists("nothing.dat"));
    QVERIFY(!FileExists("Z:/no/such/drive/file.dat"));
    QVERIFY(!FileExists(""));
}

void tst_store::missingFileIsAnErrorAndStaysMissing() {
    testkit::Folder folder;
    QFile::remove(kMinutesFile);
    try {
        Database db(kMinutesFile);
        QFAIL("opened a missing file");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), Error::Missing);
        QVERIFY(e.describe().contains("database/cahier.dat"));
        QVERIFY(e.describe().contains("找不到"));
    }
    QVERIFY(!QFile::exists(kMinutesFile));
}

void tst_store::chineseTableAndColumnNames() {
    testkit::Folder folder;
    Database db(kAttendanceFile);
    db.execute(
        QString::fromUtf8("insert into tabkaoqin values ('12-07-2026','星期一','张伟','缺席','语文','2','第一节')"));
    const RecordSet rs = db.openRecordset(QString::fromUtf8("select * from tabkaoqin where 姓名='张伟'"));
    QCOMPARE(rs.columns(), QStringList({"日期", "星期", "姓名", "考勤类别", "科目", "节数", "节次"}));
    QCOMPARE(rs.recordCount(), 1);
    QCOMPARE(rs.fields(1), QString("星期一"));
}

void tst_store::cursorAtBothEnds() {
    RecordSet rs({"a"}, {{"1"}, {"2"}, {"3"}}, {10, 20, 30});
    QVERIFY(!rs.bof() && !rs.eof());
    QCOMPARE(rs.fields(0), QString("1"));
    rs.movePrevious();
    QVERIFY(rs.bof());
    QCOMPARE(rs.fields(0), QString());
    rs.movePrevious(); // stays before the first row
    rs.moveNext();
    QCOMPARE(rs.rowid(), 10);
    rs.moveLast();
    rs.moveNext();
    QVERIFY(rs.eof());
    rs.moveNext();
    rs.movePrevious();
    QCOMPARE(rs.fields(0), QString("3"));
    RecordSet empty({"a"}, {});
    QVERIFY(empty.bof() && empty.eof());
    empty.moveFirst();
    QVERIFY(empty.bof() && empty.eof());
    QCOMPARE(empty.rowid(), -1);
}

void tst_store::nullReadsAsEmptyText() {
    testkit::Folder folder;
    testkit::exec(kRosterFile, "insert into tabaddlist (name) values ('无名')");
    Database db(kRosterFile);
    RecordSet rs = db.openRecordsetWithRowids("select * from tabaddlist");
    QCOMPARE(rs.fields(0), QString("无名"));
    QVERIFY(rs.fields(1).isEmpty());
    QVERIFY(rs.rowid() > 0);
}

void tst_store::deleteStarEmptiesTheTable() {
    testkit::Folder folder;
    testkit::exec(kRosterFile, "insert into tabonduty values ('1','a','b')");
    testkit::exec(kRosterFile, "insert into tabonduty values ('2','c','d')");
    Database db(kRosterFile);
    QCOMPARE(db.execute("delete * from tabonduty"), 2);
    QCOMPARE(db.openRecordset("select * from tabonduty").recordCount(), 0);
}

void tst_store::nulCharacterIsRefused() {
    testkit::Folder folder;
    Database db(kRosterFile);
    const QString value = QString("a") + QChar(0) + "b";
    try {
        db.execute("insert into tabonduty values (" + SqlQuote(value) + ",'','')");
        QFAIL("stored a NUL");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), Error::Unstorable);
    }
    QCOMPARE(testkit::rows(kRosterFile, "select count(*) from tabonduty").at(0).at(0), QString("0"));
}

void tst_store::engineErrorsNameTheFile() {
    testkit::Folder folder;
    testkit::exec(kMinutesFile, "drop table tabcahier");
    try {
        Database db(kMinutesFile);
        db.openRecordset("select * from tabcahier");
        QFAIL("read a missing table");
    } catch (const Error& e) {
        QCOMPARE(e.kind(), Error::Engine);
        QVERIFY(e.describe().contains("database/cahier.dat"));
        QVERIFY(e.describe().contains("缺少所需的数据表"));
        QCOMPARE(e.statement(), QString("select * from tabcahier"));
    }
    QFile garbage(kEventsFile);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    try {
        Database db(kEventsFile);
        db.openRecordset("select * from tabnote");
        QFAIL("read a file that is no database");
    } catch (const Error& e) {
        QVERIFY(e.describe().contains("已经损坏"));
    }
}

void tst_store::layoutKeepsExistingFiles() {
    testkit::Folder folder;
    testkit::exec(kRosterFile, "insert into tabaddlist values ('张伟','男','1','2','3','4','5','6','7')");
    QHash<QString, QByteArray> before;
    const QStringList files{kUserFile,       kRosterFile,      kMinutesFile,    kEventsFile,
                            kAttendanceFile, kMinutesTemplate, kEventsTemplate, kAttendanceTemplate};
    for (const QString& f : files) {
        QFile file(f);
        QVERIFY(file.open(QIODevice::ReadOnly));
        before[f] = file.readAll();
    }
    QFile::remove(kEventsFile);
    QCOMPARE(LayOutDataFiles(folder.path()), QStringList{kEventsFile});
    for (const QString& f : files) {
        if (f == kEventsFile) continue;
        QFile file(f);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before[f]);
    }
    QCOMPARE(testkit::rows(kRosterFile, "select name from tabaddlist").size(), 1);
}

void tst_store::layoutCreatesEveryTable() {
    testkit::Folder folder;
    QCOMPARE(testkit::rows(kUserFile, "select * from tabel1"), QVector<QStringList>({{"admin", "admin"}}));
    QCOMPARE(Database(kUserFile).columns("tabel2"), QStringList({"schoolname", "phone", "address", "email"}));
    QCOMPARE(Database(kRosterFile).columns("tabaddlist").size(), 9);
    QVERIFY(Database(kRosterFile).columns("tabonduty").size() >= 3);
    QCOMPARE(Database(kMinutesTemplate).columns("tabcahier").first(), QString("theme"));
    QCOMPARE(Database(kEventsFile).columns("tabnote").size(), 5);
    for (const char* t : {"tabaddsort", "tabaddsubject", "tabaddnumber"})
        QCOMPARE(Database(kAttendanceTemplate).columns(t).size(), 1);
    QCOMPARE(testkit::rows(kAttendanceFile, "pragma integrity_check").at(0).at(0), QString("ok"));
}

void tst_store::replaceWithCopy() {
    testkit::Folder folder;
    testkit::exec(kMinutesFile, "insert into tabcahier (theme) values ('周例会')");
    ReplaceWithCopy(kMinutesTemplate, kMinutesFile);
    QCOMPARE(testkit::rows(kMinutesFile, "select count(*) from tabcahier").at(0).at(0), QString("0"));
    QFile a(kMinutesTemplate), b(kMinutesFile);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
    QVERIFY(!QFile::exists(QString(kMinutesFile) + ".copy"));
}

void tst_store::replaceWithCopyFailsWithoutTouchingTarget() {
    testkit::Folder folder;
    testkit::exec(kMinutesFile, "insert into tabcahier (theme) values ('周例会')");
    QFile::remove(kMinutesTemplate);
    QVERIFY_THROWS_EXCEPTION(Error, ReplaceWithCopy(kMinutesTemplate, kMinutesFile));
    QCOMPARE(testkit::rows(kMinutesFile, "select theme from tabcahier").size(), 1);
}

// A journal left by a crash of the old file must not be rolled back into the new one.
void tst_store::staleJournalNeverMeetsTheNewFile() {
    testkit::Folder folder;
    QFile journal(QString(kAttendanceFile) + "-journal");
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(2048, '\x5a'));
    journal.close();
    ReplaceWithCopy(kAttendanceTemplate, kAttendanceFile);
    QVERIFY(!QFile::exists(QString(kAttendanceFile) + "-journal"));
    QCOMPARE(testkit::rows(kAttendanceFile, "pragma integrity_check").at(0).at(0), QString("ok"));
}

void tst_store::statementsAsDesigned() {
    const QStringList nine{"O'Neil", "男", "无", "无", "无", "无", "无", "无", "无"};
    QCOMPARE(sql::addressInsert(nine),
             QString("insert into tabaddlist values ('O''Neil','男','无','无','无','无','无','无','无')"));
    QVERIFY(sql::addressUpdate(nine, 7).endsWith("remark='无'where rowid=7"));
    QVERIFY(sql::addressUpdate(nine, 7).startsWith("update tabaddlist set name='O''Neil',sex='男',mphone="));
    QCOMPARE(sql::addressCondition("张伟", "", "6666", "", "", "", ""), QString("phone='6666'"));
    QCOMPARE(sql::addressCondition("", "", "", "", "", "", ""), QString());
    QCOMPARE(sql::themePick("tabcahier", "O'Brien's talk"),
             QString("select * from tabcahier where theme ='O''Brien''s talk'"));
    QCOMPARE(sql::themeDeleteByTheme("tabnote", "a"), QString("delete from tabnote where theme='a'"));
    QCOMPARE(sql::lookupInsert("tabaddsort", "迟到"), QString("insert into tabaddsort values('迟到')"));
    QCOMPARE(sql::attendanceQuery("O'Neil"), QString("select * from tabkaoqin where 姓名='O''Neil'"));
    QCOMPARE(sql::schoolUpdate("St John's", "1", "", "e"),
             QString("update tabel2 set schoolname ='St John''s', phone='1', address='', email='e'"));
    QCOMPARE(sql::rotaUpdate({"周次", "值\"周"}, {"第1周", "O'Neil"}, 3),
             QString("update tabonduty set \"周次\"='第1周',\"值\"\"周\"='O''Neil' where rowid=3"));
    QCOMPARE(sql::schoolInsert("a", "b", "c", "d"), QString("insert into tabel2 values ('a','b','c','d')"));
}

QTEST_MAIN(tst_store)
#include "tst_store.moc"
