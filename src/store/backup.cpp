#include "backup.h"

#include "catalogue.h"
#include "database.h"
#include "privacy.h"
#include "refill.h"
#include "statements.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <memory>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace store {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HHmmss");
// An unfinished folder: "." + its dated name + ".part"; the backup list never shows it.
const QString kUnfinishedSuffix = QStringLiteral(".part");
constexpr int kLeftoverAgeSeconds = 600;

// A failure of writing where a copy was to go: the target (folder), never the live book.
[[noreturn]] void failTarget(const QString& where, const QString& why, int code = 0) {
    throw Error(Error::Target, QDir::toNativeSeparators(where), QString(), why, code);
}

// Makes what was written to the file or folder reach the disk.
void syncPath(const QString& path, const QString& where) {
#ifdef Q_OS_WIN
    if (QFileInfo(path).isDir()) return; // Windows keeps no folder contents to sync
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || _commit(f.handle()) != 0) failTarget(where, f.errorString());
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0) ::close(fd);
        failTarget(where, why);
    }
    ::close(fd);
#endif
}

bool unreadable(const Error& e) {
    return e.kind() == Error::Engine && (e.primaryCode() == kNotADb || e.primaryCode() == kCorrupt);
}

// The engine failed to write the copy (not to read the book).
bool writingFailed(const Error& e) {
    const int p = e.primaryCode();
    return e.kind() == Error::Engine && (p == kFull || p == kCantOpen || p == kReadOnly ||
                                         (p == kIoErr && e.code() != kIoErrRead && e.code() != kIoErrShortRead));
}

// Copies the live book into copy (which must not exist yet) as one consistent state, and syncs
// it; where names the target in messages. Unless the caller holds the book's write lock, it is
// taken here (read-write first: the engine rolls a crash's unfinished change back).
void copyBook(const QString& live, const QString& copy, const QString& where, bool locked,
              const KeepWaiting& keepWaiting) {
    try {
        std::unique_ptr<Database> lock;
        if (!locked) {
            lock = std::make_unique<Database>(live, Database::ReadWrite, keepWaiting);
            try {
                lock->begin(keepWaiting);
            } catch (const Error& e) {
                // A read-only book: no copy of the program can change it meanwhile.
                if (e.kind() != Error::Engine || e.code() != kReadOnly) throw;
                lock.reset();
            }
        }
        Database reader(live, Database::ReadOnly);
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            try {
                reader.execute("vacuum into " + SqlQuote(QDir::toNativeSeparators(QFileInfo(copy).absoluteFilePath())));
                break;
            } catch (const Error& e) {
                if (writingFailed(e)) failTarget(where, e.engineText(), e.code());
                // The copy's read can still meet another copy's lock under load: it waits on as the
                // lock did (what it copies cannot change while the write lock is held).
                const bool busy = e.kind() == Error::Engine && (e.primaryCode() == kBusy || e.primaryCode() == kLocked);
                // (A snapshot's caller holds the lock: its copy waits up to a minute.)
                if (!busy || !(keepWaiting ? keepWaiting() : locked && waited.elapsed() < 60000)) throw;
                QFile::remove(copy);
            }
        }
    } catch (const Error& e) {
        if (!unreadable(e)) throw;
        // Kept as it is: the backup then lists it as unusable, but nothing of it is lost.
        QFile::remove(copy);
        QFile in(live);
        if (!in.copy(copy)) failTarget(where, in.errorString());
        makeCopyPrivate(copy);
    }
    syncPath(copy, where);
}

// Unfinished folders of runs killed or failed more than ten minutes ago (never one that another
// copy of the program may be filling now).
void removeLeftovers(const QDir& root) {
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString& sub :
         root.entryList({"." + QString("*") + kUnfinishedSuffix}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QDateTime made = QDateTime::fromString(sub.mid(1, kStampFormat.size()), kStampFormat);
        if (!made.isValid() || made.secsTo(now) > kLeftoverAgeSeconds) QDir(root.filePath(sub)).removeRecursively();
    }
}

// A new, unfinished folder in parent for a backup named label; returns its path, and in name the
// dated name it will get.
QString makeUnfinished(const QString& parent, const QString& label, QString& name) {
    QDir root(parent);
    if (!root.mkpath(".")) failTarget(parent, QString());
    removeLeftovers(root);
    const QString stamp = QDateTime::currentDateTime().toString(kStampFormat);
    name = stamp + "_" + label;
    for (int n = 2; root.exists(name) || root.exists("." + name + kUnfinishedSuffix); ++n)
        name = QString("%1_%2（%3）").arg(stamp, label).arg(n);
    const QString unfinished = "." + name + kUnfinishedSuffix;
    if (!root.mkdir(unfinished)) failTarget(parent, QString());
    return root.filePath(unfinished);
}

// The unfinished folder, whole on disk, takes its dated name; returns it.
QString finish(const QString& unfinished, const QString& name) {
    const QString parent = QFileInfo(unfinished).absolutePath();
    syncPath(unfinished, parent);
    const QString folder = QDir(parent).filePath(name);
    if (!QDir().rename(unfinished, folder)) failTarget(parent, QString());
    syncPath(parent, parent);
    return QDir(QFileInfo(unfinished).path()).filePath(name);
}

QString liveFileNamed(const QString& name) {
    for (const QString& f : dataFiles())
        if (QFileInfo(f).fileName().compare(name, Qt::CaseInsensitive) == 0) return f;
    return QString();
}

Backup readBackup(const QString& folder, const QDateTime& made, const QString& label) {
    Backup b{folder, made, label, {}};
    for (const QFileInfo& f : QDir(folder).entryInfoList({"*.dat"}, QDir::Files, QDir::Name)) {
        BackupFile file{f.filePath(), liveFileNamed(f.fileName()), {}, false, std::nullopt};
        try {
            checkSource(file.path);
            file.counts = countRows(file.path);
            file.usable = !file.liveFile.isEmpty();
        } catch (const Error& e) {
            file.usable = false; // damaged, or not a file of ours: listed, never restored
            file.problem = e;
        }
        b.files << file;
    }
    return b;
}

} // namespace

const QStringList& dataFiles() {
    static const QStringList files = [] {
        QStringList all;
        for (const Book& b : books()) all << b.file;
        return all;
    }();
    return files;
}

const BackupFile* Backup::file(const QString& liveFile) const {
    for (const BackupFile& f : files)
        if (f.liveFile == liveFile) return &f;
    return nullptr;
}

QString makeBackup(const QString& parent, const QString& label, const QStringList& files,
                   const KeepWaiting& keepWaiting) {
    QString name;
    const QString unfinished = makeUnfinished(parent, label, name);
    try {
        for (const QString& live : files)
            if (QFileInfo::exists(live))
                copyBook(live, QDir(unfinished).filePath(QFileInfo(live).fileName()), parent, false, keepWaiting);
        return finish(unfinished, name);
    } catch (const Error&) {
        QDir(unfinished).removeRecursively();
        throw;
    }
}

Snapshot::Snapshot(const QString& parent, const QString& label)
    : m_state(std::make_shared<State>(State{parent, label, {}})) {}

void Snapshot::take(const QString& liveFile) {
    if (!QFileInfo::exists(liveFile)) return;
    const QString fileName = QFileInfo(liveFile).fileName();
    State& s = *m_state;
    if (s.folder.isEmpty()) {
        QString name;
        const QString unfinished = makeUnfinished(s.parent, s.label, name);
        try {
            copyBook(liveFile, QDir(unfinished).filePath(fileName), s.parent, true, {});
            s.folder = finish(unfinished, name);
        } catch (const Error&) {
            QDir(unfinished).removeRecursively();
            throw;
        }
        return;
    }
    const QDir folder(s.folder);
    if (folder.exists(fileName)) return;
    const QString part = folder.filePath(fileName + kUnfinishedSuffix);
    QFile::remove(part);
    try {
        copyBook(liveFile, part, s.parent, true, {});
        if (!QFile::rename(part, folder.filePath(fileName))) failTarget(s.folder, QString());
        syncPath(s.folder, s.parent);
    } catch (const Error&) {
        QFile::remove(part);
        throw;
    }
}

QVector<Backup> findBackups(const QString& parent) {
    QVector<Backup> found;
    const QDir root(parent);
    if (!root.entryList({"*.dat"}, QDir::Files).isEmpty())
        found << readBackup(root.path(), QFileInfo(root.path()).lastModified(), QFileInfo(root.path()).fileName());
    for (const QString& sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDateTime made = QDateTime::fromString(sub.left(kStampFormat.size()), kStampFormat);
        if (!made.isValid() || sub.size() <= kStampFormat.size() + 1) continue;
        found << readBackup(root.filePath(sub), made, sub.mid(kStampFormat.size() + 1));
    }
    std::stable_sort(found.begin(), found.end(), [](const Backup& a, const Backup& b) { return a.made > b.made; });
    return found;
}

QMap<QString, int> countRows(const QString& file) {
    Database db(file, Database::ReadOnly);
    QMap<QString, int> counts;
    for (const QString& table : db.tables())
        counts[table] = db.openRecordset("select count(*) from " + sqlName(table)).fields(0).toInt();
    return counts;
}

} // namespace store
