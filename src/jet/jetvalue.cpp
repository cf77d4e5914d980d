#include "jetvalue.h"

#include "jettext.h"

#include <QUuid>
#include <QtEndian>

namespace jet {

namespace {

constexpr int kMemoHeader = 12; // length and flags, the address of its first part, 4 unused bytes
constexpr quint32 kMemoInline = 0x80000000;
constexpr quint32 kMemoOneRow = 0x40000000;
constexpr quint32 kMemoLengthMask = 0x3fffffff;

const QString kDamaged = QStringLiteral("已损坏，无法读取");

// The bytes of a memo: kept in the row, in one long-value row, or in a chain of them.
QByteArray memoBytes(const Pages& pages, const Bytes& head, QString* why) {
    if (head.size < kMemoHeader) {
        *why = QStringLiteral("的长文字已损坏");
        return {};
    }
    const quint32 word = U32(head.data);
    const qint64 length = word & kMemoLengthMask;
    quint32 address = U32(head.data + 4);
    const char* inRow = reinterpret_cast<const char*>(head.data) + kMemoHeader;
    if (word & kMemoInline) {
        if (length > head.size - kMemoHeader) {
            *why = QStringLiteral("的长文字已损坏");
            return {};
        }
        return QByteArray(inRow, int(length));
    }
    if (length > pages.count() * kPageSize) {
        *why = QStringLiteral("的长文字已损坏（长度超出文件）");
        return {};
    }
    const bool single = word & kMemoOneRow;
    if ((word & ~kMemoLengthMask) && !single) {
        *why = QStringLiteral("的长文字格式无法识别");
        return {};
    }
    QByteArray out;
    // Each row of a chain starts with the address of the next; every hop brings at least a byte.
    for (qint64 hops = 0; address && out.size() < length; ++hops) {
        const Bytes row = pages.row(address);
        if (!row.found() || hops > length || (!single && row.size < 4)) {
            *why = QStringLiteral("的长文字不完整，文件已损坏或不完整");
            return {};
        }
        if (single) {
            out.append(reinterpret_cast<const char*>(row.data), row.size);
            break;
        }
        address = U32(row.data);
        out.append(reinterpret_cast<const char*>(row.data) + 4, row.size - 4);
    }
    if (out.size() < length) {
        *why = QStringLiteral("的长文字不完整，文件已损坏或不完整");
        return {};
    }
    out.truncate(int(length));
    return out;
}

// A whole number of up to 128 bits (four 32-bit words, most significant first) in decimal.
QString decimal(quint32 words[4]) {
    QString digits;
    for (bool more = true; more;) {
        quint64 rest = 0;
        more = false;
        for (int i = 0; i < 4; ++i) {
            const quint64 cur = (rest << 32) | words[i];
            words[i] = quint32(cur / 10);
            rest = cur % 10;
            more = more || words[i];
        }
        digits.prepend(QChar('0' + int(rest)));
    }
    return digits;
}

// A fixed-point number from its digits, `scale` of them after the point.
QString scaled(QString digits, int scale, bool negative) {
    if (scale > 0) {
        digits = digits.rightJustified(scale + 1, '0');
        digits.insert(digits.size() - scale, '.');
    }
    return negative ? "-" + digits : digits;
}

} // namespace

QString valueText(const Pages& pages, const Column& col, bool null, const Bytes& bytes, QString* why) {
    if (col.type == Boolean) return null ? QStringLiteral("0") : QStringLiteral("1");
    if (null) return QString();
    const uchar* v = bytes.data;
    const int n = bytes.size;
    auto fits = [&](int size) {
        if (n >= size) return true;
        *why = kDamaged;
        return false;
    };
    switch (col.type) {
    case Text: return decodeText(QByteArray(reinterpret_cast<const char*>(v), n), why);
    case Memo: {
        const QByteArray text = memoBytes(pages, bytes, why);
        return why->isEmpty() ? decodeText(text, why) : QString();
    }
    case DateTime: return fits(8) ? dateText(qFromLittleEndian<double>(v)) : QString();
    case Byte: return fits(1) ? QString::number(v[0]) : QString();
    case Integer: return fits(2) ? QString::number(qFromLittleEndian<qint16>(v)) : QString();
    case LongInteger: return fits(4) ? QString::number(qFromLittleEndian<qint32>(v)) : QString();
    case Single: return fits(4) ? numberText(qFromLittleEndian<float>(v)) : QString();
    case Double: return fits(8) ? numberText(qFromLittleEndian<double>(v)) : QString();
    case Money: {
        if (!fits(8)) return QString();
        const qint64 units = qFromLittleEndian<qint64>(v); // in ten-thousandths
        const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
        quint32 words[4] = {0, 0, quint32(magnitude >> 32), quint32(magnitude)};
        return scaled(decimal(words), 4, units < 0);
    }
    case Numeric: {
        if (!fits(17)) return QString();
        quint32 words[4];
        // four little-endian words, the most significant first
        for (int i = 0; i < 4; ++i) words[i] = qFromLittleEndian<quint32>(v + 1 + 4 * i);
        return scaled(decimal(words), qMin(col.scale, 28), v[0] & 0x80);
    }
    case Guid: {
        if (!fits(16)) return QString();
        // its first three fields little-endian
        const QUuid id(qFromLittleEndian<quint32>(v), qFromLittleEndian<quint16>(v + 4),
                       qFromLittleEndian<quint16>(v + 6), v[8], v[9], v[10], v[11], v[12], v[13], v[14], v[15]);
        return id.toString(QUuid::WithBraces).toUpper();
    }
    default: *why = QStringLiteral("的类型（二进制或 OLE 对象）无法转为文字"); return QString();
    }
}

} // namespace jet
