#pragma once

#include <QDate>
#include <QDialog>
#include <QItemSelection>
#include <QMap>
#include <QModelIndex>
#include <QString>

class MAppServices;
class MHelpButton;
class MTableView;
class MTextEdit;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSqlRecord;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTimer;
class QToolBar;
struct MDocumentSaveState;

// The document editor: one modeless dialog, at most one at a time, with
// six pages over the working copies of a document of any non-duplicate kind.
class MInvoiceDlg : public QDialog
{
    Q_OBJECT
    friend class TestInvoiceDlg;
    friend class TestInvoiceDlgNumbering;
    friend class TestInvoiceDlgSummary;
    friend class TestInvoiceDlgValidate;
    friend class TestInvoiceDlgIntake;
    friend class TestInvoiceDlgLoad;
    friend class TestInvoiceDlgPreviews;
    friend class TestInvoiceDlgDrag;
    friend class TestRoadTest;

public:
    MInvoiceDlg(QWidget* parent, Qt::WindowFlags f, int docKind);
    ~MInvoiceDlg() override;

    int docKind() const;
    bool isCorrection() const;

    void setActionEnabled(QAction* action, const QString& key);
    void restartEnabledActionsTimer();
    static QList<int> selectedIds(QTableView* view);
    static int currentRowId(QTableView* view);
    void updateDocKindWidgets();
    void updateBuyerTabs();
    void readShownKind();

    // The document as "OK" would save it, from the editor's state and form.
    MDocumentSaveState saveState() const;
    // Refreshes the numbering period, number, kind and currency from the form,
    // then shows the first problem that keeps the document from being saved.
    bool validate();

    // Numbering, totals and the payment widgets that follow each other.
    void updateInvoiceIndex(bool lookUp);
    void countSummary();
    void updateRemainingToPay();
    double advanceSum() const;
    void loadPayForms(int id);
    void loadPartPayForms(int id);
    void updatePayTermWidgets(bool applyFormDefaults);
    void updateSellDateFormat();
    void updateCurrencyWidgets();

    // Loading: the buyer's terms, the seller copy's bank account, the buyer's discount.
    void applyBuyerDefaults(int idBuyer);
    void loadSellerBanks();
    void readBuyerReduct();

public slots:
    void setProducts();
    // Loads a saved document (id > 0), to edit it or, with `copy`, as the start
    // of a copy or a correction; id <= 0 loads a new document's defaults.
    void setIdRecord(int id, bool copy);
    void setIdRecord(int id);
    void setIdRecordParent(int id);
    // Previews of the working copies, rebuilt from the current keys.
    void setSeller();
    void setBuyer();
    void setBuyer2();
    void setCurrencyRating();
    void setInvoiceJoin();
    // A record dialog in invoice mode saved working copy `id` of kind `i`.
    void doChangeDbObject(int i, int id);
    void cellDoubleClickedProduct(QModelIndex indx);
    void setDocKind(int kind);
    void setEnabledActions();
    void clickCancel(bool b);
    void clickOk(bool b);
    void clickShrink(bool b);

private slots:
    void doActionBuyerDb();
    void doActionBuyer2Db();
    void doActionCurrencyRatingDb();
    void doActionEndTextDb();
    void doActionEndText2Db();
    void doActionInvoiceDb();
    void doActionProductDb();
    void doActionSellerDb();
    void doActionBuyerEdit();
    void doActionBuyer2Edit();
    void doActionCurrencyRatingEdit();
    void doActionProductEdit();
    void doActionSellerEdit();
    void doCurrentIndexChangedBuyerKind(int index);
    void doCurrentIndexChangedDocKind(int index);
    void doSelectionChangedInvoice(QItemSelection selected, QItemSelection deselected);
    void doSelectionChangedProduct(QItemSelection selected, QItemSelection deselected);
    void doTimeoutEnabledActionsTimer();
    void doValueChangedFirstInvoiceNumber(int i);
    void doDateChangedDatePut(QDate date);
    void doCurrentIndexChangedPayForm(int index);
    void doCurrentIndexChangedPriceCurrency(int index);
    void doCurrentIndexChangedProfitProcedure(int index);
    void doStateChangedPayInDays(int state);
    void doStateChangedPayed(int state);
    void doStateChangedNoDatePayedAll(int state);
    void doDateChangedDatePayedAll(QDate date);
    void doStateChangedIsCancelled(int state);
    void doStateChangedIsPayed(int state);
    void doStateChangedNoDatePayed(int state);
    void doStateChangedNoDatePayedPart(int state);
    void doStateChangedDateSellInMonths(int state);
    void doTextChangedBruttoPart(QString text);
    void doEditingFinishedPriceNetto();
    // Taking records in (drops and the add and "Zamień" actions) and removing them.
    void doDropIndexesSeller(QWidget* source, QList<int> indexes);
    void doDropIndexesBuyer(QWidget* source, QList<int> indexes);
    void doDropIndexesBuyer2(QWidget* source, QList<int> indexes);
    void doDropIndexesCurrencyRating(QWidget* source, QList<int> indexes);
    void doDropIndexesEndText(QWidget* source, QList<int> indexes);
    void doDropIndexesEndText2(QWidget* source, QList<int> indexes);
    void doDropIndexesInvoice(QWidget* source, QList<int> indexes, int index2 = 0);
    void doDropIndexesProduct(QWidget* source, QList<int> indexes, int index2 = 0);
    void doActionSellerAdd();
    void doActionBuyerAdd();
    void doActionBuyer2Add();
    void doActionCurrencyRatingAdd();
    void doActionEndTextAdd();
    void doActionEndText2Add();
    void doActionInvoiceAdd();
    void doActionProductAdd();
    void doActionInvoiceChange();
    void doActionProductChange();
    void doActionSellerDelete();
    void doActionBuyerDelete();
    void doActionBuyer2Delete();
    void doActionCurrencyRatingDelete();
    void doActionEndTextDelete();
    void doActionEndText2Delete();
    void doActionInvoiceDelete();
    void doActionProductDelete();
    void doCurrentIndexChangedSellerBank(int index);

private:
    MAppServices* appWnd() const;
    void createTab(int tab);
    void createSellerPage();
    void createBuyerPage();
    void createProductsPage();
    void createTermsPage();
    void createTextsPage();
    void createInvoicesPage();
    QWidget* createPaymentControlPage();
    QAction* addAction(QToolBar* toolBar, const QString& key, const QString& icon, const QString& text,
                       const char* slot);
    QToolBar* createToolBar(QWidget* parent);
    MTableView* createPreviewTable(QWidget* parent, int width);
    MTableView* createListTable(QWidget* parent);
    MTextEdit* createTextBox(QWidget* parent);
    QDateEdit* createDateEdit(QWidget* parent, int width);
    QLabel* createCaption(const QString& text, QWidget* parent);
    QCheckBox* createCheckBox(const QString& text, QWidget* parent);
    void openRecordDialog(QDialog* dialog);
    void connectIntake();
    void takeEndText(QWidget* source, const QList<int>& indexes, MTextEdit* box);
    // The table of the catalogue tab, opened or made current, when it is the current tab.
    QTableView* catalogTable(int viewKind, const QString& viewName);
    void removeSelected(QTableView* list, const char* field, const QString& table, QMap<int, int>* keys);
    void connectTermsWidgets();
    void showRemainingToPay(double total);
    void loadDocument(int id, bool copy);
    void loadNewDocument();
    void loadPaymentState(const QSqlRecord& row);
    void selectComboText(QComboBox* combo, const QString& sql);
    void fillPreview(QTableView* table, const QString& sql);
    static void rerunPreview(QTableView* table);

    // Document state
    int m_docKind = 0;
    bool m_isCorrection = false;
    int m_idSeller = 0;
    int m_idBuyer = 0;
    int m_idBuyer2 = 0;
    int m_idCurrencyRating = 0;
    int m_idInvoice = 0;
    int m_idParentInvoice = 0;
    int m_idSellerBase = 0;
    int m_idCurrency = 0;
    int m_invoiceIndexPeriod = 0;
    double m_bruttoGlobal = 0.0;
    double m_bruttoGlobalParent = 0.0;
    double m_buyerReduct = 0.0;
    QMap<int, int> m_productIds;
    QMap<int, int> m_invoiceJoinIds;
    QMap<QString, bool> m_enabledMap;
    QMap<QString, QAction*> m_actions;

    QTimer* m_enabledActionsTimer = nullptr;
    QTabWidget* m_tabMain = nullptr;
    QPushButton* m_buttonShrink = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;

    // Seller page
    MTableView* m_sellerTable = nullptr;
    QComboBox* m_sellerBank = nullptr;
    // Buyer page
    QTabWidget* m_buyerTabs = nullptr;
    QWidget* m_buyer2Page = nullptr;
    QComboBox* m_buyerKind = nullptr;
    MTableView* m_buyerTable = nullptr;
    MTableView* m_buyer2Table = nullptr;
    // Products page
    MTableView* m_productList = nullptr;
    QTabWidget* m_productTabs = nullptr;
    QRadioButton* m_priceNetto = nullptr;
    QRadioButton* m_priceBrutto = nullptr;
    QRadioButton* m_reductPercent = nullptr;
    QRadioButton* m_reductAmount = nullptr;
    QLabel* m_currencyLabel = nullptr;
    QComboBox* m_currency = nullptr;
    QLabel* m_currencyRatingLabel = nullptr;
    QToolBar* m_currencyRatingToolBar = nullptr;
    MTableView* m_currencyRatingTable = nullptr;
    QLabel* m_summaryCountLabel = nullptr;
    QComboBox* m_summaryCount = nullptr;
    QCheckBox* m_hideVat = nullptr;
    // Terms page
    QComboBox* m_docKindCombo = nullptr;
    QLineEdit* m_placePut = nullptr;
    QLabel* m_datePutLabel = nullptr;
    QDateEdit* m_datePut = nullptr;
    QLabel* m_dateSellLabel = nullptr;
    QDateEdit* m_dateSell = nullptr;
    QComboBox* m_payForm = nullptr;
    QLabel* m_datePayLabel = nullptr;
    QDateEdit* m_datePay = nullptr;
    QLabel* m_dayPeriodLabel = nullptr;
    QSpinBox* m_dayPeriod = nullptr;
    QCheckBox* m_showDatePayedAll = nullptr;
    QDateEdit* m_datePayedAll = nullptr;
    QLineEdit* m_payFormText = nullptr;
    QLabel* m_payTextLabel = nullptr;
    QLineEdit* m_payText = nullptr;
    QCheckBox* m_payInDays = nullptr;
    QCheckBox* m_payed = nullptr;
    QCheckBox* m_dateSellInMonths = nullptr;
    QLabel* m_contractTextLabel = nullptr;
    QLineEdit* m_contractText = nullptr;
    MHelpButton* m_contractTextHelp = nullptr;
    QLineEdit* m_invoiceIndexText = nullptr;
    QSpinBox* m_firstInvoiceNumber = nullptr;
    QCheckBox* m_isPayed = nullptr;
    QCheckBox* m_showDatePayed = nullptr;
    QDateEdit* m_datePayed = nullptr;
    QCheckBox* m_isCancelled = nullptr;
    QComboBox* m_payFormPart = nullptr;
    QLineEdit* m_bruttoPart = nullptr;
    QLineEdit* m_bruttoRest = nullptr;
    QCheckBox* m_showDatePayedPart = nullptr;
    QDateEdit* m_datePayedPart = nullptr;
    // Texts page
    QTabWidget* m_textTabs = nullptr;
    MTextEdit* m_endText = nullptr;
    MTextEdit* m_endText2 = nullptr;
    QComboBox* m_profitProcedure = nullptr;
    QWidget* m_correctReasonSection = nullptr;
    QTextEdit* m_correctReason = nullptr;
    QTextEdit* m_additional = nullptr;
    // Joined documents page
    QWidget* m_invoicesPage = nullptr;
    MTableView* m_invoiceList = nullptr;
};
