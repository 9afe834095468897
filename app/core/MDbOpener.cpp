#include "core/MDbOpener.h"

#include "views/MMessageBox.h"

bool MDbOpener::createConnection(const QString& path)
{
    MDataMessage failure;
    const bool connected = MDbOpening::createConnection(path, &failure);
    MMessageBox::show(nullptr, failure);
    return connected;
}

MDbOpener::MDbOpener(QWidget* parent, const QString& pathTemp, const Steps& steps)
    : m_parent(parent)
    , m_opening(pathTemp, steps)
{
}

MDbOpener::Outcome MDbOpener::open()
{
    const Outcome outcome = m_opening.open();
    MMessageBox::show(m_parent, m_opening.message());
    return outcome;
}
