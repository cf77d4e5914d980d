#include "statements.h"

#include "catalogue.h"

namespace store {

QString sqlDouble(const QString& value) {
    QString out = value;
    return out.replace(QChar('\''), QStringLiteral("''"));
}

QString SqlQuote(const QString& value) { return QChar('\'') + sqlDouble(value) + QChar('\''); }

QString sqlName(const QString& name) { return '"' + QString(name).replace('"', "\"\"") + '"'; }

QString quotedList(const QStringList& values) {
    QStringList quoted;
    for (const QString& v : values) quoted << SqlQuote(v);
    return quoted.join(',');
}

QString rowidCondition(qint64 rowid) { return "rowid=" + QString::number(rowid); }

QString sameRecord(const QStringList& columns, const QStringList& values, qint64 rowid) {
    QString condition = rowidCondition(rowid);
    for (int c = 0; c < columns.size(); ++c) {
        const QString v = values.value(c);
        // As text, the way the window read it; NULL only matches NULL.
        condition += " and " + (v.isNull() ? sqlName(columns[c]) + " is null"
                                           : "cast(" + sqlName(columns[c]) + " as text) is " + SqlQuote(v));
    }
    return condition;
}

QString addressInsert(const QStringList& nine) { return "insert into tabaddlist values (" + quotedList(nine) + ")"; }

QString addressUpdate(const QStringList& nine, const QString& record) {
    static const QStringList names = findTable("tabaddlist")->columnNames();
    QStringList sets;
    for (int i = 0; i < names.size(); ++i) sets << names[i] + "=" + SqlQuote(nine.value(i));
    // The record is the one on screen, as it was read: another teacher of the same name is never
    // touched, nor a record another copy of the program changed meanwhile. No blank before
    // "where": the designed statement text reads '…'where, which the engine accepts.
    return "update tabaddlist set " + sets.join(',') + "where " + record;
}

QString addressCondition(const QString& name, const QString& mphone, const QString& phone, const QString& qq,
                         const QString& email, const QString& address, const QString& remark) {
    const std::pair<const char*, const QString*> boxes[] = {
        {"name=", &name},   {"mphone=", &mphone},   {"phone=", &phone},  {"qq=", &qq},
        {"email=", &email}, {"address=", &address}, {"remark=", &remark}};
    QString condition;
    for (const auto& [prefix, text] : boxes)
        if (!text->isEmpty()) condition = prefix + SqlQuote(*text);
    return condition;
}

QString addressDeleteByName(const QString& name) { return "delete from tabaddlist where name=" + SqlQuote(name); }

QString addressDeleteRecord(const QString& record) { return "delete from tabaddlist where " + record; }

// "delete * from" is the designed text of the emptying; the engine runs it without the star.
QString addressDeleteAll() { return "delete * from tabaddlist"; }

QString themeInsert(const QString& table, const QStringList& values) {
    return "insert into " + table + " values (" + quotedList(values) + ")";
}

// "theme =" with its one blank is the designed text of the pick, kept as designed.
QString themeCondition(const QString& theme) { return "theme =" + SqlQuote(theme); }

QString themePick(const QString& table, const QString& theme) {
    return "select * from " + table + " where " + themeCondition(theme);
}

QString themeDeleteByTheme(const QString& table, const QString& theme) {
    return "delete from " + table + " where theme=" + SqlQuote(theme);
}

QString themeDeleteRecord(const QString& table, const QString& record) {
    return "delete from " + table + " where " + record;
}

QString themeList(const QString& table) { return "select rowid, theme from " + table; }

QString attendanceInsert(const QStringList& seven) {
    return "insert into tabkaoqin values (" + quotedList(seven) + ")";
}

QString attendanceQuery(const QString& name) {
    return QString::fromUtf8("select * from tabkaoqin where 姓名=") + SqlQuote(name);
}

QString attendanceAll() { return "select * from tabkaoqin"; }

QString lookupAll(const QString& table) { return "select * from " + table; }

QString lookupInsert(const QString& table, const QString& value) {
    return "insert into " + table + " values(" + SqlQuote(value) + ")";
}

QString lookupDelete(const QString& table, const QString& record) {
    return "delete from " + table + " where " + record;
}

QString rotaInsert(const QStringList& columns, const QStringList& values) {
    QStringList names;
    for (const QString& c : columns) names << sqlName(c);
    return "insert into tabonduty (" + names.join(',') + ") values (" + quotedList(values) + ")";
}

QString rotaUpdate(const QStringList& columns, const QStringList& values, const QString& record) {
    QStringList sets;
    for (int c = 0; c < columns.size(); ++c) sets << sqlName(columns[c]) + "=" + SqlQuote(values.value(c));
    return "update tabonduty set " + sets.join(',') + " where " + record;
}

QString rotaDelete(const QString& record) { return "delete from tabonduty where " + record; }

// "delete * from", as the address book's emptying.
QString rotaDeleteAll() { return "delete * from tabonduty"; }

QString schoolSelect() { return "select * from tabel2"; }

QString schoolInsert(const QString& name, const QString& phone, const QString& address, const QString& email) {
    return "insert into tabel2 values (" + quotedList({name, phone, address, email}) + ")";
}

// No where clause, by design: the table holds the school's one row, and every row is updated.
QString schoolUpdate(const QString& name, const QString& phone, const QString& address, const QString& email) {
    return "update tabel2 set schoolname ='" + sqlDouble(name) + "', phone='" + sqlDouble(phone) + "', address='" +
           sqlDouble(address) + "', email='" + sqlDouble(email) + "'";
}

} // namespace store
