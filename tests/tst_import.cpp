// The import of record books kept in Jet database files: every fixture file imported through the
// menu or through lumno-setup and each row compared with the CSV beside the file; damaged
// files refused without a book changing.
#include "testkit.h"

#include <admin/frmimport.h>
#include <jet/jetsource.h>
#include <jet/jettext.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <ui/choosepath.h>

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

class tst_import : public QObject {
    Q_OBJECT
private slots:
    void fixtures_data();
    void fixtures();
    void plan_data();
    void plan();
    void text_data();
    void text();
    void datesAndNumbers();
};

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
                                          << "setup" << false << QStringList{} << "tabaddnumber：缺少";
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
    const QString fixtures = QStringLiteral(LUMNO_JET_FIXTURES);
    if (!QFileInfo(fixtures).isDir()) QSKIP("no Jet fixture files: ../shared/fixtures/jet is not beside this checkout");
    if (!jet::Unavailable().isEmpty())
        QSKIP("this build cannot read Jet files (libmdb, package mdbtools-dev, not found)");
    testkit::Folder folder;
    testkit::Messages messages;
    const QString path = QDir(fixtures).filePath(source);

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
        for (const ImportBook& book : jet::FindBooks(path)) {
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
        setup.start(LUMNO_SETUP, args << path << (via == "setup" ? folder.path() : blocked.path()));
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
                expected << rows;
            }
            // Row by row, so that a difference names its row.
            const QVector<QStringList> got = ours(file, table);
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
                                   << "tabkaoqin：只有 2 列，至少需要 7 列";
    QTest::newRow("undecodable value") << QVector<store::SourceTable>{attendance, list, subjects,
                                                                      numbers({{"a"}, {QString()}},
                                                                              {{1, 0, "含有无法解码的字符"}})}
                                       << "tabaddnumber：第 2 条记录第 1 列含有无法解码的字符";
    QTest::newRow("NUL character") << QVector<store::SourceTable>{attendance, list, subjects,
                                                                  numbers({{QString("a") + QChar(0)}})}
                                   << "第 1 条记录第 1 列含有无法保存的空字符";
    QTest::newRow("no table of ours") << QVector<store::SourceTable>{{"other", {"a"}, {}, {}, {}}} << "没有本软件";
}

void tst_import::plan() {
    QFETCH(QVector<store::SourceTable>, tables);
    QFETCH(QString, problem);
    const QVector<ImportBook> books = jet::PlanImport({{"/x/old.dat", "old.dat", tables, {}}});
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
    const QString got = jet::DecodeText(bytes, &why);
    QCOMPARE(got, text);
    QCOMPARE(got.isNull(), text.isNull());
    QCOMPARE(why.isEmpty(), !text.isNull());
}

// The other values a book may hold; the fixtures' dates all fall at midnight.
void tst_import::datesAndNumbers() {
    QCOMPARE(jet::DateText(45658.0), QString("01-01-2025"));
    QCOMPARE(jet::DateText(45658.75), QString("01-01-2025 18:00:00"));
    QCOMPARE(jet::DateText(-1.25), QString("12-29-1899 06:00:00"));
    QCOMPARE(jet::NumberText(0.1f), QString("0.1"));
    QCOMPARE(jet::NumberText(-2.5e20), QString("-250000000000000000000"));
}

QTEST_MAIN(tst_import)
#include "tst_import.moc"
