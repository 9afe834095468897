#pragma once

#include "parties/MPartyDlg.h"
#include "parties/MSellerBankRows.h"
#include "parties/MSellerLogo.h"

#include <QItemSelection>
#include <QModelIndex>

class MReferenceComboBox;
class MSqlQueryModel;
class MTableView;
class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTimer;
class QToolBar;

// The dialog of one seller, the firm that issues the documents: its data, the address
// fields the tax control files need, contact and authorised person, the numbering period
// and pattern, the logo, the bank accounts, the tax office and notes. In normal mode it
// edits `seller` with its `seller_bank` rows and `seller_logo`; in invoice mode the
// invoice editor's working copy in `__invoice_seller`, with the bank as two plain
// fields and without logo, tax office and notes.
class MSellerDlg : public MPartyDlg
{
    Q_OBJECT

public:
    MSellerDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MSellerDlg() override;

public slots:
    // `seller.id`, or `__invoice_seller.__id` in invoice mode; below 1 prepares a new seller.
    void setIdRecord(int id);

    void doActionBankAdd();
    void doActionBankEdit();
    void doActionBankDefault();
    void doActionBankDelete();
    // The bank dialog's report: kind 9 and the working row it saved.
    void doChangeDbObject(int i, int id);

    // However the dialog ends, its working logo files go with it.
    void done(int r) override;

protected:
    bool save(int* savedId) override;

protected slots:
    void clickOk(bool b) override;

private slots:
    void doCurrentIndexChangedNumberPeriod(int index);
    void doCurrentIndexChangedFinancialOfficeStatic(int index);
    void doEditingFinishedFinancialOfficeCode();

    void cellDoubleClickedBank(QModelIndex indx);
    void doSelectionChangedBank(QItemSelection selected, QItemSelection deselected);
    void doTimeoutEnabledActionsTimer();

    void clickLogo(bool b);
    void clickLogoDel(bool b);
    void doToggledLogoZoom(bool checked);

private:
    QWidget* createFirmPage() override;
    QWidget* createAddressPage() override;
    QWidget* createInvoicesPage() override;
    QWidget* createAdditionalPage() override;
    void nameFields();

    bool validate();
    void loadSeller();
    bool saveSeller(int* sellerId);
    QString sellerTable() const;

    // Bank accounts (normal mode).
    void createBankWidgets(QWidget* parent);
    void copyBankRows();
    void reloadBankList();
    void setIdBankDefault(int id);
    // The list row of working row `id`; -1 when it is not listed.
    int bankRowOfId(int id) const;
    QList<int> selectedBankIds() const;
    void restartEnabledActionsTimer();
    void enableBankActions();
    void openBankDialog(int id);
    void showBankError(const QString& detail);

    // Logo (normal mode).
    QWidget* createLogoWidgets(QWidget* parent);
    void setLogoEditingEnabled(bool enabled);
    void loadLogo();
    void showLogo();
    void setLogoText(const QString& text);

    int m_idRecord = 0;


    QLineEdit* m_firm = nullptr;
    QLineEdit* m_firmShort = nullptr;
    QLineEdit* m_nip = nullptr;
    QLineEdit* m_regon = nullptr;
    QLineEdit* m_bank = nullptr;
    QLineEdit* m_bankAccount = nullptr;

    QLineEdit* m_address = nullptr;
    QLineEdit* m_street = nullptr;
    QLineEdit* m_addressNumber1 = nullptr;
    QLineEdit* m_addressNumber2 = nullptr;
    QLineEdit* m_city = nullptr;
    QLineEdit* m_zipcode = nullptr;
    QLineEdit* m_cityPost = nullptr;
    MReferenceComboBox* m_province = nullptr;
    QLineEdit* m_province2 = nullptr;
    QLineEdit* m_province3 = nullptr;
    MReferenceComboBox* m_country = nullptr;


    MReferenceComboBox* m_numberPeriod = nullptr;
    QLineEdit* m_numberFormat = nullptr;

    QLineEdit* m_financialOfficeCode = nullptr;
    QComboBox* m_financialOffice = nullptr;
    QPlainTextEdit* m_additional = nullptr;

    MSellerBankRows m_bankRows;
    QTimer* m_enabledActionsTimer = nullptr;
    QAction* m_actionBankDefault = nullptr;
    QAction* m_actionBankAdd = nullptr;
    QAction* m_actionBankEdit = nullptr;
    QAction* m_actionBankDelete = nullptr;
    QToolBar* m_bankToolBar = nullptr;
    MTableView* m_bankList = nullptr;

    MSellerLogo m_logo;
    QTextEdit* m_logoPreview = nullptr;
    QPushButton* m_logoLoad = nullptr;
    QPushButton* m_logoDelete = nullptr;
    QLabel* m_logoZoomLabel = nullptr;
    QButtonGroup* m_logoZoomGroup = nullptr;
    QWidget* m_logoControls = nullptr;
};
