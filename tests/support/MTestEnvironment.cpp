#include "MTestEnvironment.h"

#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

MTestEnvironment::MTestEnvironment()
{
    MMessageBox::setAutomatic(true);
    MFileDialog::setAutomatic(true);
}

QString MTestEnvironment::home() const
{
    return m_data.home();
}
