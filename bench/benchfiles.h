#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QVector>
#include <algorithm>
#include <functional>

// The median time of runs calls of f, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& f) {
    QVector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        t << timer.nsecsElapsed() / 1e6;
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

using Report = std::function<void(const QString& op, int n, double ms, double floor)>;

// Emptying, backing up and restoring the books of a folder of n rows each, beside a plain copy of
// the same files (the floor).
void benchFiles(const QString& folder, int n, const Report& report);

// A line of chars characters without a break, pasted into the minutes' content box (of the
// minutes in folder), until the window has laid it out and painted, then saved, picked again and
// deleted; the floor puts the same text into a box that does not wrap lines at all.
// The floor's read: every row and column of a statement, through a forward-only query, median of 3.
double plainRead(const QString& file, const QString& sql);

void benchPaste(const QString& folder, int chars, const Report& report);

// The reports over a register of n entries: statistics beside a plain group by; for 10,000 entries
// the preview's first page, the whole PDF, the xlsx and the CSV.
void benchReports(const QString& folder, int n, const Report& report);
// Writes the whole register as an xlsx (for the peak memory of an export).
void exportRegister(const QString& folder);
