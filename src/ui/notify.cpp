#include "notify.h"

#include "errortext.h"

#include <store/database.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <memory>

namespace ui {

namespace {
NotifyHook& hook() {
    static NotifyHook h;
    return h;
}
} // namespace

void setNotifyHook(NotifyHook h) { hook() = std::move(h); }

namespace {

// The pieces of a line that are never broken: a quoted name with its marks, and a phrase with the
// punctuation that ends it.
QStringList phrases(const QString& line) {
    static const QString ends = QStringLiteral("，。；：、！？）");
    QStringList out;
    QString piece;
    bool quoted = false;
    for (const QChar c : line) {
        if (!quoted && c == u'“') {
            if (!piece.isEmpty()) out << piece;
            piece.clear();
            quoted = true;
        }
        piece += c;
        if (quoted) {
            if (c == u'”') {
                out << piece;
                piece.clear();
                quoted = false;
            }
        } else if (ends.contains(c)) {
            // A mark right after a closing quotation mark or another mark stays with it.
            if (piece.size() == 1 && !out.isEmpty())
                out.last() += c;
            else
                out << piece;
            piece.clear();
        }
    }
    if (!piece.isEmpty()) out << piece;
    return out;
}

} // namespace

QString breakMessage(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& line : text.split('\n')) {
        if (metrics.horizontalAdvance(line) <= width) {
            lines << line;
            continue;
        }
        QString current;
        for (const QString& piece : phrases(line)) {
            if (!current.isEmpty() && metrics.horizontalAdvance(current + piece) > width) {
                lines << current;
                current.clear();
            }
            current += piece;
        }
        lines << current;
    }
    return lines.join('\n');
}

int defaultAnswer(int style) {
    return (style & 0xff) == OkCancel && (style & DefaultCancel) ? kAnswerCancel : kAnswerOk;
}

int notify(QWidget* parent, const QString& text, int style) {
    if (hook()) return hook()(parent, text, style);
    const QString title = QStringLiteral("提示");
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // Wide enough for a line of about forty characters and for a file's path beside a few words,
    // within the screen; the lines are broken between phrases here rather than anywhere by the box.
    const QScreen* screen = parent ? parent->screen() : QApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const QFontMetrics metrics(box.font());
    const int width = qBound(metrics.horizontalAdvance(QString(28, QChar(0x4e2d))), screenWidth * 6 / 10,
                             metrics.horizontalAdvance(QString(48, QChar(0x4e2d))));
    const QString laidOut = breakMessage(text, metrics, width);
    box.setText(laidOut);
    int widest = 0;
    for (const QString& line : laidOut.split('\n')) widest = qMax(widest, metrics.horizontalAdvance(line));
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_label")) label->setMinimumWidth(qMin(widest, width));
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
