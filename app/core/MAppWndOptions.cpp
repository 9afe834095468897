#include "MAppWnd.h"

#include "data/MDefaultOptions.h"
#include "data/MOptions.h"
#include "printing/MPrinterMargins.h"
#include "views/MMessageBox.h"

QString MAppWnd::option(const QString& key)
{
    return MOptions::option(key);
}

void MAppWnd::setOption(const QString& key, const QString& value)
{
    MOptions::setOption(key, value);
}

void MAppWnd::loadOptions()
{
    MOptions::loadOptions();
}

void MAppWnd::setDefaultOptions()
{
    MDefaultOptions::store(pathDocuments);

    const QString geometry = option(QStringLiteral("MAIN_WINDOW_GEOMETRY"));
    if (!geometry.isEmpty())
        restoreGeometry(QByteArray::fromHex(geometry.toLatin1()));
    const QString state = option(QStringLiteral("MAIN_WINDOW_STATE"));
    if (!state.isEmpty())
        restoreState(QByteArray::fromHex(state.toLatin1()), 0);

    MPrinterMargins::load();
}

void MAppWnd::doDefaultSettings()
{
    const QMessageBox::StandardButton answer = MMessageBox::warning(
        this, tr("Potwierdzenie usunięcia ustawień"),
        tr("Na pewno usunąć ustawienia programu i wrócić do ustawień domyślnych?<br><br>Aby zobaczyć wszystkie "
           "efekty ustawień domyślnych w aktywnych oknach programu należy je zamknąć i otworzyć ponownie."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    // No window geometry is stored any more, so only the margins change.
    MDefaultOptions::reset(pathDocuments);
    MPrinterMargins::load();
}
