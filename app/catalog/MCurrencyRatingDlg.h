#pragma once

#include "parties/MRecordDlg.h"

class QComboBox;
class QDateEdit;
class QLineEdit;

// One currency rating: on a date, a bank's table says that 1, 10, 100, 1000 or 10000
// units of a currency are worth a value in PLN. It edits table currency_rating or, in
// invoice mode, the document's working copy in __invoice_currency_rating (by __id), and
// reports (10, id) to its owner: the main window, or the invoice editor.
class MCurrencyRatingDlg : public MRecordDlg
{
    Q_OBJECT

public:
    MCurrencyRatingDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MCurrencyRatingDlg() override;

public slots:
    // The rating's id (`__id` in invoice mode); below 1 prepares a new rating.
    void setIdRecord(int id);

protected:
    bool save(int* savedId) override;

protected slots:
    // Refuses a value of 0 or less before anything is written.
    void clickOk(bool b) override;

private:
    QWidget* createPage();
    QComboBox* createCurrencyCombo(QWidget* parent);
    static void selectData(QComboBox* combo, int data);
    double value() const;

    QLineEdit* m_bank = nullptr;
    QComboBox* m_amount = nullptr;
    QComboBox* m_currencyFrom = nullptr;
    QComboBox* m_currencyTo = nullptr;
    QLineEdit* m_value = nullptr;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_table = nullptr;
    int m_idRecord = 0;
    int m_amountFrom = 1;
    int m_idCurrencyFrom = 1; // EUR
    int m_idCurrencyTo = 0;   // PLN
};
