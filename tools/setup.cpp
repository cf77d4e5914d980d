// Lays out a program or data folder: creates every data file and template that is missing.
// Files that exist are left exactly as they are, so running it again keeps every record.
//
//   lumno-setup [--message-box] [--reason-file FILE] FOLDER
//   lumno-setup --import [--replace] SOURCE [PROGRAM_FOLDER]
//   lumno-setup --report TITLE [--from DATE] [--to DATE] ... (--pdf|--xlsx|--csv) FILE [PROGRAM_FOLDER]
//
// The installed start command runs the first form with --message-box before every start: a
// folder that cannot be made or written is then also shown in a message box, since a start from
// the applications menu has no terminal to read. The Windows installer runs it with
// --reason-file: what went wrong is written there too, as UTF-16 with a byte-order mark, which
// the installer reads whatever the system's code page. The second form lays the folder out the
// same way, then imports the record books kept in the Jet database files of SOURCE (a folder laid
// out like a program folder, or one ".dat" file) into it, the current folder by default. The
// third writes one report of the books of PROGRAM_FOLDER (the current folder by default) to FILE.
#include "importcommand.h"
#include "reportcommand.h"

#include <admin/datafolder.h>
#include <store/database.h>
#include <store/privacy.h>
#include <ui/errortext.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#endif

namespace {

// On Windows this is a GUI program (double-clicked, it opens no console window): started from a
// console without redirection, it writes to that console.
void useParentConsole() {
#ifdef Q_OS_WIN
    if (GetStdHandle(STD_ERROR_HANDLE) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
#endif
}

void writeReason(const QString& file, const QString& reason) {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    QTextStream s(&f);
    s.setEncoding(QStringConverter::Utf16LE);
    s.setGenerateByteOrderMark(true);
    s << QString(reason).replace('\n', "\r\n") << "\r\n";
}

} // namespace

int main(int argc, char** argv) {
    useParentConsole();
    // The data folder, every data file and template it lays out: its owner's alone (Linux).
    store::keepNewFilesPrivate();
    QTextStream err(stderr), out(stdout);
    // A report paints pages, which needs a graphical application: it makes its own.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--report") == 0) return reportCommand(argc, argv, out, err);
    QString failure;
    bool messageBox = false;
    {
        QCoreApplication app(argc, argv);
        // The wide command line on Windows: a user or folder name outside the code page stays whole.
        QStringList args = QCoreApplication::arguments().mid(1);
        messageBox = args.removeAll("--message-box") > 0;
        if (!args.isEmpty() && args.first() == "--import") {
            args.removeFirst();
            const bool replace = !args.isEmpty() && args.first() == "--replace";
            if (replace) args.removeFirst();
            if (args.isEmpty() || args.size() > 2) {
                err << "用法：lumno-setup --import [--replace] 旧数据文件夹或文件 [程序文件夹]\n";
                return 2;
            }
            try {
                return importCommand(args.at(0), args.value(1, QDir::currentPath()),
                                     replace ? store::ImportMode::Replace : store::ImportMode::Add, out, err);
            } catch (const store::Error& e) { // whatever the command did not report itself
                out.flush();
                err << "lumno-setup: 没有导入完。" << ui::describe(e) << "\n";
                return 1;
            }
        }
        QString reasonFile;
        if (const int i = args.indexOf("--reason-file"); i >= 0 && i + 1 < args.size()) {
            reasonFile = args.takeAt(i + 1);
            args.removeAt(i);
        }
        if (args.size() != 1 || args.first().startsWith("--")) {
            err << "用法：lumno-setup [--message-box] [--reason-file 文件] 文件夹\n"
                   "      lumno-setup --import [--replace] 旧数据文件夹或文件 [程序文件夹]\n"
                   "      lumno-setup --report 报表名称 [--from 日期] [--to 日期] (--pdf|--xlsx|--csv) 文件 "
                   "[程序文件夹]\n";
            return 2;
        }
        failure = datafolder::prepare(args.first(), out);
        if (!failure.isEmpty() && !reasonFile.isEmpty()) writeReason(reasonFile, failure);
    }
    if (failure.isEmpty()) return 0;
    err << "lumno-setup: " << failure << "\n";
    err.flush();
    // Only now is a display needed: a start that succeeds never opens one here.
    if (messageBox) datafolder::showInMessageBox(argc, argv, failure + "\n软件没有启动。");
    return 1;
}
