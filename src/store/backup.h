#pragma once

#include "database.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

// Backups of the data files: each is a dated folder holding copies made through the engine, and
// each file of it can be copied back into its book.
namespace store {

// The data files a full backup holds: the accounts and school details, and the four books.
const QStringList& dataFiles();

// One file of a backup.
struct BackupFile {
    QString path;                 // where it lies
    QString liveFile;             // the data file it is a copy of ("database/cahier.dat")
    QMap<QString, int> counts;    // rows per table
    bool usable = false;          // whole, and holding every table and column of its book
    std::optional<Error> problem; // why it is not usable, when the engine or the check said why
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
// "<date>_<time>_<label>" inside parent, each as a consistent copy taken by the engine under the
// book's write lock (a save meanwhile in another window or copy of the program is wholly in it or
// not at all; keepWaiting as for Database::begin). A book left half-changed by a crash is rolled
// back first. A file the engine cannot read is copied as it is; a missing file is left out.
//
// The folder is written under a name the backup list ignores, every file and the folder synced,
// and only then renamed to its dated name: a backup is whole or absent. Unfinished folders left
// by an earlier run (more than ten minutes old) are removed. Returns the new folder; throws Error,
// and then no folder is left behind.
QString makeBackup(const QString& parent, const QString& label, const QStringList& files,
                   const KeepWaiting& keepWaiting = {});

// The copy of books taken just before a command changes them wholesale (an emptying, a restore,
// an import): one dated folder inside parent for the whole command, which receives each book
// while the command holds that book's write lock (take() from a BeforeChange), so that it holds
// exactly what the change replaced. Each file is synced and renamed into place, and the folder
// is listed from its first file on. Copies share one folder; a Snapshot is itself a BeforeChange.
class Snapshot {
public:
    Snapshot(const QString& parent, const QString& label);
    // Copies the data file (whose write lock the caller holds) into the snapshot; a file already
    // in it is kept as it was first taken. Throws Error; then the change must not go on.
    void take(const QString& liveFile);
    void operator()(const QString& liveFile) { take(liveFile); }
    // The snapshot's folder; empty until a book was taken.
    QString folder() const { return m_state->folder; }

private:
    struct State {
        QString parent, label, folder;
    };
    std::shared_ptr<State> m_state;
};

// The backups inside parent (or parent itself, when it holds data files), newest first.
QVector<Backup> findBackups(const QString& parent);

// How many rows each table of a database file holds; throws Error when it cannot be read.
QMap<QString, int> countRows(const QString& file);

} // namespace store
