#pragma once

#include <QString>

class QTextStream;

// A program or data folder made ready before the program runs in it.
namespace datafolder {

// Makes folder and its database/ where missing, checks that both take new files (the engine
// writes a journal beside each data file), then creates the data files that are missing, one
// set-up at a time. Writes each file it created to out. Returns what went wrong, in words for
// the person, or an empty text. Needs a QCoreApplication (for the SQLite driver).
QString prepare(const QString& folder, QTextStream& out);

// Shows text in the program's message box. Creates the GUI application for it, so it needs a
// display and no other application object may exist.
void showInMessageBox(int& argc, char** argv, const QString& text);

} // namespace datafolder
