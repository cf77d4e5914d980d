// lumno-setup --report: a report written to a file without the window, e.g. each month by a
// scheduled task.
#include "reportcommand.h"

#include <report/files.h>
#include <store/attendancedate.h>
#include <store/database.h>
#include <ui/errortext.h>
#include <ui/fonts.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

const char kUsage[] = "用法：lumno-setup --report 报表名称 [--from 日期] [--to 日期] [--teacher 姓名] "
                      "[--theme 会议主题] [--page-per-meeting] (--pdf|--xlsx|--csv) 文件 [程序文件夹]\n";

} // namespace

int reportCommand(int argc, char** argv, QTextStream& out, QTextStream& err) {
    // Pages need fonts, never a display: a scheduled task has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The wide command line on Windows: names outside the code page stay whole.
    QStringList args = QCoreApplication::arguments().mid(1);
    args.removeAll("--message-box");
    store::ReportRequest q;
    QString file, folder = QDir::currentPath(), from, to;
    report::Format format = report::Format::Xlsx;
    bool titled = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool valued =
            QStringList{"--report", "--from", "--to", "--teacher", "--theme", "--pdf", "--xlsx", "--csv"}.contains(a);
        if (valued && i + 1 >= args.size()) {
            err << kUsage;
            return 2;
        }
        if (a == "--report") {
            titled = store::reportKindOf(args[++i], &q.kind);
            if (!titled) {
                QStringList titles;
                for (store::ReportKind k : store::reportKinds()) titles << store::reportTitle(k);
                err << "lumno-setup: 没有名为“" << args[i] << "”的报表。报表有：" << titles.join("、") << "\n";
                return 2;
            }
        } else if (a == "--from")
            from = args[++i];
        else if (a == "--to")
            to = args[++i];
        else if (a == "--teacher")
            q.teacher = args[++i];
        else if (a == "--theme")
            q.theme = args[++i];
        else if (a == "--page-per-meeting")
            q.pagePerRecord = true;
        else if (a == "--pdf" || a == "--xlsx" || a == "--csv") {
            format = a == "--pdf" ? report::Format::Pdf : a == "--csv" ? report::Format::Csv : report::Format::Xlsx;
            file = args[++i];
        } else if (!a.startsWith("--") && folder == QDir::currentPath() && i == args.size() - 1)
            folder = a;
        else {
            err << kUsage;
            return 2;
        }
    }
    if (!titled || file.isEmpty()) {
        err << kUsage;
        return 2;
    }
    for (auto [text, date, name] : {std::tuple{from, &q.from, "--from"}, std::tuple{to, &q.to, "--to"}}) {
        if (text.isEmpty()) continue;
        *date = attendance::readDate(text);
        if (!date->isValid()) {
            err << "lumno-setup: " << name << " 的日期“" << text << "”无法识别（例如 2026-11-01 或 11-01-2026）。\n";
            return 2;
        }
    }
    if (q.from.isValid() && q.to.isValid() && q.to < q.from) {
        err << "lumno-setup: --to 的日期早于 --from 的日期。\n";
        return 2;
    }
    if (store::takesDates(q.kind) && from.isEmpty() && to.isEmpty()) store::lastWholeMonth(&q.from, &q.to);
    if (!QDir(folder).exists()) {
        err << "lumno-setup: 程序文件夹“" << QDir::toNativeSeparators(folder) << "”不存在。\n";
        return 1;
    }
    ui::registerFontSubstitutions();
    const QString target = QFileInfo(file).absoluteFilePath();
    QDir::setCurrent(folder);
    try {
        const store::Report r = store::makeReport(q);
        const report::Outcome outcome = report::writeFile(r, format, target);
        if (!outcome.written) {
            err << "lumno-setup: " << outcome.error << "\n";
            return 1;
        }
        out << r.title << "：" << r.rows.size() << " 行，已写入“" << QDir::toNativeSeparators(target) << "”。\n";
        for (const QString& n : r.notes) out << n << "\n";
    } catch (const store::Error& e) {
        err << "lumno-setup: 报表没有生成。" << ui::describe(e) << "\n";
        return 1;
    }
    return 0;
}
