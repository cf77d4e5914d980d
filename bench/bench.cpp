// Measures what a person waits for, beside the floor: a plain SQLite read of the same rows plus
// the same window shown on an empty book. Prints one table: operation, N, time, floor, ratio.
//   lumno-bench [--sizes 1000,10000,100000] [--skip-startup] [--skip-paste] [--skip-memory]
//               [--search-only]
#include "benchfiles.h"

#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <books/frmfind.h>
#include <books/frmnote.h>
#include <books/frmonduty.h>
#include <books/frmteacher.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <store/layout.h>
#include <store/search.h>
#include <ui/notify.h>
#include <ui/recordsetmodel.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const QString kSurnames = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘");
const QString kGiven = QStringLiteral("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华建国志红文玉兰春梅海燕雪");
const QString kText =
    QStringLiteral("会议传达了上级文件精神，布置了本周教学工作，要求各教研组认真备课、上课、批改作业，"
                   "加强课堂管理，做好学生安全教育和卫生检查工作，并对期中考试的组织安排作了说明。");

QRandomGenerator rng(20261207);

QString pick(const QString& chars) { return chars.at(rng.bounded(int(chars.size()))); }
QString personName() { return pick(kSurnames) + pick(kGiven) + (rng.bounded(2) ? pick(kGiven) : QString()); }

// Fills a laid-out folder with n rows in each book (in one transaction per file).
void fill(const QString& folder, int n) {
    auto withDb = [&](const QString& file, const std::function<void(QSqlQuery&)>& f) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(QDir(folder).filePath(file));
            db.open();
            db.transaction();
            QSqlQuery q(db);
            f(q);
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase("fill");
    };
    withDb(store::kRosterFile, [&](QSqlQuery& q) {
        q.prepare("insert into tabaddlist values (?,?,?,?,?,?,?,?,?)");
        for (int i = 0; i < n; ++i) {
            for (const QVariant& v : {QVariant(personName()), QVariant(rng.bounded(2) ? "男" : "女"),
                                      QVariant(QString("139%1").arg(rng.bounded(10000000, 99999999))),
                                      QVariant(QString("010-6%1").arg(rng.bounded(1000000, 9999999))),
                                      QVariant("100081"), QVariant(QString::number(rng.bounded(10000000, 999999999))),
                                      QVariant(QString("t%1@school.cn").arg(i)),
                                      QVariant(QString("北京市海淀区学院路%1号").arg(i % 300)), QVariant("无")})
                q.addBindValue(v);
            q.exec();
        }
        q.prepare("insert into tabonduty values (?,?,?)");
        for (int i = 0; i < n; ++i) {
            q.addBindValue(QString("第%1周").arg(i % 20 + 1));
            q.addBindValue(personName() + "、" + personName());
            q.addBindValue(i % 7 ? QString() : QString("雨天改在室内"));
            q.exec();
        }
    });
    for (const auto& [file, table, cols] : {std::tuple{store::kMinutesFile, QString("tabcahier"), 9},
                                            std::tuple{store::kEventsFile, QString("tabnote"), 5}}) {
        withDb(file, [&, table = table, cols = cols](QSqlQuery& q) {
            q.prepare(QString("insert into %1 values (%2)").arg(table, QString("?,").repeated(cols - 1) + "?"));
            for (int i = 0; i < n; ++i) {
                q.addBindValue(QString("第%1周例会").arg(i % 20 + 1));
                for (int c = 1; c < cols - 1; ++c)
                    q.addBindValue(c == 1 ? QString("2026年%1月").arg(i % 12 + 1) : personName());
                q.addBindValue(kText.repeated(4)); // a page of minutes
                q.exec();
            }
        });
    }
    withDb(store::kAttendanceFile, [&](QSqlQuery& q) {
        QStringList teachers;
        for (int i = 0; i < 300; ++i) teachers << personName();
        q.prepare("insert into tabkaoqin values (?,?,?,?,?,?,?)");
        const QStringList sorts{"缺席", "迟到", "早退", "请假"}, subjects{"语文", "数学", "英语", "体育"};
        for (int i = 0; i < n; ++i) {
            const QDate d = QDate(2024, 1, 1).addDays(rng.bounded(1000));
            q.addBindValue(d.toString("MM-dd-yyyy"));
            q.addBindValue(QString("星期%1").arg(QString("一二三四五六日").at(d.dayOfWeek() - 1)));
            q.addBindValue(teachers[rng.bounded(300)]);
            q.addBindValue(sorts[rng.bounded(4)]);
            q.addBindValue(subjects[rng.bounded(4)]);
            q.addBindValue(QString::number(rng.bounded(1, 4)));
            q.addBindValue(QString("第%1节").arg(QString("一二三四五六七八").at(rng.bounded(8))));
            q.exec();
        }
    });
}

double plainWrite(const QString& file, const QString& sql) {
    return medianMs(3, [&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery(db).exec("PRAGMA synchronous=FULL");
            QSqlQuery(db).exec(sql);
        }
        QSqlDatabase::removeDatabase("plain");
    });
}

struct Line {
    QString op;
    int n;
    double ms, floor;
};
QVector<Line> g_lines;

void report(const QString& op, int n, double ms, double floor) {
    g_lines << Line{op, n, ms, floor};
    std::printf("%-34s %7d %10.1f %10.1f %7.2f\n", op.toUtf8().constData(), n, ms, floor, floor > 0 ? ms / floor : 0.0);
    std::fflush(stdout);
}

// Until the window is shown with its data; closing it afterwards is not counted.
template <class W> double openWindow(const QString& folder) {
    QDir::setCurrent(folder);
    QVector<double> t;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto* w = new W;
        w->show();
        QCoreApplication::processEvents();
        t << timer.nsecsElapsed() / 1e6;
        delete w;
    }
    std::sort(t.begin(), t.end());
    return t[1];
}

void benchBooks(const QString& folder, const QString& empty, int n) {
    const auto file = [&](const QString& f) { return QDir(folder).filePath(f); };
    // Opening each book: the plain read of the rows it shows plus the same window on an empty book.
    report("open address book", n, openWindow<Frmaddlist>(folder),
           plainRead(file(store::kRosterFile), "select * from tabaddlist") + openWindow<Frmaddlist>(empty));
    report("open meeting minutes", n, openWindow<Frmcahier>(folder),
           plainRead(file(store::kMinutesFile), "select theme from tabcahier") + openWindow<Frmcahier>(empty));
    report("open school events", n, openWindow<Frmnote>(folder),
           plainRead(file(store::kEventsFile), "select theme from tabnote") + openWindow<Frmnote>(empty));
    report("open attendance (lists + grid)", n, openWindow<frmteacher>(folder),
           plainRead(file(store::kAttendanceFile), "select * from tabkaoqin") + openWindow<frmteacher>(empty));
    report("open duty rota", n, openWindow<Frmonduty>(folder),
           plainRead(file(store::kRosterFile), "select * from tabonduty") + openWindow<Frmonduty>(empty));

    QDir::setCurrent(folder);
    {
        Frmaddlist w;
        w.show();
        auto click = [&](int i) {
            QTest::mouseClick(w.findChild<QToolBar*>("Toolbar1")
                                  ->widgetForAction(w.findChild<QToolBar*>("Toolbar1")->actions().at(i - 1)),
                              Qt::LeftButton);
        };
        report("address book: next record", n, medianMs(5, [&] { click(8); }), 0);
        report(
            "address book: save (reloads)", n,
            medianMs(3,
                     [&] {
                         click(1);
                         w.findChild<QLineEdit*>("txtname")->setText("测试");
                         w.findChild<QLineEdit*>("txtsex")->setText("男");
                         click(2);
                     }),
            plainWrite(file(store::kRosterFile), "insert into tabaddlist values ('测试','男','','','','','','','')") +
                plainRead(file(store::kRosterFile), "select * from tabaddlist"));
        report("address book: search by phone", n,
               medianMs(3,
                        [&] {
                            click(4);
                            w.findChild<QLineEdit*>("txtphone")->setText("010-61234567");
                            click(4);
                        }),
               plainRead(file(store::kRosterFile), "select * from tabaddlist where phone='010-61234567'"));
    }
    {
        Frmcahier w;
        w.show();
        auto* combo = w.findChild<QComboBox*>("Combo1");
        report("minutes: pick a theme", n, medianMs(3, [&] { emit combo->activated(combo->count() / 2); }),
               plainRead(file(store::kMinutesFile), "select * from tabcahier where theme ='第10周例会'"));
    }
    {
        frmteacher w;
        w.show();
        w.findChild<QComboBox*>("comname")->setEditText(w.findChild<QComboBox*>("comname")->itemText(0));
        auto click = [&](int i) {
            QTest::mouseClick(w.findChild<QToolBar*>("Toolbar1")
                                  ->widgetForAction(w.findChild<QToolBar*>("Toolbar1")->actions().at(i - 1)),
                              Qt::LeftButton);
        };
        const QString name = w.findChild<QComboBox*>("comname")->itemText(0);
        report("attendance: query one teacher", n,
               medianMs(3,
                        [&] {
                            w.findChild<QComboBox*>("comname")->setEditText(name);
                            click(3);
                        }),
               plainRead(file(store::kAttendanceFile), "select * from tabkaoqin where 姓名='" + name + "'"));
        click(4); // browse: every entry in the grid
        QVector<double> byName, byDate;
        for (int i = 0; i < 3; ++i) { // each click changes the order, so the two alternate
            byName << medianMs(1, [&] { QTest::mouseClick(w.findChild<QRadioButton*>("Option1_1"), Qt::LeftButton); });
            byDate << medianMs(1, [&] { QTest::mouseClick(w.findChild<QRadioButton*>("Option1_0"), Qt::LeftButton); });
        }
        std::sort(byName.begin(), byName.end());
        std::sort(byDate.begin(), byDate.end());
        report("attendance: order by name", n, byName[1],
               plainRead(file(store::kAttendanceFile), "select * from tabkaoqin order by 姓名"));
        report("attendance: order by date", n, byDate[1],
               plainRead(file(store::kAttendanceFile), "select * from tabkaoqin order by 日期"));
        report("attendance: save (reloads, by date)", n,
               medianMs(3,
                        [&] {
                            w.findChild<QLineEdit*>("txtdate")->setText("12-07-2026");
                            for (const char* c : {"comname", "comsort", "comsubject", "comnumber"})
                                w.findChild<QComboBox*>(c)->setEditText("x");
                            w.findChild<QLineEdit*>("txtcount")->setText("1");
                            click(2);
                        }),
               plainWrite(file(store::kAttendanceFile),
                          "insert into tabkaoqin values ('12-07-2026','星期一','x','x','x','1','x')") +
                   plainRead(file(store::kAttendanceFile), "select * from tabkaoqin order by 日期"));
    }
}

// 查找记录 in every book: the time to the first listed result and to the end of the search, typed
// text to list; the floor runs the same instr statements plainly, one after the other (the first
// results' floor is the first book's statement alone).
void benchSearch(const QString& folder, int n) {
    QDir::setCurrent(folder);
    Frmfind w;
    w.show();
    auto* box = w.findChild<QLineEdit*>("txtfind");
    auto* list = w.findChild<QListWidget*>("lstfound");
    const struct {
        const char* label;
        QString text;
    } searches[] = {{"a name", QStringLiteral("张伟")},
                    {"a remark", QStringLiteral("雨天")},
                    {"nothing there", QStringLiteral("没有这几个字")}};
    for (const auto& s : searches) {
        QVector<double> first, all;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer t;
            t.start();
            box->setText(s.text);
            w.txtfind_Change();
            double firstMs = -1;
            while (w.searching()) {
                QCoreApplication::processEvents();
                if (firstMs < 0 && list->count() > 0) firstMs = t.nsecsElapsed() / 1e6;
            }
            all << t.nsecsElapsed() / 1e6;
            first << (firstMs < 0 ? all.last() : firstMs);
        }
        std::sort(first.begin(), first.end());
        std::sort(all.begin(), all.end());
        double floorAll = 0, floorFirst = -1;
        for (const store::SearchedTable& where : store::searchedTables()) {
            const double ms = plainRead(QDir(folder).filePath(where.book->file),
                                        store::findStatement(*where.table, s.text, Frmfind::kLimit + 1));
            floorAll += ms;
            if (floorFirst < 0) floorFirst = ms;
        }
        report(QString("find %1: first results").arg(s.label), n, first[1], floorFirst);
        report(QString("find %1: every book").arg(s.label), n, all[1], floorAll);
    }
}

double processMs(const QString& program, int runs, const QStringList& args = {}) {
    return medianMs(runs, [&] {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(30000);
    });
}

long peakKb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// In a child process: opens one window (or a bare one) and prints the peak memory in kB.
int memoryChild(const QString& book, const QString& folder) {
    QDir::setCurrent(folder);
    std::unique_ptr<QWidget> w;
    if (book == "addlist")
        w.reset(new Frmaddlist);
    else if (book == "cahier")
        w.reset(new Frmcahier);
    else if (book == "note")
        w.reset(new Frmnote);
    else if (book == "teacher")
        w.reset(new frmteacher);
    else if (book == "onduty")
        w.reset(new Frmonduty);
    else
        w.reset(new QWidget);
    w->resize(700, 500);
    w->show();
    QCoreApplication::processEvents();
    w->grab();
    if (book == "export") exportRegister(folder);
    std::printf("%ld\n", peakKb());
    return 0;
}

long memoryOf(const QString& book, const QString& folder) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--memory", book, folder});
    p.waitForFinished(120000);
    return p.readAllStandardOutput().trimmed().toLong();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setNotifyHook([](QWidget*, const QString&, int) { return ui::kAnswerOk; });
    const QStringList args = app.arguments();
    if (args.value(1) == "--memory") return memoryChild(args.value(2), args.value(3));
    QList<int> sizes{1000, 10000, 100000};
    if (int i = args.indexOf("--sizes"); i > 0) {
        sizes.clear();
        for (const QString& s : args.value(i + 1).split(',')) sizes << s.toInt();
    }
    QTemporaryDir root;
    const QString empty = root.filePath("empty");
    store::layOutDataFiles(empty);

    std::printf("%-34s %7s %10s %10s %7s\n", "operation", "N", "ms", "floor ms", "ratio");
    if (!args.contains("--skip-startup")) {
        const double program = processMs(QString(PROBE_DIR) + "/probe-login", 15);
        const double bare = processMs(QString(PROBE_DIR) + "/probe-bare", 15);
        const double text = processMs(QString(PROBE_DIR) + "/probe-bare", 15, {"--text"});
        report("start-up to the login window", 0, program, bare);
        report("  the same, floor with Chinese text", 0, program, text);
    }
    if (!args.contains("--skip-login")) {
        // What a login waits for: verifying one password at the program's hashing cost (and
        // hashing it, once, for a password kept as typed or a new one). Processor time beside the
        // time waited: on a busy machine the two part.
        auto timed = [](const char* what, const std::function<void()>& f) {
            QElapsedTimer t;
            t.start();
            const std::clock_t c = std::clock();
            f();
            std::printf("%-34s %7d %10.1f   (processor %.1f ms)\n", what, 0, t.nsecsElapsed() / 1e6,
                        (std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
        };
        QString hash;
        for (int i = 0; i < 3; ++i) {
            timed("login: hash a password", [&] { hash = store::hashPassword(QStringLiteral("校务2026")); });
            timed("login: verify a password", [&] { store::passwordMatches(hash, QStringLiteral("校务2026")); });
        }
    }
    if (!args.contains("--skip-paste")) {
        const QString paste = root.filePath("paste");
        store::layOutDataFiles(paste);
        for (int chars : {1000000, 10000000}) benchPaste(paste, chars, report);
    }
    QString largest;
    for (int n : sizes) {
        const QString folder = root.filePath(QString::number(n));
        store::layOutDataFiles(folder);
        fill(folder, n);
        if (!args.contains("--search-only")) benchBooks(folder, empty, n);
        benchSearch(folder, n);
        if (!args.contains("--search-only")) benchReports(folder, n, report); // before benchFiles empties the books
        if (!args.contains("--search-only")) benchFiles(folder, n, report);
        largest = folder;
    }
    if (!args.contains("--skip-memory")) {
        const long bare = memoryOf("bare", empty);
        std::printf("\npeak memory with one book open (%s rows), MB above a bare window (%.1f MB):\n",
                    qPrintable(QFileInfo(largest).fileName()), bare / 1024.0);
        for (const char* book : {"addlist", "cahier", "note", "teacher", "onduty"})
            std::printf("  %-10s %8.1f\n", book, (memoryOf(book, largest) - bare) / 1024.0);
        // The export of the whole register, from a register filled afresh (the books above were emptied).
        const QString full = root.filePath("export");
        store::layOutDataFiles(full);
        fill(full, sizes.last());
        std::printf("  %-10s %8.1f  (the register as xlsx)\n", "export", (memoryOf("export", full) - bare) / 1024.0);
    }
    return 0;
}
