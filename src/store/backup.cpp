#include "backup.h"

#include "catalogue.h"
#include "database.h"
#include "privacy.h"
#include "refill.h"
#include "statements.h"

#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HHmmss");

// The copy is finished through the engine too: one write transaction on it makes the engine
// sync the whole file and its folder (synchronous=EXTRA), so the backup survives a pulled stick.
void syncCopy(const QString& copy) {
    Database db(copy);
    const QString version = db.openRecordset("pragma user_version").fields(0);
    db.execute("pragma user_version=" + QString::number(version.toLongLong()));
}

void copyFile(const QString& live, const QString& copy) {
    try {
        Database db(live, Database::ReadOnly);
        db.execute("vacuum into " + SqlQuote(QDir::toNativeSeparators(QFileInfo(copy).absoluteFilePath())));
    } catch (const Error& e) {
        const bool unreadable =
            e.kind() == Error::Engine && (e.primaryCode() == kNotADb || e.primaryCode() == kCorrupt);
        if (!unreadable) throw;
        // Kept as it is: the backup then lists it as unusable, but nothing of it is lost.
        if (!QFile::copy(live, copy)) throw Error(Error::Replace, copy, QString(), QFile(live).errorString());
        makeCopyPrivate(copy);
        return;
    }
    syncCopy(copy);
}

QString liveFileNamed(const QString& name) {
    for (const QString& f : dataFiles())
        if (QFileInfo(f).fileName().compare(name, Qt::CaseInsensitive) == 0) return f;
    return QString();
}

Backup readBackup(const QString& folder, const QDateTime& made, const QString& label) {
    Backup b{folder, made, label, {}};
    for (const QFileInfo& f : QDir(folder).entryInfoList({"*.dat"}, QDir::Files, QDir::Name)) {
        BackupFile file{f.filePath(), liveFileNamed(f.fileName()), {}, false};
        try {
            checkSource(file.path, tablesOf(file.path));
            file.counts = countRows(file.path);
            file.usable = !file.liveFile.isEmpty();
        } catch (const Error&) {
            file.usable = false; // damaged, or not a file of ours: listed, never restored
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

QString makeBackup(const QString& parent, const QString& label, const QStringList& files) {
    QDir root(parent);
    if (!root.mkpath(".")) throw Error(Error::Replace, parent, QString(), "cannot create the folder");
    const QString stamp = QDateTime::currentDateTime().toString(kStampFormat);
    QString name = stamp + "_" + label;
    for (int n = 2; root.exists(name); ++n) name = QString("%1_%2（%3）").arg(stamp, label).arg(n);
    if (!root.mkdir(name)) throw Error(Error::Replace, root.filePath(name), QString(), "cannot create the folder");
    const QString folder = root.filePath(name);
    try {
        for (const QString& live : files)
            if (QFileInfo::exists(live)) copyFile(live, QDir(folder).filePath(QFileInfo(live).fileName()));
    } catch (const Error&) {
        QDir(folder).removeRecursively();
        throw;
    }
    return folder;
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
