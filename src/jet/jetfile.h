#pragma once

#include <store/importrows.h>

namespace jet {

// Reads every table of one Jet 4 database file through libmdb, each value as text. Whatever
// cannot be read is said in the result, in Chinese. Damaged files can make libmdb itself fail,
// so the program calls this only inside the reader process (lumno-jetread).
store::SourceFile ReadJetFile(const QString& path);

} // namespace jet
