#pragma once

#include "jettable.h"

namespace jet {

// One value of a row as text: NULL as a null QString; a null QString with *why set (Chinese,
// to follow the column's name) when it cannot be read. A Boolean is its null bit: "1" or "0".
// A memo's text is followed from the row to its long-value pages.
QString valueText(const Pages& pages, const Column& col, bool null, const Bytes& bytes, QString* why);

} // namespace jet
