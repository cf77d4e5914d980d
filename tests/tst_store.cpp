// The store: literals, file tests, the database files and the cursor over their rows.
#include "testkit.h"

#include <store/catalogue.h>
#include <store/layout.h>
#include <store/openings.h>
#include <store/recycle.h>
#include <store/refill.h>
#include <store/search.h>
#include <store/statements.h>
#include <ui/errortext.h>

#include <QProcess>
#include <QRandomGenerator>
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
    void errorsSayWhatIsWrong_data();
    void errorsSayWhatIsWrong();
    void everyConnectionSyncsItsCommits();
    void shareFolderIsAPathNotAHost();
    void layoutKeepsExistingFiles();
    void layoutCreatesEveryTable();
    void refillBook_data();
    void refillBook();
    void statementsAsDesigned();
    void recycleBin_data();
    void recycleBin();
    void findReadsEverySlice_data();
    void findReadsEverySlice();
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
        QVERIFY(ui::describe(e).contains(testkit::shown(kMinutesFile)));
        QVERIFY(ui::describe(e).contains("找不到"));
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
    testkit::exec(kRosterFile, "insert into tabaddlist (name, sex) values ('无名', '')");
    Database db(kRosterFile);
    RecordSet rs = db.openTableWithRowids("tabaddlist");
    QCOMPARE(rs.fields(0), QString("无名"));
    QVERIFY(rs.fields(2).isEmpty());
    // A NULL and an empty text read alike on screen, and stay apart for the writes that find
    // the record again.
    QVERIFY(rs.fields(2).isNull());
    QVERIFY(!rs.fields(1).isNull());
    QVERIFY(rs.rowid() > 0);
    QCOMPARE(db.execute("delete from tabaddlist where " + rs.current().condition()), 1);
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
    QCOMPARE(testkit::count(kRosterFile, "tabonduty"), 0);
}

// Each way a file can be wrong gets its own true sentence, naming the file by its absolute path in
// the system's separators (FILE below).
void tst_store::errorsSayWhatIsWrong_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("table missing") << "table missing"
                                   << "数据文件“FILE”中缺少数据表“tabnote”";
    QTest::newRow("not a database") << "garbage"
                                    << "已经损坏，或不是本软件的数据文件";
    QTest::newRow("folder in the file's place") << "folder"
                                                << "是一个文件夹或其他特殊文件，不是数据文件";
    QTest::newRow("pipe as the journal") << "fifo journal"
                                         << "旁边的“FILE-journal”不是普通文件";
    QTest::newRow("read-only file") << "read-only file"
                                    << "数据文件“FILE”是只读的，无法写入";
    QTest::newRow("folder not writable") << "read-only folder"
                                         << "所在的文件夹不能写入";
    QTest::newRow("disk full") << "disk full"
                               << "磁盘已满";
}

void tst_store::errorsSayWhatIsWrong() {
    QFETCH(QString, fault);
    QFETCH(QString, sentence);
    testkit::Folder folder;
    QString file = kEventsFile;
    QString undo;
    if (fault == "table missing") {
        testkit::exec(file, "drop table tabnote");
    } else if (fault == "garbage") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (fault == "folder") {
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
    } else if (fault == "fifo journal") {
#ifdef Q_OS_UNIX
        QCOMPARE(QProcess::execute("mkfifo", {file + "-journal"}), 0); // the engine would wait on it for ever
#else
        QSKIP("pipes in a folder are a Unix thing");
#endif
    } else if (fault == "read-only file") {
        if (const QString why = testkit::setReadOnly(file, true); !why.isEmpty()) QSKIP(qPrintable(why));
        undo = file;
    } else if (fault == "read-only folder") {
        if (const QString why = testkit::setReadOnly("database", true); !why.isEmpty()) QSKIP(qPrintable(why));
        undo = "database";
    } else if (fault == "disk full") {
        // A small file system of its own, filled up.
        QDir().mkdir("small");
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=96k", "tmpfs", "small"}) != 0)
            QSKIP("a small file system cannot be mounted here (needs root)");
        QFile::copy(file, "small/snote.dat");
        file = "small/snote.dat";
        QFile filler("small/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
        }
    }
    QString shown;
    try {
        Database db(file);
        db.execute("insert into tabnote values ('运动会','5月','张','" + QString(20000, QChar(0x5185)) + "','x')");
        QFAIL("the faulty file took the write");
    } catch (const Error& e) {
        shown = ui::describe(e);
    }
    if (!undo.isEmpty()) testkit::setReadOnly(undo, false);
    if (fault == "disk full") QProcess::execute("umount", {"small"});
    const QString path = testkit::shown(file);
    QVERIFY2(shown.contains(sentence.replace("FILE", path)), qPrintable(shown));
    QVERIFY2(shown.contains(path), qPrintable(shown));
}

void tst_store::everyConnectionSyncsItsCommits() {
    testkit::Folder folder;
    // synchronous=EXTRA (3): the folder is synced after the journal's deletion, the commit.
    QCOMPARE(Database(kMinutesFile).openRecordset("pragma synchronous").fields(0), QString("3"));
    QCOMPARE(Database(kUserFile, Database::ReadOnly).openRecordset("pragma synchronous").fields(0), QString("3"));
    QCOMPARE(OpenRosterDatabase()->openRecordset("pragma synchronous").fields(0), QString("3"));
}

// A program folder on a network share (\\server\share\...) names a path, never a host.
void tst_store::shareFolderIsAPathNotAHost() {
    QCOMPARE(sqliteUri("//server/share/学校 #1/uinfo.dat"),
             QString("file:////server/share/%E5%AD%A6%E6%A0%A1%20%231/uinfo.dat"));
#ifdef Q_OS_WIN
    QCOMPARE(sqliteUri("C:\\Lumno\\uinfo.dat"), QString("file:///C:/Lumno/uinfo.dat"));
    QCOMPARE(sqliteUri("\\\\server\\share\\uinfo.dat"), QString("file:////server/share/uinfo.dat"));
#else
    // Here a path that begins with "//" is a local path: the engine takes the URI.
    testkit::Folder folder;
    QCOMPARE(Database("/" + folder.path(kUserFile)).openRecordset("select count(*) from tabel1").fields(0),
             QString("1"));
#endif
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
    QCOMPARE(layOutDataFiles(folder.path()), QStringList{kEventsFile});
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
    QCOMPARE(testkit::integrity(kAttendanceFile), QString("ok"));
}

// Emptying copies the template's records into the book through the engine: the book's tables
// then hold the template's rows, and nothing of the template's schema comes along (its own extra
// table stays, no trigger or view is made), or it is refused and stays as it was.
void tst_store::refillBook_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("refusal"); // empty: the book is emptied
    QTest::newRow("ordinary") << "ordinary"
                              << "";
    QTest::newRow("hot journal of the old content") << "hot journal"
                                                    << "";
    QTest::newRow("hot journal, folder not writable") << "hot journal, read-only folder"
                                                      << "read-only";
    QTest::newRow("book read-only") << "read-only book"
                                    << "read-only";
    QTest::newRow("book damaged beyond reading") << "damaged book"
                                                 << "";
    QTest::newRow("book missing") << "missing book"
                                  << "";
    QTest::newRow("template empty") << "empty template" << Error::kSourceEmpty;
    QTest::newRow("template random bytes") << "garbage template" << Error::kSourceDamaged;
    QTest::newRow("template lacks a table") << "incomplete template"
                                            << "tabaddnumber";
    QTest::newRow("template lacks a column") << "template lacking a column"
                                             << "tabkaoqin.节次";
    QTest::newRow("template has a view in the table's place") << "template with a view"
                                                              << "tabaddsort:view";
    QTest::newRow("template carries a trigger, a view, another table") << "template with a trigger"
                                                                       << "";
}

void tst_store::refillBook() {
    QFETCH(QString, situation);
    QFETCH(QString, refusal);
    testkit::Folder folder;
    const QString book = kAttendanceFile, templ = kAttendanceTemplate;
    testkit::exec(book,
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<300) insert into "
                  "tabkaoqin select '12-07-2026','星期一','张伟'||i,'缺席','语文','1',hex(randomblob(80)) from n");
    testkit::exec(book, "insert into tabaddsubject values ('书法')");
    testkit::exec(book, "create table extra (x text)"); // not the template's: it goes too
    const QString full = testkit::content(book), empty = testkit::content(templ);
    QString undo;
    if (situation.startsWith("hot journal")) testkit::leaveHotJournal(book, "delete from tabkaoqin");
    const QByteArray before = testkit::bytes(book), journal = testkit::bytes(book + "-journal");
    if (situation == "hot journal, read-only folder") {
        if (const QString why = testkit::setReadOnly("database", true); !why.isEmpty()) QSKIP(qPrintable(why));
        undo = "database";
    } else if (situation == "read-only book") {
        if (const QString why = testkit::setReadOnly(book, true); !why.isEmpty()) QSKIP(qPrintable(why));
        undo = book;
    } else if (situation == "damaged book") {
        QFile f(book);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'z'));
    } else if (situation == "missing book") {
        QFile::remove(book);
    } else if (situation == "empty template") {
        QFile(templ).resize(0);
    } else if (situation == "garbage template") {
        QFile f(templ);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (int i = 0; i < 4096; ++i) f.putChar(char(QRandomGenerator::global()->bounded(256)));
    } else if (situation == "incomplete template") {
        testkit::exec(templ, "drop table tabaddnumber");
    } else if (situation == "template lacking a column") {
        testkit::exec(templ, "alter table tabkaoqin drop column 节次");
    } else if (situation == "template with a view") {
        testkit::exec(templ, "drop table tabaddsort");
        testkit::exec(templ, "create view tabaddsort as select 1 as 考勤类别");
    } else if (situation == "template with a trigger") {
        // Each would empty the book again at the next save, or show rows that are not there.
        testkit::exec(
            templ,
            "create trigger wipe after insert on tabkaoqin begin delete from tabkaoqin where rowid <> new.rowid; end");
        testkit::exec(templ, "create view v as select * from tabkaoqin");
        testkit::exec(templ, "create table more (y text)");
    }
    const QByteArray damaged = testkit::bytes(book), templateBytes = testkit::bytes(templ);

    QString kept, failure;
    try {
        kept = store::refillBook(book, templ);
    } catch (const Error& e) {
        failure = e.kind() == Error::BadSource ? e.detail() : ui::describe(e) + QString(" [%1]").arg(e.code());
        QVERIFY2(!refusal.isEmpty(), qPrintable(ui::describe(e)));
        if (e.kind() == Error::BadSource) QCOMPARE(e.file(), templ);
    }
    if (!undo.isEmpty()) testkit::setReadOnly(undo, false);
    QCOMPARE(testkit::bytes(templ), templateBytes); // the template itself is never changed
    if (!refusal.isEmpty()) {
        if (refusal == "read-only")
            QVERIFY2(failure.contains("不能写入") || failure.contains("只读"), qPrintable(failure));
        else
            QCOMPARE(failure, refusal);
        if (journal.isEmpty()) QCOMPARE(testkit::bytes(book), before);
        QCOMPARE(testkit::bytes(book + "-journal"), journal); // a hot journal is never thrown away
        QCOMPARE(testkit::content(book), full);               // ... and rolls the old content back
        return;
    }
    // The book's own extra table stays, unless the book was made anew.
    const bool madeAnew = situation == "damaged book" || situation == "missing book";
    // (Only the records came along: no trigger, view or other table of the template.)
    QCOMPARE(testkit::rows(book, "select count(*) from sqlite_master where type in ('trigger', 'view')").at(0).at(0),
             QString("0"));
    QCOMPARE(testkit::content(book), (madeAnew ? QString() : QString("extra\nCREATE TABLE extra (x text)\n")) + empty);
    QVERIFY(!QFile::exists(book + "-journal"));
    QCOMPARE(testkit::integrity(book), QString("ok"));
    if (situation == "damaged book") {
        QVERIFY(kept.startsWith(book + ".损坏-"));
        QCOMPARE(testkit::bytes(kept), damaged);
    } else {
        QVERIFY(kept.isEmpty());
    }
}

void tst_store::statementsAsDesigned() {
    const QStringList nine{"O'Neil", "男", "无", "无", "无", "无", "无", "无", "无"};
    QCOMPARE(store::addressInsert(nine),
             QString("insert into tabaddlist values ('O''Neil','男','无','无','无','无','无','无','无')"));
    const QString record = store::sameRecord({"name", "remark"}, {"O'Neil", QString()}, 7);
    QCOMPARE(record, QString("rowid=7 and cast(\"name\" as text) is 'O''Neil' and \"remark\" is null"));
    QVERIFY(store::addressUpdate(nine, record).endsWith("remark='无'where " + record));
    QVERIFY(store::addressUpdate(nine, record).startsWith("update tabaddlist set name='O''Neil',sex='男',mphone="));
    QCOMPARE(store::addressCondition("张伟", "", "6666", "", "", "", ""), QString("phone='6666'"));
    QCOMPARE(store::addressCondition("", "", "", "", "", "", ""), QString());
    QCOMPARE(store::themePick("tabcahier", "O'Brien's talk"),
             QString("select * from tabcahier where theme ='O''Brien''s talk'"));
    QCOMPARE(store::themeDeleteByTheme("tabnote", "a"), QString("delete from tabnote where theme='a'"));
    QCOMPARE(store::lookupInsert("tabaddsort", "迟到"), QString("insert into tabaddsort values('迟到')"));
    QCOMPARE(store::attendanceQuery("O'Neil"), QString("select * from tabkaoqin where 姓名='O''Neil'"));
    QCOMPARE(store::schoolUpdate("St John's", "1", "", "e"),
             QString("update tabel2 set schoolname ='St John''s', phone='1', address='', email='e'"));
    QCOMPARE(store::rotaUpdate({"周次", "值\"周"}, {"第1周", "O'Neil"}, "rowid=3"),
             QString("update tabonduty set \"周次\"='第1周',\"值\"\"周\"='O''Neil' where rowid=3"));
    QCOMPARE(store::schoolInsert("a", "b", "c", "d"), QString("insert into tabel2 values ('a','b','c','d')"));
    // The whole-table texts the windows and the emptying run.
    QCOMPARE(store::addressDeleteAll(), QString("delete * from tabaddlist"));
    QCOMPARE(store::rotaDeleteAll(), QString("delete * from tabonduty"));
    QCOMPARE(store::themeList("tabnote"), QString("select rowid, theme from tabnote"));
    QCOMPARE(store::attendanceAll(), QString("select * from tabkaoqin"));
    QCOMPARE(store::lookupAll("tabaddsubject"), QString("select * from tabaddsubject"));
    QCOMPARE(store::schoolSelect(), QString("select * from tabel2"));
}

// The bin as the set-up finds it, and a record restored into a book emptied since its delete.
void tst_store::recycleBin_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("kept"); // the old bin kept under a dated name
    QTest::newRow("sound bin left alone") << "sound" << false;
    QTest::newRow("damaged bin kept and renewed") << "damaged" << true;
    QTest::newRow("bin without its table") << "no table" << false;
    QTest::newRow("read-only bin refuses the delete") << "read-only" << false;
    QTest::newRow("restored into an emptied book") << "emptied" << false;
}

void tst_store::recycleBin() {
    QFETCH(QString, situation);
    QFETCH(bool, kept);
    testkit::Folder folder;
    testkit::exec(kMinutesFile, "insert into tabcahier (theme, place) values ('周例会', '')");
    if (situation == "read-only" || situation == "emptied") {
        if (situation == "read-only") {
            if (const QString why = testkit::setReadOnly(kRecycleFile, true); !why.isEmpty()) QSKIP(qPrintable(why));
        }
        const QByteArray book = testkit::bytes(kMinutesFile);
        try {
            Database db(kMinutesFile);
            QCOMPARE(deleteKeeping(db, themeDeleteByTheme("tabcahier", "周例会")), 1);
            QVERIFY(situation == "emptied");
        } catch (const Error& e) {
            testkit::setReadOnly(kRecycleFile, false);
            QCOMPARE(e.file(), kRecycleFile);
            QVERIFY(ui::describe(e).contains("回收站不能使用时，不删除任何记录"));
            QCOMPARE(testkit::bytes(kMinutesFile), book);
            return;
        }
        store::refillBook(kMinutesFile, kMinutesTemplate);
        QCOMPARE(restoreRecycled({recycledRecords().first().id}).value("tabcahier"), 1);
        QCOMPARE(testkit::records(kMinutesFile, "tabcahier").size(), 1);
        QCOMPARE(testkit::records(kMinutesFile, "tabcahier").first().mid(0, 3),
                 QStringList({"'周例会'", "NULL", "''"}));
        return;
    }
    const QByteArray garbage(4096, 'z');
    if (situation == "damaged") {
        QFile f(kRecycleFile);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(garbage);
    } else if (situation == "no table") {
        testkit::exec(kRecycleFile, "drop table tabrecycle");
    }
    const QByteArray before = testkit::bytes(kRecycleFile);
    const QString made = renewDamagedBin(folder.path());
    QCOMPARE(!made.isEmpty(), kept);
    if (situation == "sound") QCOMPARE(testkit::bytes(kRecycleFile), before);
    if (kept) {
        QVERIFY(made.contains("recycle.dat.损坏-"));
        QCOMPARE(testkit::bytes(made), garbage);
    }
    // The bin takes deleted records again.
    Database db(kMinutesFile);
    QCOMPARE(deleteKeeping(db, themeDeleteByTheme("tabcahier", "周例会")), 1);
    QCOMPARE(testkit::binCount(), 1);
}

// A search reads a table in slices of rowids: records at any rowid (gaps of any size, negative and
// the largest rowids) are found once each, in rowid order, the limit and the stop are kept.
void tst_store::findReadsEverySlice_data() {
    QTest::addColumn<QString>("rowids"); // of the records holding the text, beside 12,000 that do not
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("stopAfter"); // slices read before stop answers true; -1 never
    QTest::addColumn<int>("found");
    QTest::addColumn<bool>("cut");
    QTest::newRow("dense, in three slices") << "1,5000,5001,11999" << 500 << -1 << 4 << false;
    QTest::newRow("gaps of any size") << "-9223372036854775808,-5,20000,1000000000000,9223372036854775807" << 500 << -1
                                      << 5 << false;
    QTest::newRow("more than the limit") << "2,3,4,9000" << 3 << -1 << 3 << true;
    QTest::newRow("stopped after the first slice") << "2,9000" << 500 << 1 << 1 << false;
}

void tst_store::findReadsEverySlice() {
    QFETCH(QString, rowids);
    QFETCH(int, limit);
    QFETCH(int, stopAfter);
    QFETCH(int, found);
    QFETCH(bool, cut);
    testkit::Folder folder;
    testkit::exec(store::kEventsFile, "with recursive n(i) as (select 1 union all select i+1 from n where i<12000) "
                                      "insert into tabnote (theme) select 'x'||i from n");
    for (const QString& id : rowids.split(','))
        testkit::exec(store::kEventsFile, "insert or replace into tabnote (rowid, theme, content) values (" + id +
                                              ", 'e" + id + "', '在操场举行')");
    store::SearchedTable where{};
    for (const store::SearchedTable& t : store::searchedTables())
        if (t.table->name == QLatin1String("tabnote")) where = t;
    QVERIFY(where.table);
    QStringList seen;
    int slices = 0;
    const bool more = store::findRecords(
        where, QStringLiteral("操场"), limit,
        [&](const QVector<store::Found>& f) {
            for (const store::Found& r : f) seen << QString::number(r.rowid);
        },
        [&] { return stopAfter >= 0 && slices++ >= stopAfter; });
    QCOMPARE(seen, rowids.split(',').mid(0, found));
    QCOMPARE(more, cut);
}

QTEST_MAIN(tst_store)
#include "tst_store.moc"
