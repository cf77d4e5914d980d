#include "backups.h"

#include "frmrestore.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/refill.h>
#include <ui/choosepath.h>
#include <ui/errortext.h>
#include <ui/notify.h>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace admin {

namespace {} // namespace

store::Snapshot snapshotBefore(const QString& what) { return store::Snapshot(kBackupFolder, what); }

QStringList describeBackup(const store::Backup& backup) {
    QStringList lines;
    for (const store::Book& b : store::books()) {
        const store::BackupFile* f = backup.file(b.file);
        if (!f) continue;
        if (!f->usable) {
            // A table of another shape or kind says what is wrong; damage is said in one phrase.
            const bool shaped = f->problem && f->problem->kind() == store::Error::BadSource &&
                                f->problem->detail() != store::Error::kSourceDamaged &&
                                f->problem->detail() != store::Error::kSourceEmpty;
            lines << (shaped ? QString("%1：不能用来恢复。%2").arg(b.title, ui::describe(*f->problem))
                             : QString("%1：文件已损坏或不完整，不能用来恢复").arg(b.title));
            continue;
        }
        QStringList counts;
        for (const store::Table& t : b.tables)
            if (t.counted) counts << QString("%1 %2").arg(f->counts.value(t.name)).arg(t.unit);
        lines << QString("%1：%2").arg(b.title, counts.join("，"));
    }
    for (const store::BackupFile& f : backup.files)
        if (f.liveFile.isEmpty())
            lines << QString("%1：不是本软件的数据文件，不能用来恢复").arg(QFileInfo(f.path).fileName());
    return lines;
}

void backupdata_Click(QWidget* parent) {
    QDir().mkpath(kBackupFolder);
    const QString where = ui::choosePath(parent, QStringLiteral("选择存放备份的文件夹（例如 U 盘）"),
                                         QFileInfo(kBackupFolder).absoluteFilePath(), ui::PathKind::Folder);
    if (where.isEmpty()) return;
    QString folder;
    if (!ui::attempt(parent, QStringLiteral("没有备份。"), [&] {
            folder = store::makeBackup(where, QStringLiteral("手动备份"), store::dataFiles(),
                                       ui::waitingDialog(parent, QStringLiteral("正在备份数据…")));
        }))
        return;
    const QVector<store::Backup> made = store::findBackups(folder);
    const QStringList lines = made.isEmpty() ? QStringList() : describeBackup(made.first());
    ui::notify(parent, QString("数据已经备份到“%1”。\n备份中有：\n%2").arg(ui::shownPath(folder), lines.join("\n")),
               ui::Information);
}

void restoredata_Click(QWidget* parent) {
    QVector<store::Backup> backups = store::findBackups(kBackupFolder);
    store::Backup chosen;
    QStringList files;
    for (;;) {
        Frmrestore dialog(parent, backups);
        const int answer = dialog.run();
        if (answer == Frmrestore::ChooseFolder) {
            const QString more =
                ui::choosePath(parent, QStringLiteral("选择存放备份的文件夹"), QDir::homePath(), ui::PathKind::Folder);
            if (!more.isEmpty()) {
                for (const store::Backup& b : store::findBackups(more)) {
                    const bool known = std::any_of(backups.begin(), backups.end(), [&](const store::Backup& o) {
                        return QFileInfo(o.folder).canonicalFilePath() == QFileInfo(b.folder).canonicalFilePath();
                    });
                    if (!known) backups << b;
                }
                std::stable_sort(backups.begin(), backups.end(),
                                 [](const store::Backup& a, const store::Backup& b) { return a.made > b.made; });
            }
            continue;
        }
        if (answer != QDialog::Accepted) return;
        chosen = backups.value(dialog.chosenBackup());
        files = dialog.chosenFiles();
        break;
    }
    if (files.isEmpty()) return; // (the dialog asked before it was closed with OK)
    // Each book is copied into the snapshot under the lock its restore holds: a save of another
    // copy meanwhile is in the snapshot or in the restored book.
    store::Snapshot undo = snapshotBefore(QStringLiteral("恢复数据前"));
    QStringList done, failed;
    for (const QString& file : files) {
        try {
            const QString kept = store::refillBook(file, chosen.file(file)->path, undo,
                                                   ui::waitingDialog(parent, QStringLiteral("正在恢复数据…")));
            done << store::bookTitle(file) + (kept.isEmpty()
                                                  ? QString()
                                                  : QString("（原来损坏的文件已保留为“%1”）").arg(ui::shownPath(kept)));
        } catch (const store::Error& e) {
            failed << QString("%1：没有恢复，保持原样。%2").arg(store::bookTitle(file), ui::describe(e));
        }
    }
    QString text = done.isEmpty() ? QString() : QString("已经恢复：%1。").arg(done.join("、"));
    if (!failed.isEmpty()) text += (text.isEmpty() ? "" : "\n") + failed.join("\n");
    if (!undo.folder().isEmpty())
        text += QString("\n恢复之前的数据已备份到“%1”，需要时可以用它撤销这次恢复。").arg(ui::shownPath(undo.folder()));
    ui::notify(parent, text, failed.isEmpty() ? ui::Information : ui::Warning);
}

void opendatafolder_Click(QWidget* parent) {
    const QString folder = QDir::currentPath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        ui::notify(parent, QString("无法打开数据文件夹“%1”。请在文件管理器中打开它。").arg(ui::shownPath(folder)),
                   ui::Warning);
}

} // namespace admin
