#pragma once

#include <QList>
#include <QString>

class QListView;
class QPushButton;
class QStandardItemModel;
class QWidget;

// The parts that the two document view choosers share: the icon list of
// markings, the labelled option rows and the button row.
namespace MDocViewList {

// The text of a marking's item in the choosers.
QString itemText(int docView);

// Whether the choosers offer the markings original, copy and their combinations.
bool offersOriginalCopy();

// Fills `model` with one item per marking and shows it in a new icon list.
QListView* create(QWidget* parent, QStandardItemModel* model, const QList<int>& docViews);

// Removes the first row whose marking is `docView`.
void removeFirst(QStandardItemModel* model, int docView);

// A bold, word-wrapped label beside `box`.
QWidget* optionRow(QWidget* parent, const QString& label, QWidget* box);

// "OK" (starting disabled) and "Anuluj", aligned right and bottom.
QWidget* buttonRow(QWidget* parent, QPushButton* ok, QPushButton* cancel);

// Calls the job slot `job`(int) of the list that opened the chooser; a list
// without that slot is a programming error, logged rather than passed over.
void startJob(QWidget* list, const char* job, int docView);

} // namespace MDocViewList
