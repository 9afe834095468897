#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MDocumentActions.h"
#include "data/MDocumentDelete.h"
#include "data/MInvoiceDuplicate.h"
#include "data/MInvoiceErrorRun.h"
#include "data/MPaymentControl.h"

#include <QtTest>

#include <memory>

// The writes behind the document lists' actions on a schema-script database: what each
// kind allows, deleting a document as a whole, duplicates, payment control and the
// error check's runs.
class TestDocumentActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void kindRules_data();
    void kindRules();
    void deleteRefusesReferencedDocuments_data();
    void deleteRefusesReferencedDocuments();
    void deleteRemovesEveryRowOfTheDocument();
    void deleteFailingLateLeavesEverything();
    void duplicateKinds_data();
    void duplicateKinds();
    void duplicateOfMissingParentWritesNothing();
    void duplicateUpdateKeepsItsKind();
    void duplicateUpdateOfMissingRowFails();
    void paymentAgreement_data();
    void paymentAgreement();
    void paymentWriteSkipsDuplicatesPaidFields();
    void paymentWriteFailingLeavesEverything();
    void errorRunStoresFindingsInIdOrder();
    void errorRunWithoutFindingsStoresNothing();

private:
    static int document(int kind, int idParent = 0, int index = 0, const QString& extra = QString());

    std::unique_ptr<MTestDatabase> m_db;
};

namespace {

// Every row a document may own, as "table:count" of the rows of document `id`.
QString rowsOf(int id)
{
    QStringList counts;
    const QStringList tables = {"invoice_correct_misc", "invoice_product_misc", "invoice_join",
                                "invoice_summary_vat"};
    counts << QStringLiteral("invoice:%1").arg(MTestDatabase::value(QStringLiteral(
                                                  "SELECT COUNT(*) FROM invoice WHERE id = %1").arg(id)).toInt());
    for (const QString& table : tables)
        counts << QStringLiteral("%1:%2").arg(table).arg(
            MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE id_invoice = %2").arg(table).arg(id))
                .toInt());
    return counts.join(QLatin1Char(' '));
}

void addOwnRows(int id)
{
    QVERIFY(MTestDatabase::exec(
        QStringLiteral("INSERT INTO invoice_correct_misc (id_invoice, correct_reason) VALUES (%1, 'Rabat')").arg(id)));
    QVERIFY(MTestDatabase::exec(
        QStringLiteral("INSERT INTO invoice_product_misc (id_invoice, id_product, amount) VALUES (%1, 1, 2)").arg(id)));
    QVERIFY(MTestDatabase::exec(
        QStringLiteral("INSERT INTO invoice_join (id_invoice, id_invoice_join) VALUES (%1, 999)").arg(id)));
    QVERIFY(MTestDatabase::exec(
        QStringLiteral("INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price) VALUES (%1, 1, 10)").arg(id)));
}

} // namespace

void TestDocumentActions::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestDocumentActions::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS fail_late")));
    for (const char* table : {"invoice", "invoice_seller", "invoice_correct_misc", "invoice_product_misc",
                              "invoice_join", "invoice_summary_vat", "__invoice_error", "__invoice_error_id"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    QVERIFY(MTestDatabase::exec(
        "INSERT INTO invoice_seller (id, firm, invoice_index_format_text, time_create, time_modify) "
        "VALUES (1, 'Morva', 'FV [nr]/[rrrr]', 0, 0)"));
}

int TestDocumentActions::document(int kind, int idParent, int index, const QString& extra)
{
    QVariantMap values{{"invoice_kind", kind},
                       {"id_parent_invoice", idParent},
                       {"invoice_index", index},
                       {"id_seller", index > 0 ? 1 : 0},
                       {"date_put", "2024-03-05 00:00:00"},
                       {"date_sell", "2024-03-05 00:00:00"},
                       {"date_pay", "2024-03-19 00:00:00"}};
    const int id = int(MTestDatabase::insert(QStringLiteral("invoice"), values));
    if (!extra.isEmpty())
        MTestDatabase::exec(QStringLiteral("UPDATE invoice SET %1 WHERE id = %2").arg(extra).arg(id));
    return id;
}

void TestDocumentActions::kindRules_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<int>("correction");
    QTest::addColumn<int>("duplicateKind");

    struct Row
    {
        int kind;
        bool duplicate;
        bool copy;
        int correction;
        int duplicateKind;
    };
    const Row rows[] = {
        {0, false, true, 2, 5},     {1, false, true, -1, -1},   {2, false, true, -1, 6},
        {3, false, true, 4, 7},     {4, false, true, -1, 8},    {5, true, false, -1, -1},
        {6, true, false, -1, -1},   {7, true, false, -1, -1},   {8, true, false, -1, -1},
        {9, false, true, -1, 10},   {10, true, false, -1, -1},  {11, false, true, 12, 13},
        {12, false, true, -1, 14},  {13, true, false, -1, -1},  {14, true, false, -1, -1},
        {15, false, true, 16, 17},  {16, false, true, -1, 18},  {17, true, false, -1, -1},
        {18, true, false, -1, -1},  {19, false, true, -1, 21},  {20, false, true, -1, 22},
        {21, true, false, -1, -1},  {22, true, false, -1, -1},  {23, false, true, -1, 25},
        {24, false, true, -1, 26},  {25, true, false, -1, -1},  {26, true, false, -1, -1},
        {27, false, true, 28, 29},  {28, false, true, -1, 30},  {29, true, false, -1, -1},
        {30, true, false, -1, -1},  {-1, false, false, -1, -1}, {31, false, false, -1, -1},
    };
    for (const Row& row : rows)
        QTest::addRow("kind %d", row.kind) << row.kind << row.duplicate << row.copy << row.correction
                                           << row.duplicateKind;
}

void TestDocumentActions::kindRules()
{
    QFETCH(int, kind);
    QFETCH(bool, duplicate);
    QFETCH(bool, copy);
    QFETCH(int, correction);
    QFETCH(int, duplicateKind);
    QCOMPARE(MDocumentActions::isDuplicate(kind), duplicate);
    QCOMPARE(MDocumentActions::canCopy(kind), copy);
    // Exactly the documents and corrections carry a paid flag.
    QCOMPARE(MDocumentActions::isPayable(kind), copy);
    QCOMPARE(MDocumentActions::correctionKind(kind), correction);
    QCOMPARE(MDocumentActions::duplicateKind(kind), duplicateKind);
}

void TestDocumentActions::deleteRefusesReferencedDocuments_data()
{
    QTest::addColumn<QString>("reference");
    QTest::newRow("corrected") << QStringLiteral("correction");
    QTest::newRow("duplicated") << QStringLiteral("duplicate");
    QTest::newRow("joined") << QStringLiteral("join");
    QTest::newRow("alone") << QString();
}

void TestDocumentActions::deleteRefusesReferencedDocuments()
{
    QFETCH(QString, reference);
    const int id = document(0, 0, 1);
    const int other = document(19, 0, 2);
    if (reference == QLatin1String("correction"))
        document(2, id, 3);
    else if (reference == QLatin1String("duplicate"))
        document(5, id);
    else if (reference == QLatin1String("join"))
        QVERIFY(MTestDatabase::exec(
            QStringLiteral("INSERT INTO invoice_join (id_invoice, id_invoice_join) VALUES (%1, %2)").arg(other).arg(id)));
    QCOMPARE(MDocumentDelete::isReferenced(id), !reference.isEmpty());
    // Referring to another document does not tie the referring one.
    QVERIFY(!MDocumentDelete::isReferenced(other));
}

void TestDocumentActions::deleteRemovesEveryRowOfTheDocument()
{
    const int id = document(20, 0, 1);
    const int kept = document(0, 0, 2);
    addOwnRows(id);
    addOwnRows(kept);
    const QString keptRows = rowsOf(kept);

    QString error;
    QVERIFY(MDocumentDelete::remove(id, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(rowsOf(id), QStringLiteral("invoice:0 invoice_correct_misc:0 invoice_product_misc:0 invoice_join:0 "
                                        "invoice_summary_vat:0"));
    QCOMPARE(rowsOf(kept), keptRows);
}

void TestDocumentActions::deleteFailingLateLeavesEverything()
{
    const int id = document(0, 0, 1);
    addOwnRows(id);
    const QString before = rowsOf(id);
    // The last statement of the delete fails after the document row is already gone.
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "CREATE TRIGGER fail_late BEFORE DELETE ON invoice_summary_vat BEGIN SELECT RAISE(ABORT, 'zablokowane'); END")));

    QString error;
    QVERIFY(!MDocumentDelete::remove(id, &error));
    QVERIFY2(error.contains(QStringLiteral("zablokowane")), qPrintable(error));
    QCOMPARE(rowsOf(id), before);
    QCOMPARE(before, QStringLiteral("invoice:1 invoice_correct_misc:1 invoice_product_misc:1 invoice_join:1 "
                                    "invoice_summary_vat:1"));
}

void TestDocumentActions::duplicateKinds_data()
{
    QTest::addColumn<int>("parentKind");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("listKind");
    const int map[][2] = {{0, 5},   {2, 6},   {3, 7},   {4, 8},   {9, 10},  {11, 13}, {12, 14}, {15, 17},
                          {16, 18}, {19, 21}, {20, 22}, {23, 25}, {24, 26}, {27, 29}, {28, 30}};
    for (const auto& pair : map)
        QTest::addRow("%d to %d", pair[0], pair[1]) << pair[0] << pair[1] << (pair[0] == 11 || pair[0] == 12 ? 8 : 7);
}

void TestDocumentActions::duplicateKinds()
{
    QFETCH(int, parentKind);
    QFETCH(int, kind);
    QFETCH(int, listKind);
    const int parent = document(parentKind, 0, 4);
    const MInvoiceDuplicate::Result result =
        MInvoiceDuplicate::insert(parent, QDate(2024, 6, 7), QStringLiteral("Zgubiony\noryginał"));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_kind, id_parent_invoice, date_put, date_sell, date_pay, "
                                                "additional, invoice_index, is_payed, is_cancelled FROM invoice "
                                                "WHERE id = %1").arg(result.id)),
             QStringList{QStringLiteral("%1|%2|2024-06-07 00:00:00|0000-00-00 00:00:00|0000-00-00 00:00:00|"
                                        "Zgubiony\noryginał|0|0|0").arg(kind).arg(parent)});
    QCOMPARE(result.kind, kind);
    QCOMPARE(MInvoiceDuplicate::listKind(kind), listKind);
    // Named by the document it duplicates.
    QCOMPARE(MDocumentActions::numberText(result.id), QStringLiteral("FV 4/2024"));
}

void TestDocumentActions::duplicateOfMissingParentWritesNothing()
{
    const int proForma = document(1, 0, 1);
    const int before = MTestDatabase::count(QStringLiteral("invoice"));
    for (int parent : {proForma + 100, proForma}) {
        const MInvoiceDuplicate::Result result = MInvoiceDuplicate::insert(parent, QDate(2024, 6, 7), QString());
        QVERIFY(!result.ok());
        QVERIFY(result.refused);
        QVERIFY(result.errorText.isEmpty());
    }
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), before);
}

void TestDocumentActions::duplicateUpdateKeepsItsKind()
{
    const int parent = document(2, 0, 1);
    const int id = document(6, parent);
    MInvoiceDuplicate duplicate;
    QVERIFY(MInvoiceDuplicate::load(id, &duplicate));
    QCOMPARE(duplicate.kind, 6);
    QCOMPARE(duplicate.datePut, QDate(2024, 3, 5));

    const MInvoiceDuplicate::Result result =
        MInvoiceDuplicate::update(id, duplicate.kind, QDate(2025, 1, 2), QStringLiteral("Druga uwaga"));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.id, id);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_kind, id_parent_invoice, date_put, date_sell, additional "
                                                "FROM invoice WHERE id = %1").arg(id)),
             QStringList{QStringLiteral("6|%1|2025-01-02 00:00:00|2024-03-05 00:00:00|Druga uwaga").arg(parent)});
}

void TestDocumentActions::duplicateUpdateOfMissingRowFails()
{
    MInvoiceDuplicate duplicate;
    QVERIFY(!MInvoiceDuplicate::load(77, &duplicate));
    const MInvoiceDuplicate::Result result = MInvoiceDuplicate::update(77, 5, QDate(2025, 1, 2), QString());
    QVERIFY(!result.ok());
    QVERIFY(!result.errorText.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 0);
}

void TestDocumentActions::paymentAgreement_data()
{
    QTest::addColumn<QStringList>("documents"); // "kind;is_payed;date_payed;is_cancelled" in id order
    QTest::addColumn<bool>("agree");
    QTest::addColumn<QString>("last");          // "payed|date|cancelled" of the last document

    QTest::newRow("same date") << QStringList{"0;1;2024-05-01;0", "3;1;2024-05-01;0", "27;1;2024-05-01;0"} << true
                               << "1|2024-05-01|0";
    QTest::newRow("paid and unpaid") << QStringList{"0;1;2024-05-01;0", "0;0;;0"} << false << "0||0";
    QTest::newRow("paid without a date") << QStringList{"0;1;;0", "2;1;;0"} << true << "1||0";
    QTest::newRow("other date") << QStringList{"0;1;2024-05-01;0", "0;1;2024-05-02;0"} << false
                                << "1|2024-05-02|0";
    QTest::newRow("cancelled") << QStringList{"0;0;;1", "9;1;;1"} << false << "1||1";
    QTest::newRow("all cancelled") << QStringList{"0;0;;1", "9;0;;1"} << true << "0||1";
    // The third compares with the duplicate's own (unpaid) values.
    QTest::newRow("duplicate between paid") << QStringList{"0;1;2024-05-01;0", "5;0;;0", "0;1;2024-05-01;0"}
                                            << false << "1|2024-05-01|0";
    QTest::newRow("duplicate after paid") << QStringList{"0;1;2024-05-01;0", "5;0;;0"} << true << "0||0";
    QTest::newRow("missing document") << QStringList{"0;0;;0", "missing"} << true << "0||0";
    QTest::newRow("none") << QStringList{} << true << "0||0";
}

void TestDocumentActions::paymentAgreement()
{
    QFETCH(QStringList, documents);
    QFETCH(bool, agree);
    QFETCH(QString, last);
    QList<int> ids;
    for (const QString& text : documents) {
        if (text == QLatin1String("missing")) {
            ids << 999;
            continue;
        }
        const QStringList parts = text.split(QLatin1Char(';'));
        const QString date = parts.at(2).isEmpty() ? QStringLiteral("NULL") : "'" + parts.at(2) + "'";
        ids << document(parts.at(0).toInt(), 0, 0,
                        QStringLiteral("is_payed = %1, date_payed = %2, is_cancelled = %3")
                            .arg(parts.at(1), date, parts.at(3)));
    }
    // The dialog gets the documents in any order and works in id order.
    std::reverse(ids.begin(), ids.end());
    MPaymentControl::State state;
    QCOMPARE(MPaymentControl::agree(ids, &state), agree);
    QCOMPARE(QStringLiteral("%1|%2|%3").arg(int(state.payed)).arg(state.datePayed).arg(int(state.cancelled)), last);
}

void TestDocumentActions::paymentWriteSkipsDuplicatesPaidFields()
{
    const int invoice = document(0, 0, 1, QStringLiteral("is_payed = 0"));
    const int margin = document(28, 0, 2, QStringLiteral("is_payed = 1"));
    const int duplicate = document(5, invoice, 0, QStringLiteral("is_payed = 1, date_payed = '2020-01-01'"));
    const QList<int> ids{duplicate, margin, invoice};
    const QString read = QStringLiteral("SELECT id, is_payed, IFNULL(date_payed, 'NULL'), is_cancelled FROM invoice "
                                        "ORDER BY id");

    MPaymentControl::Choice choice;
    choice.payed = true;
    choice.withDate = true;
    choice.datePayed = QDate(2024, 7, 8);
    QVERIFY(MPaymentControl::write(ids, choice));
    QCOMPARE(MTestDatabase::rows(read),
             (QStringList{QStringLiteral("%1|1|2024-07-08|0").arg(invoice), QStringLiteral("%1|1|2024-07-08|0").arg(margin),
                          QStringLiteral("%1|1|2020-01-01|0").arg(duplicate)}));

    // A date is kept only for a paid choice; the cancel flag goes to every document.
    choice.payed = false;
    choice.cancelled = true;
    QVERIFY(MPaymentControl::write(ids, choice));
    QCOMPARE(MTestDatabase::rows(read),
             (QStringList{QStringLiteral("%1|0|NULL|1").arg(invoice), QStringLiteral("%1|0|NULL|1").arg(margin),
                          QStringLiteral("%1|1|2020-01-01|1").arg(duplicate)}));
}

void TestDocumentActions::paymentWriteFailingLeavesEverything()
{
    const int first = document(0, 0, 1);
    const int second = document(0, 0, 2);
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER fail_late BEFORE UPDATE OF is_payed ON invoice "
                                               "WHEN NEW.id = %1 BEGIN SELECT RAISE(ABORT, 'zablokowane'); END")
                                    .arg(second)));
    const QString read = QStringLiteral("SELECT id, is_payed, is_cancelled FROM invoice ORDER BY id");
    const QStringList before = MTestDatabase::rows(read);

    MPaymentControl::Choice choice;
    choice.payed = true;
    choice.cancelled = true;
    QString error;
    QVERIFY(!MPaymentControl::write({first, second}, choice, &error));
    QVERIFY2(error.contains(QStringLiteral("zablokowane")), qPrintable(error));
    QCOMPARE(MTestDatabase::rows(read), before);
}

void TestDocumentActions::errorRunStoresFindingsInIdOrder()
{
    const int first = document(0, 0, 7);
    const int clean = document(0, 0, 8);
    const int duplicate = document(5, first);
    QMap<int, QString> findings;
    findings.insert(duplicate, QStringLiteral("Brak numeru rachunku"));
    findings.insert(clean, QString());
    findings.insert(first, QStringLiteral("Brak NIP sprzedawcy"));

    const int run = MInvoiceErrorRun::store(findings);
    QVERIFY(run > 0);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, id_invoice, invoice_index_string, error_content "
                                                "FROM __invoice_error")),
             (QStringList{QStringLiteral("%1|%2|FV 7/2024|Brak NIP sprzedawcy").arg(run).arg(first),
                          QStringLiteral("%1|%2|FV 7/2024|Brak numeru rachunku").arg(run).arg(duplicate)}));
    // Each check makes a new run.
    QVERIFY(MInvoiceErrorRun::store(findings) > run);
}

void TestDocumentActions::errorRunWithoutFindingsStoresNothing()
{
    const int id = document(0, 0, 1);
    QCOMPARE(MInvoiceErrorRun::store({{id, QString()}}), 0);
    QCOMPARE(MInvoiceErrorRun::store({}), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error_id")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error")), 0);
}

INVOICE_TEST_MAIN(TestDocumentActions)
#include "tst_documentactions.moc"
