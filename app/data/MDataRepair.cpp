#include "data/MDataRepair.h"

#include "data/MColumnOptions.h"
#include "data/MDocumentNumber.h"
#include "data/MOptions.h"
#include "data/MRecompute.h"
#include "data/MSqlValue.h"
#include "data/MSqliteHandle.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <sqlite3.h>

namespace {

// Runs the statements of one repair and keeps count of those that fail;
// a failure never stops the repair.
class Statements
{
public:
    bool exec(const QString& sql)
    {
        QSqlQuery query;
        return check(query, query.exec(sql));
    }

    bool exec(QSqlQuery& prepared) { return check(prepared, prepared.exec()); }

    bool exec(QSqlQuery& query, const QString& sql) { return check(query, query.exec(sql)); }

    // The first column of every row, read to the end before anything is changed.
    QVector<QVariant> column(const QString& sql)
    {
        QVector<QVariant> values;
        QSqlQuery query;
        query.setForwardOnly(true);
        if (check(query, query.exec(sql)))
            while (query.next())
                values << query.value(0);
        return values;
    }

    void add(const MRecompute::Result& recompute)
    {
        if (recompute.failed > 0 && m_result.failed == 0)
            m_result.firstError = recompute.firstError;
        m_result.failed += recompute.failed;
    }

    MDataRepair::Result result() const { return m_result; }

private:
    bool check(const QSqlQuery& query, bool ok)
    {
        if (!ok && m_result.failed++ == 0)
            m_result.firstError = QCoreApplication::translate("MDataRepair", "polecenie naprawy nie zostało wykonane: %1")
                                      .arg(query.lastError().databaseText());
        return ok;
    }

    MDataRepair::Result m_result;
};

// Documents of sellers of kind 1 become the VAT-MP kinds; the seller kind is retired.
void retireSellerKindOne(Statements& statements)
{
    statements.exec(QStringLiteral(
        "UPDATE invoice SET invoice_kind = CASE invoice_kind WHEN 0 THEN 3 WHEN 2 THEN 4 END "
        "WHERE invoice_kind IN (0, 2) AND id_seller IN (SELECT id FROM invoice_seller WHERE id_kind = 1)"));
    statements.exec(QStringLiteral("UPDATE invoice_seller SET id_kind = 0 WHERE id_kind = 1"));
}

// Sellers and their snapshots that name a numbering period but carry no
// pattern text get the period's pattern.
void fillPatternTexts(Statements& statements)
{
    for (const QString& table : {QStringLiteral("seller"), QStringLiteral("invoice_seller")})
        statements.exec(QStringLiteral("UPDATE %1 SET invoice_index_format_text = "
                                       "(SELECT f.name FROM invoice_index_format f WHERE f.id = %1.id_invoice_index_format) "
                                       "WHERE invoice_index_format_text = '' AND id_invoice_index_format > 0 "
                                       "AND id_invoice_index_format IN (SELECT id FROM invoice_index_format)")
                            .arg(table));
}

// Numbers of documents whose pattern holds the month, and numbers never filled.
void renumberDocuments(Statements& statements)
{
    QVector<QVariant> ids = statements.column(QStringLiteral(
        "SELECT i.id FROM invoice i LEFT JOIN invoice_seller s ON s.id = i.id_seller "
        "WHERE s.invoice_index_format_text LIKE '%[mm]%'"));
    ids += statements.column(QStringLiteral("SELECT i.id FROM invoice i WHERE i.invoice_index_string = ''"));

    QSqlQuery update;
    update.prepare(QStringLiteral("UPDATE invoice SET invoice_index_string = :number WHERE id = :id"));
    for (const QVariant& id : qAsConst(ids)) {
        // Empty, not NULL, for a document whose seller snapshot is gone: the column is NOT NULL.
        const QString number = invoiceNumberById(id.toInt());
        update.bindValue(QStringLiteral(":number"), number.isNull() ? QStringLiteral("") : number);
        update.bindValue(QStringLiteral(":id"), id);
        statements.exec(update);
    }
}

// The VAT name of every product (or product snapshot) without one, and the
// price that is missing next to the other one, computed in SQL through the
// scratch table.
void fillProductPrices(Statements& statements, const QString& table)
{
    struct Product
    {
        int id;
        double rate;
        int vatKind;
        double netto;
        double brutto;
        bool fromNetto;
    };
    QVector<Product> products;
    QSqlQuery select;
    select.setForwardOnly(true);
    statements.exec(select, QStringLiteral("SELECT p.id, p.vat, p.vat_kind, p.netto_price, p.brutto_price, "
                                           "p.count_from_netto FROM %1 p WHERE p.vat_text = '' OR "
                                           "(p.netto_price <> 0 AND p.brutto_price = 0) OR "
                                           "(p.brutto_price <> 0 AND p.netto_price = 0)")
                                .arg(table));
    while (select.next())
        products << Product{select.value(0).toInt(), select.value(1).toDouble(), select.value(2).toInt(),
                            select.value(3).toDouble(), select.value(4).toDouble(), select.value(5).toInt() == 1};
    select.finish();

    QSqlQuery vatName;
    vatName.prepare(QStringLiteral("SELECT name FROM vat WHERE val = :val AND kind = :kind"));
    QSqlQuery updateBrutto;
    updateBrutto.prepare(QStringLiteral("UPDATE %1 SET vat_text = :vat_text, brutto_price = :price WHERE id = :id")
                             .arg(table));
    QSqlQuery updateNetto;
    updateNetto.prepare(QStringLiteral("UPDATE %1 SET vat_text = :vat_text, netto_price = :price WHERE id = :id")
                            .arg(table));

    for (const Product& product : qAsConst(products)) {
        vatName.bindValue(QStringLiteral(":val"), static_cast<int>(product.rate));
        vatName.bindValue(QStringLiteral(":kind"), product.vatKind);
        QString name(QLatin1String("")); // empty, not NULL: vat_text may not be NULL
        if (statements.exec(vatName) && vatName.next())
            name = vatName.value(0).toString();
        vatName.finish();

        const QString rate = QString::number(product.rate, 'f', 6);
        const QString basis = QString::number(product.fromNetto ? product.netto : product.brutto, 'f', 6);
        QSqlQuery insert;
        if (!statements.exec(insert, product.fromNetto
                                 ? QStringLiteral("INSERT INTO __count_price (netto, vat) VALUES (%1, %2)").arg(basis, rate)
                                 : QStringLiteral("INSERT INTO __count_price (brutto, vat) VALUES (%1, %2)").arg(basis, rate)))
            continue;
        const QString scratchId = insert.lastInsertId().toString();
        const QVariant computed =
            sqlValue((product.fromNetto
                          ? QStringLiteral("SELECT round(netto * (1.0 + vat / 100.0) + 0.0000000001, 2) ")
                          : QStringLiteral("SELECT round(brutto / (1.0 + vat / 100.0) + 0.0000000001, 2) ")) +
                     QStringLiteral("FROM __count_price WHERE id = ") + scratchId);
        const double old = product.fromNetto ? product.brutto : product.netto;
        const double price = computed.isNull() ? old : computed.toDouble();

        QSqlQuery& update = product.fromNetto ? updateBrutto : updateNetto;
        update.bindValue(QStringLiteral(":vat_text"), name);
        update.bindValue(QStringLiteral(":price"), QString::number(price, 'f', 2));
        update.bindValue(QStringLiteral(":id"), product.id);
        statements.exec(update);
    }
}

void addUnits(Statements& statements)
{
    statements.exec(QStringLiteral(
        "INSERT OR IGNORE INTO product_unit (name) "
        "SELECT p.unit FROM product p WHERE p.unit <> '' GROUP BY p.unit "
        "UNION SELECT ip.unit FROM invoice_product ip WHERE ip.unit <> '' GROUP BY ip.unit"));
}

// Databases up to 2.07 kept the seller logos as files only.
void storeSellerLogos(Statements& statements, const QString& tempPath)
{
    const QVector<QVariant> ids = statements.column(QStringLiteral(
        "SELECT s.id FROM seller s LEFT JOIN seller_logo sl ON sl.id_seller = s.id WHERE sl.id_seller IS NULL"));
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO seller_logo (id_seller, zoom, width, height, data) "
                                  "VALUES (:id_seller, :zoom, :width, :height, :data)"));
    for (const QVariant& id : ids) {
        const QString path = tempPath + QStringLiteral("template/logo/seller_") + id.toString() + QStringLiteral(".png");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        file.close();
        const QImage image(path);
        insert.bindValue(QStringLiteral(":id_seller"), id);
        insert.bindValue(QStringLiteral(":zoom"), 1);
        insert.bindValue(QStringLiteral(":width"), image.width());
        insert.bindValue(QStringLiteral(":height"), image.height());
        insert.bindValue(QStringLiteral(":data"), data);
        statements.exec(insert);
    }
}

// Databases up to 2.11 kept one bank account in the seller row.
void moveBankAccounts(Statements& statements)
{
    for (const QString& table : {QStringLiteral("invoice_buyer"), QStringLiteral("invoice_end_text"),
                                QStringLiteral("invoice_product"), QStringLiteral("invoice_seller")})
        statements.exec(QStringLiteral("UPDATE %1 SET id_md5 = '' WHERE id_md5 <> ''").arg(table));
    statements.exec(QStringLiteral("INSERT INTO seller_bank (id_seller, bank, bank_account, is_default) "
                                   "SELECT id, bank, bank_account, 1 FROM seller"));
}

// Every seller has at least one bank row, its default, made from the seller's own bank fields.
void addDefaultBanks(Statements& statements)
{
    statements.exec(QStringLiteral(
        "INSERT INTO seller_bank (id_seller, bank, bank_account, is_default) "
        "SELECT s.id, s.bank, s.bank_account, 1 FROM seller s "
        "WHERE NOT EXISTS (SELECT 1 FROM seller_bank sb WHERE sb.id_seller = s.id)"));
}

void migrateOptions(int lastVersion)
{
    if (lastVersion <= 2014)
        for (const char* view : {"BUYER_DB_VIEW", "INVOICE_BUY_DB_VIEW", "INVOICE_SELL_DB_VIEW", "SELLER_DB_VIEW"})
            MColumnOptions::shiftColumnOptions(QLatin1String(view), 1, true);
    if (lastVersion <= 2050) {
        MColumnOptions::shiftColumnOptions(QStringLiteral("BUYER_DB_VIEW"), 11, false);
        MColumnOptions::shiftColumnOptions(QStringLiteral("INVOICE_SELL_DB_VIEW"), 6, false);
    }
    // The document font size scale -2..+2 became 0..4.
    const QString fontSizeDiff = MOptions::option(QStringLiteral("FONT_SIZE_DIFF"));
    if (lastVersion <= 2047 && !fontSizeDiff.isEmpty())
        MOptions::setOption(QStringLiteral("FONT_SIZE_DIFF"), QString::number(fontSizeDiff.toInt() + 2));
}

} // namespace

MDataRepair::Result MDataRepair::run(int lastVersion, const QString& tempPath)
{
    Statements statements;
    // A savepoint, so that a caller's transaction (the upgrade's, with the
    // version row) takes the repair in; without one it is a transaction of its own.
    const bool outermost = sqlite3_get_autocommit(MSqliteHandle::of(QSqlDatabase::database())) != 0;
    statements.exec(QStringLiteral("SAVEPOINT repair"));

    retireSellerKindOne(statements);
    fillPatternTexts(statements);
    renumberDocuments(statements);
    fillProductPrices(statements, QStringLiteral("product"));
    fillProductPrices(statements, QStringLiteral("invoice_product"));
    addUnits(statements);
    statements.add(MRecompute::recomputeAll());

    if (lastVersion > 0) {
        if (lastVersion <= 2007)
            storeSellerLogos(statements, tempPath);
        if (lastVersion <= 2011)
            moveBankAccounts(statements);
    }
    addDefaultBanks(statements);

    // An upgrade may have changed _options by SQL, and at the first opening
    // the cache has not been filled yet.
    MOptions::loadOptions();
    if (lastVersion > 0)
        migrateOptions(lastVersion);
    MOptions::loadOptions();

    if (!statements.exec(QStringLiteral("RELEASE repair"))) {
        if (outermost) {
            QSqlQuery(QStringLiteral("ROLLBACK"));
        } else {
            QSqlQuery(QStringLiteral("ROLLBACK TO repair"));
            QSqlQuery(QStringLiteral("RELEASE repair"));
        }
        MOptions::loadOptions();
    }
    return statements.result();
}
