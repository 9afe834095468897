#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "editor/MInvoiceDlg.h"
#include "resources/MResources.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

// The editor's previews of its working copies and the notices that re-run them.
class TestInvoiceDlgPreviews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void sellerPreviewKeepsEmptyRows();
    void buyerIdentifierRule_data();
    void buyerIdentifierRule();
    void missingCopyShowsNothing();
    void noticesRerunPreviews_data();
    void noticesRerunPreviews();
    void ratingPreview();
    void joinedList();
    void bankListAndChoice_data();
    void bankListAndChoice();
    void fillingBanksWritesNothing();

private:
    MInvoiceDlg* editor();
    static int sellerCopy(const QString& bank, const QString& account);
    static int buyerCopy(const QString& nip, const QString& pesel);

    std::unique_ptr<MAppWnd> m_window;
    int m_seller = 0; // a base seller with two bank accounts
};

namespace {

// "label=value" of each row of a label / value preview.
QStringList rows(QTableView* table)
{
    QStringList texts;
    QAbstractItemModel* model = table->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        texts << model->index(row, 0).data().toString() + QLatin1Char('=') + model->index(row, 1).data().toString();
    return texts;
}

QString row(QTableView* table, const QString& label)
{
    for (const QString& text : rows(table)) {
        if (text.startsWith(label + QLatin1Char('=')))
            return text.mid(label.size() + 1);
    }
    return QStringLiteral("<none>");
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

void TestInvoiceDlgPreviews::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM seller_bank")));
    m_seller = int(MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Baza"}}));
    MTestDatabase::insert(QStringLiteral("seller_bank"),
                          {{"id_seller", m_seller}, {"bank", "Bank A"}, {"bank_account", "11 1111"}});
    MTestDatabase::insert(QStringLiteral("seller_bank"),
                          {{"id_seller", m_seller}, {"bank", "Bank 'B'"}, {"bank_account", "22 2222"}});
    MTestDatabase::insert(QStringLiteral("seller_bank"),
                          {{"id_seller", m_seller + 1}, {"bank", "Obcy"}, {"bank_account", "33 3333"}});
}

void TestInvoiceDlgPreviews::cleanup()
{
    if (auto* open = m_window->findChild<MInvoiceDlg*>())
        delete open;
}

MInvoiceDlg* TestInvoiceDlgPreviews::editor()
{
    auto* dlg = new MInvoiceDlg(m_window.get(), Qt::WindowFlags(), 0);
    dlg->setDocKind(0);
    return dlg;
}

int TestInvoiceDlgPreviews::sellerCopy(const QString& bank, const QString& account)
{
    return int(MTestDatabase::insert(QStringLiteral("__invoice_seller"),
                                     {{"id", 1}, {"firm", "Firma"}, {"firm_short", "F"}, {"nip", "5260250274"},
                                      {"city", "Gdańsk"}, {"id_province", 0}, {"id_country", 1}, {"bank", bank},
                                      {"bank_account", account}, {"permit_person_firstname", "Jan"},
                                      {"permit_person_secondname", "Nowak"}}));
}

int TestInvoiceDlgPreviews::buyerCopy(const QString& nip, const QString& pesel)
{
    return int(MTestDatabase::insert(QStringLiteral("__invoice_buyer"),
                                     {{"id", 3}, {"firm", "Klient"}, {"firm_short", "K"}, {"nip", nip},
                                      {"permit_person_pesel", pesel}, {"reduct", "2.5"}}));
}

void TestInvoiceDlgPreviews::sellerPreviewKeepsEmptyRows()
{
    MInvoiceDlg* dlg = editor();
    dlg->m_idSeller = sellerCopy(QStringLiteral("Bank A"), QStringLiteral("11 1111"));
    dlg->setSeller();
    const QStringList texts = rows(dlg->m_sellerTable);
    QStringList labels;
    for (const QString& text : texts)
        labels << text.section(QLatin1Char('='), 0, 0);
    QCOMPARE(labels, QStringList({"Nazwa firmy", "Skrót nazwy", "NIP", "Regon", "Bank", "Numer konta", "Adres",
                                  "Miejscowość", "Kod pocztowy", "Województwo", "Kraj", "Telefon", "Fax", "E-mail",
                                  "WWW", "Osoba"}));
    QCOMPARE(row(dlg->m_sellerTable, "Województwo"), QString());
    QVERIFY(!row(dlg->m_sellerTable, "Kraj").isEmpty());
    QCOMPARE(row(dlg->m_sellerTable, "Osoba"), QStringLiteral("Jan Nowak"));
    QCOMPARE(row(dlg->m_sellerTable, "Miejscowość"), QStringLiteral("Gdańsk"));
    QAbstractItemModelTester tester(dlg->m_sellerTable->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestInvoiceDlgPreviews::buyerIdentifierRule_data()
{
    QTest::addColumn<QString>("nip");
    QTest::addColumn<QString>("pesel");
    QTest::addColumn<QString>("first");  // "NIP / PESEL" of the first buyer
    QTest::addColumn<QString>("second"); // "NIP" of the second buyer
    QTest::newRow("NIP given") << "5260250274" << "44051401359" << "5260250274" << "5260250274";
    QTest::newRow("only PESEL") << "" << "44051401359" << "44051401359" << "";
}

void TestInvoiceDlgPreviews::buyerIdentifierRule()
{
    QFETCH(QString, nip);
    QFETCH(QString, pesel);
    QFETCH(QString, first);
    QFETCH(QString, second);
    MInvoiceDlg* dlg = editor();
    dlg->m_idBuyer = buyerCopy(nip, pesel);
    dlg->m_idBuyer2 = buyerCopy(nip, pesel);
    dlg->setBuyer();
    dlg->setBuyer2();
    QCOMPARE(row(dlg->m_buyerTable, "NIP / PESEL"), first);
    QCOMPARE(row(dlg->m_buyer2Table, "NIP"), second);
    QCOMPARE(row(dlg->m_buyerTable, "Nazwa firmy / Osoba"), QStringLiteral("Klient"));
    QCOMPARE(row(dlg->m_buyerTable, "Skrót nazwy"), QStringLiteral("K"));
    QCOMPARE(row(dlg->m_buyer2Table, "Strót nazwy"), QStringLiteral("K"));
    QCOMPARE(row(dlg->m_buyerTable, "Rabat"), QStringLiteral("2.5%"));
    QCOMPARE(rows(dlg->m_buyerTable).size(), 17);
    QCOMPARE(rows(dlg->m_buyer2Table).size(), 17);
    QCOMPARE(dlg->m_buyerReduct, 2.5);
}

void TestInvoiceDlgPreviews::missingCopyShowsNothing()
{
    MInvoiceDlg* dlg = editor();
    dlg->setSeller();
    dlg->setBuyer();
    dlg->setCurrencyRating();
    QVERIFY(rows(dlg->m_sellerTable).isEmpty());
    QVERIFY(rows(dlg->m_buyerTable).isEmpty());
    QCOMPARE(dlg->m_currencyRatingTable->model()->rowCount(), 0);
    QCOMPARE(dlg->m_buyerReduct, 0.0);
    QCOMPARE(comboTexts(dlg->m_sellerBank), QStringList({""}));
}

void TestInvoiceDlgPreviews::noticesRerunPreviews_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("second");
    QTest::newRow("seller") << 2 << "__invoice_seller" << false;
    QTest::newRow("buyer") << 3 << "__invoice_buyer" << false;
    QTest::newRow("second buyer") << 3 << "__invoice_buyer" << true;
    QTest::newRow("rating") << 10 << "__invoice_currency_rating" << false;
}

void TestInvoiceDlgPreviews::noticesRerunPreviews()
{
    QFETCH(int, kind);
    QFETCH(QString, table);
    QFETCH(bool, second);
    MInvoiceDlg* dlg = editor();
    dlg->m_idSeller = sellerCopy(QStringLiteral("-"), QStringLiteral("-"));
    dlg->m_idBuyer = buyerCopy(QStringLiteral("-"), QStringLiteral("-"));
    dlg->m_idBuyer2 = buyerCopy(QStringLiteral("-"), QStringLiteral("-"));
    dlg->m_idCurrencyRating = int(MTestDatabase::insert(QStringLiteral("__invoice_currency_rating"),
                                                        {{"id", 5}, {"bank_name", "NBP"}, {"rating_date", "2024-01-29"},
                                                         {"id_currency_from", 1}, {"currency_amount_from", 1},
                                                         {"currency_value", "4.25"}}));
    dlg->setSeller();
    dlg->setBuyer();
    dlg->setBuyer2();
    dlg->setCurrencyRating();

    const QMap<QString, QPair<QTableView*, int>> views {
        {"__invoice_seller", {dlg->m_sellerTable, dlg->m_idSeller}},
        {"__invoice_buyer", {second ? dlg->m_buyer2Table : dlg->m_buyerTable, second ? dlg->m_idBuyer2 : dlg->m_idBuyer}},
        {"__invoice_currency_rating", {dlg->m_currencyRatingTable, dlg->m_idCurrencyRating}}};
    QTableView* view = views.value(table).first;
    const int key = views.value(table).second;
    QTableView* other = second ? dlg->m_buyerTable : dlg->m_buyer2Table;
    const QStringList otherBefore = rows(other);
    QSqlQueryModel* model = qobject_cast<QSqlQueryModel*>(view->model());
    const QString column = table == QLatin1String("__invoice_currency_rating") ? "bank_name" : "firm";
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE %1 SET %2 = 'Zmieniony' WHERE __id = %3")
                                    .arg(table, column)
                                    .arg(key)));
    if (table == QLatin1String("__invoice_buyer"))
        QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE __invoice_buyer SET reduct = 9 WHERE __id = %1").arg(key)));

    dlg->doChangeDbObject(kind, key);
    QCOMPARE(view->model(), model); // the same model, re-run
    // Column 1 is the bank of the rating and the value of the name row of the others.
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Zmieniony"));
    if (table == QLatin1String("__invoice_buyer")) {
        QCOMPARE(rows(other), otherBefore);
        QCOMPARE(dlg->m_buyerReduct, second ? 2.5 : 9.0);
    }
}

void TestInvoiceDlgPreviews::ratingPreview()
{
    MInvoiceDlg* dlg = editor();
    dlg->m_idCurrencyRating = int(MTestDatabase::insert(QStringLiteral("__invoice_currency_rating"),
                                                        {{"id", 5}, {"bank_name", "NBP"},
                                                         {"rating_date", "2024-01-29 00:00:00"}, {"id_currency_from", 1},
                                                         {"id_currency_to", 0}, {"currency_amount_from", 100},
                                                         {"currency_value", "425.5"}, {"table_name", "A/1"}}));
    dlg->setCurrencyRating();
    QAbstractItemModel* model = dlg->m_currencyRatingTable->model();
    QCOMPARE(model->rowCount(), 1);
    QStringList headers;
    QStringList values;
    for (int column = 0; column < model->columnCount(); ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
        values << model->index(0, column).data(Qt::EditRole).toString();
    }
    QCOMPARE(headers, QStringList({"Data notowania", "Bank", "Waluta", "Kurs", "Tabela"}));
    QCOMPARE(values, QStringList({"2024-01-29", "NBP", "100 EUR", "425.5000 PLN", "A/1"}));
}

void TestInvoiceDlgPreviews::joinedList()
{
    const int advance = int(MTestDatabase::insert(QStringLiteral("invoice"),
                                                  {{"invoice_kind", 19}, {"invoice_index_string", "FZ/1/2024"},
                                                   {"global_brutto", "123"}, {"brutto_part", "100"}}));
    MInvoiceDlg* dlg = new MInvoiceDlg(m_window.get(), Qt::WindowFlags(), 23);
    dlg->setDocKind(23);
    dlg->setInvoiceJoin();
    QCOMPARE(dlg->m_invoiceList->model()->rowCount(), 0);

    const int join = int(MTestDatabase::insert(QStringLiteral("__invoice_join"), {{"id_invoice_join", advance}}));
    MTestDatabase::insert(QStringLiteral("__invoice_join"), {{"id_invoice_join", advance}}); // not this editor's
    dlg->m_invoiceJoinIds.insert(join, join);
    dlg->setInvoiceJoin();
    auto* model = qobject_cast<QSqlQueryModel*>(dlg->m_invoiceList->model());
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->record(0).value("idx_join").toInt(), join);
    QCOMPARE(model->record(0).value("idx").toInt(), advance);
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("FZ/1/2024"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Numer"));
    for (int column : {0, 1, 3, 4, 5, 6})
        QVERIFY(dlg->m_invoiceList->isColumnHidden(column));
    QVERIFY(!dlg->m_invoiceList->isColumnHidden(2));
}

void TestInvoiceDlgPreviews::bankListAndChoice_data()
{
    QTest::addColumn<QString>("copyBank");
    QTest::addColumn<QString>("copyAccount");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("choose");
    QTest::addColumn<QString>("after"); // the copy's "account | bank"
    QTest::newRow("copy's account selected, another chosen") << "Bank A" << "11 1111" << 1 << 2
                                                             << "22 2222 | Bank 'B'";
    QTest::newRow("unknown account, first one chosen") << "Inny" << "99" << 0 << 1 << "11 1111 | Bank A";
    QTest::newRow("empty entry changes nothing") << "Bank 'B'" << "22 2222" << 2 << 0 << "22 2222 | Bank 'B'";
}

void TestInvoiceDlgPreviews::bankListAndChoice()
{
    QFETCH(QString, copyBank);
    QFETCH(QString, copyAccount);
    QFETCH(int, selected);
    QFETCH(int, choose);
    QFETCH(QString, after);
    MInvoiceDlg* dlg = editor();
    dlg->m_idSeller = sellerCopy(copyBank, copyAccount);
    dlg->m_idSellerBase = m_seller;
    dlg->setSeller();
    QCOMPARE(comboTexts(dlg->m_sellerBank), QStringList({"", "11 1111 | Bank A", "22 2222 | Bank 'B'"}));
    QCOMPARE(dlg->m_sellerBank->currentIndex(), selected);

    dlg->m_sellerBank->setCurrentIndex(choose);
    const QString stored =
        MTestDatabase::value(QStringLiteral("SELECT bank_account || ' | ' || bank FROM __invoice_seller WHERE __id = %1")
                                 .arg(dlg->m_idSeller))
            .toString();
    QCOMPARE(stored, after);
    QCOMPARE(row(dlg->m_sellerTable, "Numer konta"), after.section(QStringLiteral(" | "), 0, 0));
}

void TestInvoiceDlgPreviews::fillingBanksWritesNothing()
{
    MInvoiceDlg* dlg = editor();
    dlg->m_idSeller = sellerCopy(QStringLiteral("Inny"), QStringLiteral("99"));
    dlg->m_idSellerBase = m_seller;
    dlg->setSeller();
    dlg->doChangeDbObject(2, dlg->m_idSeller);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT bank_account FROM __invoice_seller WHERE __id = %1")
                                      .arg(dlg->m_idSeller))
                 .toString(),
             QStringLiteral("99"));
}

INVOICE_TEST_MAIN(TestInvoiceDlgPreviews)
#include "tst_invoicedlgpreviews.moc"
