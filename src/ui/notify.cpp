#include "notify.h"

#include "errortext.h"

#include <store/database.h>

#include <QAbstractButton>
#include <QMessageBox>

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

void reportError(QWidget* parent, const QString& action, const store::Error& error) {
    notify(parent, action + "\n" + describe(error), Warning);
}

} // namespace ui

namespace ui {

bool attempt(QWidget* parent, const QString& what, const std::function<void()>& action,
             const std::function<void(const store::Error&)>& onError) {
    try {
        action();
        return true;
    } catch (const store::Error& e) {
        reportError(parent, what, e);
        if (onError) onError(e);
        return false;
    }
}

} // namespace ui
