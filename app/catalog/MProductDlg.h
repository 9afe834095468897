#pragma once

#include "parties/MRecordDlg.h"

#include <QList>
#include <QMetaObject>
#include <QString>

class MComboBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTextEdit;

// The dialog "Produkt". Outside invoice mode it creates or edits a row of `product` and
// reports to the main window; in invoice mode the invoice editor opens it on one document
// line, and it edits the line's product copy in __invoice_product and the line itself in
// __invoice_product_misc and reports to the editor.
//
// Every change of a price input recomputes the dependent prices in SQL (countPrice); a
// value out of range is put back to the last value that a computation accepted.
class MProductDlg : public MRecordDlg
{
    Q_OBJECT

public:
    MProductDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MProductDlg() override;

    // Loads product `id` (0: a new product) or, in invoice mode, the product copy `id` of the
    // line `idMisc` of a document of DocKind `idDocKind`; a bill line (9) is always exempt
    // and entered gross.
    Q_INVOKABLE void setIdRecord(int id, int idMisc = 0, int idDocKind = -1);

    // Reads the price inputs, writes the derived prices and remembers the accepted values.
    void countPrice();

protected:
    bool save(int* savedId) override;

protected slots:
    void clickOk(bool b) override;

private slots:
    void doEditingFinishedPriceNetto();
    void doEditingFinishedPriceBrutto();
    void doEditingFinishedProfitBrutto();
    void doEditingFinishedAmount();
    void doEditingFinishedReduct();
    void doTextChangedAmount(QString text);
    void doTextChangedProfitBrutto(QString text);
    void doTextChangedReduct(QString text);
    void doTextChangedPriceNetto(const QString& text);
    void doTextChangedPriceBrutto(const QString& text);
    void doCurrentIndexChangedPriceVat(int index);
    void doToggledPriceBaseNetto(bool checked);
    void doToggledPriceBaseBrutto(bool checked);
    void doToggledPriceReductPercent(bool checked);
    void doToggledPriceReductSum(bool checked);

private:
    enum Tab { ProductTab = 1, PriceTab = 2, OptionTab = 3, AdditionalTab = 4 };

    void createTab(int tab);
    QWidget* createProductPage();
    QWidget* createPricePage();
    void layOutPricePage(QWidget* page);
    void layOutLinePricePage(QWidget* page);
    QWidget* createOptionPage();
    QWidget* createAdditionalPage();

    // Offers the rates that are not hidden, and `name` even when it is.
    void loadVat(const QString& name);
    void setCurrentVat(const QString& name);
    void setCurrentCurrency(int idCurrency);
    void setPriceSignalsConnected(bool connected);
    void loadLine();
    bool saveLine();
    // A field's number: "," read as the decimal point, text that is no number as 0.
    static double fieldNumber(const QLineEdit* field);
    // The unit price of the current base as a discount conversion reads it.
    double conversionPrice() const;

    int m_idRecord = 0;
    int m_idMisc = 0;
    int m_idVat = 0;
    int m_idCurrency = 0;

    double m_lastAmount = 0.0;
    double m_lastNetto = 0.0;
    double m_lastBrutto = 0.0;
    double m_lastProfit = 0.0;
    double m_lastReduct = 0.0;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_symbol = nullptr;
    MComboBox* m_unit = nullptr;

    QRadioButton* m_baseNetto = nullptr;
    QRadioButton* m_baseBrutto = nullptr;
    QComboBox* m_vat = nullptr;
    QComboBox* m_currency = nullptr;
    QLineEdit* m_nettoPrice = nullptr;
    QLineEdit* m_bruttoPrice = nullptr;
    QLineEdit* m_profitBrutto = nullptr;

    QLineEdit* m_nettoReduced = nullptr;
    QLineEdit* m_bruttoReduced = nullptr;
    QLineEdit* m_nettoTotal = nullptr;
    QLineEdit* m_bruttoTotal = nullptr;
    QRadioButton* m_reductPercent = nullptr;
    QRadioButton* m_reductSum = nullptr;
    QLineEdit* m_reduct = nullptr;
    QLineEdit* m_amount = nullptr;
    QCheckBox* m_positionHide = nullptr;

    QTextEdit* m_additional = nullptr;

    QList<QMetaObject::Connection> m_priceConnections;
    QMetaObject::Connection m_vatConnection;
};
