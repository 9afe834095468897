#pragma once

class QDialog;
class QPushButton;
class QWidget;

// Lays `dialog` out as a grid with margin 5 and spacing 0: `content` on top,
// a gap of 5, then "OK" and "Anuluj" (70 x 25, with their icons) side by side
// at the bottom right. Gives the two buttons for the caller to connect.
void layOutOkCancel(QDialog* dialog, QWidget* content, QPushButton** ok, QPushButton** cancel);
