#include "benchfiles.h"
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <admin/backups.h>
#include <books/frmcahier.h>
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/database.h>
#include <store/refill.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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
    report("empty the attendance (engine)", n,
           medianMs(1, [] { store::refillBook(store::kAttendanceFile, store::kAttendanceTemplate); }),
           copyFiles({store::kAttendanceTemplate}, copy));
    report("back up all five files", n,
           medianMs(3, [] { store::makeBackup(admin::kBackupFolder, QStringLiteral("手动备份"), store::dataFiles()); }),
           copyFiles(store::dataFiles(), copy));
    const QString backup = store::findBackups(admin::kBackupFolder).first().file(store::kMinutesFile)->path;
    report("restore the minutes", n, medianMs(3, [&] { store::refillBook(store::kMinutesFile, backup); }),
           copyFiles({backup}, copy));
}

void benchPaste(const QString& folder, int chars, const Report& report) {
    QDir::setCurrent(folder);
    store::Database(store::kMinutesFile).execute("delete from tabcahier");
    // A short record first: after the save and after the delete the window shows it.
    store::Database(store::kMinutesFile).insert("insert into tabcahier values ('短','1','2','3','4','5','6','7','短')");
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
    // Save it (the window then shows the short record), pick it again, and delete it (the short
    // record again), each until laid out and painted; the floor lays the line out in the box
    // that does not wrap.
    for (QLineEdit* e : minutes.findChildren<QLineEdit*>())
        if (e->text().isEmpty()) e->setText("x");
    qobject_cast<QComboBox*>(minutes.findChild<QComboBox*>("Combo1"))->setEditText("长");
    content->setPlainText(text);
    const auto painted = [&](const std::function<void()>& f) {
        return medianMs(1, [&] {
            f();
            content->repaint();
            QCoreApplication::processEvents();
        });
    };
    const double floor = medianMs(1, [&] {
        plain.setPlainText(text);
        plain.repaint();
        QCoreApplication::processEvents();
    });
    report("  save it", chars, painted([&] { minutes.Toolbar1_ButtonClick(ThemeBook::Save); }), floor);
    report("  pick it again", chars, painted([&] { minutes.Combo1_Click(1); }), floor);
    if (content->toPlainText().size() != text.size()) qFatal("the pick did not show the long line");
    report("  delete it", chars, painted([&] { minutes.Toolbar1_ButtonClick(ThemeBook::Delete); }), floor);
    if (store::Database(store::kMinutesFile).openRecordset("select count(*) from tabcahier").fields(0) != "1")
        qFatal("the delete did not remove the long line");
}

double plainRead(const QString& file, const QString& sql) {
    return medianMs(3, [&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(sql);
            const int cols = q.record().count();
            qsizetype total = 0;
            while (q.next())
                for (int c = 0; c < cols; ++c) total += q.value(c).toString().size();
            Q_UNUSED(total);
        }
        QSqlDatabase::removeDatabase("plain");
    });
}
