// Lays out a program or data folder: creates every data file and template that is missing.
// Files that exist are left exactly as they are, so running it again keeps every record.
//
//   lumno-setup [--message-box] FOLDER
//   lumno-setup --import [--replace] SOURCE [PROGRAM_FOLDER]
//   lumno-setup --report TITLE [--from DATE] [--to DATE] ... (--pdf|--xlsx|--csv) FILE [PROGRAM_FOLDER]
//
// The installed start command runs the first form with --message-box before every start: a
// folder that cannot be made or written is then also shown in a message box, since a start from
// the applications menu has no terminal to read. The second form lays the folder out the same
// way, then imports the record books kept in the Jet database files of SOURCE (a folder laid out
// like a program folder, or one ".dat" file) into it, the current folder by default. The third
// writes one report of the books of PROGRAM_FOLDER (the current folder by default) to FILE.
#include "datafolder.h"
#include "importcommand.h"
#include "reportcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const bool messageBox = args.removeAll("--message-box") > 0;
    QTextStream err(stderr), out(stdout);
    if (!args.isEmpty() && args.first() == "--import") {
        args.removeFirst();
        const bool replace = !args.isEmpty() && args.first() == "--replace";
        if (replace) args.removeFirst();
        if (args.isEmpty() || args.size() > 2) {
            err << "用法：lumno-setup --import [--replace] 旧数据文件夹或文件 [程序文件夹]\n";
            return 2;
        }
        QCoreApplication app(argc, argv);
        return importCommand(args.at(0), args.value(1, QDir::currentPath()),
                             replace ? store::ImportMode::Replace : store::ImportMode::Add, out, err);
    }
    if (!args.isEmpty() && args.first() == "--report") return reportCommand(argc, argv, args, out, err);
    if (args.size() != 1 || args.first().startsWith("--")) {
        err << "用法：lumno-setup [--message-box] 文件夹\n"
               "      lumno-setup --import [--replace] 旧数据文件夹或文件 [程序文件夹]\n"
               "      lumno-setup --report 报表名称 [--from 日期] [--to 日期] (--pdf|--xlsx|--csv) 文件 [程序文件夹]\n";
        return 2;
    }
    QString failure;
    {
        QCoreApplication app(argc, argv);
        failure = datafolder::prepare(args.first(), out);
    }
    if (failure.isEmpty()) return 0;
    err << "lumno-setup: " << failure << "\n";
    err.flush();
    // Only now is a display needed: a start that succeeds never opens one here.
    if (messageBox) datafolder::showInMessageBox(argc, argv, failure + "\n软件没有启动。");
    return 1;
}
