#pragma once

#include "pages.h"

#include <QString>

// A report written to a file: PDF (the printed pages, fonts embedded), Excel (.xlsx) or CSV
// (UTF-8 with a byte-order mark). Each file is written under a temporary name in the target
// folder and takes the chosen name only when complete: a failure leaves no half file behind.
namespace report {

enum class Format { Pdf, Xlsx, Csv };

struct Outcome {
    bool written = false;
    QString error; // why not, in Chinese, naming the file; empty when progress stopped it
};

Outcome writeFile(const store::Report& report, Format format, const QString& path, const Progress& progress = {});

// The format of a file by its name (.pdf, .csv, anything else Excel).
Format formatOf(const QString& path);

} // namespace report
