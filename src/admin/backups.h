#pragma once

#include <store/backup.h>

class QWidget;

// Backups a person makes and restores from the "系统设定" menu, and the snapshot the program
// takes of a book before a command changes it wholesale.
namespace admin {

// The backups of the program, in the working folder.
inline const QString kBackupFolder = QStringLiteral("backup");

// The snapshot a command takes, in backup/, of each book it changes (pass it as the BeforeChange
// of the change): one folder for the whole command, named after what is about to happen
// ("清空会议记录前"). When it cannot be taken, the change does not happen.
store::Snapshot snapshotBefore(const QString& what);

// What a backup holds, one line per book: its name and its record count, or why it cannot be
// restored.
QStringList describeBackup(const store::Backup& backup);

// "备份数据…": asks for a folder (backup/ or a USB stick), copies all data files into a new
// dated folder there, and says where and what it holds.
void backupdata_Click(QWidget* parent);

// "恢复数据…": lists the backups, newest first; copies the books the person chooses from the
// one chosen into the live files, after backing up the current state.
void restoredata_Click(QWidget* parent);

// "打开数据文件夹": the folder that holds the data files and backup/ (the working folder) in the
// system's file manager (Explorer on Windows).
void opendatafolder_Click(QWidget* parent);

} // namespace admin
