#pragma once

#include "parties/MRecordDlg.h"

class MPartyContactPage;
class MPartyPersonPage;
class QTabWidget;

// What the buyer and the seller dialogs share: the pages "Firma", "Adres", "Kontakt",
// "Osoba", "Faktury" and, outside invoice mode, "Dodatkowe" in one tab widget above the
// button row. The pages "Kontakt" and "Osoba" are the same for both and are built here;
// the dialog builds the others.
class MPartyDlg : public MRecordDlg
{
    Q_OBJECT

public:
    ~MPartyDlg() override;

protected:
    MPartyDlg(QWidget* parent, int viewKind, bool invoiceMode, Qt::WindowFlags flags);

    // Builds every page and the frame around them. The dialog calls it from its own
    // constructor, because its page builders cannot run from this one.
    void createPages();

    virtual QWidget* createFirmPage() = 0;
    virtual QWidget* createAddressPage() = 0;
    virtual QWidget* createInvoicesPage() = 0;
    virtual QWidget* createAdditionalPage() = 0;

    MPartyContactPage* contactPage() const;
    MPartyPersonPage* personPage() const;

private:
    void createTab(int tab);

    QTabWidget* m_tabWidget = nullptr;
    MPartyContactPage* m_contactPage = nullptr;
    MPartyPersonPage* m_personPage = nullptr;
};
