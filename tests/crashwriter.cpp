// A program that writes the way the windows do, to be killed at random moments by tst_crash.
//   crashwriter save FOLDER TAG [N [P]]  saves minutes one by one (N of them, or forever); prints
//                                     "TAG:n" after each save returned (a save refused as busy is
//                                     made again); after P saves it waits for
//                                     a line on its input (and
//                                     pauses 2 ms after each save)
//   crashwriter empty FOLDER A B      refills database/cahier.dat from A and from B in turn, forever
//   crashwriter roster FOLDER TAG N   saves N teachers to the address book, printing each
//   crashwriter backup FOLDER X       backs every data file up into backup/, forever
#include <store/backup.h>
#include <store/catalogue.h>
#include <store/openings.h>
#include <store/refill.h>
#include <store/statements.h>

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return 2;
    QDir::setCurrent(args[2]);
    try {
        if (args[1] == "save") {
            const int last = args.size() > 4 ? args[4].toInt() : -1;
            for (int n = 1; n != last + 1; ++n) {
                const QString theme = args[3] + ":" + QString::number(n);
                for (;;) {
                    try {
                        store::Database db(store::kMinutesFile);
                        db.insert(store::themeInsert("tabcahier", {theme, "时间", "地点", "记录员", "参会者", "无",
                                                                   "无", "无", QString(400, QChar(0x5185))}));
                        break;
                    } catch (const store::Error& e) {
                        // Refused after the busy timeout ("try again later"): a person saves again.
                        if (e.primaryCode() != store::kBusy && e.primaryCode() != store::kLocked) throw;
                        std::fprintf(stderr, "%s: busy, saved again\n", theme.toUtf8().constData());
                    }
                }
                std::printf("%s\n", theme.toUtf8().constData());
                std::fflush(stdout);
                if (args.size() > 5) {
                    if (n == args[5].toInt()) std::getchar();
                    QThread::msleep(2); // room for the other copy's emptying between two saves
                }
            }
            return 0;
        } else if (args[1] == "empty" && args.size() >= 5) {
            for (;;) {
                store::refillBook(store::kMinutesFile, args[3]);
                store::refillBook(store::kMinutesFile, args[4]);
            }
        } else if (args[1] == "backup") {
            for (;;) store::makeBackup("backup", "手动备份", store::dataFiles());
        } else if (args[1] == "roster" && args.size() >= 5) {
            for (int n = 1; n <= args[4].toInt(); ++n) {
                auto db = store::OpenRosterDatabase();
                db->insert(store::addressInsert(
                    {args[3] + QString::number(n), "男", "无", "无", "无", "无", "无", "无", "无"}));
                std::printf("%d\n", n);
                std::fflush(stdout);
            }
            return 0;
        }
    } catch (const store::Error& e) {
        std::fprintf(stderr, "%s: %s\n", e.file().toUtf8().constData(), e.what());
        return 1;
    }
    return 2;
}
