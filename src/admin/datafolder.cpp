#include "datafolder.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/layout.h>
#include <store/recycle.h>
#include <ui/errortext.h>
#include <ui/fonts.h>
#include <ui/notify.h>

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QTemporaryFile>
#include <QTextStream>

namespace datafolder {

namespace {

bool takesNewFiles(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(".lumno-setup-XXXXXX"));
    return probe.open();
}

} // namespace

QString prepare(const QString& folder, QTextStream& out) {
    const QDir dir(folder);
    const QString shown = QDir::toNativeSeparators(dir.absolutePath());
    for (const QString& path : {dir.absolutePath(), dir.absoluteFilePath("database")}) {
        const QString name = QDir::toNativeSeparators(path);
        if (!QDir().mkpath(path))
            return QString("无法建立数据文件夹“%1”。\n请确认路径中的各级文件夹都存在、是文件夹，并且可以写入。")
                .arg(name);
        if (!takesNewFiles(path))
            return QString("数据文件夹“%1”不能写入（没有写入权限，或它所在的磁盘是只读的），记录无法保存。").arg(name);
    }
    // Two starts at once (a double click) must not both create the same missing file.
    QLockFile lock(dir.filePath(".lumno-setup.lock"));
    if (!lock.lock()) return QString("数据文件夹“%1”不能写入，记录无法保存。").arg(shown);
    try {
        for (const QString& f : store::layOutDataFiles(folder)) out << "created " << f << "\n";
        // A recycle bin the engine cannot read would refuse every delete: a new one takes its place.
        const QString kept = store::renewDamagedBin(folder);
        if (!kept.isEmpty())
            out << QString("回收站文件“%1”已经损坏，已原样保留为“%2”，并建立了新的回收站。\n")
                       .arg(QDir::toNativeSeparators(dir.filePath(store::kRecycleFile)),
                            QDir::toNativeSeparators(kept));
    } catch (const store::Error& e) {
        return QString("无法在数据文件夹“%1”中建立数据文件。\n%2").arg(shown, ui::describe(e));
    }
    return QString();
}

void showInMessageBox(int& argc, char** argv, const QString& text) {
    QApplication gui(argc, argv);
    ui::registerFontSubstitutions();
    QApplication::setFont(ui::song(9));
    ui::notify(nullptr, text, ui::Warning);
}

} // namespace datafolder
