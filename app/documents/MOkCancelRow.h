#pragma once

class QGridLayout;
class QPushButton;
class QWidget;

// The "OK" and "Anuluj" buttons (70 x 25 each, 5 pixels apart) that close the document
// actions' dialogs, in a row aligned right and bottom.
QGridLayout* createOkCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel);
