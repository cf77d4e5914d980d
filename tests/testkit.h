#pragma once

#include <QObject>
#include <QPointer>
#include <QScopedPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <QWidget>

class QAction;
class QProcess;
class QToolBar;

namespace store {
struct HashCost;
}

namespace testkit {

// The lowest hashing cost libsodium accepts, which every test folder uses.
store::HashCost cheapHash();

// A fresh program folder laid out by the program's own set-up code, made the working
// directory for the life of the object. Passwords are hashed at the lowest cost in tests.
class Folder {
public:
    Folder();
    ~Folder();
    QString path(const QString& relative = QString()) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// An answer that presses Enter: the message's default button.
constexpr int kEnter = 0;

struct Message {
    QString text;
    int style;
};

// Records every message box the program shows and answers it (OK unless told otherwise). The
// password dialog that a login opens by itself is recorded too (its line saying why) and
// cancelled, unless a test answers it with a hook of its own.
class Messages {
public:
    Messages();
    ~Messages();
    QVector<Message> all;
    QVector<int> answers; // answers given in order (kEnter: the default button); OK once they run out
    QStringList passwordDialogs;
    QStringList texts() const;
    QString last() const { return all.isEmpty() ? QString() : all.last().text; }
    void clear() { all.clear(); }
};

// A plain read of a database file, outside the program's own store.
QVector<QStringList> rows(const QString& file, const QString& sql);
// A plain statement on a database file, outside the program's own store.
void exec(const QString& file, const QString& sql);
// Leaves file as a crash in the middle of statement would: part of the change written into the
// file, and a hot journal beside it that holds the old pages.
void leaveHotJournal(const QString& file, const QString& statement);
// The file's bytes, or empty when it cannot be read.
QByteArray bytes(const QString& file);
// A file as messages name it: its absolute path in the system's own separators.
QString shown(const QString& file);
// Every table of a database file with its definition and rows, as one text to compare.
QString content(const QString& file);
// Makes a file or folder read-only for this program (on) or writable again (off): plain
// permissions first and, as root (whom they do not stop), the immutable flag; on Windows a
// file's read-only attribute. Returns why it cannot be done here, or nothing.
QString setReadOnly(const QString& path, bool on);
// Starts the test writer (crashwriter, beside the test programs) with args. Its line ends are
// read as '\n'; on Windows it runs without a console, whose host wine would leave running.
void startWriter(QProcess& p, const QStringList& args);

// A test of windows: each test function runs in a fresh program folder, with every message
// box recorded and answered.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    QScopedPointer<Folder> m_folder;
    QScopedPointer<Messages> m_messages;
protected slots:
    void init() {
        m_folder.reset(new Folder);
        m_messages.reset(new Messages);
    }
    void cleanup() {
        m_messages.reset();
        m_folder.reset();
    }
};

// Types text into the focused widget w, one key event per character (Chinese included).
void type(QWidget* w, const QString& text);
// Presses and releases a key on w.
void key(QWidget* w, Qt::Key k);
// Clicks toolbar button index (1-based) of the window's Toolbar1, as a mouse would.
void clickTool(QWidget* window, int index);
// Whether toolbar button index (1-based) of the window's Toolbar1 can be pressed.
bool toolEnabled(QWidget* window, int index);
// Fills the attendance window's boxes in their order (date, name, category, subject, lessons,
// lesson numbers) and presses 保存.
void saveAttendance(QWidget* window, const QStringList& entry);
// Runs queued events (deferred deletes included).
void settle();

// Every row of a catalogued table as SQL literals (quote(): a NULL apart from '', 5 apart from
// '5'), sorted: equal when the table holds exactly the same records, in whatever order.
QVector<QStringList> records(const QString& file, const QString& table);
// How many records the recycle bin holds.
int binCount();
// How many rows a table of a database file holds.
int count(const QString& file, const QString& table);
// What the engine's integrity check says of a database file ("ok" when it is sound).
QString integrity(const QString& file);
// Opens the recycle bin as its menu item does, selects the records listed at these rows (every
// record when none is given), presses 恢复 and closes it.
void restoreFromBin(const QVector<int>& rows = {});

// True when the tests run under wine rather than on Windows itself (or on Linux).
bool underWine();

} // namespace testkit
