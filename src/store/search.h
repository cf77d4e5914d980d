#pragma once

#include "catalogue.h"

#include <QStringList>
#include <QVector>
#include <functional>

// Finding any record by a piece of its text, in every column of every book.
namespace store {

// One record that holds the searched text.
struct Found {
    const Book* book = nullptr;
    const Table* table = nullptr;
    qint64 rowid = -1;
    int column = -1;    // the first column (table order) that holds the text
    QStringList values; // the record's columns, in table order
};

// A table a search goes through, with its book.
struct SearchedTable {
    const Book* book;
    const Table* table;
};

// The tables whose records the books' windows show, in catalogue order: the counted tables of
// every book except the accounts (never the passwords, never the lookup lists).
QVector<SearchedTable> searchedTables();

// The statement that reads the rowid and every column of the records holding text in any
// column, in table order, at most limit of them: plain substring matching by the engine (instr),
// which finds any piece of Chinese text, two characters included. With from <= upTo, only the
// records whose rowid lies in [from, upTo].
QString findStatement(const Table& table, const QString& text, int limit, qint64 from = 1, qint64 upTo = 0);

// The records of one table holding text, at most limit; an empty text finds nothing. The table is
// read in slices of rowids: each slice's records go to found as soon as they are read, and stop,
// asked before each slice, ends the search early when it answers true. Returns true when the
// table held more than limit. Throws Error. Safe to run in a thread of its own (its own
// connection).
bool findRecords(const SearchedTable& where, const QString& text, int limit,
                 const std::function<void(const QVector<Found>&)>& found, const std::function<bool()>& stop);

} // namespace store
