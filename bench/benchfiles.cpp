#include "benchfiles.h"

#include <admin/backups.h>
#include <books/frmcahier.h>
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/refill.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

namespace {

double copyFiles(const QStringList& files, const QString& to) {
    return medianMs(3, [&] {
        QDir(to).removeRecursively();
        QDir().mkpath(to);
        for (const QString& f : files) QFile::copy(f, QDir(to).filePath(QFileInfo(f).fileName()));
    });
}

double pasteAndShow(QPlainTextEdit& box, const QString& text) {
    QApplication::clipboard()->setText(text);
    Q_ASSERT(!box.isReadOnly());
    return medianMs(1, [&] {
        box.clear();
        box.setFocus();
        box.paste();
        box.repaint();
        QCoreApplication::processEvents();
        if (box.document()->characterCount() < text.size()) qFatal("the paste did not arrive");
    });
}

} // namespace

void benchFiles(const QString& folder, int n, const Report& report) {
    QDir::setCurrent(folder);
    const QString copy = QDir(folder).filePath("plain-copy");
    report("empty the attendance (engine)", n, medianMs(1, [] {
               store::refillBook(store::kAttendanceFile, store::kAttendanceTemplate);
           }),
           copyFiles({store::kAttendanceTemplate}, copy));
    report("back up all five files", n,
           medianMs(3, [] { admin::snapshotBefore(QStringLiteral("手动备份"), store::dataFiles()); }),
           copyFiles(store::dataFiles(), copy));
    const QString backup = store::findBackups(admin::kBackupFolder).first().file(store::kMinutesFile)->path;
    report("restore the minutes", n, medianMs(3, [&] { store::refillBook(store::kMinutesFile, backup); }),
           copyFiles({backup}, copy));
}

void benchPaste(int chars, const Report& report) {
    QString text;
    text.reserve(chars);
    for (int i = 0; i < chars; ++i) text += QChar('a' + i % 26);
    Frmcahier minutes;
    minutes.show();
    minutes.Toolbar1_ButtonClick(ThemeBook::Add); // the content box takes text after 增加
    auto* content = minutes.findChild<QPlainTextEdit*>("txtcontent");
    QPlainTextEdit plain;
    plain.setLineWrapMode(QPlainTextEdit::NoWrap);
    plain.setFont(content->font());
    plain.resize(content->size());
    plain.show();
    report("paste one line into the minutes", chars, pasteAndShow(*content, text), pasteAndShow(plain, text));
}
