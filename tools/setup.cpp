// Lays out a program folder: creates every data file and template that is missing.
// Files that exist are left exactly as they are, so running it again keeps every record.
//
//   lumno-setup PROGRAM_FOLDER
//   lumno-setup --import [--replace] SOURCE [PROGRAM_FOLDER]
//
// The second form lays the folder out the same way, then imports the record books kept in the
// Jet database files of SOURCE (a folder laid out like a program folder, or one ".dat" file)
// into it, the current folder by default. Its exit status is 0 only when every file was read
// and imported.
#include <admin/backups.h>
#include <jet/jetsource.h>
#include <store/database.h>
#include <store/layout.h>
#include <ui/errortext.h>

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

int import(const QString& source, const QString& folder, store::ImportMode mode, QTextStream& out, QTextStream& err) {
    if (const QString why = jet::Unavailable(); !why.isEmpty()) {
        err << "lumno-setup: " << why << "\n";
        return 1;
    }
    if (!QDir(folder).exists()) {
        err << "lumno-setup: 程序文件夹“" << QDir::toNativeSeparators(folder) << "”不存在。\n";
        return 1;
    }
    const QString from = QFileInfo(source).absoluteFilePath();
    store::LayOutDataFiles(folder);
    QDir::setCurrent(folder);
    const QVector<store::ImportBook> books = jet::FindBooks(from);
    if (books.isEmpty()) {
        err << "lumno-setup: 在“" << QDir::toNativeSeparators(source) << "”中没有找到数据文件（.dat）。\n";
        return 1;
    }
    int problems = 0;
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
            // The book is backed up into backup/ before it is changed, as the menu command does.
            const auto snapshot = [](const QString& file) { admin::snapshotBefore(QStringLiteral("导入旧数据前"), {file}); };
            for (const QString& line : store::ImportRows(book, mode, snapshot)) out << "  " << line << "\n";
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr), out(stdout);
    QStringList args = app.arguments().mid(1);
    const bool importing = !args.isEmpty() && args.first() == "--import";
    if (importing) args.removeFirst();
    const bool replace = importing && !args.isEmpty() && args.first() == "--replace";
    if (replace) args.removeFirst();
    if (importing ? (args.size() < 1 || args.size() > 2) : args.size() != 1) {
        err << "用法：lumno-setup 程序文件夹\n"
               "      lumno-setup --import [--replace] 旧数据文件夹或文件 [程序文件夹]\n";
        return 2;
    }
    try {
        if (importing)
            return import(args.at(0), args.value(1, QDir::currentPath()),
                          replace ? store::ImportMode::Replace : store::ImportMode::Add, out, err);
        const QStringList created = store::LayOutDataFiles(args.at(0));
        for (const QString& f : created) out << "created " << f << "\n";
    } catch (const store::Error& e) {
        err << "lumno-setup: " << ui::describe(e) << "\n";
        return 1;
    }
    return 0;
}
