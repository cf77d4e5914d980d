// The import of record books kept in Jet database files: every fixture file imported through the
// menu or through lumno-setup and each row compared with the CSV beside the file; damaged
// files refused without a book changing.
#include "testkit.h"

#include <admin/frmimport.h>
#include <jet/jetfile.h>
#include <jet/jetsource.h>
#include <jet/jettext.h>
#include <shell/frmmain.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <ui/choosepath.h>

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QtTest>

using store::ImportBook;

namespace {

const QMap<QString, QStringList> kBooks{
    {store::kUserFile, {"tabel1", "tabel2"}},
    {store::kRosterFile, {"tabaddlist", "tabonduty"}},
    {store::kMinutesFile, {"tabcahier"}},
    {store::kEventsFile, {"tabnote"}},
    {store::kAttendanceFile, {"tabkaoqin", "tabaddsort", "tabaddsubject", "tabaddnumber"}},
};

// RFC 4180 records after the header line. A bare empty field is NULL (a null QString), a quoted
// one empty text.
QVector<QStringList> readCsv(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) qFatal("no %s", qPrintable(path));
    const QString s = QString::fromUtf8(f.readAll());
    QVector<QStringList> records;
    QStringList record;
    for (int i = 0; i < s.size();) {
        QString value;
        if (s.at(i) == '"') {
            for (++i; !(s.at(i) == '"' && s.mid(i + 1, 1) != "\""); ++i) {
                if (s.at(i) == '"') ++i; // a doubled quote
                value += s.at(i);
            }
            ++i;
            value = value.isNull() ? QStringLiteral("") : value;
        } else {
            const int end = i;
            while (i < s.size() && s.at(i) != ',' && s.mid(i, 2) != "\r\n") ++i;
            value = i > end ? s.mid(end, i - end) : QString();
        }
        record << value;
        if (s.mid(i, 2) == "\r\n") {
            records << record;
            record.clear();
            i += 2;
        } else {
            ++i; // the comma
        }
    }
    return records.mid(1);
}

// Every row of one of our tables, NULL kept apart from empty text.
QVector<QStringList> ours(const QString& file, const QString& table) {
    QStringList quoted;
    for (const QString& c : store::Database(file).columns(table)) quoted << "quote(\"" + c + "\")";
    QVector<QStringList> out;
    for (QStringList row : testkit::rows(file, "select " + quoted.join(',') + " from " + table)) {
        for (QString& v : row) v = v == "NULL" ? QString() : v.mid(1, v.size() - 2).replace("''", "'");
        out << row;
    }
    return out;
}

// An imported account as stored: its password a hash that the old one matches. Written out as
// the old row, so that rows compare as they were brought in.
QStringList unhashed(QStringList row, const QStringList& old) {
    if (row.size() >= 2 && !old.value(1).isNull() && store::isPasswordHash(row[1]) &&
        store::passwordMatches(row[1], old[1]))
        row[1] = old[1];
    return row;
}

// A row written out: QString holds a NULL equal to empty text, this does not.
QString written(const QStringList& row) {
    QStringList out;
    for (const QString& v : row) out << (v.isNull() ? QStringLiteral("NULL") : "'" + v + "'");
    return out.join(',');
}

QMap<QString, QByteArray> snapshot() {
    QMap<QString, QByteArray> out;
    for (const QString& file : kBooks.keys()) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        out[file] = f.readAll();
    }
    return out;
}

// A copy of a fixture file as an edit leaves it: the header of another format, or damage made
// from the seed on a few pages: a few bytes anywhere, many bytes, or bytes of the page headers
// (page types, owners, row counts and offsets); one copy in six is cut short as well.
QByteArray edited(QByteArray bytes, const QString& edit, quint32 seed) {
    if (edit == "Jet 3") bytes[0x14] = 0;
    if (edit == "ACCDB") bytes[0x14] = 2;
    if (edit == "ACE signature") bytes.replace(4, 15, "Standard ACE DB");
    if (edit == "encrypted") bytes[0x3e] = char(bytes[0x3e] ^ 0x01); // the database key, unmasked, not 0
    if (edit != "damaged") return bytes;
    QRandomGenerator random(seed);
    const int pages = int(bytes.size() / 4096);
    const int kind = random.bounded(3);
    for (int p = random.bounded(1, 5); p > 0; --p) {
        const int page = random.bounded(pages);
        for (int n = kind == 1 ? random.bounded(20, 200) : random.bounded(1, 9); n > 0; --n) {
            const int at = page * 4096 + random.bounded(kind == 2 ? 64 : 4096);
            bytes[at] = char(random.bounded(256));
        }
    }
    if (random.bounded(6) == 0) bytes.truncate(random.bounded(int(bytes.size())));
    return bytes;
}

// What the import would take from a file read: its tables read whole, every value decoded.
QMap<QString, QStringList> taken(const store::SourceFile& file) {
    QMap<QString, QStringList> out;
    if (!file.problem.isEmpty()) return out;
    for (const store::SourceTable& t : file.tables) {
        if (!t.problem.isEmpty() || !t.unreadable.isEmpty()) continue;
        QStringList lines{t.columns.join('|')};
        for (const QStringList& row : t.rows) lines << written(row);
        out[t.name] = lines;
    }
    return out;
}

} // namespace

class tst_import : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fixtures_data();
    void fixtures();
    void readers_data();
    void readers();
    void plan_data();
    void plan();
    void text_data();
    void text();
    void datesAndNumbers();
    void addingNeverDoubles_data();
    void addingNeverDoubles();

private:
    QString m_reader; // lumno-jetread
    QString m_setup;  // lumno-setup
    QString m_fixtures;
};

// The reader process lies in the build's program folder, away from the tests: named for them,
// with the drive on Windows before a test moves to a temporary folder (perhaps on another drive).
void tst_import::initTestCase() {
    m_reader = QFileInfo(LUMNO_JETREAD).absoluteFilePath();
    qputenv("LUMNO_JETREAD", m_reader.toLocal8Bit());
    m_setup = QFileInfo(LUMNO_SETUP).absoluteFilePath();
    m_fixtures = QFileInfo(LUMNO_JET_FIXTURES).absoluteFilePath();
}

void tst_import::fixtures_data() {
    QTest::addColumn<QString>("source"); // in the fixture folder
    QTest::addColumn<QString>("via");    // "menu", "setup", or "store" with a backup that fails for the minutes
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("imported"); // our files that take rows
    QTest::addColumn<QString>("refusal");      // part of the problem reported, or empty
    const QStringList all = kBooks.keys();
    QTest::newRow("main set, menu, add") << ""
                                         << "menu" << false << all << "";
    QTest::newRow("main set, menu, replace") << ""
                                             << "menu" << true << all << "";
    QStringList allButMinutes = all;
    allButMinutes.removeAll(store::kMinutesFile);
    QTest::newRow("main set, store, backup of the minutes fails") << ""
                                                                  << "store" << false << allButMinutes << "";
    QTest::newRow("variant set, setup, add") << "variant"
                                             << "setup" << false << all << "";
    QTest::newRow("one file, menu, replace") << "database/teacher.dat"
                                             << "menu" << true << QStringList{store::kAttendanceFile} << "";
    QTest::newRow("truncated, menu") << "damaged/cahier-truncated.dat"
                                     << "menu" << false << QStringList{} << "文件不完整";
    QTest::newRow("not Jet, setup") << "damaged/not-jet.dat"
                                    << "setup" << false << QStringList{} << "不是 Jet";
    QTest::newRow("missing table, setup") << "damaged/teacher-missing-table.dat"
                                          << "setup" << false << QStringList{} << "节次（tabaddnumber）：缺少";
    QTest::newRow("program folder's database is a file, setup")
        << ""
        << "setup, database a file" << false << QStringList{} << "无法在程序文件夹";
    QTest::newRow("damaged folder, menu") << "damaged"
                                          << "menu" << false << QStringList{} << "tabcahier";
}

void tst_import::fixtures() {
    QFETCH(QString, source);
    QFETCH(QString, via);
    QFETCH(bool, replace);
    QFETCH(QStringList, imported);
    QFETCH(QString, refusal);
    const QString fixtures = m_fixtures;
    if (!QFileInfo(fixtures).isDir()) QSKIP("no Jet fixture files: ../shared/fixtures/jet is not beside this checkout");
    QCOMPARE(jet::Unavailable(), QString());
    testkit::Folder folder;
    testkit::Messages messages;
    const QString path = QDir(fixtures).filePath(source);
    // Our account logged in once already: its password is a hash, which an old admin / admin
    // still matches.
    if (via == "store") QVERIFY(store::signIn("admin", "admin"));

    // Records already in the books: kept when adding, gone when replacing. Our school's details,
    // there in one case, are never replaced.
    for (const QString& file : kBooks.keys())
        for (const QString& table : kBooks[file])
            if (file != store::kUserFile)
                testkit::exec(file, "insert into " + table + " (" + store::Database(file).columns(table).first() +
                                        ") values ('旧的记录')");
    const bool ourSchool = replace && source.isEmpty();
    if (ourSchool) testkit::exec(store::kUserFile, "insert into tabel2 values ('本校','1','2','3')");
    QMap<QString, QMap<QString, QVector<QStringList>>> before;
    for (const QString& file : kBooks.keys())
        for (const QString& table : kBooks[file]) before[file][table] = ours(file, table);
    const QMap<QString, QByteArray> bytes = snapshot();

    QString report; // what the person was shown
    if (via == "menu") {
        // Folder first; for one file the person turns to "单个文件…" in the dialog.
        const bool oneFile = QFileInfo(path).isFile();
        ui::setPathHook([&](QWidget*, const QString&, const QString&, ui::PathKind kind) {
            return kind == ui::PathKind::File ? path : oneFile ? QFileInfo(path).path() : path;
        });
        Frmimport::setHook([&](Frmimport& dialog) {
            for (QLabel* label : dialog.findChildren<QLabel*>()) report += label->text() + "\n";
            if (oneFile && dialog.findChildren<QCheckBox*>().size() != 1) {
                dialog.findChild<QPushButton*>("cmdfile")->click();
                return dialog.result();
            }
            if (replace) dialog.findChild<QRadioButton*>("optreplace")->click();
            auto* ok = dialog.findChild<QPushButton*>("cmdok");
            (ok->isEnabled() ? ok : dialog.findChild<QPushButton*>("cmdcancel"))->click();
            return dialog.result();
        });
        frmmain window;
        window.findChild<QAction*>("importdata")->trigger();
        ui::setPathHook({});
        Frmimport::setHook({});
        report += messages.texts().join("\n");
        QCOMPARE(messages.all.size(), imported.isEmpty() ? 0 : replace ? 2 : 1); // confirmation, summary
        if (!imported.isEmpty()) QVERIFY2(messages.last().startsWith("导入完成"), qPrintable(messages.last()));
    } else if (via == "store") {
        QStringList asked;
        for (const ImportBook& book : jet::findBooks(path)) {
            try {
                store::importRows(book, store::ImportMode::Add, [&](const QString& file) {
                    asked << file;
                    if (file == store::kMinutesFile) throw store::Error(store::Error::Replace, file, {}, "no backup");
                });
            } catch (const store::Error& e) {
                QCOMPARE(e.file(), store::kMinutesFile);
            }
        }
        QCOMPARE(asked.size(), kBooks.size());
    } else {
        QProcess setup;
        QStringList args{"--import"};
        if (replace) args << "--replace";
        // Another program folder whose database/ is a plain file: the layout cannot be made.
        QTemporaryDir blocked;
        if (via == "setup, database a file") testkit::exec(blocked.filePath("database"), "create table x (y)");
        setup.start(m_setup, args << path << (via == "setup" ? folder.path() : blocked.path()));
        QVERIFY(setup.waitForFinished(120000));
        report = QString::fromUtf8(setup.readAllStandardOutput() + setup.readAllStandardError());
        QCOMPARE(setup.exitStatus(), QProcess::NormalExit); // never an abort
        QCOMPARE(setup.exitCode() == 0, refusal.isEmpty());
    }
    if (!refusal.isEmpty()) {
        QVERIFY2(report.contains(refusal), qPrintable(report));
        QCOMPARE(snapshot(), bytes);
        return;
    }
    if (kBooks.keys() == imported) QVERIFY2(report.contains("没有重复导入（admin）"), qPrintable(report));
    if (via != "store") { // one snapshot folder for the whole import, holding each book it changed
        const QStringList snapshots = QDir("backup").entryList({"*_导入旧数据前"}, QDir::Dirs);
        QCOMPARE(snapshots.size(), 1);
        for (const QString& file : imported)
            QVERIFY(QFile::exists("backup/" + snapshots.first() + "/" + QFileInfo(file).fileName()));
    }
    for (const QString& file : kBooks.keys()) {
        for (const QString& table : kBooks[file]) {
            QVector<QStringList> expected = before[file][table];
            if (imported.contains(file)) {
                const QString csv =
                    (QFileInfo(path).isFile() ? path : QDir(path).filePath(file)) + "." + table + ".csv";
                QVector<QStringList> rows = readCsv(csv);
                if (table == "tabel1") rows.removeAll({"admin", "admin"}); // the account we have
                if (table == "tabel2" && ourSchool) rows.clear();
                if (replace && file != store::kUserFile) expected.clear();
                const bool skipsEqual = !replace && table != "tabel1" && table != "tabel2";
                QSet<QString> seen; // added, a record equal to one there or brought before is skipped
                for (const QStringList& row : expected) seen.insert(written(row));
                for (const QStringList& row : rows)
                    if (!skipsEqual || !seen.contains(written(row))) {
                        seen.insert(written(row));
                        expected << row;
                    }
            }
            // Row by row, so that a difference names its row. Accounts: the passwords brought in are
            // hashes (the one of ours is one after a login), matched by the old passwords.
            QVector<QStringList> got = ours(file, table);
            for (int r = 0; r < got.size(); ++r) {
                if (table != "tabel1") break;
                const bool brought = r >= before[file][table].size();
                if (brought && !expected.value(r).value(1).isNull())
                    QVERIFY2(store::isPasswordHash(got[r][1]), qPrintable(got[r][1]));
                got[r] = unhashed(got[r], expected.value(r));
            }
            for (int r = 0; r < qMin(got.size(), expected.size()); ++r)
                QVERIFY2(written(got[r]) == written(expected[r]),
                         qPrintable(QString("%1 %2 row %3: %4 | %5")
                                        .arg(file, table)
                                        .arg(r + 1)
                                        .arg(written(got[r]), written(expected[r]))));
            QCOMPARE(got.size(), expected.size());
        }
    }
}

// The program's own reader against libmdb (where the tests have it) on every fixture file, on
// headers of the formats it refuses, and on damaged copies: every table ours gives to the import
// is the one libmdb reads, row for row; damage makes ours refuse, never crash or hang.
void tst_import::readers_data() {
    QTest::addColumn<QString>("file"); // in the fixture folder
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("refusal"); // part of the file's problem, or empty
    const QStringList files{"uinfo.dat", "database/addonduty.dat", "database/cahier.dat", "database/snote.dat",
                            "database/teacher.dat"};
    for (const QString& f : files) {
        QTest::addRow("%s", qPrintable(f)) << f << "" << 1 << "";
        QTest::addRow("variant/%s", qPrintable(f)) << "variant/" + f << "" << 1 << "";
        QTest::addRow("%s, damaged", qPrintable(f)) << f << "damaged" << 70 << "";
    }
    QTest::newRow("variant teacher.dat, damaged") << "variant/database/teacher.dat"
                                                  << "damaged" << 50 << "";
    QTest::newRow("truncated") << "damaged/cahier-truncated.dat"
                               << "" << 1 << "";
    QTest::newRow("missing table") << "damaged/teacher-missing-table.dat"
                                   << "" << 1 << "";
    QTest::newRow("not Jet") << "damaged/not-jet.dat"
                             << "" << 1 << "不是 Jet 数据库文件";
    QTest::newRow("Jet 3") << "database/cahier.dat"
                           << "Jet 3" << 1 << "是 Jet 3（Access 97）格式，只能读取 Jet 4";
    QTest::newRow("ACCDB") << "database/cahier.dat"
                           << "ACCDB" << 1 << "是 Access 2007 及以后的 ACCDB 格式";
    QTest::newRow("ACE signature") << "database/cahier.dat"
                                   << "ACE signature" << 1 << "ACCDB 格式";
    QTest::newRow("encrypted") << "database/cahier.dat"
                               << "encrypted" << 1 << "已加密";
}

void tst_import::readers() {
    QFETCH(QString, file);
    QFETCH(QString, edit);
    QFETCH(int, copies);
    QFETCH(QString, refusal);
    const QString fixtures = m_fixtures;
    if (!QFileInfo(fixtures).isDir()) QSKIP("no Jet fixture files: ../shared/fixtures/jet is not beside this checkout");
    QFile original(QDir(fixtures).filePath(file));
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    testkit::Folder folder;
    int compared = 0, refused = 0;
    for (int copy = 0; copy < copies; ++copy) {
        const QString path = folder.path(QString("copy%1.dat").arg(copy));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(edited(bytes, edit, quint32(copy))) >= 0);
        out.close();
        const store::SourceFile ours = jet::readJetFile(path);
        QVERIFY2(ours.problem.contains(refusal), qPrintable(ours.problem));
        if (!refusal.isEmpty()) continue;
        const QMap<QString, QStringList> ourTables = taken(ours);
        refused += ourTables.size() < ours.tables.size() || !ours.problem.isEmpty();
        if (edit.isEmpty() && !file.startsWith("damaged/")) QCOMPARE(ourTables.size(), ours.tables.size());
#ifdef LUMNO_JET_ORACLE
        qputenv("LUMNO_JETREAD", LUMNO_JET_ORACLE);
        const store::SourceFile theirs = jet::readSource(path).value(0);
        qputenv("LUMNO_JETREAD", m_reader.toLocal8Bit());
        if (!theirs.problem.isEmpty()) continue; // libmdb could not read it, or stopped (a copy of ours did not)
        QStringList theirNames, ourNames;
        for (const store::SourceTable& t : theirs.tables) theirNames << t.name;
        for (const store::SourceTable& t : ours.tables) ourNames << t.name;
        if (ours.problem.isEmpty()) QCOMPARE(ourNames, theirNames);
        const QMap<QString, QStringList> theirTables = taken(theirs);
        for (auto t = ourTables.begin(); t != ourTables.end(); ++t) {
            QStringList lines = theirTables.value(t.key());
            // Where libmdb stops at damage ours need not read, ours must give the file's true rows.
            const QString csv = original.fileName() + "." + t.key() + ".csv";
            if (lines.isEmpty() && QFileInfo(csv).isFile()) {
                lines = QStringList{t->first()};
                for (const QStringList& row : readCsv(csv)) lines << written(row);
            }
            for (int i = 0; i < qMin(lines.size(), t->size()); ++i)
                QVERIFY2(t->at(i) == lines.at(i), qPrintable(QString("copy %1, %2 line %3: %4 | libmdb %5")
                                                                 .arg(copy)
                                                                 .arg(t.key())
                                                                 .arg(i)
                                                                 .arg(t->at(i), lines.at(i))));
            QVERIFY2(t->size() == lines.size(), qPrintable(QString("copy %1, %2: %3 lines, libmdb %4")
                                                               .arg(copy)
                                                               .arg(t.key())
                                                               .arg(t->size())
                                                               .arg(lines.size())));
            ++compared;
        }
#endif
    }
    if (copies > 1)
        qInfo("%d copies: %d refused in part or whole, %d tables compared with libmdb", copies, refused, compared);
}

// Whatever a file brings, a book takes it whole or not at all.
void tst_import::plan_data() {
    QTest::addColumn<QVector<store::SourceTable>>("tables");
    QTest::addColumn<QString>("problem"); // empty: importable
    const store::SourceTable list{"tabaddsort", {"a"}, {{"病假"}}, {}, {}};
    const store::SourceTable subjects{"tabaddsubject", {"a"}, {{"书法"}}, {}, {}};
    auto numbers = [](QVector<QStringList> rows, QVector<store::SourceCell> cells = {}, QStringList columns = {"a"}) {
        return store::SourceTable{"TABADDNUMBER", columns, rows, cells, {}};
    };
    const store::SourceTable attendance{"tabkaoqin", {"1", "2", "3", "4", "5", "6", "7", "extra"}, {}, {}, {}};
    QTest::newRow("whole, names in other case")
        << QVector<store::SourceTable>{attendance, list, subjects, numbers({{"早读"}})} << "";
    QTest::newRow("fewer columns") << QVector<store::SourceTable>{{"tabkaoqin", {"1", "2"}, {}, {}, {}},
                                                                  list,
                                                                  subjects,
                                                                  numbers({})}
                                   << "教师考勤（tabkaoqin）：只有 2 列，至少需要 7 列";
    QTest::newRow("undecodable value") << QVector<store::SourceTable>{attendance, list, subjects,
                                                                      numbers({{"a"}, {QString()}},
                                                                              {{1, 0, "含有无法解码的字符"}})}
                                       << "节次（tabaddnumber）：第 2 条记录第 1 列含有无法解码的字符";
    QTest::newRow("NUL character") << QVector<store::SourceTable>{attendance, list, subjects,
                                                                  numbers({{QString("a") + QChar(0)}})}
                                   << "第 1 条记录第 1 列含有无法保存的空字符";
    QTest::newRow("no table of ours") << QVector<store::SourceTable>{{"other", {"a"}, {}, {}, {}}} << "没有本软件";
}

void tst_import::plan() {
    QFETCH(QVector<store::SourceTable>, tables);
    QFETCH(QString, problem);
    const QVector<ImportBook> books = jet::planImport({{"/x/old.dat", "old.dat", tables, {}}});
    QCOMPARE(books.size(), 1);
    QVERIFY2(books[0].problems.join('\n').contains(problem), qPrintable(books[0].problems.join('\n')));
    QCOMPARE(books[0].importable(), problem.isEmpty());
    if (problem.isEmpty()) {
        QCOMPARE(books[0].bookFile, store::kAttendanceFile);
        QCOMPARE(books[0].tables.at(0).rows.size(), 0);
        QCOMPARE(books[0].tables.at(3).rows, QVector<QStringList>{{"早读"}});
    }
}

void tst_import::text_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // null: refused
    QTest::newRow("compressed") << QByteArray("\xff\xfe"
                                              "admin",
                                              7)
                                << "admin";
    QTest::newRow("compressed, a UTF-16 run") << QByteArray("\xff\xfeO\0\xd9\x5f\0x", 8) << QString::fromUtf8("O忙x");
    QTest::newRow("surrogate pair") << QByteArray("\x34\x54\x40\xd8\x00\xdc\x0e\x66", 8) << QString::fromUtf8("吴𠀀明");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("");
    QTest::newRow("lone surrogate") << QByteArray("\x40\xd8\x41\x00", 4) << QString();
    QTest::newRow("odd length") << QByteArray("A\0B", 3) << QString();
    QTest::newRow("odd length in a run") << QByteArray("\xff\xfe"
                                                       "A\0B",
                                                       5)
                                         << QString();
}

void tst_import::text() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QString why;
    const QString got = jet::decodeText(bytes, &why);
    QCOMPARE(got, text);
    QCOMPARE(got.isNull(), text.isNull());
    QCOMPARE(why.isEmpty(), !text.isNull());
}

// The other values a book may hold; the fixtures' dates all fall at midnight.
void tst_import::datesAndNumbers() {
    QCOMPARE(jet::dateText(45658.0), QString("01-01-2025"));
    QCOMPARE(jet::dateText(45658.75), QString("01-01-2025 18:00:00"));
    QCOMPARE(jet::dateText(-1.25), QString("12-29-1899 06:00:00"));
    QCOMPARE(jet::numberText(0.1f), QString("0.1"));
    QCOMPARE(jet::numberText(-2.5e20), QString("-250000000000000000000"));
}

// Added twice, a book takes each record once: a row equal in every column to one the book holds,
// or to one added before it in the same run, is skipped and counted. Replacing is unchanged.
void tst_import::addingNeverDoubles_data() {
    QTest::addColumn<QVector<QStringList>>("rows"); // of tabaddsubject
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QList<int>>("added"); // on the first and the second run
    QTest::addColumn<int>("held");         // rows in the table at the end
    QTest::addColumn<QString>("said");     // in the report of the second run
    const QVector<QStringList> three{{"书法"}, {"美术"}, {"音乐"}};
    QTest::newRow("add twice") << three << false << QList<int>{3, 0} << 4 << "；3 条与已有的记录完全相同，没有重复导入";
    QTest::newRow("equal rows in one run") << QVector<QStringList>{{"书法"}, {"书法"}, {"美术"}} << false
                                           << QList<int>{2, 0} << 3 << "增加了 0 条记录；3 条与已有的记录完全相同";
    QTest::newRow("NULL apart from empty text")
        << QVector<QStringList>{{QString()}, {""}} << false << QList<int>{2, 0} << 3 << "2 条与已有的记录完全相同";
    QTest::newRow("replace twice") << three << true << QList<int>{3, 3} << 3 << "原有的 3 条记录换成了导入的 3 条";
}

void tst_import::addingNeverDoubles() {
    QFETCH(QVector<QStringList>, rows);
    QFETCH(bool, replace);
    QFETCH(QList<int>, added);
    QFETCH(int, held);
    QFETCH(QString, said);
    testkit::Folder folder;
    testkit::exec(store::kAttendanceFile, "insert into tabaddsubject values ('体育')");
    ImportBook book{"old.dat", store::kAttendanceFile, "教师考勤", {{"tabaddsubject", rows}}, {}};
    const store::ImportMode mode = replace ? store::ImportMode::Replace : store::ImportMode::Add;
    QVector<store::ImportedTable> done;
    for (int run = 0; run < 2; ++run) {
        done = store::importRows(book, mode, {});
        QCOMPARE(done.at(0).added, added.at(run));
    }
    QCOMPARE(testkit::count(store::kAttendanceFile, "tabaddsubject"), held);
    const QString report = jet::describeImport(done).join('\n');
    QVERIFY2(report.contains(said), qPrintable(report));
}

QTEST_MAIN(tst_import)
#include "tst_import.moc"
