// A program that writes the way the windows do, to be killed at random moments by tst_crash.
//   crashwriter save FOLDER TAG       saves minutes one by one; prints "TAG:n" after each save returned
//   crashwriter empty FOLDER A B      replaces database/cahier.dat by copies of A and B in turn, forever
//   crashwriter roster FOLDER TAG N   saves N teachers to the address book, printing each
#include <store/catalogue.h>
#include <store/filecopy.h>
#include <store/statements.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return 2;
    QDir::setCurrent(args[2]);
    try {
        if (args[1] == "save") {
            for (int n = 1;; ++n) {
                store::Database db(store::kMinutesFile);
                const QString theme = args[3] + ":" + QString::number(n);
                db.insert(sql::themeInsert("tabcahier", {theme, "时间", "地点", "记录员", "参会者", "无", "无", "无",
                                                         QString(400, QChar(0x5185))}));
                std::printf("%s\n", theme.toUtf8().constData());
                std::fflush(stdout);
            }
        } else if (args[1] == "empty" && args.size() >= 5) {
            for (;;) {
                store::ReplaceWithCopy(args[3], store::kMinutesFile);
                store::ReplaceWithCopy(args[4], store::kMinutesFile);
            }
        } else if (args[1] == "roster" && args.size() >= 5) {
            for (int n = 1; n <= args[4].toInt(); ++n) {
                auto db = store::OpenRosterDatabase();
                db->insert(
                    sql::addressInsert({args[3] + QString::number(n), "男", "无", "无", "无", "无", "无", "无", "无"}));
                std::printf("%d\n", n);
                std::fflush(stdout);
            }
            return 0;
        }
    } catch (const store::Error& e) {
        std::fprintf(stderr, "%s\n", e.describe().toUtf8().constData());
        return 1;
    }
    return 2;
}
