#pragma once

#include "parties/MPartyDlg.h"

class MReferenceComboBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

// The dialog of one buyer: firm data, main and contact address, contact data, the
// authorised person with an identity document, invoicing defaults and notes. In normal
// mode it edits `buyer` (with `buyer_address` and `buyer_defaults`); in invoice mode the
// invoice editor's working copy in `__invoice_buyer` and `__invoice_buyer_address`,
// without the notes and the defaults.
class MBuyerDlg : public MPartyDlg
{
    Q_OBJECT

public:
    MBuyerDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBuyerDlg() override;

public slots:
    // `buyer.id`, or `__invoice_buyer.__id` in invoice mode; below 1 prepares a new buyer.
    void setIdRecord(int id);

protected:
    bool save(int* savedId) override;

private slots:
    void doCurrentIndexChangedAddressKind(int index);
    void doCurrentIndexChangedPayForm(int index);
    void doEditingFinishedReduct();

private:
    void nameFields();
    QWidget* createFirmPage() override;
    QWidget* createAddressPage() override;
    QWidget* createInvoicesPage() override;
    QWidget* createAdditionalPage() override;

    void loadBuyer();
    void loadContactAddress();
    void loadDefaults();
    void updateAddressTab();
    void loadPayForms(int idCurrent);
    void updatePayInDaysCheck(bool onChange);
    // The discount as typed, with a decimal comma or point.
    double reductValue() const;

    bool saveContactAddress(int* contactId);
    bool saveBuyer(int contactId, int* buyerId);
    bool saveDefaults(int buyerId);

    QString buyerTable() const;
    QString addressTable() const;

    int m_idRecord = 0;
    int m_idAddressContact = 0;

    QTabWidget* m_addressTabs = nullptr;
    QWidget* m_contactAddressPage = nullptr;

    QLineEdit* m_firm = nullptr;
    QLineEdit* m_firmShort = nullptr;
    QLineEdit* m_nip = nullptr;
    QLineEdit* m_regon = nullptr;
    QLineEdit* m_bank = nullptr;
    QLineEdit* m_bankAccount = nullptr;

    QLineEdit* m_address = nullptr;
    QLineEdit* m_zipcode = nullptr;
    QLineEdit* m_city = nullptr;
    MReferenceComboBox* m_province = nullptr;
    MReferenceComboBox* m_country = nullptr;

    QLineEdit* m_contactName = nullptr;
    QLineEdit* m_contactAddress = nullptr;
    QLineEdit* m_contactZipcode = nullptr;
    QLineEdit* m_contactCity = nullptr;
    MReferenceComboBox* m_contactProvince = nullptr;
    MReferenceComboBox* m_contactCountry = nullptr;
    QComboBox* m_addressKind = nullptr;


    QLineEdit* m_reduct = nullptr;
    MReferenceComboBox* m_payForm = nullptr;
    QSpinBox* m_dayPeriod = nullptr;
    QLineEdit* m_payFormText = nullptr;
    QLineEdit* m_payText = nullptr;
    QCheckBox* m_payInDays = nullptr;
    QCheckBox* m_payed = nullptr;
    QCheckBox* m_dateSellInMonths = nullptr;

    QPlainTextEdit* m_additional = nullptr;
};
