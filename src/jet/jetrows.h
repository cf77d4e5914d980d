#pragma once

#include "jettable.h"

#include <store/importrows.h>

// The rows of a Jet 4 table, each value as text.
namespace jet {

// Every row of the table, in the order of its data pages; the table's name and columns are
// left to the caller. A value that cannot be read is listed in `unreadable`; a table that cannot
// be read whole says so in `problem` (Chinese).
store::SourceTable readTableRows(const Pages& pages, const TableDef& def);

} // namespace jet
