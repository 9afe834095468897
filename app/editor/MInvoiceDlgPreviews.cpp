// Previews of the working copies (seller, buyers, currency rating, joined
// documents) and the notices of the record dialogs that changed a copy.
#include "MInvoiceDlg.h"

#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const char* const previewSql = "previewSql";

struct PreviewRow
{
    const char* label;
    const char* value; // with the alias "x." for the copy's table
    const char* join;  // joined table, or nullptr
};

// Rows 4 to 16 are the same for the seller and both buyers.
const PreviewRow commonRows[] = {
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Regon"), "x.regon", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Bank"), "x.bank", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Numer konta"), "x.bank_account", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Adres"), "x.address", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Miejscowość"), "x.city", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Kod pocztowy"), "x.zipcode", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Województwo"), "p.name", "LEFT JOIN province p ON p.id = x.id_province"},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Kraj"), "c.name", "LEFT JOIN country c ON c.id = x.id_country"},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Telefon"), "x.phone", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Fax"), "x.fax", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "E-mail"), "x.email", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "WWW"), "x.www", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Osoba"), "x.permit_person_firstname || ' ' || x.permit_person_secondname",
     nullptr},
};

const PreviewRow sellerHead[] = {
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Nazwa firmy"), "x.firm", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Skrót nazwy"), "x.firm_short", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "NIP"), "x.nip", nullptr},
};

const PreviewRow buyerHead[] = {
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Nazwa firmy / Osoba"), "x.firm", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Skrót nazwy"), "x.firm_short", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "NIP / PESEL"),
     "CASE WHEN x.nip <> '' THEN x.nip ELSE x.permit_person_pesel END", nullptr},
};

const PreviewRow buyer2Head[] = {
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Nazwa firmy"), "x.firm", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "Strót nazwy"), "x.firm_short", nullptr},
    {QT_TRANSLATE_NOOP("MInvoiceDlg", "NIP"), "x.nip", nullptr},
};

const PreviewRow buyerReduct = {QT_TRANSLATE_NOOP("MInvoiceDlg", "Rabat"), "x.reduct || '%'", nullptr};

// One SELECT per row, so that a row whose look-up finds nothing keeps its label.
QString labelValueSql(const PreviewRow (&head)[3], bool withReduct, const QString& table, const QString& alias,
                      int key)
{
    QList<const PreviewRow*> rows;
    for (const PreviewRow& row : head)
        rows << &row;
    for (const PreviewRow& row : commonRows)
        rows << &row;
    if (withReduct)
        rows << &buyerReduct;

    const QString prefix = alias + QLatin1Char('.');
    QStringList selects;
    for (const PreviewRow* row : rows) {
        QString label = MInvoiceDlg::tr(row->label);
        label.replace(QLatin1Char('\''), QStringLiteral("''"));
        QString select = QStringLiteral("SELECT '") + label + QStringLiteral("', ")
                         + QString::fromUtf8(row->value).replace(QStringLiteral("x."), prefix) + QStringLiteral(" FROM ")
                         + table + QLatin1Char(' ') + alias + QLatin1Char(' ');
        if (row->join)
            select += QString::fromUtf8(row->join).replace(QStringLiteral("x."), prefix) + QLatin1Char(' ');
        select += QStringLiteral("WHERE ") + prefix + QStringLiteral("__id = ") + QString::number(key)
                  + QLatin1Char(' ');
        selects << select;
    }
    return selects.join(QStringLiteral("UNION ALL "));
}

// The previews are small; the executed statement is handed to the model as it
// is, which also keeps UNION ALL statements away from the paged list reader.
void runPreview(MSqlQueryModel* model, const QString& sql)
{
    QSqlQuery query;
    query.exec(sql);
    model->setQuery(query);
}

void fetchAll(QSqlQueryModel* model)
{
    while (model->canFetchMore())
        model->fetchMore();
}

void stretchLabelValue(QTableView* table)
{
    table->setColumnWidth(0, 100);
    table->horizontalHeader()->setStretchLastSection(true);
}

} // namespace

void MInvoiceDlg::fillPreview(QTableView* table, const QString& sql)
{
    auto* model = new MSqlQueryModel(table);
    model->setProperty(previewSql, sql);
    runPreview(model, sql);
    fetchAll(model);
    QAbstractItemModel* old = table->model();
    QItemSelectionModel* oldSelection = table->selectionModel();
    table->setModel(model);
    if (oldSelection)
        oldSelection->deleteLater();
    if (old && old->parent() == table)
        old->deleteLater();
}

void MInvoiceDlg::rerunPreview(QTableView* table)
{
    auto* model = table ? qobject_cast<MSqlQueryModel*>(table->model()) : nullptr;
    if (!model || !model->property(previewSql).isValid())
        return;
    runPreview(model, model->property(previewSql).toString());
    fetchAll(model);
}

void MInvoiceDlg::setSeller()
{
    fillPreview(m_sellerTable, labelValueSql(sellerHead, false, QStringLiteral("__invoice_seller"), QStringLiteral("s"),
                                             m_idSeller));
    stretchLabelValue(m_sellerTable);

    // Filling the combo must not write into the seller copy.
    disconnect(m_sellerBank, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
               &MInvoiceDlg::doCurrentIndexChangedSellerBank);
    auto* banks = new MSqlQueryModel(m_sellerBank);
    banks->setQuery(QStringLiteral("SELECT '' UNION ALL SELECT sb.bank_account || ' | ' || sb.bank FROM seller_bank "
                                   "sb WHERE sb.id_seller = ")
                    + QString::number(m_idSellerBase) + QLatin1Char(' '));
    fetchAll(banks);
    // The combo deletes the model it replaces when the model is its child.
    m_sellerBank->setModel(banks);
    m_sellerBank->setCurrentIndex(0);
    loadSellerBanks();
    connect(m_sellerBank, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedSellerBank);

    updateInvoiceIndex(true);
    setEnabledActions();
}

void MInvoiceDlg::setBuyer()
{
    readBuyerReduct();
    fillPreview(m_buyerTable,
                labelValueSql(buyerHead, true, QStringLiteral("__invoice_buyer"), QStringLiteral("b"), m_idBuyer));
    stretchLabelValue(m_buyerTable);
    setEnabledActions();
}

void MInvoiceDlg::setBuyer2()
{
    // Purchase documents have no second buyer page.
    if (!m_buyer2Table)
        return;
    fillPreview(m_buyer2Table,
                labelValueSql(buyer2Head, true, QStringLiteral("__invoice_buyer"), QStringLiteral("b"), m_idBuyer2));
    stretchLabelValue(m_buyer2Table);
    setEnabledActions();
}

void MInvoiceDlg::setCurrencyRating()
{
    fillPreview(m_currencyRatingTable,
                QStringLiteral("SELECT IFNULL(strftime('%Y-%m-%d', cr.rating_date), ''), cr.bank_name, "
                               "cr.currency_amount_from || ' ' || c1.symbol AS _symbol_from_, cr.currency_value || "
                               "' ' || c2.symbol AS _symbol_to_, cr.table_name FROM __invoice_currency_rating cr "
                               "LEFT JOIN currency c1 ON c1.id = cr.id_currency_from LEFT JOIN currency c2 ON c2.id "
                               "= cr.id_currency_to WHERE cr.__id = ")
                    + QString::number(m_idCurrencyRating));
    auto* model = static_cast<MSqlQueryModel*>(m_currencyRatingTable->model());
    const QStringList headers {tr("Data notowania"), tr("Bank"), tr("Waluta"), tr("Kurs"), tr("Tabela")};
    for (int column = 0; column < headers.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, headers.at(column), Qt::EditRole);
    model->setColumnKinds({ColumnKind::Text, ColumnKind::Text, ColumnKind::RightText, ColumnKind::CurrencyAmount4,
                           ColumnKind::Text});
    QHeaderView* header = m_currencyRatingTable->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[] = {100, 100, 80, 100};
    for (int column = 0; column < 4; ++column)
        m_currencyRatingTable->setColumnWidth(column, widths[column]);
    header->setStretchLastSection(true);
    m_currencyRatingTable->verticalHeader()->setStretchLastSection(true);
    setEnabledActions();
}

void MInvoiceDlg::setInvoiceJoin()
{
    if (m_invoiceList->selectionModel())
        disconnect(m_invoiceList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   &MInvoiceDlg::doSelectionChangedInvoice);
    QString ids = QStringLiteral("0");
    for (int key : m_invoiceJoinIds)
        ids += QLatin1Char(',') + QString::number(key);
    fillPreview(m_invoiceList,
                QStringLiteral("SELECT ij.__id AS idx_join, i.id AS idx, i.invoice_index_string, strftime('%Y-%m-%d', "
                               "i.date_put), i.brutto_part, i.global_brutto, c.symbol FROM __invoice_join ij LEFT "
                               "JOIN invoice i ON i.id = ij.id_invoice_join LEFT JOIN currency c ON c.id = "
                               "i.id_currency WHERE ij.__id IN (")
                    + ids + QStringLiteral(") ORDER BY ij.__id"));
    auto* model = static_cast<MSqlQueryModel*>(m_invoiceList->model());
    const QStringList headers {tr("IdJoin"),           tr("Id"),
                               tr("Numer"),            tr("Data wystawienia"),
                               tr("Zaliczka brutto"), tr("Wartość brutto"),
                               tr("Waluta")};
    for (int column = 0; column < headers.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, headers.at(column), Qt::EditRole);
    model->setColumnKinds({ColumnKind::Integer, ColumnKind::Integer, ColumnKind::Text, ColumnKind::Text,
                           ColumnKind::Amount, ColumnKind::Amount, ColumnKind::Text});
    for (int column : {0, 1, 3, 4, 5, 6})
        m_invoiceList->hideColumn(column);
    m_invoiceList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_invoiceList->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_invoiceList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MInvoiceDlg::doSelectionChangedInvoice);
    setEnabledActions();
    updateRemainingToPay();
}

void MInvoiceDlg::doChangeDbObject(int i, int id)
{
    switch (i) {
    case 2:
        rerunPreview(m_sellerTable);
        loadSellerBanks();
        updateInvoiceIndex(true);
        break;
    case 3:
        if (id == m_idBuyer2) {
            rerunPreview(m_buyer2Table);
        } else {
            readBuyerReduct();
            rerunPreview(m_buyerTable);
        }
        break;
    case 4: {
        setProducts();
        auto* model = qobject_cast<QSqlQueryModel*>(m_productList->model());
        if (id > 0 && model) {
            for (int row = 0; row < model->rowCount(); ++row) {
                if (model->record(row).value(QStringLiteral("idx_misc")).toInt() == id) {
                    m_productList->selectRow(row);
                    m_productList->scrollTo(model->index(row, 0), QAbstractItemView::PositionAtTop);
                    break;
                }
            }
        }
        countSummary();
        break;
    }
    case 10:
        rerunPreview(m_currencyRatingTable);
        break;
    default:
        break;
    }
}

void MInvoiceDlg::loadSellerBanks()
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT bank, bank_account FROM __invoice_seller WHERE __id = ")
                    + QString::number(m_idSeller))
        || !query.next())
        return;
    const int index = m_sellerBank->findText(query.value(1).toString() + QStringLiteral(" | ")
                                                 + query.value(0).toString(),
                                             Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_sellerBank->setCurrentIndex(index > 0 ? index : 0);
}

void MInvoiceDlg::doCurrentIndexChangedSellerBank(int /*index*/)
{
    const QString text = m_sellerBank->currentText();
    if (m_idSeller <= 0 || m_idSellerBase <= 0 || text.isEmpty())
        return;
    QSqlQuery bank;
    bank.prepare(QStringLiteral("SELECT bank, bank_account FROM seller_bank WHERE id_seller = :id_seller AND "
                                "bank_account || ' | ' || bank = :text"));
    bank.bindValue(QStringLiteral(":id_seller"), m_idSellerBase);
    bank.bindValue(QStringLiteral(":text"), text);
    if (!bank.exec() || !bank.next())
        return;
    QSqlQuery update;
    update.prepare(QStringLiteral("UPDATE __invoice_seller SET bank = :bank, bank_account = :bank_account WHERE "
                                  "__id = :id__"));
    update.bindValue(QStringLiteral(":bank"), bank.value(0));
    update.bindValue(QStringLiteral(":bank_account"), bank.value(1));
    update.bindValue(QStringLiteral(":id__"), m_idSeller);
    if (update.exec())
        doChangeDbObject(2, m_idSeller);
}

void MInvoiceDlg::readBuyerReduct()
{
    m_buyerReduct = 0.0;
    QSqlQuery query;
    if (query.exec(QStringLiteral("SELECT b.reduct FROM __invoice_buyer b WHERE b.__id = ")
                   + QString::number(m_idBuyer))
        && query.next())
        m_buyerReduct = query.value(0).toDouble();
}
