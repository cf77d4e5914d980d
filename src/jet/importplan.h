#pragma once

#include <store/importrows.h>

// What the record books read from Jet files would bring to ours, and what their import did, in
// the words the person reads.
namespace jet {

// Recognises each file's book by its tables (by its name when no table could be read) and
// checks that every table the book needs is there, whole, with enough columns.
QVector<store::ImportBook> planImport(const QVector<store::SourceFile>& files);

// One line per table saying what the import did.
QStringList describeImport(const QVector<store::ImportedTable>& tables);

} // namespace jet
