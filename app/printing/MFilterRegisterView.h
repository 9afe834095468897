#pragma once

#include <QDate>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QListView;
class QPushButton;

// The filter of the VAT register: the seller heading the register, the
// sellers whose documents are listed, the period and the print date. Under
// the register tab it remembers all but the print date in options, at each
// computation only.
class MFilterRegisterView : public QWidget
{
    Q_OBJECT

public:
    explicit MFilterRegisterView(QWidget* parent);

    QDate dateFrom() const;
    QDate dateTo() const;
    QDate datePrint() const;
    int idSellerBase() const;

    // Stores the filter options and computes a new run of register data; returns the run id.
    int buildRegisterData();

    QDate optionDateFrom() const;
    QDate optionDateTo() const;
    int optionIdSellerBase() const;
    QStringList optionIdSellerBaseDoc() const;
    void saveDateFrom();
    void saveDateTo();
    void saveIdSellerBase();
    void saveIdSellerBaseDoc();

public slots:
    void initWidget();
    void doClickedRefresh(bool);
    void doCurrentIndexChangedSellerBase(int);
    void doDateChangedDateFrom(const QDate& date);
    void doDateChangedDateTo(const QDate& date);
    void doDateChangedDatePrint(const QDate& date);

private:
    // The options belong to the register tab; under any other parent nothing is read or stored.
    bool keepsOptions() const;
    QString storedOption(const QString& key) const;
    void storeOption(const QString& key, const QString& value);
    QDate storedDate(const QString& key) const;
    int comboSellerId(int row) const;

    QPushButton* m_showButton = nullptr;
    QDate m_dateFrom;
    QDate m_datePrint;
    QDate m_dateTo;
    QDateEdit* m_dateFromEdit = nullptr;
    QDateEdit* m_datePrintEdit = nullptr;
    QDateEdit* m_dateToEdit = nullptr;
    QComboBox* m_sellerBaseCombo = nullptr;
    QListView* m_sellerDocList = nullptr;
    int m_idSellerBase = 0;
    QStringList m_idSellerBaseDoc;
};
