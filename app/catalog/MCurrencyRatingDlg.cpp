#include "MCurrencyRatingDlg.h"

#include "views/MDateEdit.h"
#include "views/MMessageBox.h"
#include "data/MNumberText.h"
#include "views/MValidators.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QVariant>

namespace {

const int currencyRatingViewKind = 10;

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    return new QLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), parent);
}

QGridLayout* blockLayout()
{
    auto* layout = new QGridLayout();
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setColumnStretch(0, 1);
    return layout;
}

} // namespace

MCurrencyRatingDlg::MCurrencyRatingDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags)
    : MRecordDlg(parent, currencyRatingViewKind, invoiceMode, flags)
{
    setWindowTitle(tr("Notowanie walutowe"));

    auto* tabWidget = new QTabWidget(this);
    tabWidget->addTab(createPage(), tr("Notowanie walutowe"));

    frameLayout()->addWidget(tabWidget, 0, 0);
    frameLayout()->setRowMinimumHeight(1, 5);
    addButtonRow(2);
}

MCurrencyRatingDlg::~MCurrencyRatingDlg() = default;

QWidget* MCurrencyRatingDlg::createPage()
{
    auto* page = new QWidget();

    m_date = MDateEdit::create(page, 155);
    m_date->setObjectName(QStringLiteral("rating_date"));

    m_amount = new QComboBox(page);
    m_amount->setObjectName(QStringLiteral("currency_amount_from"));
    for (int amount : {1, 10, 100, 1000, 10000})
        m_amount->addItem(QString::number(amount), amount);
    m_amount->setFixedWidth(70);

    m_currencyFrom = createCurrencyCombo(page);
    m_currencyFrom->setObjectName(QStringLiteral("id_currency_from"));
    m_currencyTo = createCurrencyCombo(page);
    m_currencyTo->setObjectName(QStringLiteral("id_currency_to"));
    // Ratings are always quoted in PLN.
    m_currencyTo->setEnabled(false);

    m_value = new QLineEdit(page);
    m_value->setObjectName(QStringLiteral("currency_value"));
    m_value->setFixedWidth(70);
    m_value->setValidator(signedAmountValidator(m_value, 4));

    auto* rating = blockLayout();
    rating->setColumnMinimumWidth(1, 15);
    rating->setColumnMinimumWidth(3, 5);
    rating->setColumnMinimumWidth(5, 10);
    rating->setColumnMinimumWidth(7, 10);
    rating->setColumnMinimumWidth(9, 5);
    rating->addWidget(boldLabel(tr("Data notowania"), page), 0, 0);
    rating->addWidget(boldLabel(tr("Waluta"), page), 0, 2, 1, 3, Qt::AlignCenter);
    rating->addWidget(boldLabel(tr("Kurs"), page), 0, 8, 1, 3, Qt::AlignCenter);
    rating->setRowMinimumHeight(1, 1);
    rating->addWidget(m_date, 2, 0);
    rating->addWidget(m_amount, 2, 2);
    rating->addWidget(m_currencyFrom, 2, 4);
    rating->addWidget(new QLabel(QStringLiteral("<b style=\"font-size:16px;\">=</b>"), page), 2, 6);
    rating->addWidget(m_value, 2, 8);
    rating->addWidget(m_currencyTo, 2, 10);

    m_bank = new QLineEdit(page);
    m_bank->setObjectName(QStringLiteral("bank_name"));
    m_bank->setFixedWidth(240);
    m_table = new QLineEdit(page);
    m_table->setObjectName(QStringLiteral("table_name"));
    m_table->setFixedWidth(240);

    auto* source = blockLayout();
    source->setColumnMinimumWidth(1, 10);
    source->addWidget(boldLabel(tr("Bank"), page), 0, 0);
    source->addWidget(boldLabel(tr("Tabela"), page), 0, 2);
    source->setRowMinimumHeight(1, 1);
    source->addWidget(m_bank, 2, 0);
    source->addWidget(m_table, 2, 2);

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setColumnStretch(0, 1);
    layout->setColumnMinimumWidth(1, 10);
    layout->addLayout(rating, 0, 0);
    layout->setRowMinimumHeight(1, 10);
    layout->addLayout(source, 2, 0);
    layout->setRowStretch(3, 1);
    return page;
}

QComboBox* MCurrencyRatingDlg::createCurrencyCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setFixedWidth(70);
    QSqlQuery query;
    if (query.exec(QStringLiteral("SELECT symbol, id FROM currency ORDER BY symbol"))) {
        while (query.next())
            combo->addItem(query.value(0).toString(), query.value(1).toInt());
    }
    return combo;
}

void MCurrencyRatingDlg::selectData(QComboBox* combo, int data)
{
    const int index = combo->findData(data);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

void MCurrencyRatingDlg::setIdRecord(int id)
{
    m_idRecord = id;
    QSqlRecord row;
    if (id > 0
        && readRecord(QStringLiteral("IFNULL(strftime('%Y-%m-%d', rating_date), ''), bank_name, "
                                     "currency_amount_from, id_currency_from, id_currency_to, currency_value, "
                                     "table_name"),
                      tableName(QStringLiteral("currency_rating"), QStringLiteral("__invoice_currency_rating")), id,
                      &row)) {
        const QDate date = QDate::fromString(row.value(0).toString(), QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            m_date->setDate(date);
        m_bank->setText(row.value(1).toString());
        m_amountFrom = row.value(2).toInt();
        m_idCurrencyFrom = row.value(3).toInt();
        m_idCurrencyTo = row.value(4).toInt();
        m_value->setText(numberText(row.value(5).toDouble(), 4));
        m_table->setText(row.value(6).toString());
    } else {
        m_value->setText(numberText(1, 4));
    }
    selectData(m_amount, m_amountFrom);
    selectData(m_currencyFrom, m_idCurrencyFrom);
    selectData(m_currencyTo, m_idCurrencyTo);
}

double MCurrencyRatingDlg::value() const
{
    // The validator lets either decimal separator through; text that is no number reads as 0.
    return QString(m_value->text()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

void MCurrencyRatingDlg::clickOk(bool b)
{
    // A rating of 0 or less would zero or negate every amount converted by it.
    if (value() <= 0) {
        MMessageBox::warning(this, tr("Niezgodność wprowadzonych danych"), tr("Kurs waluty musi być większy od zera."));
        return;
    }
    MRecordDlg::clickOk(b);
}

bool MCurrencyRatingDlg::save(int* savedId)
{
    // Without any currency listed the rating keeps its own.
    const QVariant from = m_currencyFrom->currentData();
    const QVariant to = m_currencyTo->currentData();

    QSqlQuery query;
    prepareRecordWrite(query, tableName(QStringLiteral("currency_rating"), QStringLiteral("__invoice_currency_rating")),
                       {QStringLiteral("rating_date"), QStringLiteral("bank_name"), QStringLiteral("currency_amount_from"),
                        QStringLiteral("id_currency_from"), QStringLiteral("id_currency_to"),
                        QStringLiteral("currency_value"), QStringLiteral("table_name")},
                       m_idRecord);
    query.bindValue(QStringLiteral(":rating_date"), m_date->date().toString(QStringLiteral("yyyy-MM-dd")));
    query.bindValue(QStringLiteral(":bank_name"), m_bank->text());
    query.bindValue(QStringLiteral(":currency_amount_from"), m_amount->currentData().toInt());
    query.bindValue(QStringLiteral(":id_currency_from"), from.isValid() ? from.toInt() : m_idCurrencyFrom);
    query.bindValue(QStringLiteral(":id_currency_to"), to.isValid() ? to.toInt() : m_idCurrencyTo);
    query.bindValue(QStringLiteral(":currency_value"), value());
    query.bindValue(QStringLiteral(":table_name"), m_table->text());
    int id = m_idRecord;
    if (!execRecordWrite(query, &id,
                         tr("Notowanie walutowe o identyfikatorze %1 nie istnieje już w bazie danych.").arg(m_idRecord)))
        return false;
    *savedId = id;
    return true;
}
