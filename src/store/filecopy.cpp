#include "filecopy.h"

#include "database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace store {

namespace {

bool syncFile(QFile& f) {
    if (!f.flush()) return false;
#ifdef Q_OS_UNIX
    return ::fsync(f.handle()) == 0;
#else
    return true;
#endif
}

void syncFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// A rollback journal beside the old file belongs to the old file: let the engine roll it back
// into the old file, then make sure no journal is left to meet the new file.
void settleJournal(const QString& target) {
    const QString journal = target + "-journal";
    if (!QFileInfo::exists(journal)) return;
    try {
        Database db(target);
        db.openRecordset("select count(*) from sqlite_master");
    } catch (const Error&) {
        // The old file is no database any more: its journal has nothing to restore.
    }
    QFile::remove(journal);
}

} // namespace

bool CommitReplacement(const QString& temp, const QString& target) {
    {
        QFile f(temp);
        if (!f.open(QIODevice::ReadWrite) || !syncFile(f)) return false;
    }
#ifdef Q_OS_UNIX
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) return false;
#else
    QFile::remove(target);
    if (!QFile::rename(temp, target)) return false;
#endif
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

void ReplaceWithCopy(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(Error::Copy, target, QString(), QString("无法读取“%1”（%2）").arg(source, in.errorString()));
    const QString temp = target + ".copy";
    QFile out(temp);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(Error::Copy, target, QString(), QString("无法写入文件夹（%1）").arg(out.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFile::NoError || out.write(bytes) != bytes.size() || !syncFile(out)) {
        const QString why = out.errorString();
        out.close();
        QFile::remove(temp);
        throw Error(Error::Copy, target, QString(), QString("写入副本失败（%1）").arg(why));
    }
    out.close();
    settleJournal(target);
    if (!CommitReplacement(temp, target)) {
        QFile::remove(temp);
        throw Error(Error::Copy, target, QString(), "无法用副本替换原文件");
    }
}

} // namespace store
