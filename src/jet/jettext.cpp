#include "jettext.h"

#include <QDate>
#include <QVector>
#include <charconv>
#include <cmath>

namespace jet {

namespace {

char16_t unitAt(const QByteArray& b, int i) { return char16_t(uchar(b.at(i)) | (uchar(b.at(i + 1)) << 8)); }

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

template <class T> QString shortestFixed(T value) {
    if (!std::isfinite(value)) return QString::number(double(value));
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

} // namespace

QString decodeText(const QByteArray& bytes, QString* why) {
    QVector<char16_t> units;
    units.reserve(bytes.size());
    const int n = int(bytes.size());
    if (n >= 2 && uchar(bytes.at(0)) == 0xFF && uchar(bytes.at(1)) == 0xFE) {
        bool compressed = true;
        for (int i = 2; i < n;) {
            const uchar b = uchar(bytes.at(i));
            if (b == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                units << char16_t(b);
                ++i;
            } else if (i + 1 < n) {
                units << unitAt(bytes, i);
                i += 2;
            } else {
                if (why) *why = QStringLiteral("的文字不完整（缺少半个字符）");
                return QString();
            }
        }
    } else {
        if (n % 2) {
            if (why) *why = QStringLiteral("的文字不完整（缺少半个字符）");
            return QString();
        }
        for (int i = 0; i < n; i += 2) units << unitAt(bytes, i);
    }
    for (int i = 0; i < units.size(); ++i) {
        const bool paired = isHigh(units[i]) && i + 1 < units.size() && isLow(units[i + 1]);
        if (paired) {
            ++i;
        } else if (isHigh(units[i]) || isLow(units[i])) {
            if (why) *why = QStringLiteral("含有无法解码的字符（不成对的代理项）");
            return QString();
        }
    }
    QString text = QString::fromUtf16(units.constData(), units.size());
    return text.isNull() ? QStringLiteral("") : text;
}

QString dateText(double days) {
    const double whole = std::trunc(days);
    // Before 1899-12-30 the day counts back while the time of day still counts forward.
    const qint64 seconds = qRound64(std::fabs(days - whole) * 86400.0);
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole) + seconds / 86400);
    QString text = date.toString("MM-dd-yyyy");
    if (const qint64 s = seconds % 86400)
        text += QString(" %1:%2:%3")
                    .arg(s / 3600, 2, 10, QChar('0'))
                    .arg(s / 60 % 60, 2, 10, QChar('0'))
                    .arg(s % 60, 2, 10, QChar('0'));
    return text;
}

QString numberText(double value) { return shortestFixed(value); }
QString numberText(float value) { return shortestFixed(value); }

} // namespace jet
