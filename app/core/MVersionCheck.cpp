#include "core/MVersionCheck.h"

#include "views/MMessageBox.h"

#include <QWidget>

MVersionCheck::MVersionCheck(QNetworkAccessManager* manager, QWidget* boxParent, QObject* parent)
    : QObject(parent)
    , m_request(new MVersionRequest(manager, this))
    , m_boxParent(boxParent)
{
    connect(m_request, &MVersionRequest::answered, this, &MVersionCheck::doAnswered);
}

void MVersionCheck::start(const QString& endpoint, int major, int minor, const QString& special)
{
    m_request->start(endpoint, major, minor, special);
}

void MVersionCheck::doAnswered(const MDataMessage& message)
{
    MMessageBox::show(m_boxParent, message);
}
