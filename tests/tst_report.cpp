// The reports: each one's figures against a plain reading of the files, and each file format
// read back by tools that are not ours (pdftotext, unzip), the window driven as a person would.
#include "testkit.h"

#include <books/frmreport.h>
#include <books/pagepreview.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>
#include <ui/choosepath.h>

#include <QAction>
#include <QCollator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kAddress = QStringLiteral("北京市,海淀区\"中关村\"\n二号");

// A school's books: a month of attendance (a date that cannot be read, counts that are no number,
// a category added through the lists, a name outside the BMP), hostile values in the address book.
void fillBooks() {
    using testkit::exec;
    exec(store::kUserFile, "insert into tabel2 values ('实验小学','','','')");
    const QStringList names{"张三", "李四", "王五", "𠀀七"}, kinds{"缺席", "迟到", "早退", "请假", "公出"};
    const QStringList counts{"1", "2", "", "两节"};
    QStringList values;
    for (int i = 0; i < 120; ++i)
        values << QString("('%1-%2-2026','','%3','%4','语文','%5','')")
                      .arg(10 + i % 3)
                      .arg(1 + i % 28, 2, 10, QChar('0'))
                      .arg(names[i % 4], kinds[i % 5], counts[i % 4 == 3 ? 1 : i % 4]);
    values << "('下周一','','张三','缺席','','1','')";
    exec(store::kAttendanceFile, "insert into tabkaoqin values " + values.join(','));
    exec(store::kRosterFile, "insert into tabaddlist values ('张三','男','=1+1','@SUM(A1)','','','','" +
                                 QString(kAddress).replace("'", "''") + "','" + QString(200, QChar(u'长')) +
                                 "'), ('阿明','女','','','','','','',''), ('𠀀七','','','','','','','𡈽山路','')");
    exec(store::kMinutesFile,
         "insert into tabcahier values ('期中总结会','11-02-2026','会议室','李四','全体','无','无',"
         "'无','" +
             QString(3000, QChar(u'议')) +
             "'), ('家长会','11-09-2026','操场','王五','','',"
             "'','','通知家长')");
}

QStringList sortedRows(const QVector<QStringList>& rows) {
    QStringList lines;
    for (const QStringList& r : rows) lines << r.join('|');
    lines.sort();
    return lines;
}

struct Window {
    Frmreport w;
    Window() { w.show(); }
    void pick(const QString& title) {
        auto* list = w.findChild<QListWidget*>("lstreport");
        list->setCurrentItem(list->findItems(title, Qt::MatchExactly).value(0));
    }
    void dates(const QString& from, const QString& to) {
        for (auto [box, text] : {std::pair{"txtfrom", from}, std::pair{"txtto", to}}) {
            auto* e = w.findChild<QLineEdit*>(box);
            e->setFocus();
            e->selectAll();
            testkit::type(e, text);
            testkit::key(e, Qt::Key_Return);
        }
    }
    void click(const char* button) { QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton); }
};

QString run(const QString& program, const QStringList& args) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return QString();
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class tst_report : public testkit::WindowTest {
    Q_OBJECT
private slots:
    void opensFromTheMenu();
    void figures_data();
    void figures();
    void files_data();
    void files();
    void refused_data();
    void refused();
    void nothingHalfWritten();
    void preview();
    void printCancelled();
    void command();

private:
    // With its drive, taken before any test moves into its folder (under wine a path without
    // one would name the test folder's drive).
    const QString m_setup = QFileInfo(LUMNO_SETUP).absoluteFilePath();
};

void tst_report::opensFromTheMenu() {
    frmmain m;
    m.show();
    m.findChild<QAction*>("print")->trigger();
    auto* w = qobject_cast<Frmreport*>(m.child(WindowId::Frmreport));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("打印报表"));
    QVERIFY(w->parentWidget()->isMaximized());
    QVERIFY(!m.child(WindowId::Frmbg) || !m.child(WindowId::Frmbg)->isVisible());
    QStringList items;
    for (int i = 0; i < w->findChild<QListWidget*>("lstreport")->count(); ++i)
        items << w->findChild<QListWidget*>("lstreport")->item(i)->text();
    QCOMPARE(items, QStringList({"教师通讯录", "会议记录", "学校事历", "值周安排表", "教师考勤明细", "教师考勤统计"}));
    QTest::mouseClick(w->findChild<QPushButton*>("cmdexit"), Qt::LeftButton);
    testkit::settle();
    QVERIFY(!m.child(WindowId::Frmreport));
    QVERIFY(m.child(WindowId::Frmbg)->isVisible());
}

// Each report's rows against the files read by plain SQL (dates of the register as month-day-year).
void tst_report::figures_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sql");
    const QString inNovember = "where substr(日期,7,4)||substr(日期,1,2)||substr(日期,4,2) between '20261101' and "
                               "'20261130' and length(日期)=10";
    QTest::newRow("通讯录") << "教师通讯录" << store::kRosterFile << "select * from tabaddlist";
    QTest::newRow("会议记录") << "会议记录" << store::kMinutesFile << "select * from tabcahier";
    QTest::newRow("事历") << "学校事历" << store::kEventsFile << "select * from tabnote";
    QTest::newRow("值周") << "值周安排表" << store::kRosterFile << "select * from tabonduty";
    QTest::newRow("明细") << "教师考勤明细" << store::kAttendanceFile << "select * from tabkaoqin " + inNovember;
    QTest::newRow("统计") << "教师考勤统计" << store::kAttendanceFile
                          << "select 姓名, 考勤类别, count(*), sum(case when 节数 glob '[0-9]*' then 节数 else 0 end), "
                             "sum(节数<>'' and not 节数 glob '[0-9]*') from tabkaoqin " +
                                 inNovember + " group by 1, 2";
}

void tst_report::figures() {
    QFETCH(QString, title);
    QFETCH(QString, file);
    QFETCH(QString, sql);
    fillBooks();
    Window r;
    r.pick(title);
    r.dates("11-01-2026", "11-30-2026");
    const store::Report& report = r.w.report();
    QCOMPARE(report.title, title);
    QCOMPARE(report.school, QString("实验小学"));
    const QVector<QStringList> expected = testkit::rows(file, sql);
    if (title != "教师考勤统计") {
        QCOMPARE(sortedRows(report.rows), sortedRows(expected));
        if (title == "教师通讯录") { // in pinyin order (by code point 张 would come before 阿)
            QStringList names;
            for (const QStringList& row : report.rows) names << row.first();
            QVERIFY2(names.indexOf("阿明") >= 0 && names.indexOf("阿明") < names.indexOf("张三"),
                     qPrintable(names.join(',')));
        }
        if (title == "教师考勤明细") QCOMPARE(report.notes, QStringList({"日期无法识别的记录：1 条"}));
        return;
    }
    QCOMPARE(report.conditions.first(), QString("2026年11月1日至2026年11月30日"));
    QCOMPARE(report.notes, QStringList({"日期无法识别的记录：1 条"}));
    auto column = [&](const QString& caption) {
        for (int c = 0; c < report.columns.size(); ++c)
            if (report.columns[c].caption == caption) return c;
        return -1;
    };
    QMap<QString, QStringList> byName;
    for (const QStringList& row : report.rows) byName[row.first()] = row;
    QMap<QString, double> lessons, apart, total;
    for (const QStringList& e : expected) {
        QCOMPARE(byName.value(e[0]).value(column(e[1])), e[2]);
        lessons[e[0]] += e[3].toDouble();
        apart[e[0]] += e[4].toDouble();
        total[e[0]] += e[2].toDouble();
    }
    QCOMPARE(byName.size(), lessons.size());
    double sum = 0;
    for (auto it = lessons.cbegin(); it != lessons.cend(); ++it) {
        QCOMPARE(byName[it.key()].value(column("缺课节数")).toDouble(), it.value());
        QCOMPARE(byName[it.key()].value(column("节数非数字")).toDouble(), apart[it.key()]);
        QCOMPARE(byName[it.key()].value(column("合计")).toDouble(), total[it.key()]);
        sum += total[it.key()];
    }
    QCOMPARE(report.totals.value(column("合计")).toDouble(), sum);
    QVERIFY(column("公出") > 0); // a category added through the lists has its column
}

// Each format of a report, as the window writes it, read back by tools that are not ours.
void tst_report::files_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("统计 pdf") << "教师考勤统计"
                              << "考勤.pdf"
                              << QStringList{"实验小学", "教师考勤统计", "2026年11月1日至2026年11月30日",
                                             "第 1 页 共 1 页"};
    QTest::newRow("会议 pdf") << "会议记录"
                              << "会议.pdf" << QStringList{"期中总结会", "记录员签字："};
    QTest::newRow("事历 pdf, empty") << "学校事历"
                                     << "事历.pdf" << QStringList{"学校事历", "暂时没有记录！"};
    QTest::newRow("统计 xlsx") << "教师考勤统计"
                               << "考勤.xlsx"
                               << QStringList{"<sheet name=\"教师考勤统计\"", "<t>姓名</t>", "<t>公出</t>", "<v>"};
    QTest::newRow("通讯录 xlsx") << "教师通讯录"
                                 << "通讯录.xlsx"
                                 << QStringList{"<sheet name=\"教师通讯录\"", "<t>=1+1</t>", "<t>@SUM(A1)</t>", "𠀀七",
                                                "𡈽山路"};
    QTest::newRow("通讯录 csv") << "教师通讯录"
                                << "通讯录.csv" << QStringList{"\xEF\xBB\xBF",  "姓名,性别",
                                                               "=1+1,@SUM(A1)", "\"北京市,海淀区\"\"中关村\"\"\n二号\"",
                                                               "𠀀七",          "𡈽山路"};
    // Characters outside the Basic Multilingual Plane print as themselves: a font that has them
    // is found and embedded (pdffonts lists it; Qt's PDF text layer names only the BMP ones).
    QTest::newRow("通讯录 pdf, beyond the BMP") << "教师通讯录"
                                                << "通讯录.pdf" << QStringList{"教师通讯录", "七", "山路", "HanaMin"};
    QTest::newRow("明细 pdf, beyond the BMP") << "教师考勤明细"
                                              << "明细.pdf" << QStringList{"日期无法识别的记录：1条", "七", "HanaMin"};
}

void tst_report::files() {
    QFETCH(QString, title);
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    if (title != "学校事历") fillBooks();
    Window r;
    r.pick(title);
    r.dates("11-01-2026", "11-30-2026");
    const QString path = m_folder->path(file);
    ui::setPathHook([&](QWidget*, const QString&, const QString&, ui::PathKind) { return path; });
    r.click(file.endsWith(".pdf") ? "cmdpdf" : "cmdexcel");
    ui::setPathHook({});
    QCOMPARE(m_messages->last(), "报表已保存到“" + QDir::toNativeSeparators(path) + "”。");
    QString text;
    if (file.endsWith(".csv")) {
        text = QString::fromUtf8(testkit::bytes(path)).replace("\r\n", "\n");
        QVERIFY(text.startsWith(expected.first()));
    } else if (file.endsWith(".pdf")) {
        text = run("pdftotext", {path, "-"});
        if (text.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed here");
        text += run("pdffonts", {path}); // the fonts embedded
        QVERIFY(run("pdfinfo", {path}).contains(QRegularExpression(QString("Pages: +%1\n").arg(r.w.pageCount()))));
        text.remove(' ').remove('\n');
        for (QString& e : expected) e.remove(' ');
    } else {
        text = run("unzip", {"-p", path, "xl/workbook.xml"}) + run("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
        if (text.isEmpty()) QSKIP("unzip is not installed here");
        QVERIFY(!text.contains("<f>")); // no value became a formula
    }
    for (const QString& e : expected) QVERIFY2(text.contains(e), qPrintable(e));
}

// A condition that cannot be used is refused, naming its box, and nothing is written.
void tst_report::refused_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("end before start") << "11-30-2026"
                                      << "11-01-2026"
                                      << "“截止日期”早于“起始日期”";
    QTest::newRow("unreadable start") << "十一月"
                                      << "11-30-2026"
                                      << "“起始日期”中的日期无法识别";
    QTest::newRow("unreadable end") << "11-01-2026"
                                    << "2026-13-01"
                                    << "“截止日期”中的日期无法识别";
}

void tst_report::refused() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    Window r;
    r.pick("教师考勤明细");
    r.dates(from, to);
    QVERIFY2(m_messages->texts().join('\n').contains(message), qPrintable(m_messages->texts().join('\n')));
    bool asked = false;
    ui::setPathHook([&](QWidget*, const QString&, const QString&, ui::PathKind) {
        asked = true;
        return m_folder->path("x.pdf");
    });
    r.click("cmdpdf");
    ui::setPathHook({});
    QVERIFY(!asked);
}

// A folder that cannot be written is reported in Chinese, and no file is left under the name.
void tst_report::nothingHalfWritten() {
    Window r;
    r.pick("教师通讯录");
    for (const QString& name : QStringList{"gone/a.xlsx", "gone/a.pdf", "gone/a.csv"}) {
        const QString path = m_folder->path(name);
        ui::setPathHook([&](QWidget*, const QString&, const QString&, ui::PathKind) { return path; });
        r.click(name.endsWith("pdf") ? "cmdpdf" : "cmdexcel");
        QVERIFY2(m_messages->last().startsWith("无法写入文件“" + QDir::toNativeSeparators(path) + "”"),
                 qPrintable(m_messages->last()));
        QVERIFY(m_messages->last().endsWith("报表没有保存。"));
        QVERIFY(!QFile::exists(path));
    }
    ui::setPathHook({});
}

// The first page and the page count show at once, and only the pages in view are painted; the
// page buttons and the zoom move through them.
void tst_report::preview() {
    QStringList values;
    for (int i = 0; i < 1500; ++i)
        values << QString("('11-%1-2026','','张三','缺席','语文','1','')").arg(1 + i % 28, 2, 10, QChar('0'));
    testkit::exec(store::kAttendanceFile, "insert into tabkaoqin values " + values.join(','));
    Window r;
    r.pick("教师考勤明细");
    r.dates("11-01-2026", "11-30-2026");
    auto* preview = r.w.findChild<PagePreview*>("preview");
    auto* label = r.w.findChild<QLabel*>("labpage");
    const int count = preview->pageCount();
    QVERIFY2(count > 20, qPrintable(QString::number(count)));
    auto shows = [&](int page) { return label->text() == QString("第 %1 页 共 %2 页").arg(page).arg(count); };
    QVERIFY2(shows(1), qPrintable(label->text()));
    const QImage first = preview->viewport()->grab().toImage();
    QVERIFY(preview->paintedPages() >= 1 && preview->paintedPages() <= 2);
    QVERIFY(first.pixelColor(first.width() / 2, first.height() / 2) != first.pixelColor(2, 2)); // a page, on grey
    r.click("cmdnext");
    r.click("cmdnext");
    QVERIFY2(shows(3), qPrintable(label->text()));
    r.click("cmdzoomin");
    r.click("cmdprevious");
    QVERIFY2(shows(2), qPrintable(label->text()));
    QVERIFY(preview->viewport()->grab().toImage() != first);
    preview->setCurrentPage(count);
    preview->viewport()->grab();
    QVERIFY2(shows(count), qPrintable(label->text()));
    QVERIFY2(preview->paintedPages() <= 8, qPrintable(QString::number(preview->paintedPages())));
    r.click("cmdnext"); // nothing after the last page
    QVERIFY2(shows(count), qPrintable(label->text()));
}

// "打　印" opens the system's print dialog; cancelled, it prints nothing and the window goes on.
void tst_report::printCancelled() {
#ifdef Q_OS_WIN
    QSKIP("the system's print dialog there is not a window of Qt's");
#endif
    fillBooks();
    Window r;
    r.pick("教师通讯录");
    int cancelled = 0;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QPrintDialog*>(w); d && d->isVisible()) {
                ++cancelled;
                d->reject();
            }
    });
    answer.start(20);
    r.click("cmdprint");
    answer.stop();
    QCOMPARE(cancelled, 1);
    QVERIFY(m_messages->texts().isEmpty());
    r.pick("教师考勤统计"); // the window still answers
    QCOMPARE(r.w.report().title, QString("教师考勤统计"));
}

void tst_report::command() {
    fillBooks();
    QProcess setup;
    const QString target = m_folder->path("11月考勤.csv");
    setup.start(m_setup, {"--report", "教师考勤统计", "--from", "2026-11-01", "--to", "2026-11-30", "--csv", target,
                          m_folder->path()});
    QVERIFY(setup.waitForFinished(60000));
    QCOMPARE(setup.exitCode(), 0);
    const QString csv = QString::fromUtf8(testkit::bytes(target));
    QVERIFY(csv.contains("2026年11月1日至2026年11月30日"));
    QVERIFY(csv.contains("日期无法识别的记录：1 条"));
    setup.start(m_setup, {"--report", "教师考勤统计", "--from", "2026-11-30", "--to", "2026-11-01", "--csv",
                          m_folder->path("x.csv"), m_folder->path()});
    QVERIFY(setup.waitForFinished(60000));
    QCOMPARE(setup.exitCode(), 2);
    QVERIFY(!QFile::exists(m_folder->path("x.csv")));
}

QTEST_MAIN(tst_report)
#include "tst_report.moc"
