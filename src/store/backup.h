#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// Backups of the data files: each is a dated folder holding copies made through the engine, and
// each file of it can be copied back into its book.
namespace store {

// The data files a full backup holds: the accounts and school details, and the four books.
const QStringList& dataFiles();

// One file of a backup.
struct BackupFile {
    QString path;              // where it lies
    QString liveFile;          // the data file it is a copy of ("database/cahier.dat")
    QMap<QString, int> counts; // rows per table
    bool usable = false;       // whole, and holding every table of its book
};

// One backup folder: "2026-12-08_143005_<label>".
struct Backup {
    QString folder;
    QDateTime made;
    QString label; // what made it: chosen by whoever made it
    QVector<BackupFile> files;
    const BackupFile* file(const QString& liveFile) const;
};

// Copies the data files (paths relative to the working folder) into a new folder
// "<date>_<time>_<label>" inside parent, each as a consistent copy taken by the engine (a save
// meanwhile in another window or copy of the program is wholly in it or not at all). A file the
// engine cannot read is copied as it is; a missing file is left out. Returns the new folder;
// throws Error, and then no folder is left behind.
QString makeBackup(const QString& parent, const QString& label, const QStringList& files);

// The backups inside parent (or parent itself, when it holds data files), newest first.
QVector<Backup> findBackups(const QString& parent);

// How many rows each table of a database file holds; throws Error when it cannot be read.
QMap<QString, int> countRows(const QString& file);

} // namespace store
