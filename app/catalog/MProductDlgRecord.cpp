#include "MProductDlg.h"

#include "views/MComboBox.h"
#include "data/MNumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTextEdit>
#include <QVariant>

namespace {

// The bill ("Rachunek") and the exempt rate 'zw.' that its lines always carry.
const int billDocKind = 9;
const int exemptVatId = 102;

const QString recordColumns = QStringLiteral("name, code, symbol, unit, vat, vat_kind, id_currency, netto_price, "
                                             "brutto_price, count_from_netto, additional, profit_brutto");

QString vatNameOfId(int id)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT name FROM vat WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

} // namespace

void MProductDlg::loadVat(const QString& name)
{
    if (m_vatConnection)
        disconnect(m_vatConnection);

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT name, id FROM vat WHERE hidden = 0 OR name = :name ORDER BY val, name"));
    query.bindValue(QStringLiteral(":name"), name);
    query.exec();
    // The combo box deletes the model it replaces, as that is its child.
    auto* model = new QSqlQueryModel(m_vat);
    model->setQuery(query);
    while (model->canFetchMore())
        model->fetchMore();
    m_vat->setModel(model);

    m_vatConnection = connect(m_vat, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                              &MProductDlg::doCurrentIndexChangedPriceVat);
}

void MProductDlg::setCurrentVat(const QString& name)
{
    m_vat->setCurrentIndex(m_vat->findText(name, Qt::MatchFixedString));
}

void MProductDlg::setCurrentCurrency(int idCurrency)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT symbol FROM currency WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), idCurrency);
    if (query.exec() && query.next())
        m_currency->setCurrentIndex(m_currency->findText(query.value(0).toString(), Qt::MatchFixedString));
}

void MProductDlg::setIdRecord(int id, int idMisc, int idDocKind)
{
    m_idRecord = id;
    m_idMisc = idMisc;

    QSqlRecord row;
    if (id > 0) {
        const QString table = tableName(QStringLiteral("product"), QStringLiteral("__invoice_product"));
        if (readRecord(recordColumns, table, id, &row)) {
            setPriceSignalsConnected(false);
            m_name->setText(row.value(QStringLiteral("name")).toString());
            m_code->setText(row.value(QStringLiteral("code")).toString());
            m_symbol->setText(row.value(QStringLiteral("symbol")).toString());
            m_unit->lineEdit()->setText(row.value(QStringLiteral("unit")).toString());
            if (idDocKind != billDocKind) {
                QSqlQuery vat;
                vat.prepare(QStringLiteral("SELECT name FROM vat WHERE val = :val AND kind = :kind"));
                vat.bindValue(QStringLiteral(":val"), row.value(QStringLiteral("vat")).toInt());
                vat.bindValue(QStringLiteral(":kind"), row.value(QStringLiteral("vat_kind")).toInt());
                if (vat.exec() && vat.next()) {
                    const QString name = vat.value(0).toString();
                    loadVat(name);
                    setCurrentVat(name);
                }
            }
            setCurrentCurrency(row.value(QStringLiteral("id_currency")).toInt());
            m_nettoPrice->setText(numberText(row.value(QStringLiteral("netto_price")).toDouble(), 2));
            m_bruttoPrice->setText(numberText(row.value(QStringLiteral("brutto_price")).toDouble(), 2));
            if (row.value(QStringLiteral("count_from_netto")).toInt() == 0)
                m_baseBrutto->setChecked(true);
            else
                m_baseNetto->setChecked(true);
            m_profitBrutto->setText(numberText(row.value(QStringLiteral("profit_brutto")).toDouble(), 2));
            if (isInvoiceMode())
                loadLine();
            else
                m_additional->setPlainText(row.value(QStringLiteral("additional")).toString());
            setPriceSignalsConnected(true);
        }
    } else {
        const QString vatName = vatNameOfId(m_idVat);
        loadVat(vatName);
        setCurrentVat(vatName);
        setCurrentCurrency(m_idCurrency);
        m_nettoPrice->setText(numberText(0.0, 2));
        m_bruttoPrice->setText(numberText(0.0, 2));
        if (isInvoiceMode()) {
            m_reduct->setText(numberText(0.0, 2));
            m_amount->setText(numberText(0.0, 4));
        }
    }

    if (idDocKind == billDocKind) {
        m_idVat = exemptVatId;
        const QString vatName = vatNameOfId(m_idVat);
        loadVat(vatName);
        setCurrentVat(vatName);
        m_baseBrutto->setChecked(true);
        m_vat->setEnabled(false);
        m_baseNetto->setEnabled(false);
    }
    countPrice();
}

void MProductDlg::loadLine()
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT reduct, amount, reduct_percent, position_hide FROM __invoice_product_misc "
                                 "WHERE __id = :id"));
    query.bindValue(QStringLiteral(":id"), m_idMisc);
    if (!query.exec() || !query.next())
        return;
    if (query.value(2).toInt() == 0)
        m_reductSum->setChecked(true);
    else
        m_reductPercent->setChecked(true);
    m_reduct->setText(numberText(query.value(0).toDouble(), 2));
    m_amount->setText(numberText(query.value(1).toDouble(), 4));
    m_positionHide->setChecked(query.value(3).toInt() != 0);
}

void MProductDlg::clickOk(bool b)
{
    // What is typed in a price field counts even while its editing has not ended.
    countPrice();
    MRecordDlg::clickOk(b);
}

bool MProductDlg::save(int* savedId)
{
    const QString unit = m_unit->text();

    QString vatText;
    int vat = 0;
    int vatKind = 0;
    if (!m_vat->currentText().isEmpty()) {
        QSqlQuery rate;
        rate.prepare(QStringLiteral("SELECT name, val, kind FROM vat WHERE name = :name"));
        rate.bindValue(QStringLiteral(":name"), m_vat->currentText());
        if (rate.exec() && rate.next()) {
            vatText = rate.value(0).toString();
            vat = rate.value(1).toInt();
            vatKind = rate.value(2).toInt();
        }
    }
    int idCurrency = m_idCurrency;
    if (!m_currency->currentText().isEmpty()) {
        QSqlQuery currency;
        currency.prepare(QStringLiteral("SELECT id FROM currency WHERE symbol = :symbol"));
        currency.bindValue(QStringLiteral(":symbol"), m_currency->currentText());
        if (currency.exec() && currency.next())
            idCurrency = currency.value(0).toInt();
    }

    QStringList columns = {QStringLiteral("name"),         QStringLiteral("code"),
                           QStringLiteral("symbol"),       QStringLiteral("unit"),
                           QStringLiteral("netto_price"),  QStringLiteral("brutto_price"),
                           QStringLiteral("vat"),          QStringLiteral("vat_kind"),
                           QStringLiteral("vat_text"),     QStringLiteral("id_currency"),
                           QStringLiteral("count_from_netto"), QStringLiteral("profit_brutto")};
    if (!isInvoiceMode())
        columns << QStringLiteral("additional");
    const QString table = tableName(QStringLiteral("product"), QStringLiteral("__invoice_product"));
    QSqlQuery write;
    prepareRecordWrite(write, table, columns, m_idRecord);
    write.bindValue(QStringLiteral(":name"), m_name->text());
    write.bindValue(QStringLiteral(":code"), m_code->text());
    write.bindValue(QStringLiteral(":symbol"), m_symbol->text());
    write.bindValue(QStringLiteral(":unit"), unit);
    write.bindValue(QStringLiteral(":netto_price"), fieldNumber(m_nettoPrice));
    write.bindValue(QStringLiteral(":brutto_price"), fieldNumber(m_bruttoPrice));
    write.bindValue(QStringLiteral(":vat"), vat);
    write.bindValue(QStringLiteral(":vat_kind"), vatKind);
    write.bindValue(QStringLiteral(":vat_text"), vatText);
    write.bindValue(QStringLiteral(":id_currency"), idCurrency);
    write.bindValue(QStringLiteral(":count_from_netto"), m_baseBrutto->isChecked() ? 0 : 1);
    write.bindValue(QStringLiteral(":profit_brutto"), fieldNumber(m_profitBrutto));
    if (!isInvoiceMode())
        write.bindValue(QStringLiteral(":additional"), m_additional->toPlainText());
    int recordId = m_idRecord;
    if (!execRecordWrite(write, &recordId, tr("Produkt o identyfikatorze %1 nie istnieje już w bazie danych.").arg(m_idRecord)))
        return false;

    QSqlQuery round;
    round.prepare(QStringLiteral("UPDATE ") + table
                  + QStringLiteral(" SET netto_price = round_cents(netto_price), brutto_price = round_cents(brutto_price) "
                                   "WHERE ")
                  + keyName() + QStringLiteral(" = :id"));
    round.bindValue(QStringLiteral(":id"), recordId);
    if (!execWrite(round))
        return false;

    if (isInvoiceMode() && m_idMisc > 0 && !saveLine())
        return false;

    if (!unit.isEmpty()) {
        QSqlQuery unitWrite;
        unitWrite.prepare(QStringLiteral("INSERT OR IGNORE INTO product_unit (name) VALUES (:name)"));
        unitWrite.bindValue(QStringLiteral(":name"), unit);
        if (!execWrite(unitWrite))
            return false;
    }

    *savedId = isInvoiceMode() ? m_idMisc : recordId;
    return true;
}

bool MProductDlg::saveLine()
{
    QSqlQuery line;
    line.prepare(QStringLiteral("UPDATE __invoice_product_misc SET reduct = :reduct, amount = :amount, "
                                "reduct_percent = :reduct_percent, netto_price = :netto_price, "
                                "brutto_price = :brutto_price, vat_price = :vat_brutto - :vat_netto, position_hide = :position_hide "
                                "WHERE __id = :id"));
    line.bindValue(QStringLiteral(":reduct"), fieldNumber(m_reduct));
    line.bindValue(QStringLiteral(":amount"), fieldNumber(m_amount));
    line.bindValue(QStringLiteral(":reduct_percent"), m_reductSum->isChecked() ? 0 : 1);
    // The line's VAT is the difference of its totals as the fields show them.
    for (const QString& side : {QStringLiteral("netto"), QStringLiteral("brutto")}) {
        const double total = fieldNumber(side == QLatin1String("netto") ? m_nettoTotal : m_bruttoTotal);
        line.bindValue(QLatin1Char(':') + side + QStringLiteral("_price"), total);
        line.bindValue(QStringLiteral(":vat_") + side, total);
    }
    line.bindValue(QStringLiteral(":position_hide"), m_positionHide->isChecked() ? 1 : 0);
    line.bindValue(QStringLiteral(":id"), m_idMisc);
    if (!execWrite(line))
        return false;

    QSqlQuery round;
    round.prepare(QStringLiteral("UPDATE __invoice_product_misc SET netto_price = round_cents(netto_price), "
                                 "brutto_price = round_cents(brutto_price), vat_price = round_cents(vat_price) "
                                 "WHERE __id = :id"));
    round.bindValue(QStringLiteral(":id"), m_idMisc);
    return execWrite(round);
}
