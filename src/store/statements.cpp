#include "statements.h"

#include "catalogue.h"

using store::SqlDouble;
using store::SqlQuote;

namespace sql {

QString quotedList(const QStringList& values) {
    QStringList quoted;
    for (const QString& v : values) quoted << SqlQuote(v);
    return quoted.join(',');
}

QString addressInsert(const QStringList& nine) { return "insert into tabaddlist values (" + quotedList(nine) + ")"; }

QString addressUpdate(const QStringList& nine, qint64 rowid) {
    static const char* const names[] = {"name", "sex",   "mphone",  "phone", "addcode",
                                        "qq",   "email", "address", "remark"};
    QStringList sets;
    for (int i = 0; i < 9; ++i) sets << QString(names[i]) + "=" + SqlQuote(nine.value(i));
    // The record is the one on screen, found by its rowid: another teacher of the same name is
    // never touched.
    return "update tabaddlist set " + sets.join(',') + "where rowid=" + QString::number(rowid);
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

QString addressSearch(const QString& condition) { return "select * from tabaddlist where " + condition; }

QString addressDeleteByName(const QString& name) { return "delete from tabaddlist where name=" + SqlQuote(name); }

QString addressDeleteRecord(qint64 rowid) { return "delete from tabaddlist where rowid=" + QString::number(rowid); }

QString themeInsert(const QString& table, const QStringList& values) {
    return "insert into " + table + " values (" + quotedList(values) + ")";
}

QString themePick(const QString& table, const QString& theme) {
    return "select * from " + table + " where theme =" + SqlQuote(theme);
}

QString themeDeleteByTheme(const QString& table, const QString& theme) {
    return "delete from " + table + " where theme=" + SqlQuote(theme);
}

QString themeDeleteRecord(const QString& table, qint64 rowid) {
    return "delete from " + table + " where rowid=" + QString::number(rowid);
}

QString attendanceInsert(const QStringList& seven) {
    return "insert into tabkaoqin values (" + quotedList(seven) + ")";
}

QString attendanceQuery(const QString& name) {
    return QString::fromUtf8("select * from tabkaoqin where 姓名=") + SqlQuote(name);
}

QString lookupInsert(const QString& table, const QString& value) {
    return "insert into " + table + " values(" + SqlQuote(value) + ")";
}

namespace {
QString quotedName(const QString& column) { return '"' + QString(column).replace('"', "\"\"") + '"'; }
} // namespace

QString rotaInsert(const QStringList& columns, const QStringList& values) {
    QStringList names;
    for (const QString& c : columns) names << quotedName(c);
    return "insert into tabonduty (" + names.join(',') + ") values (" + quotedList(values) + ")";
}

QString rotaUpdate(const QStringList& columns, const QStringList& values, qint64 rowid) {
    QStringList sets;
    for (int c = 0; c < columns.size(); ++c) sets << quotedName(columns[c]) + "=" + SqlQuote(values.value(c));
    return "update tabonduty set " + sets.join(',') + " where rowid=" + QString::number(rowid);
}

QString rotaDelete(qint64 rowid) { return "delete from tabonduty where rowid=" + QString::number(rowid); }

QString schoolInsert(const QString& name, const QString& phone, const QString& address, const QString& email) {
    return "insert into tabel2 values (" + quotedList({name, phone, address, email}) + ")";
}

QString schoolUpdate(const QString& name, const QString& phone, const QString& address, const QString& email) {
    return "update tabel2 set schoolname ='" + SqlDouble(name) + "', phone='" + SqlDouble(phone) + "', address='" +
           SqlDouble(address) + "', email='" + SqlDouble(email) + "'";
}

} // namespace sql
