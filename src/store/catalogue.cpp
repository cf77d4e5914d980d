#include "catalogue.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace store {

QStringList Table::columnNames() const {
    QStringList names;
    for (const Column& c : columns) names << c.name;
    return names;
}

const Table* Book::table(const QString& name) const {
    for (const Table& t : tables)
        if (t.name == name) return &t;
    return nullptr;
}

const QVector<Book>& books() {
    static const QVector<Book> books{
        {kUserFile,
         "uinfo",
         QString(),
         "用户帐户和学校信息",
         {{"tabel1", "用户帐户", "个用户", true, {{"username", "用户名"}, {"password", "密码"}}},
          {"tabel2",
           "学校信息",
           "条学校信息",
           false,
           {{"schoolname", "学校名称"}, {"phone", "电话"}, {"address", "地址"}, {"email", "E-mail"}}}}},
        {kRosterFile,
         "addonduty",
         QString(),
         "教师通讯录和值周安排",
         {{"tabaddlist",
           "教师通讯录",
           "位教师",
           true,
           {{"name", "姓名"},
            {"sex", "性别"},
            {"mphone", "移动电话"},
            {"phone", "固定电话"},
            {"addcode", "邮编"},
            {"qq", "QQ/ICQ"},
            {"email", "E-mail"},
            {"address", "地址"},
            {"remark", "备注"}}},
          {"tabonduty",
           "值周安排",
           "条值周安排",
           true,
           {{"周次", "周次"}, {"值周教师", "值周教师"}, {"备注", "备注"}}}}},
        {kMinutesFile,
         "cahier",
         kMinutesTemplate,
         "会议记录",
         {{"tabcahier",
           "会议记录",
           "条会议记录",
           true,
           {{"theme", "会议主题"},
            {"time", "时间"},
            {"place", "地点"},
            {"recorder", "记录员"},
            {"attendee", "参会者"},
            {"absent", "缺席人"},
            {"late", "迟到早退人"},
            {"evection", "出差人"},
            {"content", "主要内容"}}}}},
        {kEventsFile,
         "snote",
         kEventsTemplate,
         "学校事历",
         {{"tabnote",
           "学校事历",
           "条事历",
           true,
           {{"theme", "主题"},
            {"time", "时间"},
            {"recorder", "记录员"},
            {"remark", "备注"},
            {"content", "主要内容"}}}}},
        {kAttendanceFile,
         "teacher",
         kAttendanceTemplate,
         "教师考勤",
         {{"tabkaoqin",
           "教师考勤",
           "条考勤记录",
           true,
           {{"日期", "日期"},
            {"星期", "星期"},
            {"姓名", "姓名"},
            {"考勤类别", "考勤类别"},
            {"科目", "科目"},
            {"节数", "节数"},
            {"节次", "节次"}}},
          {"tabaddsort", "考勤类别", "个考勤类别", false, {{"考勤类别", "考勤类别"}}},
          {"tabaddsubject", "科目", "个科目", false, {{"科目", "科目"}}},
          {"tabaddnumber", "节次", "个节次", false, {{"节次", "节次"}}}}},
        {kRecycleFile,
         "recycle",
         QString(),
         "回收站",
         {{"tabrecycle",
           "回收站",
           "条删除的记录",
           true,
           {{"tablename", "数据表"}, {"deleted_at", "删除时间"}, {"record", "记录"}}}}},
    };
    return books;
}

const Book* bookOf(const QString& path) {
    const QString name = QFileInfo(path).completeBaseName().toLower();
    for (const Book& b : books())
        if (b.schema == name) return &b;
    return nullptr;
}

const Table* findTable(const QString& name) {
    for (const Book& b : books())
        if (const Table* t = b.table(name)) return t;
    return nullptr;
}

QString tableTitle(const QString& name) {
    const Table* t = findTable(name);
    return t ? t->title : name;
}

QStringList tablesOf(const QString& path) {
    QStringList names;
    if (const Book* b = bookOf(path))
        for (const Table& t : b->tables) names << t.name;
    return names;
}

QString bookTitle(const QString& path) {
    const Book* b = bookOf(path);
    return b ? b->title : QFileInfo(path).fileName();
}

QByteArray booksState() {
    QByteArray state;
    for (const Book& b : books()) {
        if (b.file == kRecycleFile) continue;
        const QFileInfo info(b.file);
        QFile f(b.file);
        const QByteArray header = f.open(QIODevice::ReadOnly) ? f.read(28) : QByteArray();
        state += header.mid(24, 4) + QByteArray::number(info.size()) + '@' +
                 QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '|';
    }
    return state;
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

} // namespace store
