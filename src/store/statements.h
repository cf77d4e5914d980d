#pragma once

#include <QString>
#include <QStringList>

// The statements of the record books, built from the values the user typed. Every value goes
// through SqlQuote, so no value can leave its literal.
namespace store {

// A value written as an SQL text literal: apostrophes doubled, enclosed in apostrophes.
QString SqlQuote(const QString& value);
// The value with its apostrophes doubled, without the enclosing pair.
QString sqlDouble(const QString& value);
// A table or column name as an SQL identifier: in double quotes, any double quote doubled.
QString sqlName(const QString& name);

// q(v1) + "," + q(v2) + ... for the values in order.
QString quotedList(const QStringList& values);

// The condition that finds one record as the window read it: its rowid and the value of every
// column (a null text is NULL). A record changed or removed meanwhile, or a rowid the engine
// handed out again to another record, matches nothing.
QString sameRecord(const QStringList& columns, const QStringList& values, qint64 rowid);
// The condition that finds one row by its rowid alone.
QString rowidCondition(qint64 rowid);

// Teacher address book (tabaddlist): name, sex, mphone, phone, addcode, qq, email, address, remark.
// record: the condition of sameRecord.
QString addressInsert(const QStringList& nine);
QString addressUpdate(const QStringList& nine, const QString& record);
// The condition of a search: the last non-empty box in the order name, mphone, phone, qq, email,
// address, remark alone; empty when every box is empty.
QString addressCondition(const QString& name, const QString& mphone, const QString& phone, const QString& qq,
                         const QString& email, const QString& address, const QString& remark);
QString addressDeleteByName(const QString& name);
QString addressDeleteRecord(const QString& record);
// Every row of the address book, as the emptying deletes them.
QString addressDeleteAll();

// Meeting minutes and school events (tabcahier, tabnote): rows keyed by theme by convention.
QString themeCondition(const QString& theme);
QString themeInsert(const QString& table, const QStringList& values);
QString themePick(const QString& table, const QString& theme);
QString themeDeleteByTheme(const QString& table, const QString& theme);
QString themeDeleteRecord(const QString& table, const QString& record);
// Each row's rowid and theme, in table order: the book's list of themes.
QString themeList(const QString& table);

// Teacher attendance (tabkaoqin) and its lookup lists.
QString attendanceInsert(const QStringList& seven);
QString attendanceQuery(const QString& name);
QString attendanceAll();
// One of the lookup lists (tabaddsort, tabaddsubject, tabaddnumber), whole.
QString lookupAll(const QString& table);
QString lookupInsert(const QString& table, const QString& value);
// Removes one added item of a lookup list (record: the condition of sameRecord). The entries of
// the register keep their text: they hold it, not a reference to the list.
QString lookupDelete(const QString& table, const QString& record);

// Duty rota (tabonduty): rows edited in a grid; its columns are the file's own.
QString rotaInsert(const QStringList& columns, const QStringList& values);
QString rotaUpdate(const QStringList& columns, const QStringList& values, const QString& record);
QString rotaDelete(const QString& record);
QString rotaDeleteAll();

// School information (tabel2 in uinfo.dat).
QString schoolSelect();
QString schoolInsert(const QString& name, const QString& phone, const QString& address, const QString& email);
QString schoolUpdate(const QString& name, const QString& phone, const QString& address, const QString& email);

} // namespace store
