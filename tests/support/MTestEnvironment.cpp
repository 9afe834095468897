#include "MTestEnvironment.h"

#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"

#include <QStringList>

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

QString takeShownTexts()
{
    QStringList texts;
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    for (const MMessageBox::Shown& box : shown)
        texts << box.title + QStringLiteral(": ") + box.text;
    return texts.join(QLatin1Char('\n'));
}
