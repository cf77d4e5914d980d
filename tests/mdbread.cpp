// jetread-libmdb FILE RESULT: the tests' second reader of Jet files, through Debian's libmdb
// (mdbtools-dev), written independently of the program's own reader and handing its result over
// the same way, so that the two can be compared row by row.
#include <jet/jetsource.h>
#include <jet/jettext.h>

#include <QCoreApplication>

#include <QFile>
#include <QtEndian>
#include <memory>
#include <vector>

// libmdb's header uses glib's types without including glib itself when compiled as C++.
#include <glib.h>
#include <mdbtools.h>

namespace mdbread {

using namespace jet;

namespace {

constexpr qint64 kPage = 4096;      // Jet 4 page size
constexpr int kOffsetMask = 0x1fff; // row offsets carry flags in their top bits
constexpr int kMemoHeader = 12;     // MDB_MEMO_OVERHEAD

struct Reading {
    MdbHandle* mdb;
    qint64 pages;
};

const QString kDamaged = QStringLiteral("已损坏，无法读取");

// The value bytes of a memo: kept in the row, on one long-value page, or on a chain of them.
QByteArray memoBytes(const Reading& r, const unsigned char* head, int size, QString* why) {
    if (size < kMemoHeader) {
        *why = QStringLiteral("的长文字已损坏");
        return {};
    }
    const quint32 word = qFromLittleEndian<quint32>(head);
    const qint64 length = word & 0x3fffffff;
    quint32 pgRow = qFromLittleEndian<quint32>(head + 4);
    if (word & 0x80000000) return QByteArray(reinterpret_cast<const char*>(head) + kMemoHeader, size - kMemoHeader);
    if (length > r.pages * kPage) {
        *why = QStringLiteral("的长文字已损坏（长度超出文件）");
        return {};
    }
    QByteArray out;
    // A single long-value row holds the whole value; a chain starts each row with the next one's address.
    const bool single = word & 0x40000000;
    if ((word & 0xff000000) && !single) {
        *why = QStringLiteral("的长文字格式无法识别");
        return {};
    }
    for (qint64 hops = 0; pgRow && out.size() < length; ++hops) {
        void* buf = nullptr;
        int off = 0;
        size_t len = 0;
        if (qint64(pgRow >> 8) >= r.pages || hops > r.pages ||
            mdb_find_pg_row(r.mdb, int(pgRow), &buf, &off, &len) != 0 || (off & kOffsetMask) + qint64(len) > kPage ||
            (!single && len < 4)) {
            *why = QStringLiteral("的长文字不完整，文件已损坏或不完整");
            return {};
        }
        const char* row = static_cast<const char*>(buf) + (off & kOffsetMask);
        if (single) {
            out.append(row, int(len));
            break;
        }
        pgRow = qFromLittleEndian<quint32>(row);
        out.append(row + 4, int(len) - 4);
    }
    if (out.size() < length) {
        *why = QStringLiteral("的长文字不完整，文件已损坏或不完整");
        return {};
    }
    out.truncate(int(length));
    return out;
}

// One value as text: NULL as a null QString; a null QString with *why set when it cannot be read.
QString valueText(const Reading& r, MdbColumn* col, const MdbField& f, QString* why) {
    if (col->col_type == MDB_BOOL) return f.is_null ? QStringLiteral("0") : QStringLiteral("1"); // the bit is the value
    if (f.is_null) return QString();
    const auto* v = static_cast<const unsigned char*>(f.value);
    const int n = f.siz;
    auto fixed = [&](int size) {
        if (n >= size) return true;
        *why = kDamaged;
        return false;
    };
    auto owned = [](char* s) {
        const QString text = QString::fromUtf8(s);
        g_free(s);
        return text;
    };
    switch (col->col_type) {
    case MDB_TEXT: return decodeText(QByteArray(reinterpret_cast<const char*>(v), n), why);
    case MDB_MEMO: {
        const QByteArray bytes = memoBytes(r, v, n, why);
        return why->isEmpty() ? decodeText(bytes, why) : QString();
    }
    case MDB_DATETIME: return fixed(8) ? dateText(qFromLittleEndian<double>(v)) : QString();
    case MDB_BYTE: return fixed(1) ? QString::number(v[0]) : QString();
    case MDB_INT: return fixed(2) ? QString::number(qFromLittleEndian<qint16>(v)) : QString();
    case MDB_LONGINT: return fixed(4) ? QString::number(qFromLittleEndian<qint32>(v)) : QString();
    case MDB_FLOAT: return fixed(4) ? numberText(qFromLittleEndian<float>(v)) : QString();
    case MDB_DOUBLE: return fixed(8) ? numberText(qFromLittleEndian<double>(v)) : QString();
    case MDB_MONEY: return fixed(8) ? owned(mdb_money_to_string(r.mdb, f.start)) : QString();
    case MDB_NUMERIC:
        return fixed(17) ? owned(mdb_numeric_to_string(r.mdb, f.start, col->col_scale, col->col_prec)) : QString();
    case MDB_REPID: return fixed(16) ? owned(mdb_uuid_to_string(r.mdb->pg_buf, f.start)) : QString();
    default: *why = QStringLiteral("的类型（二进制或 OLE 对象）无法转为文字"); return QString();
    }
}

// libmdb reads a row's null mask and column offsets from the row's end without checking them:
// look first, so that a damaged row is reported instead of read from outside the row.
bool rowIsSound(const unsigned char* page, int start, size_t size) {
    if (start < 0 || size < 4 || start + qint64(size) > kPage) return false;
    const int end = start + int(size) - 1;
    const int cols = qFromLittleEndian<quint16>(page + start);
    const int mask = (cols + 7) / 8;
    if (cols == 0 || cols > MDB_MAX_COLS || 2 + mask + 2 > int(size)) return false;
    const int varCols = qFromLittleEndian<quint16>(page + end - mask - 1);
    if (varCols > cols) return false;
    // the table of variable-column offsets, one more than there are columns, before the count
    return end - mask - 3 - 2 * varCols >= start + 2;
}

bool fieldIsInside(const MdbField& f, int start, size_t size) {
    return f.is_null || f.siz == 0 ||
           (f.start >= start && f.siz > 0 && f.start + qint64(f.siz) <= start + qint64(size));
}

void readRows(const Reading& r, MdbTableDef* def, store::SourceTable& t) {
    std::vector<MdbField> fields(def->num_cols);
    mdb_rewind_table(def);
    while (mdb_fetch_row(def)) {
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(r.mdb, int(def->cur_row) - 1, &start, &size) != 0 ||
            !rowIsSound(r.mdb->pg_buf, start & kOffsetMask, size)) {
            t.problem = QString("第 %1 条记录已损坏，无法读取").arg(t.rows.size() + 1);
            return;
        }
        start &= kOffsetMask;
        mdb_crack_row(def, start, size, fields.data());
        QStringList row;
        row.reserve(int(def->num_cols));
        for (unsigned c = 0; c < def->num_cols; ++c) {
            const MdbField& f = fields[c];
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, f.colnum));
            QString why;
            QString text = fieldIsInside(f, start, size) ? valueText(r, col, f, &why) : (why = kDamaged, QString());
            if (!why.isEmpty()) t.unreadable.push_back({int(t.rows.size()), int(c), why});
            row << text;
        }
        t.rows << row;
    }
    // A data page that cannot be read ends libmdb's scan early without a word: count the rows.
    if (t.rows.size() != qint64(def->num_rows))
        t.problem =
            QString("只读到 %1 条记录，表中登记有 %2 条，文件已损坏或不完整").arg(t.rows.size()).arg(def->num_rows);
}

store::SourceTable readTable(const Reading& r, MdbCatalogEntry* entry) {
    store::SourceTable t;
    t.name = QString::fromUtf8(entry->object_name);
    if (entry->table_pg == 0 || qint64(entry->table_pg) >= r.pages) {
        t.problem = QStringLiteral("表的定义在文件末尾之后，文件不完整");
        return t;
    }
    MdbTableDef* def = mdb_read_table(entry);
    if (!def) {
        t.problem = QStringLiteral("无法读取表的定义，文件已损坏或不完整");
        return t;
    }
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> owner(def, mdb_free_tabledef);
    if (!mdb_read_columns(def) || def->num_cols == 0 || def->columns->len != def->num_cols) {
        t.problem = QStringLiteral("无法读取表的各列，文件已损坏或不完整");
        return t;
    }
    for (unsigned c = 0; c < def->num_cols; ++c)
        t.columns << QString::fromUtf8(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c))->name);
    readRows(r, def, t);
    return t;
}

// Says what is wrong with the file before libmdb is given it; empty when it looks like Jet 4.
QString fileProblem(QFile& file, qint64* pages) {
    if (!file.open(QIODevice::ReadOnly)) return QString("无法打开（%1）").arg(file.errorString());
    const QByteArray head = file.read(kPage);
    if (head.startsWith("SQLite format 3")) return QStringLiteral("这是本软件自己的数据文件，不需要导入");
    if (head.size() < kPage || (head.mid(4, 15) != "Standard Jet DB" && head.mid(4, 15) != "Standard ACE DB"))
        return QStringLiteral("不是 Jet 数据库文件，无法读取");
    if (head.at(0x14) == 0)
        return QStringLiteral("是 Jet 3（Access 97）格式，只能读取 Jet 4（Access 2000 及以后）格式");
    *pages = file.size() / kPage;
    return QString();
}

} // namespace

store::SourceFile ReadFile(const QString& path) {
    store::SourceFile out;
    out.path = path;
    QFile file(path);
    qint64 pages = 0;
    out.problem = fileProblem(file, &pages);
    if (!out.problem.isEmpty()) return out;
    if (file.size() % kPage) out.problem = QStringLiteral("文件不完整（末尾缺了一部分），可能没有复制完");
    file.close();
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb) {
        out.problem = QStringLiteral("不是 Jet 数据库文件，或已损坏，无法读取");
        return out;
    }
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> owner(mdb, mdb_close);
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        out.problem = QStringLiteral("无法读取其中的表目录，文件已损坏");
        return out;
    }
    const Reading r{mdb, pages};
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry)) out.tables << readTable(r, entry);
    }
    return out;
}

} // namespace mdbread

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    qunsetenv("MDB_ICONV"); // libmdb would decode names into the character set this names
    const store::SourceFile file = mdbread::ReadFile(args.at(1));
    QFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || !jet::writeResult(&out, file)) return 3;
    return out.flush() ? 0 : 3;
}
