#include "jetsource.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

namespace jet {

namespace {

constexpr quint32 kMagic = 0x4c4a4554; // "LJET"
constexpr quint32 kVersion = 1;
constexpr int kReadTimeoutMs = 120 * 1000;

QDataStream& operator<<(QDataStream& s, const store::SourceTable& t) {
    s << t.name << t.columns << t.rows << t.problem << qint32(t.unreadable.size());
    for (const store::SourceCell& c : t.unreadable) s << qint32(c.row) << qint32(c.column) << c.why;
    return s;
}

QDataStream& operator>>(QDataStream& s, store::SourceTable& t) {
    qint32 cells = 0;
    s >> t.name >> t.columns >> t.rows >> t.problem >> cells;
    for (qint32 i = 0; i < cells && s.status() == QDataStream::Ok; ++i) {
        qint32 row = 0, column = 0;
        QString why;
        s >> row >> column >> why;
        t.unreadable.push_back({row, column, why});
    }
    return s;
}

QString readerProgram() {
    const QString name = QStringLiteral("lumno-jetread")
#ifdef Q_OS_WIN
                         + QStringLiteral(".exe")
#endif
        ;
    // Test programs run from the build tree, away from the program folder: they name the reader.
    const QString named = qEnvironmentVariable("LUMNO_JETREAD");
    if (!named.isEmpty()) return QFileInfo(named).isExecutable() ? QFileInfo(named).absoluteFilePath() : QString();
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    return QFileInfo(beside).isExecutable() ? beside : QString();
}

store::SourceFile readByReader(const QString& path) {
    store::SourceFile file;
    file.path = path;
    QTemporaryFile result;
    if (!result.open()) {
        file.problem = QString("无法建立临时文件（%1）").arg(result.errorString());
        return file;
    }
    result.close();
    QProcess reader;
    reader.setStandardOutputFile(QProcess::nullDevice());
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.start(readerProgram(), {path, result.fileName()});
    if (!reader.waitForStarted()) {
        file.problem = QString("无法启动读取程序（%1）").arg(reader.errorString());
        return file;
    }
    if (!reader.waitForFinished(kReadTimeoutMs)) {
        reader.kill();
        reader.waitForFinished();
        file.problem = QString("读了 %1 秒仍未读完，文件可能已损坏").arg(kReadTimeoutMs / 1000);
        return file;
    }
    store::SourceFile read;
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0 || !result.open() ||
        !readResult(&result, read)) {
        file.problem = QStringLiteral("读取时出错中止，文件已损坏");
        return file;
    }
    read.path = path;
    return read;
}

QStringList datFiles(const QDir& dir) {
    QStringList out;
    const QFileInfoList found = dir.entryInfoList({"*.dat"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : found) out << f.filePath();
    return out;
}

} // namespace

QString Unavailable() {
    if (readerProgram().isEmpty())
        return QStringLiteral("找不到读取旧数据文件的程序 lumno-jetread（它应在程序所在的文件夹中），无法导入。");
    return QString();
}

QVector<store::SourceFile> readSource(const QString& folderOrFile) {
    const QFileInfo info(folderOrFile);
    QStringList paths;
    QDir base = info.dir();
    if (info.isDir()) {
        base = QDir(info.filePath());
        paths << datFiles(base) << datFiles(QDir(base.filePath("database")));
    } else if (info.isFile()) {
        paths << info.filePath();
    } else {
        store::SourceFile missing;
        missing.path = missing.shownName = QDir::toNativeSeparators(folderOrFile);
        missing.problem = QStringLiteral("找不到这个文件或文件夹");
        return {missing};
    }
    QVector<store::SourceFile> out;
    for (const QString& path : paths) {
        store::SourceFile file = readByReader(path);
        file.shownName = base.relativeFilePath(path);
        out << file;
    }
    return out;
}

QVector<store::ImportBook> findBooks(const QString& folderOrFile) { return planImport(readSource(folderOrFile)); }

bool writeResult(QIODevice* out, const store::SourceFile& file) {
    QDataStream s(out);
    s.setVersion(QDataStream::Qt_6_0);
    s << kMagic << kVersion << file.problem << qint32(file.tables.size());
    for (const store::SourceTable& t : file.tables) s << t;
    return s.status() == QDataStream::Ok;
}

bool readResult(QIODevice* in, store::SourceFile& file) {
    QDataStream s(in);
    s.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0;
    qint32 tables = 0;
    s >> magic >> version;
    if (magic != kMagic || version != kVersion) return false;
    s >> file.problem >> tables;
    for (qint32 i = 0; i < tables && s.status() == QDataStream::Ok; ++i) {
        store::SourceTable t;
        s >> t;
        file.tables << t;
    }
    return s.status() == QDataStream::Ok && s.atEnd();
}

} // namespace jet
