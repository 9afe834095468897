#include "core/MSqlImport.h"

#include "views/MMessageBox.h"

void MSqlImport::showReport(QWidget* parent, const Report& report)
{
    MMessageBox::show(parent, report.box());
}
