#pragma once

class QDateEdit;
class QWidget;

namespace MDateEdit {

// A date field as every dialog of the program has it: today's date shown as
// "dd-MM-yyyy", a calendar with its grid as pop-up, `width` pixels wide.
QDateEdit* create(QWidget* parent, int width);

} // namespace MDateEdit
