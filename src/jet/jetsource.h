#pragma once

#include "importplan.h"

class QIODevice;

// The import's reading side: finds the Jet database files of a folder laid out like a program
// folder (or takes a single file) and reads each in a process of its own, so that a damaged
// file can never take the program down with it.
namespace jet {

// Empty when the Jet files can be read; otherwise why not, in Chinese.
QString Unavailable();

// Every ".dat" file of the folder and of its "database" folder, or the one file given, read
// whole: one entry per file, in the order of the program folder's layout.
QVector<store::SourceFile> readSource(const QString& folderOrFile);

// readSource, then planImport.
QVector<store::ImportBook> findBooks(const QString& folderOrFile);

// How the reader process hands a file's content over.
bool writeResult(QIODevice* out, const store::SourceFile& file);
bool readResult(QIODevice* in, store::SourceFile& file);

} // namespace jet
