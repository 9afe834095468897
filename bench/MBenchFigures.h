#pragma once

#include <QVector>

// Small helpers that every benchmark program shares.
namespace MBenchFigures {

// The median of the measured values; machines are noisy, so figures are medians.
double median(QVector<double> values);

// Closes and removes the default connection between two timed runs.
void closeConnection();

} // namespace MBenchFigures
