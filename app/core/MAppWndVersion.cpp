#include "MAppWnd.h"

#include "core/MVersionCheck.h"

void MAppWnd::doCheckVersion()
{
    if (!m_versionCheck)
        m_versionCheck = new MVersionCheck(m_networkManager, this, this);
    m_versionCheck->start(MVersionCheck::endpoint(), versionMajor, versionMinor, MProgramVersion::versionSpecial());
}
