#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace report {

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("无法写入文件“%1”：%2").arg(native(path), why);
}

// The lines above the table in a spreadsheet: the school and title, the conditions, the notes.
QStringList headLines(const store::Report& r) {
    QStringList lines{r.school.isEmpty() ? r.title : r.school + QStringLiteral("　") + r.title};
    lines << r.conditions << r.notes;
    if (r.rows.isEmpty()) lines << store::kNoRecords;
    return lines;
}

bool isNumber(const QString& text, double* n) {
    bool ok = false;
    *n = text.toDouble(&ok);
    return ok && !text.isEmpty() && text.trimmed() == text;
}

QString csvField(const QString& v) {
    if (!v.contains(QLatin1Char(',')) && !v.contains(QLatin1Char('"')) && !v.contains(QLatin1Char('\n')) &&
        !v.contains(QLatin1Char('\r')))
        return v;
    QString q = v;
    return QLatin1Char('"') + q.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

bool writeCsv(const store::Report& r, QIODevice& out, const Progress& progress) {
    auto line = [&out](const QStringList& values) {
        QStringList fields;
        for (const QString& v : values) fields << csvField(v);
        out.write((fields.join(QLatin1Char(',')) + QLatin1String("\r\n")).toUtf8());
    };
    out.write("\xEF\xBB\xBF");
    for (const QString& l : headLines(r)) line({l});
    QStringList captions;
    for (const store::ReportColumn& c : r.columns) captions << c.caption;
    line(captions);
    for (int i = 0; i < r.rows.size(); ++i) {
        line(r.rows[i]);
        if (progress && i % 1000 == 999 && !progress(i + 1, r.rows.size())) return false;
    }
    if (!r.totals.isEmpty()) line(r.totals);
    return true;
}

QString sheetName(const QString& title) {
    QString name = title;
    for (QChar c : QStringLiteral("[]:*?/\\")) name.remove(c);
    return name.left(31).isEmpty() ? QStringLiteral("报表") : name.left(31);
}

// Writes the workbook to file (a temporary one); the reason it could not, or nothing.
QString writeXlsx(const store::Report& r, const QString& file, const Progress& progress, bool* stopped) {
    const QByteArray name = QFile::encodeName(file);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // a hundred thousand rows in little memory
    lxw_workbook* book = workbook_new_opt(name.constData(), &options);
    if (!book) return QStringLiteral("无法创建Excel文件。");
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(r.title).toUtf8().constData());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    format_set_font_size(title, 14);
    const QStringList head = headLines(r);
    const lxw_row_t header = lxw_row_t(head.size());
    for (int c = 0; c < r.columns.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(r.columns[c].width + 2, 60), nullptr);
    worksheet_freeze_panes(sheet, header + 1, 0);
    auto text = [sheet](lxw_row_t row, int col, const QString& v, lxw_format* f) {
        // Never a formula, whatever the value begins with; Excel holds at most 32767 characters.
        worksheet_write_string(sheet, row, lxw_col_t(col), v.left(32767).toUtf8().constData(), f);
    };
    for (int i = 0; i < head.size(); ++i) text(lxw_row_t(i), 0, head[i], i == 0 ? title : nullptr);
    for (int c = 0; c < r.columns.size(); ++c) text(header, c, r.columns[c].caption, bold);
    auto row = [&](lxw_row_t at, const QStringList& values, lxw_format* f) {
        for (int c = 0; c < values.size() && c < r.columns.size(); ++c) {
            double n = 0;
            if (r.columns[c].numeric && isNumber(values[c], &n))
                worksheet_write_number(sheet, at, lxw_col_t(c), n, f);
            else if (!values[c].isEmpty())
                text(at, c, values[c], f);
        }
    };
    for (int i = 0; i < r.rows.size(); ++i) {
        row(header + 1 + lxw_row_t(i), r.rows[i], nullptr);
        if (progress && i % 1000 == 999 && !progress(i + 1, r.rows.size())) {
            *stopped = true;
            workbook_close(book);
            return QString();
        }
    }
    if (!r.totals.isEmpty()) row(header + 1 + lxw_row_t(r.rows.size()), r.totals, bold);
    const lxw_error error = workbook_close(book);
    return error == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(error));
}

} // namespace

Format formatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("pdf") ? Format::Pdf : suffix == QLatin1String("csv") ? Format::Csv : Format::Xlsx;
}

Outcome writeFile(const store::Report& report, Format format, const QString& path, const Progress& progress) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return {false, cannotWrite(path, out.errorString())};
    bool complete = true;
    if (format == Format::Csv) {
        complete = writeCsv(report, out, progress);
    } else if (format == Format::Pdf) {
        QPdfWriter pdf(&out);
        pdf.setTitle(report.title);
        pdf.setCreator(QStringLiteral("Lumno校务管理软件"));
        pdf.setResolution(300);
        setUpPage(&pdf, report);
        complete = paintAll(report, &pdf, progress);
    } else {
        // The library writes a file of its own: made in a temporary folder, then copied in.
        QTemporaryDir temp;
        const QString file = temp.filePath(QStringLiteral("report.xlsx"));
        bool stopped = false;
        const QString why =
            temp.isValid() ? writeXlsx(report, file, progress, &stopped) : QStringLiteral("无法创建临时文件夹。");
        if (stopped)
            complete = false;
        else if (!why.isEmpty()) {
            out.cancelWriting();
            return {false, cannotWrite(path, why)};
        } else {
            QFile made(file);
            if (!made.open(QIODevice::ReadOnly)) return {false, cannotWrite(path, made.errorString())};
            while (!made.atEnd()) out.write(made.read(1 << 20));
        }
    }
    if (!complete) {
        out.cancelWriting();
        return {false, QString()};
    }
    if (!out.commit()) return {false, cannotWrite(path, out.errorString())};
    return {true, QString()};
}

} // namespace report
