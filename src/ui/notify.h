#pragma once

#include <QString>
#include <functional>

class QFontMetrics;
class QWidget;
namespace store {
class Error;
}

namespace ui {

// Message box styles: 48 warning with OK, 64 information with OK, 1 OK and Cancel. Added to a
// style, DefaultCancel makes the second button (Cancel) the default, so Enter answers Cancel.
enum MessageStyle { Warning = 48, Information = 64, OkCancel = 1, DefaultCancel = 256 };
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;

// The one message box of the program, titled "提示". Returns kAnswerOk when the user chose OK.
// The default button is OK, or Cancel where style holds DefaultCancel.
int notify(QWidget* parent, const QString& text, int style);

// The text of a message laid out in lines no wider than width where it can be: a longer line is
// broken after a Chinese punctuation mark (between phrases), and a quoted name (“…”, a file's
// path) is never broken, but put on a line of its own when it does not fit beside the text.
QString breakMessage(const QString& text, const QFontMetrics& metrics, int width);

// The answer Enter gives to a message of this style: its default button.
int defaultAnswer(int style);

// Replaces the message box, for tests: the hook sees every message and gives the answer.
using NotifyHook = std::function<int(QWidget* parent, const QString& text, int style)>;
void setNotifyHook(NotifyHook hook);

// Tells the user that an action could not be done, and why (file, engine text).
void reportError(QWidget* parent, const QString& action, const store::Error& error);

// Waiting for a book another window or copy of the program is writing: the first second
// silently, then with a progress dialog saying what waits (what: "正在备份数据…") and a Cancel
// button; false once Cancel was pressed. The dialog goes when the last copy of it is destroyed.
std::function<bool()> waitingDialog(QWidget* parent, const QString& what); // a store::KeepWaiting

// What a person is told about a write that is in the file although the disk did not confirm it.
QString unconfirmedWrite(const QString& file);

// Runs action. When the store refuses it, tells the person what was not done (what: "内容没有
// 保存。") and why, then runs onError with the error (a window reloads what the file holds), and
// returns false (what is read only then: the action may change it). A write it made that the disk
// did not confirm is reported done, with a warning.
bool attempt(QWidget* parent, const QString& what, const std::function<void()>& action,
             const std::function<void(const store::Error&)>& onError = {});

} // namespace ui
