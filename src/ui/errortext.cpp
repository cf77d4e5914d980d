#include "errortext.h"

#include <store/catalogue.h>
#include <store/database.h>

#include <QDir>
#include <QFileInfo>

namespace ui {

namespace {

using store::Error;

bool folderWritable(const QString& file) { return QFileInfo(QFileInfo(file).absolutePath()).isWritable(); }

// The engine refused: its result code says why.
QString engineSentence(const Error& e) {
    const QString f = shownPath(e.file());
    switch (e.primaryCode()) {
    case store::kBusy:
    case store::kLocked: return QString("数据文件“%1”正被另一个窗口或另一份程序使用，请稍后再试。").arg(f);
    case store::kReadOnly:
        switch (e.code() >> 8) {
        case 0: return QString("数据文件“%1”是只读的，无法写入。").arg(f);
        case 3:
            return QString("数据文件“%1”有一次未完成的修改需要撤销，但文件或它所在的文件夹不能写入，"
                           "所以现在无法使用。")
                .arg(f);
        case 4: return QString("数据文件“%1”在使用中被移走或删除了。").arg(f);
        default: return QString("数据文件“%1”所在的文件夹不能写入，无法在其中建立日志文件。").arg(f);
        }
    case store::kCantOpen:
        if (!QFileInfo(e.file()).isReadable()) return QString("没有读取数据文件“%1”的权限。").arg(f);
        if (!folderWritable(e.file()))
            return QString("数据文件“%1”所在的文件夹不能写入，无法在其中建立日志文件，所以不能保存。").arg(f);
        return QString("无法打开数据文件“%1”的日志文件。").arg(f);
    case store::kFull: return QString("磁盘已满，数据文件“%1”无法写入。请腾出磁盘空间后再试。").arg(f);
    case store::kIoErr:
        if (e.code() == store::kIoErrDelete && !folderWritable(e.file()))
            return QString("数据文件“%1”所在的文件夹不能写入，无法删除它旁边的日志文件。请让这个文件夹可以写入后再试。")
                .arg(f);
        if (e.code() == store::kIoErrRead || e.code() == store::kIoErrShortRead)
            return QString("读取数据文件“%1”时出错（可能是磁盘或网络故障），请稍后再试。").arg(f);
        return QString("读写数据文件“%1”时出错（可能是磁盘或网络故障），请稍后再试。").arg(f);
    case store::kCorrupt:
    case store::kNotADb: return QString("数据文件“%1”已经损坏，或不是本软件的数据文件。").arg(f);
    case store::kNoMem: return QString("内存不足，无法处理数据文件“%1”。").arg(f);
    case store::kTooBig: return QString("内容太长，数据文件“%1”无法保存。").arg(f);
    case store::kConstraint: return QString("数据文件“%1”拒绝了这些内容（不符合它的约束条件）。").arg(f);
    default: return QString("数据库引擎无法完成对数据文件“%1”的操作。").arg(f);
    }
}

QString sourceSentence(const Error& e) {
    const QString f = shownPath(e.file()), d = e.detail();
    if (d == Error::kSourceDamaged) return QString("“%1”已经损坏，不能使用。").arg(f);
    if (d == Error::kSourceEmpty) return QString("“%1”是空的，里面没有任何数据表，不能使用。").arg(f);
    if (d.contains('.'))
        return QString("“%1”中的数据表“%2”缺少“%3”一栏，与本软件的记录本不符，不能使用。")
            .arg(f, d.section('.', 0, 0), d.section('.', 1));
    if (d.contains(':')) {
        const QString type = d.section(':', 1);
        const QString shown = type == "view"      ? QStringLiteral("视图")
                              : type == "index"   ? QStringLiteral("索引")
                              : type == "trigger" ? QStringLiteral("触发器")
                                                  : type;
        return QString("“%1”中的“%2”不是数据表，而是%3，不能使用。").arg(f, d.section(':', 0, 0), shown);
    }
    return QString("“%1”中缺少数据表“%2”，不能使用。").arg(f, d);
}

// A backup or snapshot that cannot be written where it was to go (a full or pulled USB stick).
QString targetSentence(const Error& e) {
    const QString f = shownPath(e.file());
    switch (e.primaryCode()) {
    case store::kFull: return QString("磁盘已满，无法把备份写入“%1”。请腾出磁盘空间或换一个文件夹后再试。").arg(f);
    case store::kReadOnly: return QString("“%1”是只读的，无法把备份写入其中。").arg(f);
    default:
        return QString("无法把备份写入“%1”：这个文件夹不存在、不能写入，或者磁盘已被移走（例如 U 盘已拔出）。").arg(f);
    }
}

QString describeFile(const Error& e);

} // namespace

QString shownPath(const QString& path) {
    return path.isEmpty() ? path : QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

QString describe(const Error& e) {
    // The recycle bin: a delete that cannot keep its records there deletes nothing.
    if (QDir::cleanPath(e.file()) == store::kRecycleFile && e.kind() != Error::Changed)
        return describeFile(e) + QStringLiteral("\n删除的记录要先放进回收站；回收站不能使用时，不删除任何记录。");
    return describeFile(e);
}

namespace {

QString describeFile(const Error& e) {
    const QString f = shownPath(e.file());
    QString sentence;
    switch (e.kind()) {
    case Error::Missing:
        return QString("找不到数据文件“%1”（当前文件夹：%2）。").arg(f, QDir::toNativeSeparators(QDir::currentPath()));
    case Error::NotAFile:
        if (e.detail() == e.file()) return QString("“%1”是一个文件夹或其他特殊文件，不是数据文件。").arg(f);
        return QString("数据文件“%1”旁边的“%2”不是普通文件（可能是文件夹或管道），数据库引擎无法使用它。"
                       "请把它移走后再试。")
            .arg(f, shownPath(e.detail()));
    case Error::TableMissing: sentence = QString("数据文件“%1”中缺少数据表“%2”。").arg(f, e.detail()); break;
    case Error::Unstorable: return QString("内容中含有无法保存的字符（空字符），请删去后再保存。");
    case Error::Changed:
        return QString("数据文件“%1”中的这条记录在读取之后已被修改或删除（可能是另一个窗口、另一份程序或清空"
                       "命令所为），所以没有写入任何内容。窗口现在显示文件中现有的内容。")
            .arg(f);
    case Error::BadSource: sentence = sourceSentence(e); break;
    case Error::Replace: sentence = QString("无法写入“%1”。").arg(f); break;
    case Error::Target: sentence = targetSentence(e); break;
    case Error::Engine: sentence = engineSentence(e); break;
    }
    return e.engineText().isEmpty() ? sentence : sentence + "（" + e.engineText() + "）";
}

} // namespace

} // namespace ui
