#include "MPartyDlg.h"

#include "parties/MPartyContactPage.h"
#include "parties/MPartyPersonPage.h"

#include <QGridLayout>
#include <QTabWidget>

namespace {

enum Page { FirmPage = 1, AddressPage, ContactPage, PersonPage, InvoicesPage, AdditionalPage };

} // namespace

MPartyDlg::MPartyDlg(QWidget* parent, int viewKind, bool invoiceMode, Qt::WindowFlags flags)
    : MRecordDlg(parent, viewKind, invoiceMode, flags)
{
}

MPartyDlg::~MPartyDlg() = default;

void MPartyDlg::createPages()
{
    m_tabWidget = new QTabWidget(this);
    m_tabWidget->setObjectName(QStringLiteral("pages"));
    for (int tab = FirmPage; tab <= InvoicesPage; ++tab)
        createTab(tab);
    if (!isInvoiceMode())
        createTab(AdditionalPage);

    frameLayout()->addWidget(m_tabWidget, 0, 0);
    frameLayout()->setRowMinimumHeight(1, 5);
    addButtonRow(2);
}

void MPartyDlg::createTab(int tab)
{
    switch (tab) {
    case FirmPage:
        m_tabWidget->addTab(createFirmPage(), tr("Firma"));
        break;
    case AddressPage:
        m_tabWidget->addTab(createAddressPage(), tr("Adres"));
        break;
    case ContactPage:
        m_contactPage = new MPartyContactPage();
        m_tabWidget->addTab(m_contactPage, tr("Kontakt"));
        break;
    case PersonPage:
        m_personPage = new MPartyPersonPage();
        m_tabWidget->addTab(m_personPage, tr("Osoba"));
        break;
    case InvoicesPage:
        m_tabWidget->addTab(createInvoicesPage(), tr("Faktury"));
        break;
    case AdditionalPage:
        m_tabWidget->addTab(createAdditionalPage(), tr("Dodatkowe"));
        break;
    default:
        break;
    }
}

MPartyContactPage* MPartyDlg::contactPage() const
{
    return m_contactPage;
}

MPartyPersonPage* MPartyDlg::personPage() const
{
    return m_personPage;
}
