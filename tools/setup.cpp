// Lays out a program or data folder: creates every data file and template that is missing.
// Files that exist are left exactly as they are, so running it again keeps every record.
//
//   lumno-setup [--message-box] FOLDER
//
// The installed start command runs it with --message-box before every start: a folder that
// cannot be made or written is then also shown in a message box, since a start from the
// applications menu has no terminal to read.
#include "datafolder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const bool messageBox = args.removeAll("--message-box") > 0;
    QTextStream err(stderr), out(stdout);
    if (args.size() != 1 || args.first().startsWith("--")) {
        err << "usage: lumno-setup [--message-box] FOLDER\n";
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
