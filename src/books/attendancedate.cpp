#include "attendancedate.h"

#include <QRegularExpression>

namespace attendance {

QDate readDate(const QString& text) {
    const QString t = text.trimmed();
    static const QRegularExpression mdy("^(\\d{1,2})-(\\d{1,2})-(\\d{4})$");
    static const QRegularExpression ymd("^(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})$");
    static const QRegularExpression chinese(QStringLiteral("^(\\d{4})年(\\d{1,2})月(\\d{1,2})日$"));
    QRegularExpressionMatch m = mdy.match(t);
    if (m.hasMatch()) return QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    m = ymd.match(t);
    if (m.hasMatch()) return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    m = chinese.match(t);
    if (m.hasMatch()) return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return QDate();
}

QString weekdayName(const QDate& date) {
    static const char* const names[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
    if (!date.isValid()) return QString();
    return QString::fromUtf8(names[date.dayOfWeek() - 1]);
}

QString boxText(const QDate& date) { return date.toString("MM-dd-yyyy"); }

QString unreadableDateMessage() {
    return QStringLiteral("无法识别这个日期，没有保存。请按以下格式之一输入日期：12-07-2026（月-日-年）、"
                          "2026-12-07、2026/12/7 或 2026年12月7日。");
}

} // namespace attendance
