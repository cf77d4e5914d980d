#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The pages of a Jet 4 database file (Access 2000–2003), each read checked against the file's
// bounds: a damaged file gives a refusal, never a read outside the file.
namespace jet {

constexpr int kPageSize = 4096;

// Some bytes inside the file; empty (data null) when they could not be found.
struct Bytes {
    const uchar* data = nullptr;
    int size = 0;
    bool found() const { return data != nullptr; }
};

quint16 U16(const uchar* p);
quint32 U32(const uchar* p);

class Pages {
public:
    // Reads the whole file. Empty when it is a Jet 4 database that can be read; otherwise why
    // not, in Chinese. *shortEnd tells that the file ends in the middle of a page.
    QString open(const QString& path, bool* shortEnd);

    qint64 count() const { return m_bytes.size() / kPageSize; }
    // A whole page, or null beyond the end of the file.
    const uchar* page(quint32 number) const;
    // Row `row` of data page `page`, and whether it is marked deleted or moved elsewhere.
    Bytes row(quint32 page, int row, bool* deleted = nullptr, bool* moved = nullptr) const;
    // A row by its address: the page in the upper three bytes, the row in the lowest.
    Bytes row(quint32 address) const { return row(address >> 8, int(address & 0xff)); }
    // The number of rows on a data page, 0 when it is none.
    int rowCount(quint32 page) const;
    // The pages a usage map (the row at mapAddress) marks as used, in order. False when the map
    // is damaged.
    bool usedPages(quint32 mapAddress, QVector<quint32>* out) const;

private:
    QByteArray m_bytes;
};

} // namespace jet
