#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Checks that source can be copied into a book that holds tables: it opens, the engine finds it
// whole (integrity_check) and it has every one of those tables. Throws Error (kind BadSource,
// naming source) otherwise.
void checkSource(const QString& source, const QStringList& tables);

// Makes the book hold exactly the tables and rows of source (a template or a backup of it), and
// nothing else, through the engine: source is attached to the open book and every table is
// emptied and refilled in one immediate transaction. The engine's locks and journal cover it, so
// a save in another copy of the program lands wholly before or wholly after it, a journal of the
// book is rolled back first (or the book refused), and the file keeps its owner and permissions.
//
// A book so damaged that the engine cannot read it is kept beside it under a dated name and
// replaced whole by a copy of source; the returned text is then the kept file's path (empty
// otherwise). A missing book is created as a copy of source. Throws Error; the book is then as
// it was.
QString refillBook(const QString& book, const QString& source);

} // namespace store
