// lumno-jetread FILE RESULT: reads one Jet database file and writes what it holds to RESULT,
// for the import of the program and of lumno-setup. It runs as a process of its own, so that
// whatever a damaged file does to the reader, the program only reports that file.
#include "jetfile.h"
#include "jetsource.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    const store::SourceFile file = jet::readJetFile(args.at(1));
    QFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || !jet::writeResult(&out, file)) return 3;
    return out.flush() ? 0 : 3;
}
