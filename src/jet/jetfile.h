#pragma once

#include <store/importrows.h>

namespace jet {

// Reads every table of one Jet 4 database file (Access 2000–2003), each value as text. Whatever
// cannot be read is said in the result, in Chinese; Jet 3, ACCDB and encrypted files are refused.
// Every read is checked against the file's bounds, and the program still calls this only inside
// the reader process (lumno-jetread), so that no file can take the program down.
store::SourceFile readJetFile(const QString& path);

} // namespace jet
