#include "MTestEnvironment.h"

#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"

MTestEnvironment::MTestEnvironment()
{
    MMessageBox::setAutomatic(true);
    MFileDialog::setAutomatic(true);
    MPrintDialog::setAutomatic(true);
}

QString MTestEnvironment::home() const
{
    return m_data.home();
}
