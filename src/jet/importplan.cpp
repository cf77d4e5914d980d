#include "importplan.h"

#include <store/catalogue.h>

#include <QFileInfo>

namespace jet {

using namespace store;

namespace {

const SourceTable* findTable(const SourceFile& file, const QString& name) {
    for (const SourceTable& t : file.tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t; // Jet names ignore case
    return nullptr;
}

// The book holding most of the file's tables; by the file's name when none of them is known.
const Book* recognise(const SourceFile& file) {
    const Book* best = nullptr;
    int bestCount = 0;
    for (const Book& b : books()) {
        int count = 0;
        for (const Table& t : b.tables) count += findTable(file, t.name) ? 1 : 0;
        if (count > bestCount) best = &b, bestCount = count;
    }
    if (best) return best;
    const QString name = QFileInfo(file.path).fileName();
    for (const Book& b : books())
        if (QFileInfo(b.file).fileName().compare(name, Qt::CaseInsensitive) == 0) return &b;
    return nullptr;
}

constexpr int kCellsListed = 5;

// The problems of one table the book needs, and its rows cut to the columns the book reads.
void planTable(const SourceFile& file, const Table& need, ImportBook& book) {
    const QString where = QString("“%1”中的数据表 %2（%3）：").arg(file.shownName, need.title, need.name);
    const SourceTable* t = findTable(file, need.name);
    if (!t) {
        book.problems << where + "缺少这个数据表";
        return;
    }
    if (!t->problem.isEmpty()) return; // already said for the whole file
    if (t->columns.size() < need.columns.size()) {
        book.problems << where + QString("只有 %1 列，至少需要 %2 列").arg(t->columns.size()).arg(need.columns.size());
        return;
    }
    QStringList cells;
    for (const SourceCell& c : t->unreadable)
        if (c.column < need.columns.size())
            cells << QString("第 %1 条记录第 %2 列%3").arg(c.row + 1).arg(c.column + 1).arg(c.why);
    ImportTable out{t->name, {}};
    out.rows.reserve(t->rows.size());
    for (int r = 0; r < t->rows.size(); ++r) {
        const QStringList row = t->rows.at(r).mid(0, need.columns.size());
        for (int c = 0; c < row.size(); ++c)
            if (row.at(c).contains(QChar(0)))
                cells << QString("第 %1 条记录第 %2 列含有无法保存的空字符").arg(r + 1).arg(c + 1);
        out.rows << row;
    }
    if (!cells.isEmpty()) {
        const int more = cells.size() - kCellsListed;
        QString text = where + cells.mid(0, kCellsListed).join("；");
        if (more > 0) text += QString("；另有 %1 处").arg(more);
        book.problems << text;
        return;
    }
    book.tables << out;
}

} // namespace

QVector<ImportBook> planImport(const QVector<SourceFile>& files) {
    QVector<ImportBook> out;
    for (const SourceFile& file : files) {
        ImportBook book;
        book.source = file.shownName;
        const Book* known = recognise(file);
        if (known) book.bookFile = known->file, book.title = known->title;
        if (!file.problem.isEmpty()) book.problems << QString("“%1”：%2").arg(file.shownName, file.problem);
        for (const SourceTable& t : file.tables)
            if (!t.problem.isEmpty())
                book.problems << QString("“%1”中的数据表 %2：%3").arg(file.shownName, t.name, t.problem);
        if (!known && book.problems.isEmpty())
            book.problems << QString("“%1”：没有本软件的记录本所用的数据表，不能导入").arg(file.shownName);
        if (known && file.problem.isEmpty())
            for (const Table& need : known->tables) planTable(file, need, book);
        if (!book.problems.isEmpty()) book.tables.clear();
        out << book;
    }
    return out;
}

QStringList describeImport(const QVector<ImportedTable>& tables) {
    QStringList lines;
    for (const ImportedTable& t : tables) {
        if (t.keptOurs) {
            lines << QString("%1：本软件中已有学校信息，保留现有的，没有导入").arg(store::tableTitle(t.name));
            continue;
        }
        QString line = t.replaced ? QString("%1：原有的 %2 条记录换成了导入的 %3 条")
                                        .arg(store::tableTitle(t.name))
                                        .arg(t.removed)
                                        .arg(t.added)
                                  : QString("%1：增加了 %2 条记录").arg(store::tableTitle(t.name)).arg(t.added);
        if (!t.sameAccounts.isEmpty())
            line += QString("；%1 个帐户与已有的完全相同，没有重复导入（%2）")
                        .arg(t.sameAccounts.size())
                        .arg(t.sameAccounts.join("、"));
        if (t.skipped > 0) line += QString("；%1 条与已有的记录完全相同，没有重复导入").arg(t.skipped);
        lines << line;
    }
    return lines;
}

} // namespace jet
