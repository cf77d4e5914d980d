#include "notify.h"

#include "errortext.h"

#include <store/database.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <memory>

namespace ui {

namespace {
NotifyHook& hook() {
    static NotifyHook h;
    return h;
}
} // namespace

void setNotifyHook(NotifyHook h) { hook() = std::move(h); }

int defaultAnswer(int style) {
    return (style & 0xff) == OkCancel && (style & DefaultCancel) ? kAnswerCancel : kAnswerOk;
}

int notify(QWidget* parent, const QString& text, int style) {
    if (hook()) return hook()(parent, text, style);
    const QString title = QStringLiteral("提示");
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    if ((style & 0xff) == OkCancel) {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(defaultAnswer(style) == kAnswerOk ? QMessageBox::Ok : QMessageBox::Cancel);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    } else {
        box.setIcon(style == Warning ? QMessageBox::Warning : QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    return box.exec() == QMessageBox::Ok ? kAnswerOk : kAnswerCancel;
}

std::function<bool()> waitingDialog(QWidget* parent, const QString& what) {
    struct Waiting {
        QElapsedTimer since;
        QPointer<QWidget> parent;
        QString what;
        std::unique_ptr<QProgressDialog> dialog;
    };
    auto w = std::make_shared<Waiting>();
    w->since.start();
    w->parent = parent;
    w->what = what;
    return [w] {
        if (!w->dialog && w->since.elapsed() >= 1000) {
            w->dialog = std::make_unique<QProgressDialog>(
                w->what + QStringLiteral("\n数据文件正被另一个窗口或另一份程序使用，正在等它写完…"),
                QStringLiteral("取消"), 0, 0, w->parent);
            w->dialog->setWindowTitle(QStringLiteral("提示"));
            w->dialog->setWindowModality(Qt::ApplicationModal);
            w->dialog->setMinimumDuration(0);
            w->dialog->show();
        }
        // Before the dialog, nothing a person does may start another command meanwhile.
        QApplication::processEvents(w->dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        return !(w->dialog && w->dialog->wasCanceled());
    };
}

QString unconfirmedWrite(const QString& file) {
    return QString("内容已经写入数据文件“%1”，但磁盘没有确认这次写入（可能是磁盘或网络故障），"
                   "突然断电时它可能丢失。请检查磁盘，并尽快备份数据。")
        .arg(file);
}

void reportError(QWidget* parent, const QString& action, const store::Error& error) {
    notify(parent, action + "\n" + describe(error), Warning);
}

} // namespace ui

namespace ui {

bool attempt(QWidget* parent, const QString& what, const std::function<void()>& action,
             const std::function<void(const store::Error&)>& onError) {
    store::takeUnconfirmedWrites(); // what earlier actions left unreported is not this one's
    try {
        action();
    } catch (const store::Error& e) {
        reportError(parent, what, e);
        if (onError) onError(e);
        return false;
    }
    // Done, and in the file; the disk did not confirm it: say so, and report it as done (saving it
    // again would only make a second copy of it).
    for (const QString& file : store::takeUnconfirmedWrites()) notify(parent, unconfirmedWrite(file), Warning);
    return true;
}

} // namespace ui
