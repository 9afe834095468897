#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MInvoiceCopies.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The document copies: their fingerprints, the removal of unused copies and
// the reuse of an identical copy when a document is saved.
class TestInvoiceCopies : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fingerprint_data();
    void fingerprint();
    void refreshAgreesWithTheWriter_data();
    void refreshAgreesWithTheWriter();
    void unusedCopiesAreDeleted();
    void identicalCopyIsReused();
    void sameFingerprintOtherContentIsStoredApart_data();
    void sameFingerprintOtherContentIsStoredApart();
    void storedFingerprintSurvivesRefresh();
    void incompleteCopyIsRefused();

private:
    static int exec(const QString& sql);
    static int invoiceWith(const QString& column, int id);
    static QString hex(const QString& text);
    static QString storedMd5(const QString& table, int id);
    static int addWorkingSeller(const QString& phone, const QString& fax, const QString& street);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestInvoiceCopies::initTestCase()
{
    initInvoiceResources();
}

void TestInvoiceCopies::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(MTestDatabase::openNew(m_dir->filePath(QStringLiteral("Invoice.db3"))));
}

void TestInvoiceCopies::cleanup()
{
    MTestDatabase::close();
}

// Runs the statement and gives the id of the row it inserted.
int TestInvoiceCopies::exec(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql))
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query.lastInsertId().toInt();
}

int TestInvoiceCopies::invoiceWith(const QString& column, int id)
{
    return exec(QStringLiteral("INSERT INTO invoice (%1, date_put, date_sell, date_pay, time_create, time_modify) "
                               "VALUES (%2, '2024-03-01 00:00:00', '2024-03-01 00:00:00', '2024-03-15 00:00:00', "
                               "'', '')")
                    .arg(column)
                    .arg(id));
}

QString TestInvoiceCopies::hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QString TestInvoiceCopies::storedMd5(const QString& table, int id)
{
    return MTestDatabase::value(QStringLiteral("SELECT id_md5 FROM %1 WHERE id = %2").arg(table).arg(id)).toString();
}

void TestInvoiceCopies::fingerprint_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QString>("referrer"); // document column that keeps the copy
    QTest::addColumn<QString>("text");     // the values the fingerprint is made of

    QTest::newRow("closing text alone")
        << "invoice_end_text"
        << "INSERT INTO invoice_end_text (content, time_create, time_modify) "
           "VALUES ('Dziękujemy za zakupy', '2024-03-01 10:00:00', '2024-03-01 10:00:00')"
        << "id_end_text2" << "Dziękujemy za zakupy";
    QTest::newRow("empty buyer gives five zeros")
        << "invoice_buyer" << "INSERT INTO invoice_buyer (time_create, time_modify) VALUES ('', '')"
        << "id_buyer" << "00000";
    QTest::newRow("buyer with every field")
        << "invoice_buyer"
        << "INSERT INTO invoice_buyer (firm, nip, regon, address, city, zipcode, id_province, id_country, bank, "
           "bank_account, phone, fax, email, www, permit_person_firstname, permit_person_secondname, "
           "permit_person_pesel, reduct, time_create, time_modify, additional, person_document_id_kind, "
           "person_document_number, person_document_by, person_document_date, id_address_contact, firm_short) "
           "VALUES ('Kowalski i Syn', '123-456-32-18', '012345678', 'ul. Długa 5', 'Łódź', '90-001', 5, 150, "
           "'PKO', '11 2222 3333', '', '123', 'biuro@kowalski.pl', '', 'Jan', 'Kowalski', '80010112345', 12.5, "
           "'2024-01-01 10:00:00', '2024-01-02 11:00:00', 'uwagi', 1, 'ABC123456', 'Prezydent Miasta', "
           "'2020-01-02', 7, 'Kowalski')"
        << "id_buyer2"
        << "Kowalski i Syn123-456-32-18012345678ul. Długa 5Łódź90-0015150PKO11 2222 3333123biuro@kowalski.pl"
           "JanKowalski8001011234512.51ABC123456Prezydent Miasta2020-01-027Kowalski";
    QTest::newRow("buyer address")
        << "invoice_buyer_address"
        << "INSERT INTO invoice_buyer_address (address, city, zipcode, id_province, id_country, name) "
           "VALUES ('ul. Polna 1', 'Kraków', '30-001', 6, 150, 'Dział zakupów')"
        << "" << "ul. Polna 1Kraków30-0016150Dział zakupów";
    QTest::newRow("exchange rate")
        << "invoice_currency_rating"
        << "INSERT INTO invoice_currency_rating (bank_name, id_currency_from, id_currency_to, rating_date, "
           "input_kind, currency_amount_from, currency_value, table_name, time_create, time_modify) "
           "VALUES ('NBP', 1, 0, '2024-03-01', 0, 1, 4.2735, '043/A/NBP/2024', '', '')"
        << "id_currency_rating" << "NBP102024-03-01014.2735043/A/NBP/2024";
    QTest::newRow("computed reals with fifteen digits at most")
        << "invoice_currency_rating"
        << "INSERT INTO invoice_currency_rating (bank_name, id_currency_from, id_currency_to, rating_date, "
           "input_kind, currency_amount_from, currency_value, table_name, time_create, time_modify) "
           "VALUES ('', 1, 0, '', 0, 0.1 + 0.2, 1.0 / 3, '', '', '')"
        << "id_currency_rating" << "1000.30.333333333333333";
    QTest::newRow("product with whole prices")
        << "invoice_product"
        << "INSERT INTO invoice_product (name, symbol, code, unit, netto_price, brutto_price, vat, reduct, "
           "id_currency, vat_text, vat_kind, count_from_netto, time_create, time_modify, additional, "
           "profit_brutto) VALUES ('Usługa montażu', 'MNT', '43.21.10.0', 'godz.', 100.00, 123.0, 23, 0, 0, "
           "'23%', 0, 1, '', '', 'notatka', 0.5)"
        << "" << "Usługa montażuMNT43.21.10.0godz.100123230023%010.5";
    QTest::newRow("seller without its address columns")
        << "invoice_seller"
        << "INSERT INTO invoice_seller (firm, nip, regon, address, city, zipcode, id_province, id_country, bank, "
           "bank_account, phone, fax, email, www, permit_person_firstname, permit_person_secondname, "
           "permit_person_pesel, reduct, id_kind, id_invoice_index_format, invoice_index_format_text, "
           "time_create, time_modify, additional, person_document_id_kind, person_document_number, "
           "person_document_by, person_document_date, firm_short, financial_office_code, street, "
           "address_number1, address_number2, city_post, province2, province3) "
           "VALUES ('Morva Sp. z o.o.', '525-000-00-00', '000000000', 'Długa 5/2', 'Warszawa', '00-001', 7, "
           "150, 'mBank', '22 1140 0000', '22 111 11 11', '', 'faktury@morva.pl', 'morva.pl', 'Anna', 'Nowak', "
           "'', 0, 0, 1, '[nr]/[mm]/[rrrr]', '', '', '', 0, '', '', NULL, 'Morva', '1438', 'Długa', '5', '2', "
           "'Warszawa', 'Warszawa', 'Śródmieście')"
        << "id_seller"
        << "Morva Sp. z o.o.525-000-00-00000000000Długa 5/2Warszawa00-0017150mBank22 1140 000022 111 11 11"
           "faktury@morva.plmorva.plAnnaNowak001[nr]/[mm]/[rrrr]0Morva";
}

void TestInvoiceCopies::fingerprint()
{
    QFETCH(QString, table);
    QFETCH(QString, insert);
    QFETCH(QString, referrer);
    QFETCH(QString, text);

    const int id = exec(insert);
    QVERIFY(id > 0);
    if (table == QLatin1String("invoice_buyer_address"))
        invoiceWith(QStringLiteral("id_buyer"),
                    exec(QStringLiteral("INSERT INTO invoice_buyer (id_address_contact, time_create, time_modify) "
                                        "VALUES (%1, '', '')")
                             .arg(id)));
    else if (table == QLatin1String("invoice_product"))
        exec(QStringLiteral("INSERT INTO invoice_product_misc (id_invoice, id_product) VALUES (%1, %2)")
                 .arg(invoiceWith(QStringLiteral("id_seller"), 0))
                 .arg(id));
    else
        invoiceWith(referrer, id);

    MInvoiceCopies::updateMd5();
    QCOMPARE(storedMd5(table, id), hex(text));
}

void TestInvoiceCopies::refreshAgreesWithTheWriter_data()
{
    QTest::addColumn<QString>("values"); // SQL expressions of a product copy's fingerprint columns

    QTest::newRow("Polish letters and a euro sign") << "'Łódź – ąęść €', 'ŻÓŁW', '', 'szt.', 1, 2, 3, 4, 5, '', 0, 0, 0";
    QTest::newRow("reals of every shape")
        << "'a', 'b', 'c', 'd', 0.1 + 0.2, 1e20, -0.5, 1.0 / 3, 123456789.125, '23%', 1e-7, 2.5e-300, -0.0";
    QTest::newRow("large and negative integers")
        << "'a', 'b', 'c', 'd', 9223372036854775807, -9223372036854775808, -1, 0, 100, 'x', 0, 1, 12345678901234";
    QTest::newRow("text that is no valid UTF-8") << "CAST(X'C328A0' AS TEXT), CAST(X'F0' AS TEXT), '', '', 1, 2, 3, "
                                                    "4, 5, CAST(X'E282' AS TEXT), 0, 0, 0";
    QTest::newRow("blobs") << "X'C5C1', X'00FF', X'', 'd', 1, 2, 3, 4, 5, X'4142', 0, 0, 0";
    QTest::newRow("numbers stored as text") << "'1.50', ' 7', '0x10', '1e3', '12,50', '3', 'abc', '', '', '', '', '', ''";
}

void TestInvoiceCopies::refreshAgreesWithTheWriter()
{
    QFETCH(QString, values);
    // The copy as old versions or the legacy import may have left it: any storage class.
    const QStringList columns = MInvoiceCopies::md5Columns(QStringLiteral("invoice_product"));
    const int id = exec(QStringLiteral("INSERT INTO invoice_product (") + columns.join(QStringLiteral(", "))
                        + QStringLiteral(", time_create, time_modify, additional) SELECT ") + values
                        + QStringLiteral(", '', '', ''"));
    QVERIFY(id > 0);
    exec(QStringLiteral("INSERT INTO invoice_product_misc (id_invoice, id_product) VALUES (%1, %2)")
             .arg(invoiceWith(QStringLiteral("id_seller"), 0))
             .arg(id));

    MInvoiceCopies::updateMd5();

    // The writer's fingerprint of the same row, read as the program reads a copy.
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                       + QStringLiteral(" FROM invoice_product WHERE id = %1").arg(id)));
    QVERIFY(query.next());
    QVariantList read;
    for (int i = 0; i < columns.size(); ++i)
        read.append(query.value(i));
    QCOMPARE(storedMd5(QStringLiteral("invoice_product"), id), MInvoiceCopies::md5(read));
}

void TestInvoiceCopies::unusedCopiesAreDeleted()
{
    const QString now = QStringLiteral("'', ''");
    const int usedProduct = exec(QStringLiteral("INSERT INTO invoice_product (name, time_create, time_modify) "
                                                "VALUES ('wspólny', %1)").arg(now));
    const int ownProduct = exec(QStringLiteral("INSERT INTO invoice_product (name, time_create, time_modify) "
                                               "VALUES ('tylko w usuniętym', %1)").arg(now));
    const int deleted = invoiceWith(QStringLiteral("id_seller"), 0);
    const int kept = invoiceWith(QStringLiteral("id_seller"), 0);
    exec(QStringLiteral("INSERT INTO invoice_product_misc (id_invoice, id_product) VALUES (%1, %2), (%1, %3), (%4, %2)")
             .arg(deleted)
             .arg(usedProduct)
             .arg(ownProduct)
             .arg(kept));

    const int orphanAddress = exec(QStringLiteral("INSERT INTO invoice_buyer_address (city) VALUES ('Gdańsk')"));
    const int orphanBuyer = exec(QStringLiteral("INSERT INTO invoice_buyer (firm, id_address_contact, time_create, "
                                                "time_modify) VALUES ('porzucony', %1, %2)")
                                     .arg(orphanAddress)
                                     .arg(now));
    const int secondAddress = exec(QStringLiteral("INSERT INTO invoice_buyer_address (city) VALUES ('Opole')"));
    const int secondBuyer = exec(QStringLiteral("INSERT INTO invoice_buyer (firm, id_address_contact, time_create, "
                                                "time_modify) VALUES ('odbiorca', %1, %2)")
                                     .arg(secondAddress)
                                     .arg(now));
    exec(QStringLiteral("UPDATE invoice SET id_buyer2 = %1 WHERE id = %2").arg(secondBuyer).arg(kept));
    const int secondText = exec(QStringLiteral("INSERT INTO invoice_end_text (content, time_create, time_modify) "
                                               "VALUES ('drugi tekst', %1)").arg(now));
    exec(QStringLiteral("UPDATE invoice SET id_end_text2 = %1 WHERE id = %2").arg(secondText).arg(kept));
    exec(QStringLiteral("INSERT INTO invoice_end_text (content, time_create, time_modify) VALUES ('zbędny', %1)")
             .arg(now));
    exec(QStringLiteral("INSERT INTO invoice_seller (firm, time_create, time_modify) VALUES ('zbędny', %1)").arg(now));
    exec(QStringLiteral("INSERT INTO invoice_currency_rating (bank_name, rating_date, time_create, time_modify) "
                        "VALUES ('zbędny', '2024-01-01', %1)")
             .arg(now));

    exec(QStringLiteral("DELETE FROM invoice_product_misc WHERE id_invoice = %1").arg(deleted));
    exec(QStringLiteral("DELETE FROM invoice WHERE id = %1").arg(deleted));
    MInvoiceCopies::updateMd5();

    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT group_concat(id) FROM invoice_product")).toString(),
             QString::number(usedProduct));
    QVERIFY(ownProduct != usedProduct);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT group_concat(id) FROM invoice_buyer")).toString(),
             QString::number(secondBuyer));
    QVERIFY(orphanBuyer != secondBuyer);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT group_concat(id) FROM invoice_buyer_address")).toString(),
             QString::number(secondAddress));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT group_concat(id) FROM invoice_end_text")).toString(),
             QString::number(secondText));
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_seller")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_currency_rating")), 0);
}

// A working copy of a seller, as the invoice editor holds it; returns its __id.
int TestInvoiceCopies::addWorkingSeller(const QString& phone, const QString& fax, const QString& street)
{
    QSqlQuery query;
    query.prepare(QStringLiteral(
        "INSERT INTO __invoice_seller (id, firm, nip, phone, fax, reduct, id_invoice_index_format, "
        "invoice_index_format_text, time_create, time_modify, person_document_date, street) "
        "VALUES (3, 'Morva', '525-000-00-00', :phone, :fax, 2.5, 1, '[nr]/[rrrr]', '2024-01-01', '2024-01-01', "
        "NULL, :street)"));
    // A null QString would bind NULL to the NOT NULL columns.
    const auto text = [](const QString& value) { return value.isNull() ? QStringLiteral("") : value; };
    query.bindValue(QStringLiteral(":phone"), text(phone));
    query.bindValue(QStringLiteral(":fax"), text(fax));
    query.bindValue(QStringLiteral(":street"), text(street));
    if (!query.exec()) {
        qWarning("%s", qPrintable(query.lastError().text()));
        return 0;
    }
    return query.lastInsertId().toInt();
}

void TestInvoiceCopies::identicalCopyIsReused()
{
    const int first = MInvoiceCopies::storeWorkingCopy(QStringLiteral("invoice_seller"),
                                                       addWorkingSeller(QString(), QStringLiteral("123"),
                                                                        QStringLiteral("Długa")));
    QVERIFY(first > 0);
    const int again = MInvoiceCopies::storeWorkingCopy(QStringLiteral("invoice_seller"),
                                                       addWorkingSeller(QString(), QStringLiteral("123"),
                                                                        QStringLiteral("Długa")));
    QCOMPARE(again, first);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_seller")), 1);

    // A closing text has no working table: its copy is built from the text.
    QSqlRecord text;
    text.append(QSqlField(QStringLiteral("content"), QVariant::String));
    text.setValue(0, QStringLiteral("Dziękujemy za zakupy"));
    const int textId = MInvoiceCopies::storeCopy(QStringLiteral("invoice_end_text"), text);
    QVERIFY(textId > 0);
    QCOMPARE(MInvoiceCopies::storeCopy(QStringLiteral("invoice_end_text"), text), textId);
    QCOMPARE(storedMd5(QStringLiteral("invoice_end_text"), textId),
             QStringLiteral("6e5ec436d19e8680ff51ab395df945d4"));
}

void TestInvoiceCopies::sameFingerprintOtherContentIsStoredApart_data()
{
    QTest::addColumn<QStringList>("first");  // phone, fax, street
    QTest::addColumn<QStringList>("second");
    QTest::newRow("phone and fax joined alike") << QStringList { "", "123", "Długa" }
                                                << QStringList { "123", "", "Długa" };
    QTest::newRow("only the street differs") << QStringList { "111", "222", "Długa" }
                                             << QStringList { "111", "222", "Krótka" };
}

void TestInvoiceCopies::sameFingerprintOtherContentIsStoredApart()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);

    const QString table = QStringLiteral("invoice_seller");
    const int firstId = MInvoiceCopies::storeWorkingCopy(table, addWorkingSeller(first[0], first[1], first[2]));
    const int secondId = MInvoiceCopies::storeWorkingCopy(table, addWorkingSeller(second[0], second[1], second[2]));
    QVERIFY(firstId > 0);
    QVERIFY(secondId > 0);
    QCOMPARE(storedMd5(table, secondId), storedMd5(table, firstId));
    QVERIFY(secondId != firstId);

    const auto column = [&](const QString& name, int id) {
        return MTestDatabase::value(QStringLiteral("SELECT %1 FROM invoice_seller WHERE id = %2").arg(name).arg(id))
            .toString();
    };
    QCOMPARE(column(QStringLiteral("phone"), secondId), second[0]);
    QCOMPARE(column(QStringLiteral("fax"), secondId), second[1]);
    QCOMPARE(column(QStringLiteral("street"), secondId), second[2]);
    QCOMPARE(column(QStringLiteral("street"), firstId), first[2]);
}

void TestInvoiceCopies::storedFingerprintSurvivesRefresh()
{
    const int id = MInvoiceCopies::storeWorkingCopy(QStringLiteral("invoice_seller"),
                                                    addWorkingSeller(QStringLiteral("22 111"), QString(),
                                                                     QStringLiteral("Długa")));
    QVERIFY(id > 0);
    invoiceWith(QStringLiteral("id_seller"), id);
    const QString written = storedMd5(QStringLiteral("invoice_seller"), id);
    QCOMPARE(written.size(), 32);
    MInvoiceCopies::updateMd5();
    QCOMPARE(storedMd5(QStringLiteral("invoice_seller"), id), written);
    // ... so that the next save of the same data still finds it.
    QCOMPARE(MInvoiceCopies::storeWorkingCopy(QStringLiteral("invoice_seller"),
                                              addWorkingSeller(QStringLiteral("22 111"), QString(),
                                                               QStringLiteral("Długa"))),
             id);
}

void TestInvoiceCopies::incompleteCopyIsRefused()
{
    QSqlRecord partial;
    partial.append(QSqlField(QStringLiteral("firm"), QVariant::String));
    partial.setValue(0, QStringLiteral("Morva"));
    QCOMPARE(MInvoiceCopies::storeCopy(QStringLiteral("invoice_seller"), partial), 0);
    QCOMPARE(MInvoiceCopies::storeCopy(QStringLiteral("seller"), partial), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_seller")), 0);
}

INVOICE_TEST_MAIN(TestInvoiceCopies)
#include "tst_invoicecopies.moc"
