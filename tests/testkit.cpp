#include "testkit.h"

#include <store/layout.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/toolbar.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolBar>
#include <QVariant>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace testkit {

Folder::Folder() : m_previous(QDir::currentPath()) {
    static const bool fonts = (ui::registerFontSubstitutions(), true); // as the program does at start
    Q_UNUSED(fonts);
    store::LayOutDataFiles(m_dir.path());
    QDir::setCurrent(m_dir.path());
}

Folder::~Folder() { QDir::setCurrent(m_previous); }

QString Folder::path(const QString& relative) const {
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

Messages::Messages() {
    ui::setNotifyHook([this](QWidget*, const QString& text, int style) {
        all.push_back({text, style});
        return answers.isEmpty() ? ui::kAnswerOk : answers.takeFirst();
    });
}

Messages::~Messages() { ui::setNotifyHook({}); }

QStringList Messages::texts() const {
    QStringList out;
    for (const Message& m : all) out << m.text;
    return out;
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

void clickTool(QWidget* window, int index) {
    auto* bar = window->findChild<QToolBar*>("Toolbar1");
    if (!bar) qFatal("no Toolbar1");
    QAction* a = ui::toolButton(bar, index);
    if (!a) qFatal("no button %d", index);
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
