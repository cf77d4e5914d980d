#pragma once

#include "jetpages.h"

// A table's definition in a Jet 4 file, and the catalogue that names the tables.
namespace jet {

enum ColumnType : int {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    LongInteger = 0x04,
    Money = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    Guid = 0x0f,
    Numeric = 0x10,
};

struct Column {
    QString name;
    int type = 0;
    int number = 0;      // its bit in a row's null mask
    int varIndex = 0;    // its place among a row's variable-length values
    int fixedOffset = 0; // where a fixed-length value starts after the row's column count
    int length = 0;
    bool fixed = false;
    int scale = 0; // of a Numeric
};

struct TableDef {
    quint32 page = 0;        // the definition's first page: the owner of the table's data pages
    qint64 rows = 0;         // as the definition counts them
    quint32 usageMap = 0;    // the address of the row listing the table's data pages
    QVector<Column> columns; // in column order
};

// Reads the definition starting at `page`; false and why (Chinese) when it is damaged.
bool readTableDef(const Pages& pages, quint32 page, TableDef* def, QString* why);

struct CatalogEntry {
    QString name;
    quint32 page = 0;
};

// The tables the database's catalogue lists for the person (the system tables left out), in
// the catalogue's order. False and why (Chinese) when the catalogue cannot be read.
bool readCatalog(const Pages& pages, QVector<CatalogEntry>* tables, QString* why);

} // namespace jet
