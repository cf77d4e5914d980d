#include "attendancedate.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <numeric>

namespace attendance {

namespace {

// A run of 1 to maxDigits ASCII digits, as a number; -1 otherwise.
int number(QStringView s, int maxDigits) {
    if (s.isEmpty() || s.size() > maxDigits) return -1;
    int n = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

QDate dateOf(int y, int m, int d) { return y < 0 || m < 0 || d < 0 ? QDate() : QDate(y, m, d); }

} // namespace

// Read by hand rather than by regular expressions: the grid orders a hundred thousand dates.
QDate readDate(const QString& text) {
    const QStringView t = QStringView(text).trimmed();
    if (t.endsWith(u'日')) {
        const qsizetype year = t.indexOf(u'年'), month = t.indexOf(u'月');
        if (year != 4 || month < year) return QDate();
        return dateOf(number(t.left(4), 4), number(t.mid(5, month - 5), 2),
                      number(t.mid(month + 1, t.size() - month - 2), 2));
    }
    const qsizetype first = t.indexOf(u'-') >= 0 ? t.indexOf(u'-') : t.indexOf(u'/');
    if (first < 0) return QDate();
    const QChar sep = t.at(first);
    const qsizetype second = t.indexOf(sep, first + 1);
    if (second < 0 || t.indexOf(sep, second + 1) >= 0) return QDate();
    const QStringView a = t.left(first), b = t.mid(first + 1, second - first - 1), c = t.mid(second + 1);
    if (a.size() == 4) return dateOf(number(a, 4), number(b, 2), number(c, 2));                // YYYY-MM-DD, YYYY/M/D
    if (sep == u'-' && c.size() == 4) return dateOf(number(c, 4), number(a, 2), number(b, 2)); // MM-DD-YYYY
    return QDate();
}

QString weekdayName(const QDate& date) {
    if (!date.isValid()) return QString();
    static const QLocale chinese(QLocale::Chinese);
    return chinese.dayName(date.dayOfWeek(), QLocale::LongFormat);
}

QString boxText(const QDate& date) { return date.toString("MM-dd-yyyy"); }

QString unreadableDateMessage() {
    return QStringLiteral("无法识别这个日期，没有保存。请按以下格式之一输入日期：12-07-2026（月-日-年）、"
                          "2026-12-07、2026/12/7 或 2026年12月7日。");
}

void sortRows(store::RecordSet& rs, Order order) {
    if (order == Order::AsStored || rs.recordCount() < 2) return;
    QVector<int> index(rs.recordCount());
    std::iota(index.begin(), index.end(), 0);
    const QVector<QStringList>& rows = rs.rows();
    if (order == Order::ByDate) {
        // As dates, oldest first; texts that are no date after every date, as stored.
        QVector<qint64> day(rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const QDate d = readDate(rows[i].value(0));
            day[i] = d.isValid() ? d.toJulianDay() : std::numeric_limits<qint64>::max();
        }
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return day[a] < day[b]; });
    } else {
        // In the order a Chinese list is read (pinyin), each name's sort key made once.
        const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        for (const QStringList& row : rows) keys.push_back(collator.sortKey(row.value(2)));
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    }
    QVector<QStringList> sorted;
    QVector<qint64> rowids;
    sorted.reserve(rows.size());
    for (int i : index) {
        sorted << rows[i];
        if (i < rs.rowids().size()) rowids << rs.rowids()[i];
    }
    rs = store::RecordSet(rs.columns(), sorted, rowids);
}

} // namespace attendance
