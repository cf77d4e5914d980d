#pragma once

#include <QString>

// The records are personnel data: on Linux every data file, journal, template, backup and folder
// the program creates is its owner's alone (files 0600, folders 0700). Files that exist keep the
// modes they have. On Windows the program's folder is the person's own already: nothing is done.
namespace store {

// From now on this process creates files and folders for its owner alone (umask 077). Called
// first thing by the program and the set-up program.
void keepNewFilesPrivate();

// Makes a file this process has just copied its owner's alone: a copy takes its source's mode.
void makeCopyPrivate(const QString& file);

} // namespace store
