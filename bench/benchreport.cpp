// The reports over a register of n entries: the month's figures beside the engine's own group by,
// the preview's first page, the whole PDF and the Excel file of the entries.
#include "benchfiles.h"

#include <books/pagepreview.h>
#include <report/files.h>
#include <store/catalogue.h>
#include <store/report.h>

#include <QApplication>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every entry of the register (its dates span 2024 to 2026).
store::ReportRequest all(store::ReportKind kind) {
    store::ReportRequest q;
    q.kind = kind;
    q.from = QDate(2024, 1, 1);
    q.to = QDate(2026, 12, 31);
    return q;
}

// The floor: the engine counting the same rows by teacher and category, read through.
double groupBy(const QString& file) {
    return plainRead(file, "select 姓名, 考勤类别, count(*), sum(节数) from tabkaoqin group by 1, 2");
}

} // namespace

void benchReports(const QString& folder, int n, const Report& report) {
    QDir::setCurrent(folder);
    report("教师考勤统计", n, medianMs(3, [] { store::makeReport(all(store::ReportKind::AttendanceSummary)); }),
           groupBy(QDir(folder).filePath(store::kAttendanceFile)));
    if (n > 10000) return; // pages and files: the 10,000-entry register
    const store::Report detail = store::makeReport(all(store::ReportKind::AttendanceDetail));
    report("教师考勤明细 model", n, medianMs(3, [] { store::makeReport(all(store::ReportKind::AttendanceDetail)); }),
           0);
    // The preview of the window: the layout once, then only the pages in view painted.
    report("  layout of the pages", n,
           medianMs(3,
                    [&] {
                        QPrinter printer(QPrinter::HighResolution);
                        report::setUpPage(&printer, detail);
                        report::Pages pages(detail, &printer);
                    }),
           0);
    auto showPages = [&](bool everyPage) {
        QPrinter printer(QPrinter::HighResolution);
        report::setUpPage(&printer, detail);
        PagePreview preview;
        preview.resize(800, 600);
        preview.show();
        if (!QTest::qWaitForWindowExposed(&preview)) qFatal("the preview was never shown");
        preview.setPages(std::make_unique<report::Pages>(detail, &printer), printer.pageLayout(), printer.resolution());
        preview.viewport()->repaint();
        for (int page = 2; everyPage && page <= preview.pageCount(); ++page) {
            preview.setCurrentPage(page);
            preview.viewport()->repaint();
        }
        if (preview.paintedPages() == 0 || (everyPage && preview.paintedPages() < preview.pageCount()))
            qFatal("the preview painted %d of %d pages", preview.paintedPages(), preview.pageCount());
    };
    report("  preview, first page shown", n, medianMs(3, [&] { showPages(false); }), 0);
    report("  preview, every page shown in turn", n, medianMs(1, [&] { showPages(true); }), 0);
    // Before: Qt's own preview widget, which has every page painted before it shows one.
    report("  QPrintPreviewWidget, first page", n,
           medianMs(1,
                    [&] {
                        QPrinter printer(QPrinter::HighResolution);
                        report::setUpPage(&printer, detail);
                        QPrintPreviewWidget preview(&printer);
                        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                                         [&](QPrinter* p) { report::paintAll(detail, p); });
                        preview.resize(800, 600);
                        preview.show();
                        preview.updatePreview();
                        QCoreApplication::processEvents();
                    }),
           0);
    QTemporaryDir out;
    report("  whole PDF", n,
           medianMs(1, [&] { report::writeFile(detail, report::Format::Pdf, out.filePath("a.pdf")); }), 0);
    report("  xlsx", n, medianMs(3, [&] { report::writeFile(detail, report::Format::Xlsx, out.filePath("a.xlsx")); }),
           0);
    report("  csv", n, medianMs(3, [&] { report::writeFile(detail, report::Format::Csv, out.filePath("a.csv")); }), 0);
}

void exportRegister(const QString& folder) {
    QDir::setCurrent(folder);
    QTemporaryDir out;
    report::writeFile(store::makeReport(all(store::ReportKind::AttendanceDetail)), report::Format::Xlsx,
                      out.filePath("a.xlsx"));
}
