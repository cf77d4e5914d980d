#include "jetpages.h"

#include <QFile>
#include <QtEndian>

namespace jet {

namespace {

constexpr int kVersionAt = 0x14;       // 0: Jet 3, 1: Jet 4, 2 and above: ACCDB (Access 2007 on)
constexpr int kMaskedAt = 0x18;        // the header's fields from here on are masked with RC4
constexpr int kMaskedSize = 128;       //   over this many bytes
constexpr int kDatabaseKeyAt = 0x3e;   // nonzero when every page is encrypted
constexpr int kRowCountAt = 12;        // on a data page; the row offsets follow it
constexpr int kRowOffsetMask = 0x1fff; // row offsets carry flags in their top bits
constexpr int kDeletedRow = 0x8000;
constexpr int kMovedRow = 0x4000;
constexpr qint64 kLargestFile = qint64(2) << 30; // Jet 4 files end at 2 GB

// The RC4 stream that masks the header, from the key every Jet 4 file uses.
void unmask(uchar* data, int size) {
    const uchar key[4] = {0xc7, 0xda, 0x39, 0x6b};
    uchar s[256];
    for (int i = 0; i < 256; ++i) s[i] = uchar(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < size; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xff];
    }
}

} // namespace

quint16 U16(const uchar* p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const uchar* p) { return qFromLittleEndian<quint32>(p); }

QString Pages::open(const QString& path, bool* shortEnd) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString("无法打开（%1）").arg(file.errorString());
    if (file.size() > kLargestFile) return QStringLiteral("太大（超过 2 GB），不是 Jet 4 数据库文件");
    m_bytes = file.readAll();
    if (m_bytes.size() != file.size()) return QString("无法读取（%1）").arg(file.errorString());
    *shortEnd = m_bytes.size() % kPageSize != 0;
    const QByteArray head = m_bytes.left(kPageSize);
    if (head.startsWith("SQLite format 3")) return QStringLiteral("这是本软件自己的数据文件，不需要导入");
    const QByteArray signature = head.mid(4, 15);
    if (signature == "Standard ACE DB")
        return QStringLiteral("是 Access 2007 及以后的 ACCDB 格式，只能读取 Jet 4（Access 2000–2003）格式");
    if (head.size() < kPageSize || signature != "Standard Jet DB")
        return QStringLiteral("不是 Jet 数据库文件，无法读取");
    const uchar version = uchar(head.at(kVersionAt));
    if (version == 0) return QStringLiteral("是 Jet 3（Access 97）格式，只能读取 Jet 4（Access 2000–2003）格式");
    if (version != 1)
        return QStringLiteral("是 Access 2007 及以后的 ACCDB 格式，只能读取 Jet 4（Access 2000–2003）格式");
    QByteArray fields = head.mid(kMaskedAt, kMaskedSize);
    unmask(reinterpret_cast<uchar*>(fields.data()), int(fields.size()));
    if (U32(reinterpret_cast<const uchar*>(fields.constData()) + kDatabaseKeyAt - kMaskedAt) != 0)
        return QStringLiteral("已加密，无法读取；请先在 Access 中解密后再导入");
    return QString();
}

const uchar* Pages::page(quint32 number) const {
    if (qint64(number) >= count()) return nullptr;
    return reinterpret_cast<const uchar*>(m_bytes.constData()) + qint64(number) * kPageSize;
}

int Pages::rowCount(quint32 number) const {
    const uchar* p = page(number);
    if (!p || p[0] != 0x01) return 0;
    return qMin<int>(U16(p + kRowCountAt), (kPageSize - kRowCountAt - 2) / 2);
}

Bytes Pages::row(quint32 number, int row, bool* deleted, bool* moved) const {
    const uchar* p = page(number);
    if (!p || row < 0 || row >= rowCount(number)) return {};
    const int word = U16(p + kRowCountAt + 2 + 2 * row);
    const int start = word & kRowOffsetMask;
    // A row ends where the one before it on the page begins; the first at the page's end.
    const int end = row == 0 ? kPageSize : U16(p + kRowCountAt + 2 + 2 * (row - 1)) & kRowOffsetMask;
    if (deleted) *deleted = word & kDeletedRow;
    if (moved) *moved = word & kMovedRow;
    if (start < kRowCountAt + 2 + 2 * rowCount(number) || end > kPageSize || start > end) return {};
    return {p + start, end - start};
}

bool Pages::usedPages(quint32 mapAddress, QVector<quint32>* out) const {
    const Bytes map = row(mapAddress);
    if (!map.found() || map.size < 1) return false;
    auto mark = [&](const uchar* bits, int size, qint64 first) {
        for (qint64 i = 0; i < qint64(size) * 8; ++i)
            if (bits[i / 8] & (1 << (i % 8)) && first + i < count()) *out << quint32(first + i);
    };
    if (map.data[0] == 0) { // the bitmap itself, after the first page it counts from
        if (map.size < 5) return false;
        mark(map.data + 5, map.size - 5, U32(map.data + 1));
        return true;
    }
    if (map.data[0] != 1) return false;
    // A list of bitmap pages, each covering the pages its bits can count.
    const qint64 perPage = qint64(kPageSize - 4) * 8;
    for (int i = 0; 1 + 4 * i + 4 <= map.size; ++i) {
        const quint32 bitmap = U32(map.data + 1 + 4 * i);
        if (bitmap == 0) continue;
        const uchar* p = page(bitmap);
        if (!p || p[0] != 0x05) return false;
        if (i * perPage >= count()) break;
        mark(p + 4, kPageSize - 4, i * perPage);
    }
    return true;
}

} // namespace jet
