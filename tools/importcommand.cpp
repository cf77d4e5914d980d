// lumno-setup --import: the record books kept in Jet database files brought into a program
// folder, reported to the terminal.
#include "importcommand.h"

#include <admin/backups.h>
#include <jet/jetsource.h>
#include <store/database.h>
#include <store/layout.h>
#include <ui/errortext.h>

#include <QDir>
#include <QFileInfo>

int importCommand(const QString& source, const QString& folder, store::ImportMode mode, QTextStream& out,
                  QTextStream& err) {
    if (const QString why = jet::Unavailable(); !why.isEmpty()) {
        err << "lumno-setup: " << why << "\n";
        return 1;
    }
    if (!QDir(folder).exists()) {
        err << "lumno-setup: 程序文件夹“" << QDir::toNativeSeparators(folder) << "”不存在。\n";
        return 1;
    }
    const QString from = QFileInfo(source).absoluteFilePath();
    try {
        store::layOutDataFiles(folder);
    } catch (const store::Error& e) {
        err << "lumno-setup: 无法在程序文件夹“" << QDir::toNativeSeparators(folder) << "”中建立数据文件。"
            << ui::describe(e) << "\n";
        return 1;
    }
    QDir::setCurrent(folder);
    const QVector<store::ImportBook> books = jet::findBooks(from);
    if (books.isEmpty()) {
        err << "lumno-setup: 在“" << QDir::toNativeSeparators(source) << "”中没有找到数据文件（.dat）。\n";
        return 1;
    }
    int problems = 0;
    // Each book is backed up into backup/ before it is changed, as the menu command does: one
    // folder for the whole import.
    const store::Snapshot snapshot = admin::snapshotBefore(QStringLiteral("导入旧数据前"));
    for (const store::ImportBook& book : books) {
        out << book.source << "（" << (book.title.isEmpty() ? QStringLiteral("无法识别") : book.title) << "）\n";
        out.flush();
        if (!book.importable()) {
            for (const QString& p : book.problems) err << "  " << p << "\n";
            err << "  这个文件中的记录都没有导入。\n";
            ++problems;
            continue;
        }
        try {
            for (const QString& line : jet::describeImport(store::importRows(book, mode, snapshot)))
                out << "  " << line << "\n";
        } catch (const store::Error& e) {
            out.flush();
            err << "  没有导入，“" << book.bookFile << "”保持不变。" << ui::describe(e) << "\n";
            ++problems;
        }
        out.flush();
    }
    out.flush();
    if (problems) err << "lumno-setup: " << problems << " 个文件没有导入。\n";
    return problems ? 1 : 0;
}
