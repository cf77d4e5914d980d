#pragma once

#include <QStringList>
#include <QTextStream>

// lumno-setup --report TITLE [--from DATE] [--to DATE] [--teacher NAME] [--theme THEME]
//             (--pdf|--xlsx|--csv) FILE [PROGRAM_FOLDER]
// Writes one report of the program folder's books to a file; returns the exit code.
int reportCommand(int argc, char** argv, QTextStream& out, QTextStream& err);
