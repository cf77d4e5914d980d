#pragma once

#include "recordset.h"

#include <QDate>
#include <QString>

namespace attendance {

// Reads a typed attendance date: MM-DD-YYYY (as the date box is filled), YYYY-MM-DD,
// YYYY/M/D or YYYY年M月D日, one- or two-digit months and days. Anything else, or a day that
// does not exist, gives an invalid date.
QDate readDate(const QString& text);

// The Chinese name of the date's weekday: 星期一 ... 星期日.
QString weekdayName(const QDate& date);

// A date as the date box shows it: month-day-year, 2 + 2 + 4 digits (12-07-2026).
QString boxText(const QDate& date);

// The warning for a date text that cannot be read, naming the forms that can.
QString unreadableDateMessage();

// The orders of the register's grid: as stored; by date, oldest first (texts that are no date
// after every date); by name, as a Chinese list is read (pinyin). Rows and rowids move together.
enum class Order { AsStored, ByDate, ByName };
void sortRows(store::RecordSet& rs, Order order);

} // namespace attendance
