// Lays out a program folder: creates every data file and template that is missing.
// Files that exist are left exactly as they are, so running it again keeps every record.
#include <store/database.h>
#include <store/layout.h>
#include <ui/errortext.h>

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr), out(stdout);
    if (argc != 2) {
        err << "usage: lumno-setup PROGRAM_FOLDER\n";
        return 2;
    }
    try {
        const QStringList created = store::LayOutDataFiles(QString::fromLocal8Bit(argv[1]));
        for (const QString& f : created) out << "created " << f << "\n";
    } catch (const store::Error& e) {
        err << "lumno-setup: " << ui::describe(e) << "\n";
        return 1;
    }
    return 0;
}
