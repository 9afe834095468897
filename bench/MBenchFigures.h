#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Small helpers that every benchmark program shares.
namespace MBenchFigures {

// The median of the measured values; machines are noisy, so figures are medians.
double median(QVector<double> values);

// How long `work` took, in milliseconds.
double milliseconds(const std::function<void()>& work);

// Closes and removes the default connection between two timed runs.
void closeConnection();

// The start of a benchmark called as `usage` says, with a database file and an
// output folder as its first two arguments: makes the folder and opens the
// database as the default connection. 0 when both are ready, else the exit
// code (2 for wrong arguments, 1 otherwise) after a message on stderr.
int openDatabaseAndOutput(const QStringList& args, const char* usage);

// The page count pdfinfo gives for a PDF file; 0 when it cannot be read.
int pdfPages(const QString& file);

} // namespace MBenchFigures
