#include "report.h"

#include "attendancedate.h"
#include "catalogue.h"
#include "database.h"
#include "openings.h"
#include "statements.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace store {

namespace {

const QString kDetail = QStringLiteral("明细"), kSummary = QStringLiteral("统计"), kSheet = QStringLiteral("表");
// The categories the attendance window offers before any is added through its lists.
const QStringList kBuiltInCategories{QStringLiteral("缺席"), QStringLiteral("迟到"), QStringLiteral("早退"),
                                     QStringLiteral("请假")};

const Table& table(const char* name) { return *findTable(QLatin1String(name)); }

QCollator pinyin() {
    QCollator c(QLocale(QLocale::Chinese, QLocale::China));
    c.setNumericMode(true);
    return c;
}

// The rows ordered by the pinyin of one column, each key made once; stable, so equal names keep
// their order.
void sortByPinyin(QVector<QStringList>& rows, int column) {
    const QCollator collator = pinyin();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (const QStringList& r : rows) keys.push_back(collator.sortKey(r.value(column)));
    std::vector<int> index(rows.size());
    std::iota(index.begin(), index.end(), 0);
    std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    QVector<QStringList> sorted;
    sorted.reserve(rows.size());
    for (int i : index) sorted << std::move(rows[i]);
    rows = std::move(sorted);
}

// How wide a text is in character cells: a Chinese character takes two.
int cells(const QString& text) {
    int n = 0;
    for (QChar c : text)
        if (!c.isLowSurrogate()) n += c.unicode() >= 0x1100 ? 2 : 1;
    return n;
}

// Each column as wide as its caption and the longest of its first thousand values, within reason.
void fitWidths(Report& r) {
    for (int c = 0; c < r.columns.size(); ++c) {
        int w = cells(r.columns[c].caption);
        for (int i = 0; i < r.rows.size() && i < 1000; ++i) w = std::max(w, cells(r.rows[i].value(c)));
        r.columns[c].width = std::clamp(w, 4, 40);
    }
}

QVector<ReportColumn> columnsOf(const Table& t) {
    QVector<ReportColumn> cols;
    for (const Column& c : t.columns) cols.append({c.caption});
    return cols;
}

QString select(const Table& t) {
    QStringList names;
    for (const QString& n : t.columnNames()) names << sqlName(n);
    return "select " + names.join(',') + " from " + t.name;
}

Report plainTable(const char* tableName, const QString& file, const QString& where = QString()) {
    const Table& t = table(tableName);
    Report r;
    r.columns = columnsOf(t);
    r.rows = Database(file, Database::ReadOnly).openRecordset(select(t) + where).rows();
    return r;
}

// The rota as its grid shows it: the file's own columns, captions from the catalogue.
Report rota() {
    const Table& t = table("tabonduty");
    const RecordSet rs = Database(kRosterFile, Database::ReadOnly).openRecordset("select * from " + t.name);
    Report r;
    for (const QString& name : rs.columns()) {
        QString caption = name;
        for (const Column& c : t.columns)
            if (c.name == name) caption = c.caption;
        r.columns.append({caption});
    }
    r.rows = rs.rows();
    return r;
}

QString rangeText(const QDate& from, const QDate& to) {
    if (from.isValid() && to.isValid()) return reportDate(from) + QStringLiteral("至") + reportDate(to);
    if (from.isValid()) return reportDate(from) + QStringLiteral("起");
    if (to.isValid()) return QStringLiteral("至") + reportDate(to);
    return QStringLiteral("全部日期");
}

// The register's entries in the range (and of the teacher), dates read as the window reads them;
// those whose date cannot be read are counted, never kept among the rows.
struct Entries {
    QVector<QStringList> rows;
    QVector<qint64> days;
    int unreadable = 0;
};

Entries entries(const QString& columns, const ReportRequest& q) {
    QString sql = "select " + columns + " from tabkaoqin";
    if (!q.teacher.isEmpty()) sql += " where " + sqlName(QStringLiteral("姓名")) + "=" + SqlQuote(q.teacher);
    Entries e;
    RecordSet rs = Database(kAttendanceFile, Database::ReadOnly).openRecordset(sql);
    const qint64 first = q.from.isValid() ? q.from.toJulianDay() : std::numeric_limits<qint64>::min();
    const qint64 last = q.to.isValid() ? q.to.toJulianDay() : std::numeric_limits<qint64>::max();
    for (QStringList& row : rs.rows()) {
        const QDate d = attendance::readDate(row.at(0));
        if (!d.isValid()) {
            ++e.unreadable;
            continue;
        }
        if (d.toJulianDay() < first || d.toJulianDay() > last) continue;
        e.days << d.toJulianDay();
        e.rows << std::move(row);
    }
    return e;
}

void attendanceConditions(Report& r, const ReportRequest& q, int unreadable) {
    r.conditions << rangeText(q.from, q.to);
    if (!q.teacher.isEmpty()) r.conditions << QStringLiteral("教师：") + q.teacher;
    if (unreadable) r.notes << QStringLiteral("日期无法识别的记录：%1 条").arg(unreadable);
}

Report attendanceDetail(const ReportRequest& q) {
    const Table& t = table("tabkaoqin");
    QStringList names;
    for (const QString& n : t.columnNames()) names << sqlName(n);
    Entries e = entries(names.join(','), q);
    // By date, then by the pinyin of the name.
    const QCollator collator = pinyin();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(e.rows.size());
    for (const QStringList& row : e.rows) keys.push_back(collator.sortKey(row.value(2)));
    std::vector<int> index(e.rows.size());
    std::iota(index.begin(), index.end(), 0);
    std::stable_sort(index.begin(), index.end(), [&](int a, int b) {
        return e.days[a] != e.days[b] ? e.days[a] < e.days[b] : keys[a].compare(keys[b]) < 0;
    });
    Report r;
    r.columns = columnsOf(t);
    r.columns[5].align = ReportColumn::Right;
    r.columns[5].numeric = true;
    r.rows.reserve(e.rows.size());
    for (int i : index) r.rows << std::move(e.rows[i]);
    attendanceConditions(r, q, e.unreadable);
    return r;
}

// A lesson count: a whole or decimal number, nothing else.
bool lessons(const QString& text, double* n) {
    bool ok = false;
    *n = text.trimmed().toDouble(&ok);
    return ok && *n >= 0;
}

QString number(double n) { return QString::number(n, 'g', 15); }

Report attendanceSummary(const ReportRequest& q) {
    // Each distinct date text read once; the engine then counts the entries of the dates in range.
    Database db(kAttendanceFile, Database::ReadOnly);
    const QString name = sqlName(QStringLiteral("姓名")), date = sqlName(QStringLiteral("日期"));
    const QString teacher = q.teacher.isEmpty() ? QString() : name + "=" + SqlQuote(q.teacher);
    const RecordSet dates = db.openRecordset("select " + date + ", count(*) from tabkaoqin" +
                                             (teacher.isEmpty() ? QString() : " where " + teacher) + " group by 1");
    QStringList in, out;
    int unreadable = 0;
    for (const QStringList& row : dates.rows()) {
        const QDate d = attendance::readDate(row.at(0));
        if (!d.isValid()) unreadable += row.at(1).toInt();
        ((d.isValid() && (!q.from.isValid() || d >= q.from) && (!q.to.isValid() || d <= q.to)) ? in : out) << row.at(0);
    }
    Entries e;
    e.unreadable = unreadable;
    if (!in.isEmpty()) {
        // The shorter list of dates names them (a NULL date is never in range).
        QStringList where;
        if (!teacher.isEmpty()) where << teacher;
        if (!out.isEmpty())
            where << (in.size() <= out.size() ? date + " in (" + quotedList(in) + ")"
                                              : date + " not in (" + quotedList(out) + ")");
        e.rows = db.openRecordset("select '', " + name + ", 考勤类别, 节数, count(*) from tabkaoqin" +
                                  (where.isEmpty() ? QString() : " where " + where.join(" and ")) + " group by 2, 3, 4")
                     .rows();
    }
    struct Teacher {
        QHash<QString, int> counts;
        int entries = 0, notANumber = 0;
        double lessons = 0;
    };
    QHash<QString, Teacher> teachers;
    QStringList categories = kBuiltInCategories;
    for (const QStringList& row : e.rows) {
        Teacher& t = teachers[row.at(1)];
        const int n = row.at(4).toInt();
        t.counts[row.at(2)] += n;
        t.entries += n;
        if (!categories.contains(row.at(2))) categories << row.at(2);
        double l = 0;
        if (row.at(3).trimmed().isEmpty()) continue; // no lessons missed
        if (lessons(row.at(3), &l))
            t.lessons += l * n;
        else
            t.notANumber += n;
    }
    // One column per category that occurs: those the window offers first, then the added ones.
    QStringList used;
    for (const QString& c : categories) {
        for (const Teacher& t : std::as_const(teachers))
            if (t.counts.contains(c)) {
                used << c;
                break;
            }
    }
    Report r;
    r.columns.append({table("tabkaoqin").columns[2].caption});
    for (const QString& c : used) r.columns.append({c, ReportColumn::Right, 1, true});
    r.columns.append({QStringLiteral("合计"), ReportColumn::Right, 1, true});
    r.columns.append({QStringLiteral("缺课节数"), ReportColumn::Right, 1, true});
    r.columns.append({QStringLiteral("节数非数字"), ReportColumn::Right, 1, true});
    QVector<double> sums(r.columns.size());
    for (auto it = teachers.cbegin(); it != teachers.cend(); ++it) {
        QStringList row{it.key()};
        QVector<double> values;
        for (const QString& c : used) values << it->counts.value(c);
        values << it->entries << it->lessons << it->notANumber;
        for (int i = 0; i < values.size(); ++i) {
            row << number(values[i]);
            sums[i + 1] += values[i];
        }
        r.rows << row;
    }
    sortByPinyin(r.rows, 0);
    if (!r.rows.isEmpty()) {
        r.totals << QStringLiteral("合计");
        for (int i = 1; i < sums.size(); ++i) r.totals << number(sums[i]);
        r.chartFirst = 1;
        r.chartCount = used.size();
    }
    attendanceConditions(r, q, e.unreadable);
    return r;
}

} // namespace

QVector<ReportKind> reportKinds() {
    return {ReportKind::AddressBook, ReportKind::Minutes,          ReportKind::Events,
            ReportKind::Rota,        ReportKind::AttendanceDetail, ReportKind::AttendanceSummary};
}

QString reportTitle(ReportKind kind) {
    switch (kind) {
    case ReportKind::AddressBook: return table("tabaddlist").title;
    case ReportKind::Minutes: return table("tabcahier").title;
    case ReportKind::Events: return table("tabnote").title;
    case ReportKind::Rota: return table("tabonduty").title + kSheet;
    case ReportKind::AttendanceDetail: return table("tabkaoqin").title + kDetail;
    case ReportKind::AttendanceSummary: return table("tabkaoqin").title + kSummary;
    }
    return QString();
}

bool reportKindOf(const QString& title, ReportKind* kind) {
    for (ReportKind k : reportKinds())
        if (reportTitle(k) == title) {
            *kind = k;
            return true;
        }
    return false;
}

bool takesDates(ReportKind kind) {
    return kind == ReportKind::AttendanceDetail || kind == ReportKind::AttendanceSummary;
}
bool takesTheme(ReportKind kind) { return kind == ReportKind::Minutes; }

Report makeReport(const ReportRequest& q) {
    Report r;
    switch (q.kind) {
    case ReportKind::AddressBook:
        r = plainTable("tabaddlist", kRosterFile);
        sortByPinyin(r.rows, 0);
        r.landscape = true;
        break;
    case ReportKind::Minutes:
        r = plainTable("tabcahier", kMinutesFile, q.theme.isEmpty() ? QString() : " where " + themeCondition(q.theme));
        r.layout = Report::Documents;
        r.pagePerRecord = q.pagePerRecord;
        r.signature = QStringLiteral("记录员签字：");
        if (!q.theme.isEmpty()) r.conditions << table("tabcahier").columns[0].caption + QStringLiteral("：") + q.theme;
        break;
    case ReportKind::Events: r = plainTable("tabnote", kEventsFile); break;
    case ReportKind::Rota:
        r = rota();
        r.landscape = true;
        break;
    case ReportKind::AttendanceDetail: r = attendanceDetail(q); break;
    case ReportKind::AttendanceSummary: r = attendanceSummary(q); break;
    }
    r.title = reportTitle(q.kind);
    r.school = schoolName();
    fitWidths(r);
    return r;
}

void lastWholeMonth(QDate* from, QDate* to) {
    const QDate today = QDate::currentDate();
    *to = QDate(today.year(), today.month(), 1).addDays(-1);
    *from = QDate(to->year(), to->month(), 1);
}

QString reportDate(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QStringList attendanceTeachers() {
    QStringList names;
    const RecordSet rs = Database(kAttendanceFile, Database::ReadOnly)
                             .openRecordset("select distinct 姓名 from tabkaoqin where 姓名<>''");
    for (const QStringList& row : rs.rows()) names << row.at(0);
    const QCollator collator = pinyin();
    std::sort(names.begin(), names.end(), collator);
    return names;
}

QStringList minuteThemes() {
    QStringList themes;
    const RecordSet rs =
        Database(kMinutesFile, Database::ReadOnly).openRecordset("select distinct theme from tabcahier");
    for (const QStringList& row : rs.rows())
        if (!row.at(0).isEmpty()) themes << row.at(0);
    return themes;
}

} // namespace store
