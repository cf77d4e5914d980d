#include "testkit.h"

#include <admin/frmpassword.h>
#include <admin/frmrecycle.h>
#include <books/frmteacher.h>
#include <store/accounts.h>
#include <store/catalogue.h>
#include <store/layout.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/toolbar.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolBar>
#include <QVariant>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace testkit {

store::HashCost cheapHash() { return {1, 8192}; }

Folder::Folder() : m_previous(QDir::currentPath()) {
    static const bool fonts = (ui::registerFontSubstitutions(), true); // as the program does at start
    Q_UNUSED(fonts);
    store::setHashCost(cheapHash());
    store::layOutDataFiles(m_dir.path());
    QDir::setCurrent(m_dir.path());
}

Folder::~Folder() { QDir::setCurrent(m_previous); }

QString Folder::path(const QString& relative) const {
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

Messages::Messages() {
    ui::setNotifyHook([this](QWidget*, const QString& text, int style) {
        all.push_back({text, style});
        const int answer = answers.isEmpty() ? ui::kAnswerOk : answers.takeFirst();
        return answer == kEnter ? ui::defaultAnswer(style) : answer;
    });
    Frmpassword::setHook([this](Frmpassword& d) {
        passwordDialogs << d.findChild<QLabel*>("lblreason")->text();
        return int(QDialog::Rejected);
    });
}

Messages::~Messages() {
    ui::setNotifyHook({});
    Frmpassword::setHook({});
}

QStringList Messages::texts() const {
    QStringList out;
    for (const Message& m : all) out << m.text;
    return out;
}

QVector<QStringList> records(const QString& file, const QString& table) {
    QStringList quoted;
    for (const QString& c : store::findTable(table)->columnNames()) quoted << "quote(\"" + c + "\")";
    QVector<QStringList> out = rows(file, "select " + quoted.join(',') + " from " + table);
    std::sort(out.begin(), out.end());
    return out;
}

int count(const QString& file, const QString& table) {
    return rows(file, "select count(*) from " + table).at(0).at(0).toInt();
}

QString integrity(const QString& file) { return rows(file, "pragma integrity_check").value(0).value(0); }

int binCount() { return count(store::kRecycleFile, "tabrecycle"); }

void restoreFromBin(const QVector<int>& chosen) {
    Frmrecycle::setHook([&](Frmrecycle& d) {
        QVector<int> all = chosen;
        if (all.isEmpty())
            for (int i = 0; i < binCount(); ++i) all << i;
        d.choose(all);
        d.findChild<QPushButton*>("cmdrestore")->click();
        return int(QDialog::Accepted);
    });
    admin::recyclebin_Click(nullptr);
    Frmrecycle::setHook({});
}

namespace {
template <class F> void withPlain(const QString& file, F f) {
    static int n = 0;
    const QString name = QString("testkit-%1").arg(++n);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(file);
        if (!db.open()) qFatal("cannot open %s", qPrintable(file));
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
} // namespace

QVector<QStringList> rows(const QString& file, const QString& sql) {
    QVector<QStringList> out;
    withPlain(file, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i) row << q.value(i).toString();
            out << row;
        }
    });
    return out;
}

void exec(const QString& file, const QString& sql) {
    withPlain(file, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    });
}

void leaveHotJournal(const QString& file, const QString& statement) {
    const QString journal = file + "-journal";
    QByteArray crashedFile, crashedJournal;
    withPlain(file, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        // A cache of one page spills every changed page into the file before the commit.
        if (!q.exec("pragma cache_size=1") || !q.exec("begin") || !q.exec(statement))
            qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
        crashedFile = bytes(file);
        crashedJournal = bytes(journal);
        q.exec("rollback");
    });
    if (crashedJournal.isEmpty()) qFatal("no journal was written for %s", qPrintable(statement));
    for (const auto& [name, data] : {std::pair{file, crashedFile}, std::pair{journal, crashedJournal}}) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(name));
    }
}

QByteArray bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString shown(const QString& file) { return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()); }

QString content(const QString& file) {
    QStringList out;
    for (const QStringList& t : rows(file, "select name, sql from sqlite_master where type='table' order by name")) {
        out << t.join('\n');
        for (const QStringList& r : rows(file, QString("select * from \"%1\"").arg(t[0]))) out << r.join('|');
    }
    return out.join('\n');
}

QString setReadOnly(const QString& path, bool on) {
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    const QFile::Permissions now = QFile::permissions(path);
#ifdef Q_OS_WIN
    // A folder's read-only attribute stops no write inside it; only an access-control list would,
    // and wine enforces none.
    if (QFileInfo(path).isDir()) return "Windows: a folder's read-only attribute does not stop writes in it";
    QFile::setPermissions(path, on ? now & ~write : now | QFile::WriteOwner | QFile::WriteUser);
    if (on && QFile(path).open(QIODevice::ReadWrite)) {
        setReadOnly(path, false);
        return "the read-only attribute stops no write here (wine run by root does not enforce it)";
    }
    return QString();
#else
    QFile::setPermissions(path, on ? now & ~write : now | QFile::WriteOwner | QFile::WriteUser);
    const bool root = ::geteuid() == 0;
    if (!on) {
        if (root) QProcess::execute("chattr", {"-i", path});
        return QString();
    }
    if (!QFileInfo(path).isWritable()) return QString();
    if (root && QProcess::execute("chattr", {"+i", path}) == 0 && !QFileInfo(path).isWritable()) return QString();
    return QString("this file system cannot make a %1 read-only here").arg(QFileInfo(path).isDir() ? "folder" : "file");
#endif
}

void startWriter(QProcess& p, const QStringList& args) {
#ifdef Q_OS_WIN
    p.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* a) { a->flags = (a->flags & ~CREATE_NO_WINDOW) | DETACHED_PROCESS; });
#endif
    p.start(QCoreApplication::applicationDirPath() + "/crashwriter", args, QIODevice::ReadWrite | QIODevice::Text);
}

void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c == '\n') {
            key(w, Qt::Key_Return);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void key(QWidget* w, Qt::Key k) {
    QTest::keyPress(w, k);
    QTest::keyRelease(w, k);
}

namespace {

QAction* toolAction(QWidget* window, int index, QToolBar** barOut = nullptr) {
    auto* bar = window->findChild<QToolBar*>("Toolbar1");
    if (!bar) qFatal("no Toolbar1");
    QAction* a = ui::toolButton(bar, index);
    if (!a) qFatal("no button %d", index);
    if (barOut) *barOut = bar;
    return a;
}

} // namespace

bool toolEnabled(QWidget* window, int index) { return toolAction(window, index)->isEnabled(); }

void saveAttendance(QWidget* window, const QStringList& entry) {
    const char* boxes[] = {"txtdate", "comname", "comsort", "comsubject", "txtcount", "comnumber"};
    for (int i = 0; i < 6; ++i) {
        QWidget* w = window->findChild<QWidget*>(boxes[i]);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(entry.value(i));
        else if (auto* c = qobject_cast<QComboBox*>(w))
            c->setEditText(entry.value(i));
        else
            qFatal("no box %s", boxes[i]);
    }
    clickTool(window, frmteacher::Save);
}

void clickTool(QWidget* window, int index) {
    QToolBar* bar = nullptr;
    QAction* a = toolAction(window, index, &bar);
    if (QWidget* button = bar->widgetForAction(a); button && button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        a->trigger();
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

bool underWine() {
#ifdef Q_OS_WIN
    // Wine's ntdll has a function of its own that Windows' lacks.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

} // namespace testkit
