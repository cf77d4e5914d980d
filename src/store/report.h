#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// The reports of the books: what a report holds, whatever it is written to (pages, Excel, CSV).
// Made here from the data files; the writers that lay it out know no book.
namespace store {

struct ReportColumn {
    enum Align { Left, Centre, Right };
    QString caption;
    Align align = Left;
    int width = 1;        // relative to the other columns (about the characters it needs)
    bool numeric = false; // its values are numbers (counts, lessons): written as numbers
};

struct Report {
    // How the rows are laid out on paper: a table, or each row as a document of its own (its
    // first value the heading, every other value under its caption, a signature line at its end).
    enum Layout { Table, Documents };

    QString school;         // printed above the title
    QString title;          // the report's name ("教师考勤统计")
    QStringList conditions; // lines under the title ("2026年11月1日至2026年11月30日")
    QStringList notes;      // what the rows leave out ("日期无法识别的记录：3 条")
    QVector<ReportColumn> columns;
    QVector<QStringList> rows;
    QStringList totals; // the total row; empty for none
    Layout layout = Table;
    bool landscape = false;
    bool pagePerRecord = false; // Documents: each on a page of its own
    QString signature;          // Documents: the line at the end of each
    // A bar chart under the table: the columns from chartFirst, chartCount of them, per row.
    int chartFirst = -1, chartCount = 0;
};

// The reports there are, in the order they are offered.
enum class ReportKind { AddressBook, Minutes, Events, Rota, AttendanceDetail, AttendanceSummary };
QVector<ReportKind> reportKinds();
QString reportTitle(ReportKind kind);
// The kind of a report by its title; false when no report has it.
bool reportKindOf(const QString& title, ReportKind* kind);
// Which conditions a report takes.
bool takesDates(ReportKind kind);
bool takesTheme(ReportKind kind);

struct ReportRequest {
    ReportKind kind = ReportKind::AddressBook;
    QDate from, to;  // attendance: the range, both ends included; an invalid date: no bound
    QString teacher; // attendance: one teacher's entries; empty for all
    QString theme;   // minutes: one theme; empty for all
    bool pagePerRecord = false;
};

// The report asked for, read from the data files of the current folder. Throws Error when a
// file cannot be read.
Report makeReport(const ReportRequest& request);

// The last whole month before today: the attendance report's range when none is given.
void lastWholeMonth(QDate* from, QDate* to);
// A date as the report's conditions show it: 2026年11月1日.
QString reportDate(const QDate& date);
// The teachers named in the attendance register, in pinyin order.
QStringList attendanceTeachers();
// The themes of the minutes, as stored.
QStringList minuteThemes();

// The text of an empty report's page.
inline const QString kNoRecords = QStringLiteral("暂时没有记录！");

} // namespace store
