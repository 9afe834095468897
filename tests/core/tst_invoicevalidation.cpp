#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MInvoiceValidation.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The checks before a document is saved, on documents composed in the
// working tables beside stored documents of the same seller.
class TestInvoiceValidation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstProblem_data();
    void firstProblem();
    void lookUps_data();
    void lookUps();
    void paymentDate_data();
    void paymentDate();

private:
    QTemporaryDir m_dir;
};

namespace {

const QString noSeller = QStringLiteral("Aby zapisać dokument należy wybrać sprzedawcę.");
const QString noParty = QStringLiteral("Aby zapisać dokument należy wybrać kontrahenta.");
const QString noKind = QStringLiteral("Aby zapisać dokument należy wybrać rodzaj dokumentu.");
const QString payBefore = QStringLiteral("Termin płatności nie może być wcześniejszy niż data wystawienia.");
const QString taken = QStringLiteral("Wybrany numer dokumentu jest już zajęty w tym okresie numeracyjnym.");
const QString order = QStringLiteral("Dla wybranej pary numeru dokumentu i daty wystawienia nie można utworzyć "
                                     "dokumentu z zachowaniem prawidłowej kolejności.");
const QString lineCurrency =
    QStringLiteral("Waluta produktu/produktów nie jest zgodna z walutą wybraną dla dokumentu.");
const QString ratingCurrency = QStringLiteral("Notowanie kursu waluty wybrane jest dla innej waluty.");
const QString priceBase = QStringLiteral(
    "Podstawa cenowa produktu/produktów nie jest zgodna z podstawą cenową wybraną dla dokumentu.");
const QString reductKind = QStringLiteral("Rodzaj rabatu (procentowy lub kwotowy) produktu/produktów nie jest "
                                          "zgodny z rodzajem rabatu wybranym dla dokumentu.");
const QString overpaid = QStringLiteral("Kwota wpłaty częściowej jest większa niż kwota brutto dokumentu.");
const QString joinedKind = QStringLiteral(
    "Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe z tą samą walutą.");

// A refusal as shown: its own text, then what it is about.
QString refusal(const QString& text, const QString& detail)
{
    return text + QStringLiteral("\n\n") + detail;
}

int insert(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql))
        qWarning("%s", qPrintable(sql));
    return query.lastInsertId().toInt();
}

// A stored document of seller 1: kind, number, issue date, currency, advance paid.
int storedDocument(int kind, int number, const QString& datePut, int currency = 0, const QString& part = "0")
{
    return insert(QStringLiteral("INSERT INTO invoice (invoice_kind, invoice_index, id_seller_base, date_put, "
                                 "date_sell, date_pay, id_currency, brutto_part, time_create, time_modify) VALUES "
                                 "(%1, %2, 1, '%3 00:00:00', '%3 00:00:00', '%3 00:00:00', %4, '%5', '', '')")
                      .arg(kind)
                      .arg(number)
                      .arg(datePut)
                      .arg(currency)
                      .arg(part));
}

int sellerCopy(int period)
{
    return insert(QStringLiteral("INSERT INTO __invoice_seller (id, firm, id_invoice_index_format, time_create, "
                                 "time_modify) VALUES (1, 'Firma', %1, '', '')")
                      .arg(period));
}

// A line of a product copy in `currency`, net based or not, with a discount of the kind given.
int lineCopy(int currency, bool fromNetto, const QString& reduct, bool percent)
{
    const int product = insert(QStringLiteral("INSERT INTO __invoice_product (id, name, netto_price, brutto_price, "
                                              "vat, id_currency, count_from_netto, time_create, time_modify) VALUES "
                                              "(7, 'Towar', 10, 12.3, 23, %1, %2, '', '')")
                                   .arg(currency)
                                   .arg(fromNetto ? 1 : 0));
    return insert(QStringLiteral("INSERT INTO __invoice_product_misc (id, id_product, amount, reduct, reduct_percent) "
                                 "VALUES (0, %1, 1, '%2', %3)")
                      .arg(product)
                      .arg(reduct)
                      .arg(percent ? 1 : 0));
}

int joinCopy(int idInvoice)
{
    return insert(QStringLiteral("INSERT INTO __invoice_join (id, id_invoice, id_invoice_join) VALUES (0, 0, %1)")
                      .arg(idInvoice));
}

int ratingCopy(int currencyFrom)
{
    return insert(QStringLiteral("INSERT INTO __invoice_currency_rating (id, bank_name, id_currency_from, "
                                 "rating_date, currency_amount_from, currency_value, time_create, time_modify) "
                                 "VALUES (5, 'NBP', %1, '2024-03-08', 1, 4.3, '', '')")
                      .arg(currencyFrom));
}

} // namespace

void TestInvoiceValidation::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestInvoiceValidation::cleanup()
{
    MTestDatabase::close();
}

void TestInvoiceValidation::firstProblem_data()
{
    // Each case starts from a valid new VAT invoice no. 7 of 10 March 2024,
    // due 20 March, in PLN, net based with percent discounts, gross 100.00,
    // numbered monthly; the steps change it.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message");

    QTest::newRow("valid") << QStringList() << QString();
    QTest::newRow("no seller") << QStringList{"noSeller"} << noSeller;
    QTest::newRow("RR without party") << QStringList{"noSeller", "kind 11"} << noParty;
    QTest::newRow("no kind") << QStringList{"kind -1"} << noKind;
    QTest::newRow("paid before issue") << QStringList{"payBefore"} << payBefore;
    QTest::newRow("correction paid before issue") << QStringList{"payBefore", "correction"} << QString();
    QTest::newRow("two failures show the first") << QStringList{"noSeller", "payBefore"} << noSeller;

    QTest::newRow("number taken by kind 0, for kind 3") << QStringList{"stored 0 5 2024-03-02", "number 5", "kind 3"}
                                                       << taken;
    QTest::newRow("number taken by kind 0, for kind 0")
        << QStringList{"stored 0 5 2024-03-31", "number 5"} << taken;
    QTest::newRow("number of kind 0 free for kind 1")
        << QStringList{"stored 0 5 2024-03-02", "number 5", "kind 1"} << QString();
    QTest::newRow("number of kind 0 free for kind 9")
        << QStringList{"stored 0 5 2024-03-02", "number 5", "kind 9"} << QString();
    QTest::newRow("number free in the previous month")
        << QStringList{"stored 0 5 2024-02-29", "number 5", "kind 3"} << QString();
    QTest::newRow("number of the document itself") << QStringList{"stored 0 5 2024-03-02", "number 5", "self"}
                                                   << QString();
    QTest::newRow("yearly: lower number dated later")
        << QStringList{"period 2", "stored 0 2 2024-03-11", "number 3"} << order;
    QTest::newRow("yearly: higher number dated earlier")
        << QStringList{"period 2", "stored 0 4 2024-03-01", "number 3"} << QString();
    QTest::newRow("yearly: lower number of last year")
        << QStringList{"period 2", "stored 0 2 2023-12-11", "number 3"} << QString();
    QTest::newRow("monthly: lower number later in the month")
        << QStringList{"stored 0 2 2024-03-25", "number 3"} << order;
    QTest::newRow("no period skips the number")
        << QStringList{"period 0", "stored 0 5 2024-03-02", "number 5"} << QString();

    QTest::newRow("line in another currency")
        << QStringList{"line 1 net 0 percent"}
        << refusal(lineCurrency, "Pozycja 1 „Towar” jest w walucie EUR. Zmień walutę tej pozycji albo dokumentu.");
    QTest::newRow("rating for another currency")
        << QStringList{"currency 1", "line 1 net 0 percent", "rating 2"} << ratingCurrency;
    QTest::newRow("rating of the currency") << QStringList{"currency 1", "line 1 net 0 percent", "rating 1"}
                                            << QString();
    QTest::newRow("PLN skips the rating") << QStringList{"rating 2"} << QString();
    QTest::newRow("line of the other price base")
        << QStringList{"line 0 gross 0 percent"}
        << refusal(priceBase, "Pozycja 1 „Towar” ma podstawę cenową brutto. Zmień podstawę cenową tej pozycji albo "
                              "dokumentu.");
    QTest::newRow("second line of the other price base")
        << QStringList{"gross", "line 0 gross 0 percent", "line 0 net 0 percent"}
        << refusal(priceBase, "Pozycja 2 „Towar” ma podstawę cenową netto. Zmień podstawę cenową tej pozycji albo "
                              "dokumentu.");
    QTest::newRow("gross document, gross line") << QStringList{"gross", "line 0 gross 0 percent"} << QString();
    QTest::newRow("discount of the other kind")
        << QStringList{"line 0 net 0 amount", "line 0 net 5 amount"}
        << refusal(reductKind, "Pozycja 2 „Towar” ma rabat kwotowy. Zmień rodzaj rabatu tej pozycji albo dokumentu.");
    QTest::newRow("no discount, other kind") << QStringList{"line 0 net 0 amount"} << QString();
    QTest::newRow("amount discount document") << QStringList{"amountDiscount", "line 0 net 5 amount"} << QString();

    QTest::newRow("payment equal to gross") << QStringList{"paid 100,00"} << QString();
    QTest::newRow("payment a cent above gross") << QStringList{"paid 100,01"} << overpaid;
    QTest::newRow("payment with a point") << QStringList{"paid 100.01"} << overpaid;
    QTest::newRow("correction within its difference") << QStringList{"correction", "parent 60", "paid 40"}
                                                       << QString();
    QTest::newRow("correction above its difference") << QStringList{"correction", "parent 60", "paid 40,01"}
                                                     << overpaid;
    QTest::newRow("correction without difference") << QStringList{"correction", "parent 100", "paid 0,01"}
                                                   << overpaid;
    QTest::newRow("correction below the parent") << QStringList{"correction", "parent 150", "paid 0,01"}
                                                 << overpaid;
    QTest::newRow("advances above gross") << QStringList{"advances 60", "paid 40,01"} << overpaid;

    QTest::newRow("joined advance") << QStringList{"kind 23", "join 19 0"} << QString();
    QTest::newRow("joined advance correction") << QStringList{"kind 23", "join 20 0"} << QString();
    const QString joinedDetail =
        QStringLiteral("Dokument „id 1” nie jest fakturą zaliczkową w walucie tego dokumentu. Usuń go z załączonych "
                       "dokumentów.");
    QTest::newRow("joined final invoice") << QStringList{"kind 23", "join 23 0"} << refusal(joinedKind, joinedDetail);
    QTest::newRow("joined EUR advance on PLN") << QStringList{"kind 23", "join 19 1"}
                                               << refusal(joinedKind, joinedDetail);
}

void TestInvoiceValidation::firstProblem()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, message);

    MDocumentSaveState state;
    state.kind = 0;
    state.number = 7;
    state.idSellerBase = 1;
    state.datePut = QDate(2024, 3, 10);
    state.dateSell = state.datePut;
    state.datePay = QDate(2024, 3, 20);
    int period = 1;
    MInvoiceValidation::Figures figures;
    figures.grossTotal = 100.0;
    bool seller = true;
    int stored = 0;

    for (const QString& step : steps) {
        const QStringList w = step.split(QLatin1Char(' '));
        const QString& what = w.at(0);
        if (what == QLatin1String("noSeller"))
            seller = false;
        else if (what == QLatin1String("kind"))
            state.kind = w.at(1).toInt();
        else if (what == QLatin1String("payBefore"))
            state.datePay = QDate(2024, 3, 9);
        else if (what == QLatin1String("correction"))
            state.correction = true;
        else if (what == QLatin1String("stored"))
            stored = storedDocument(w.at(1).toInt(), w.at(2).toInt(), w.at(3));
        else if (what == QLatin1String("number"))
            state.number = w.at(1).toInt();
        else if (what == QLatin1String("self"))
            state.idInvoice = stored;
        else if (what == QLatin1String("period"))
            period = w.at(1).toInt();
        else if (what == QLatin1String("line"))
            state.lines << lineCopy(w.at(1).toInt(), w.at(2) == QLatin1String("net"), w.at(3),
                                    w.at(4) == QLatin1String("percent"));
        else if (what == QLatin1String("currency"))
            state.idCurrency = w.at(1).toInt();
        else if (what == QLatin1String("rating"))
            state.ratingKey = ratingCopy(w.at(1).toInt());
        else if (what == QLatin1String("gross"))
            state.grossBase = true;
        else if (what == QLatin1String("amountDiscount"))
            state.amountDiscount = true;
        else if (what == QLatin1String("paid"))
            state.bruttoPart = w.at(1);
        else if (what == QLatin1String("parent"))
            figures.parentGrossTotal = w.at(1).toDouble();
        else if (what == QLatin1String("advances"))
            figures.advances = w.at(1).toDouble();
        else if (what == QLatin1String("join"))
            state.joins << joinCopy(storedDocument(w.at(1).toInt(), 1, QStringLiteral("2024-01-05"),
                                                   w.at(2).toInt(), QStringLiteral("10")));
        else
            QFAIL(qPrintable(step));
    }
    if (seller) {
        state.sellerKey = sellerCopy(period);
        figures.numberingPeriod = MInvoiceValidation::numberingPeriod(state.sellerKey);
        QCOMPARE(figures.numberingPeriod, period);
    }

    QCOMPARE(MInvoiceValidation::firstProblem(state, figures), message);
}

void TestInvoiceValidation::lookUps_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");

    QTest::newRow("kind by name") << "kind" << "Faktura VAT-MP" << 3;
    QTest::newRow("kind named like its duplicate") << "kind" << "Rachunek" << 9;
    QTest::newRow("unknown kind keeps the current") << "kind" << "Faktura" << 27;
    QTest::newRow("empty kind keeps the current") << "kind" << "" << 27;
    QTest::newRow("kind name with a quote") << "kind" << "Faktura VAT' OR ''='" << 27;
    QTest::newRow("currency by symbol") << "currency" << "EUR" << 1;
    QTest::newRow("PLN") << "currency" << "PLN" << 0;
    QTest::newRow("unknown currency keeps the current") << "currency" << "XXX" << 27;
    QTest::newRow("currency symbol with a quote") << "currency" << "EUR' OR '1'='1" << 27;
}

void TestInvoiceValidation::lookUps()
{
    QFETCH(QString, what);
    QFETCH(QString, text);
    QFETCH(int, result);

    if (what == QLatin1String("kind"))
        QCOMPARE(MInvoiceValidation::kindByName(text, 27), result);
    else
        QCOMPARE(MInvoiceValidation::currencyBySymbol(text, 27), result);
}

void TestInvoiceValidation::paymentDate_data()
{
    QTest::addColumn<QString>("payForm");
    QTest::addColumn<bool>("termInDays");
    QTest::addColumn<QDate>("date");

    const QDate chosen(2024, 3, 1);
    const QDate inTerm(2024, 3, 24);
    QTest::newRow("transfer, in days") << "przelew" << true << inTerm;
    QTest::newRow("transfer, chosen date") << "przelew" << false << chosen;
    QTest::newRow("barter ignores the term") << "barter" << true << chosen;
    QTest::newRow("compensation ignores the term") << "kompensata" << true << chosen;
    QTest::newRow("no form") << "" << true << inTerm;
    QTest::newRow("form name with a quote") << "przelew' OR ''='" << true << inTerm;
}

void TestInvoiceValidation::paymentDate()
{
    QFETCH(QString, payForm);
    QFETCH(bool, termInDays);
    QFETCH(QDate, date);

    MDocumentSaveState state;
    state.datePut = QDate(2024, 3, 10);
    state.datePay = QDate(2024, 3, 1);
    state.payForm = payForm;
    state.termInDays = termInDays;
    state.termDays = 14;
    QCOMPARE(MInvoiceValidation::paymentDate(state), date);
    // A term that ends before the issue date cannot happen, a chosen date can.
    state.correction = false;
    state.sellerKey = sellerCopy(0);
    const QString problem = MInvoiceValidation::firstProblem(state, MInvoiceValidation::Figures());
    QCOMPARE(problem, date < state.datePut ? payBefore : QString());
}

INVOICE_TEST_MAIN(TestInvoiceValidation)
#include "tst_invoicevalidation.moc"
