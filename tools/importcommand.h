#pragma once

#include <store/importrows.h>

#include <QString>
#include <QTextStream>

// Lays folder out, then imports the Jet files of source (a folder laid out like a program
// folder, or one ".dat" file) into it, each book backed up into backup/ first. Returns the exit
// status: 0 only when every file was read and imported.
int importCommand(const QString& source, const QString& folder, store::ImportMode mode, QTextStream& out,
                  QTextStream& err);
