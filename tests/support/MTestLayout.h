#pragma once

#include <QList>
#include <QStringList>

class QWidget;

// What a user sees of a window's layout, checked from the widgets' geometry: texts that
// do not fit the place they were given, controls lying over each other, and a Tab order
// that jumps about instead of following the page row by row.
namespace MTestLayout {

// The widgets inside `root` that Tab reaches (enabled, shown, taking Tab), in Tab order.
QList<QWidget*> tabChain(QWidget* root);

// Each step of the Tab round inside `root`, from the field that comes first on the page,
// that goes back up the page or to the left within a row, as "from -> to"; empty when
// Tab follows the reading order.
QStringList tabStepsAgainstReadingOrder(QWidget* root);

// Each shown label or button inside `root` whose text needs more room than it has, and
// each pair of shown controls whose rectangles overlap; empty when all is readable.
QStringList clippedOrOverlapping(QWidget* root);

} // namespace MTestLayout
