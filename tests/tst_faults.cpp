// Damaged, missing, locked and read-only data files: every window that touches one says in
// Chinese which file and what is wrong, stays usable, writes nothing elsewhere, and works
// again once the fault is gone.
#include "testkit.h"

#include <admin/emptying.h>
#include <admin/frmsystem.h>
#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <books/frmonduty.h>
#include <books/frmteacher.h>
#include <shell/frmlogin.h>
#include <shell/frmmain.h>
#include <store/catalogue.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace {

enum Fault { Missing, Empty, Garbage, Truncated, TableMissing, Locked, ReadOnly, FolderReadOnly };

// One thing a person does that touches the file; true when it reported success.
using Action = std::function<bool(testkit::Messages&)>;

bool addTeacher(testkit::Messages& m) {
    Frmaddlist w;
    testkit::clickTool(&w, 1);
    w.findChild<QLineEdit*>("txtname")->setText("张伟");
    w.findChild<QLineEdit*>("txtsex")->setText("男");
    testkit::clickTool(&w, 2);
    return m.last() == "内容已经保存";
}

bool addRecord(testkit::Messages& m, ThemeBook* w) {
    testkit::clickTool(w, 2);
    w->findChild<QComboBox*>("Combo1")->setEditText("周例会");
    for (QLineEdit* e : w->findChildren<QLineEdit*>())
        if (e->text().isEmpty()) e->setText("x");
    for (QPlainTextEdit* p : w->findChildren<QPlainTextEdit*>()) p->setPlainText("x");
    testkit::clickTool(w, 4);
    return m.last() == "内容已保存";
}

bool addAttendance(testkit::Messages& m) {
    frmteacher w;
    w.findChild<QLineEdit*>("txtdate")->setText("12-07-2026");
    for (const char* c : {"comname", "comsort", "comsubject", "comnumber"})
        w.findChild<QComboBox*>(c)->setEditText("x");
    w.findChild<QLineEdit*>("txtcount")->setText("1");
    testkit::clickTool(&w, 2);
    return m.last() == "已经保存";
}

bool editRota(testkit::Messages& m) {
    const int before = m.all.size();
    Frmonduty w;
    testkit::clickTool(&w, 1);
    auto* grid = w.findChild<QTableView*>("DBGrid1");
    if (!grid->model()->setData(grid->model()->index(grid->model()->rowCount() - 1, 0), "第9周")) return false;
    testkit::clickTool(&w, 3);
    return m.all.size() == before;
}

bool saveSchool(testkit::Messages& m) {
    Frmsystem w;
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    w.findChild<QLineEdit*>("Text1")->setText("实验小学");
    QTest::mouseClick(w.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    return m.last() == "保存成功！";
}

bool logIn(testkit::Messages& m) {
    const int before = m.all.size();
    QPointer<frmLogin> login = new frmLogin; // on success it deletes itself
    login->findChild<QLineEdit*>("txtUserName")->setText("admin");
    login->findChild<QLineEdit*>("txtPassword")->setText("admin");
    bool opened = false;
    QObject::connect(login, &frmLogin::mainWindowOpened, [&](frmmain* w) {
        opened = true;
        delete w;
    });
    login->findChild<QPushButton*>("cmdok")->click();
    testkit::settle();
    delete login;
    return opened && m.all.size() == before;
}

struct Probe {
    const char* name;
    QString file;
    QString table;
    Action act;
};

QList<Probe> probes() {
    return {{"login", store::kUserFile, "tabel1", logIn},
            {"settings", store::kUserFile, "tabel2", saveSchool},
            {"address book", store::kRosterFile, "tabaddlist", addTeacher},
            {"duty rota", store::kRosterFile, "tabonduty", editRota},
            {"emptying the address book", store::kRosterFile, "tabaddlist",
             [](testkit::Messages& m) {
                 admin::cleanaddlist_Click(nullptr);
                 return m.last() == "教师通讯录已经清空";
             }},
            {"minutes", store::kMinutesFile, "tabcahier",
             [](testkit::Messages& m) {
                 Frmcahier w;
                 return addRecord(m, &w);
             }},
            {"events", store::kEventsFile, "tabnote",
             [](testkit::Messages& m) {
                 Frmnote w;
                 return addRecord(m, &w);
             }},
            {"attendance", store::kAttendanceFile, "tabkaoqin", addAttendance}};
}

// Makes a file or a folder refuse every write, root's included, or undoes it. Returns why it
// cannot here, or nothing.
QString setReadOnly(const QString& path, bool on) {
#ifdef Q_OS_WIN
    // Windows: a file's read-only attribute. A folder's attribute stops no write inside it; only
    // an access-control list would, and wine enforces none.
    if (QFileInfo(path).isDir()) return "Windows: a folder's read-only attribute does not stop writes in it";
    const QFile::Permissions read = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    if (!QFile::setPermissions(path, on ? read : read | write)) return "cannot set the read-only attribute";
    if (on && QFile(path).open(QIODevice::ReadWrite)) {
        setReadOnly(path, false);
        return "the read-only attribute stops no write here (wine run by root does not enforce it)";
    }
    return QString();
#else
    if (QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0) return QString();
    return QString("this file system cannot make a %1 read-only for root")
        .arg(QFileInfo(path).isDir() ? "folder" : "file");
#endif
}

QByteArray bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& file, const QByteArray& data) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

} // namespace

class tst_faults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { store::setBusyTimeoutMs(200); }
    void faults_data();
    void faults();

private:
    QList<Probe> m_probes = probes();
};

void tst_faults::faults_data() {
    QTest::addColumn<int>("probe");
    QTest::addColumn<int>("fault");
    const char* faultNames[] = {"missing",       "empty",  "not a database", "truncated",
                                "table missing", "locked", "read-only",      "folder read-only"};
    for (int p = 0; p < m_probes.size(); ++p)
        for (int f = Missing; f <= FolderReadOnly; ++f)
            QTest::newRow(qPrintable(QString("%1: %2").arg(m_probes[p].name, faultNames[f]))) << p << f;
}

void tst_faults::faults() {
    QFETCH(int, probe);
    QFETCH(int, fault);
    const Probe& p = m_probes[probe];
    testkit::Folder folder;
    testkit::Messages messages;
    // Enough rows that the file spans many pages, so that half of it is a real truncation.
    testkit::exec(p.file, "create table filler (x text)");
    testkit::exec(p.file, "with recursive n(i) as (select 1 union all select i+1 from n where i<300) "
                          "insert into filler select hex(randomblob(100)) from n");
    const QByteArray pristine = bytes(p.file);
    const QStringList others =
        QDir(folder.path()).entryList(QDir::Files) + QDir(folder.path("database")).entryList(QDir::Files);

    QSqlDatabase holder;
    const QString folderOfFile = QFileInfo(p.file).absolutePath();
    switch (Fault(fault)) {
    case Missing: QFile::remove(p.file); break;
    case Empty: write(p.file, QByteArray()); break;
    case Garbage: {
        QByteArray junk(pristine.size(), '\0');
        for (char& c : junk) c = char(QRandomGenerator::global()->bounded(256));
        write(p.file, junk);
        break;
    }
    case Truncated: write(p.file, pristine.left(pristine.size() / 2)); break;
    case TableMissing: testkit::exec(p.file, "drop table " + p.table); break;
    case Locked: {
        holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(p.file);
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec("begin exclusive"));
        break;
    }
    case ReadOnly:
        if (const QString why = setReadOnly(p.file, true); !why.isEmpty()) QSKIP(qPrintable(why));
        break;
    case FolderReadOnly:
        if (const QString why = setReadOnly(folderOfFile, true); !why.isEmpty()) QSKIP(qPrintable(why));
        break;
    }

    const bool readOnlyLogin = (fault == ReadOnly || fault == FolderReadOnly) && QString(p.name) == "login";
    const bool succeeded = p.act(messages);
    if (readOnlyLogin) {
        QVERIFY(succeeded); // logging in only reads
    } else {
        QVERIFY2(!succeeded, "reported success on a faulty file");
        QVERIFY2(!messages.all.isEmpty() && messages.last().contains(p.file), qPrintable(messages.last()));
        QVERIFY(messages.all.last().style == 48);
    }
    if (!messages.all.isEmpty()) qInfo().noquote() << "shown:" << messages.last().replace('\n', ' ');
    if (fault == Missing) QVERIFY(!QFile::exists(p.file)); // never created as an empty database

    // The fault goes away: the same action works.
    if (fault == Locked) {
        QSqlQuery(holder).exec("rollback");
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
    }
    if (fault == ReadOnly) setReadOnly(p.file, false);
    if (fault == FolderReadOnly) setReadOnly(folderOfFile, false);
    if (fault != Locked && fault != ReadOnly && fault != FolderReadOnly) write(p.file, pristine);
    messages.clear();
    QVERIFY2(p.act(messages), qPrintable(messages.texts().join(" | ")));
    // Nothing was written anywhere else.
    const QStringList after =
        QDir(folder.path()).entryList(QDir::Files) + QDir(folder.path("database")).entryList(QDir::Files);
    QCOMPARE(after, others);
}

QTEST_MAIN(tst_faults)
#include "tst_faults.moc"
