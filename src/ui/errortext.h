#pragma once

#include <QString>

namespace store {
class Error;
}

namespace ui {

// What is wrong, in a sentence a school office can act on: which file, and why (chosen by the
// kind of failure and the engine's result code), with the engine's own text after it.
QString describe(const store::Error& error);

// A file or folder as the person is shown it: absolute, in the system's own separators
// ("C:\Users\…\database\cahier.dat" on Windows), whatever the working folder.
QString shownPath(const QString& path);

} // namespace ui
