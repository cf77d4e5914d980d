#pragma once

#include "database.h"

#include <QString>

namespace store {

// Checks that source (a template, a backup or a snapshot) can be copied into the book its file
// name belongs to (catalogue.h): it opens, the engine finds it whole (integrity_check), and each
// table of the book is there as a table holding every column of the book. A file of no book is
// only checked for being whole and not empty. Throws Error (kind BadSource, naming source, the
// detail saying what is wrong) otherwise.
void checkSource(const QString& source);

// Makes the book's own tables (those of the catalogue) hold exactly the rows of source, a
// template or a backup of it, through the engine: source is attached to the open book and each
// table emptied and refilled, the book's columns by name, in one immediate transaction. Records
// only: nothing of source's schema comes along (no table, column, index, view or trigger), and
// the book's own schema is left as it is. The engine's locks and journal cover it, so a save in
// another copy of the program lands wholly before or wholly after it, a crash's journal of the
// book is rolled back first (or the book refused), and the file keeps its owner and permissions.
// before is called once the write lock is held and before anything changes, so that a snapshot
// taken there holds exactly what is replaced; keepWaiting as for Database::begin.
//
// A book so damaged that the engine cannot read it is kept beside it under a dated name and
// replaced whole by a copy of source reduced to the book's tables; the returned text is then the
// kept file's path (empty otherwise). A missing book is created the same way. Throws Error; the
// book is then as it was.
QString refillBook(const QString& book, const QString& source, const BeforeChange& before = {},
                   const KeepWaiting& keepWaiting = {});

} // namespace store
