#include "jettable.h"

#include "jetrows.h"
#include "jettext.h"

#include <algorithm>

namespace jet {

namespace {

constexpr quint32 kCatalogPage = 2;
constexpr int kNextPageAt = 4;  // the page a long definition continues on
constexpr int kContinuedAt = 8; // where a continuation page's part starts
constexpr int kLengthAt = 8;
constexpr int kRowsAt = 16;
constexpr int kColumnNumbersAt = 41; // one more than the highest column number, deleted ones counted
constexpr int kVarColumnCountAt = 43;
constexpr int kColumnCountAt = 45;
constexpr int kRealIndexCountAt = 51;
constexpr int kUsageMapAt = 55;
constexpr int kIndexesAt = 63;
constexpr int kIndexSize = 12;
constexpr int kColumnSize = 25;
constexpr int kMaxColumns = 255;
constexpr int kMaxNameLength = 64;
constexpr int kMaxIndexes = 1000;
constexpr int kFixedFlag = 0x01;
constexpr quint32 kSystemFlags = 0x80000002;
constexpr int kTableObject = 1;

// The definition's bytes, gathered from its chain of pages.
QByteArray definitionBytes(const Pages& pages, quint32 first, QString* why) {
    const uchar* p = pages.page(first);
    if (!p) {
        *why = QStringLiteral("表的定义在文件末尾之后，文件不完整");
        return {};
    }
    if (p[0] != 0x02) {
        *why = QStringLiteral("表的定义已损坏");
        return {};
    }
    const qint64 length = U32(p + kLengthAt);
    QByteArray out(reinterpret_cast<const char*>(p), kPageSize);
    for (qint64 hops = 0; out.size() < length + kContinuedAt; ++hops) {
        const quint32 next = U32(p + kNextPageAt);
        p = next ? pages.page(next) : nullptr;
        if (!p || p[0] != 0x02 || hops > pages.count()) {
            *why = next && !pages.page(next) ? QStringLiteral("表的定义不完整，文件不完整")
                                             : QStringLiteral("表的定义不完整，文件已损坏");
            return {};
        }
        out.append(reinterpret_cast<const char*>(p) + kContinuedAt, kPageSize - kContinuedAt);
    }
    return out;
}

} // namespace

bool readTableDef(const Pages& pages, quint32 page, TableDef* def, QString* why) {
    const QByteArray bytes = definitionBytes(pages, page, why);
    if (bytes.isEmpty()) return false;
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    const int size = int(bytes.size());
    const int columns = U16(b + kColumnCountAt);
    const int numbers = U16(b + kColumnNumbersAt);
    const int varColumns = U16(b + kVarColumnCountAt);
    const qint64 indexes = U32(b + kRealIndexCountAt);
    def->page = page;
    def->rows = U32(b + kRowsAt);
    def->usageMap = U32(b + kUsageMapAt);
    if (columns == 0 || columns > numbers || numbers > kMaxColumns || varColumns > columns || indexes > kMaxIndexes) {
        *why = QStringLiteral("无法读取表的各列，文件已损坏");
        return false;
    }
    int at = kIndexesAt + int(indexes) * kIndexSize;
    for (int c = 0; c < columns; ++c, at += kColumnSize) {
        if (at + kColumnSize > size) {
            *why = QStringLiteral("无法读取表的各列，文件已损坏");
            return false;
        }
        const uchar* e = b + at;
        Column col;
        col.type = e[0];
        col.number = U16(e + 5);
        col.varIndex = U16(e + 7);
        col.scale = e[12];
        col.fixed = e[15] & kFixedFlag;
        col.fixedOffset = U16(e + 21);
        col.length = U16(e + 23);
        // Each column its own number and, when of variable length, its own place among those.
        const bool taken = std::any_of(def->columns.begin(), def->columns.end(), [&](const Column& other) {
            return other.number == col.number || (!col.fixed && !other.fixed && other.varIndex == col.varIndex);
        });
        if (col.number >= numbers || (!col.fixed && col.varIndex >= kMaxColumns) || taken) {
            *why = QStringLiteral("无法读取表的各列，文件已损坏");
            return false;
        }
        def->columns << col;
    }
    for (Column& col : def->columns) { // the names follow, each its byte count and UTF-16 text
        if (at + 2 > size || at + 2 + U16(b + at) > size) {
            *why = QStringLiteral("无法读取表的列名，文件已损坏");
            return false;
        }
        const int length = U16(b + at);
        QString bad;
        col.name = decodeText(bytes.mid(at + 2, length), &bad);
        const bool readable = std::all_of(col.name.begin(), col.name.end(),
                                          [](QChar ch) { return ch.unicode() >= 0x20 && ch.unicode() < 0xfffe; });
        if (!bad.isEmpty() || col.name.isEmpty() || col.name.size() > kMaxNameLength || !readable) {
            *why = QStringLiteral("无法读取表的列名，文件已损坏");
            return false;
        }
        at += 2 + length;
    }
    std::stable_sort(def->columns.begin(), def->columns.end(),
                     [](const Column& x, const Column& y) { return x.number < y.number; });
    return true;
}

bool readCatalog(const Pages& pages, QVector<CatalogEntry>* tables, QString* why) {
    TableDef def;
    QString damage;
    if (!readTableDef(pages, kCatalogPage, &def, &damage)) {
        *why = QStringLiteral("无法读取其中的表目录，文件已损坏");
        return false;
    }
    int id = -1, name = -1, type = -1, flags = -1;
    for (int c = 0; c < def.columns.size(); ++c) {
        const QString n = def.columns[c].name.toLower();
        if (n == "id") id = c;
        if (n == "name") name = c;
        if (n == "type") type = c;
        if (n == "flags") flags = c;
    }
    const store::SourceTable catalog = readTableRows(pages, def);
    if (id < 0 || name < 0 || type < 0 || flags < 0 || !catalog.problem.isEmpty()) {
        *why = QStringLiteral("无法读取其中的表目录，文件已损坏");
        return false;
    }
    for (const QStringList& row : catalog.rows) {
        if (row[type].toInt() % 128 != kTableObject || quint32(row[flags].toLongLong()) & kSystemFlags) continue;
        if (row[name].isEmpty()) continue;
        tables->push_back({row[name], quint32(row[id].toLongLong()) & 0x00ffffff});
    }
    return true;
}

} // namespace jet
