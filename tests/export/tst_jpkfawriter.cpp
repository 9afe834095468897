#include "MJpkTestFile.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MJpkFaWriter.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

// JPK_FA(1) files of documents made in a database of the schema script: every
// written file is checked against the official schema and read back.
class TestJpkFaWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void recordsCarryTheFieldsOfTheirMeaning_data();
    void recordsCarryTheFieldsOfTheirMeaning();
    void partiesOfARecord_data();
    void partiesOfARecord();
    void controlSumsAddUpFromTheFile();
    void rowsOfALine_data();
    void rowsOfALine();
    void fileWithoutRecordsOrRowsIsNotWritten_data();
    void fileWithoutRecordsOrRowsIsNotWritten();
    void currencyGoesIntoTheFileName_data();
    void currencyGoesIntoTheFileName();

private:
    QString write(const QList<int>& ids, MJpkFaWriter::Result* result = nullptr, int idCurrency = 0,
                  const QString& symbol = QStringLiteral("PLN"));

    std::unique_ptr<MTestDatabase> m_db;
    int m_idSeller = 0;
    int m_file = 0;
};

namespace {

const QMap<QString, int> rateIds{{QStringLiteral("0%"), 1},   {QStringLiteral("4%"), 5},    {QStringLiteral("5%"), 6},
                                 {QStringLiteral("8%"), 9},   {QStringLiteral("23%"), 24},  {QStringLiteral("zw."), 102},
                                 {QStringLiteral("nd."), 103}, {QStringLiteral("np."), 104}, {QStringLiteral("o.o."), 105}};

struct Doc
{
    int kind = 0;
    QString groups;          // "23%:100:23|8%:50:4"
    double gross = 0.0;
    int idParent = 0;
    int idCurrency = 0;
    int idBuyer = -1;        // -1: a buyer of its own
    int idSeller = -1;       // -1: a seller snapshot of its own
    QString endText;
    double grossPart = 0.0;
    double vatPart = 0.0;
    bool withLine = true;
};

int addBuyer(const QString& nip)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{QStringLiteral("firm"), QStringLiteral("Nabywca")},
                                                                        {QStringLiteral("nip"), nip},
                                                                        {QStringLiteral("city"), QStringLiteral("Kraków")},
                                                                        {QStringLiteral("zipcode"), QStringLiteral("30-001")},
                                                                        {QStringLiteral("address"), QStringLiteral("Długa 5")}}));
}

int addSellerCopy()
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_seller"), {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                                                         {QStringLiteral("nip"), QStringLiteral("525-000-12-56")},
                                                                         {QStringLiteral("city"), QStringLiteral("Warszawa")},
                                                                         {QStringLiteral("zipcode"), QStringLiteral("00-850")},
                                                                         {QStringLiteral("address"), QStringLiteral("Prosta 12")}}));
}

int addLine(int idInvoice, int idProduct, double amount, double net, double gross)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_product_misc"), {{QStringLiteral("id_invoice"), idInvoice},
                                                                               {QStringLiteral("id_product"), idProduct},
                                                                               {QStringLiteral("amount"), amount},
                                                                               {QStringLiteral("netto_price"), net},
                                                                               {QStringLiteral("brutto_price"), gross}}));
}

int addProduct(const QString& name, const QString& unit, const QString& rate, double net, double gross)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_product"), {{QStringLiteral("name"), name},
                                                                          {QStringLiteral("unit"), unit},
                                                                          {QStringLiteral("vat_text"), rate},
                                                                          {QStringLiteral("netto_price"), net},
                                                                          {QStringLiteral("brutto_price"), gross}}));
}

QString number(int id)
{
    return QStringLiteral("FV/%1/2024").arg(id);
}

int addDoc(const Doc& doc)
{
    int idEndText = 0;
    if (!doc.endText.isEmpty())
        idEndText = int(MTestDatabase::insert(QStringLiteral("invoice_end_text"), {{QStringLiteral("content"), doc.endText}}));
    const int id = int(MTestDatabase::insert(
        QStringLiteral("invoice"),
        {{QStringLiteral("invoice_kind"), doc.kind},
         {QStringLiteral("id_parent_invoice"), doc.idParent},
         {QStringLiteral("id_currency"), doc.idCurrency},
         {QStringLiteral("id_buyer"), doc.idBuyer >= 0 ? doc.idBuyer : addBuyer(QStringLiteral("PL 526-000-12-46"))},
         {QStringLiteral("id_seller"), doc.idSeller >= 0 ? doc.idSeller : addSellerCopy()},
         {QStringLiteral("id_end_text2"), idEndText},
         {QStringLiteral("global_brutto"), doc.gross},
         {QStringLiteral("global_brutto_part"), doc.grossPart},
         {QStringLiteral("global_vat_part"), doc.vatPart},
         {QStringLiteral("date_put"), QStringLiteral("2024-03-10 00:00:00")},
         {QStringLiteral("date_sell"), QStringLiteral("2024-03-08")}}));
    MTestDatabase::exec(QStringLiteral("UPDATE invoice SET invoice_index_string = '%1' WHERE id = %2").arg(number(id)).arg(id));
    for (const QString& group : doc.groups.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QStringList parts = group.split(QLatin1Char(':'));
        MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                              {{QStringLiteral("id_invoice"), id},
                               {QStringLiteral("id_vat"), rateIds.value(parts[0], 999)},
                               {QStringLiteral("netto_price"), parts[1].toDouble()},
                               {QStringLiteral("vat_price"), parts[2].toDouble()},
                               {QStringLiteral("brutto_price"), parts[1].toDouble() + parts[2].toDouble()}});
    }
    if (doc.withLine)
        addLine(id, addProduct(QStringLiteral("Usługa"), QStringLiteral("szt."), QStringLiteral("23%"), 10, 12.3), 1, 10,
                12.3);
    return id;
}

// The parts of a record line after the parties and dates (from P_13 on).
QString amountsAndKind(const QString& line)
{
    QStringList parts = line.split(QLatin1Char(';'));
    while (!parts.isEmpty() && !parts.first().startsWith(QLatin1String("P_13")) && !parts.first().startsWith(QLatin1String("P_14"))
           && !parts.first().startsWith(QLatin1String("P_15")))
        parts.removeFirst();
    return parts.join(QLatin1Char(';'));
}

QString flags(bool cash, bool reverse, const QString& margin = QStringLiteral("P_106E_2=false;P_106E_3=false"))
{
    return QStringLiteral("P_16=%1;P_17=false;P_18=%2;P_19=false;P_20=false;P_21=false;P_23=false;%3")
        .arg(cash ? QStringLiteral("true") : QStringLiteral("false"),
             reverse ? QStringLiteral("true") : QStringLiteral("false"), margin);
}

} // namespace

void TestJpkFaWriter::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestJpkFaWriter::init()
{
    for (const char* table : {"seller", "invoice", "invoice_buyer", "invoice_seller", "invoice_summary_vat",
                              "invoice_product", "invoice_product_misc", "invoice_end_text", "invoice_correct_misc"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    m_idSeller = int(MTestDatabase::insert(
        QStringLiteral("seller"), {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                   {QStringLiteral("nip"), QStringLiteral("525-000-12-56")},
                                   {QStringLiteral("regon"), QStringLiteral("123456785")},
                                   {QStringLiteral("id_province"), 7},
                                   {QStringLiteral("province2"), QStringLiteral("warszawski")},
                                   {QStringLiteral("province3"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("street"), QStringLiteral("Prosta")},
                                   {QStringLiteral("address_number1"), QStringLiteral("12")},
                                   {QStringLiteral("city"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("zipcode"), QStringLiteral("00-850")},
                                   {QStringLiteral("city_post"), QStringLiteral("Warszawa")}}));
}

QString TestJpkFaWriter::write(const QList<int>& ids, MJpkFaWriter::Result* result, int idCurrency,
                               const QString& symbol)
{
    const QString file = m_db->path(QStringLiteral("jpk_fa_%1.xml").arg(++m_file));
    MJpkFaRequest request;
    request.ids = ids;
    request.idCurrency = idCurrency;
    request.currencySymbol = symbol;
    request.dateFrom = QDate(2024, 3, 1);
    request.dateTo = QDate(2024, 3, 31);
    request.officeCode = QStringLiteral("1403");
    request.idSeller = m_idSeller;
    const MJpkFaWriter::Result written = MJpkFaWriter::write(file, request);
    if (result)
        *result = written;
    if (written.outcome == MJpkFaWriter::Outcome::Written) {
        const QString errors = MJpkTestFile::schemaErrors(file, QStringLiteral("Schemat_JPK_FA(1)_v1-0.xsd"));
        if (!errors.isEmpty())
            qWarning("%s", qPrintable(errors));
        QTest::qVerify(errors.isEmpty(), "schemaErrors", "file refused by the schema", __FILE__, __LINE__);
    }
    return file;
}

void TestJpkFaWriter::recordsCarryTheFieldsOfTheirMeaning_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<double>("gross");
    QTest::addColumn<int>("parentKind"); // -1: no parent
    QTest::addColumn<QString>("parentGroups");
    QTest::addColumn<double>("parentGross");
    QTest::addColumn<QString>("reason");  // "-": no reason row
    QTest::addColumn<QString>("endText");
    QTest::addColumn<QString>("expected"); // {parent} stands for the parent's number

    const QString korekta = QStringLiteral("RodzajFaktury=KOREKTA;PrzyczynaKorekty=%1;NrFaKorygowanej={parent};"
                                           "OkresFaKorygowanej=-");
    QTest::newRow("korekta 80/18.40 z 100/23")
        << 2 << "23%:80:18.4" << 98.4 << 0 << "23%:100:23" << 123.0 << "Zmiana ceny" << ""
        << "P_13_1=-20.00;P_14_1=-4.60;P_15=-24.60;" + flags(false, false) + ";" + korekta.arg("Zmiana ceny");
    QTest::newRow("korekta bez przyczyny")
        << 2 << "23%:100:23" << 123.0 << 0 << "23%:100:23" << 123.0 << "-" << ""
        << "P_13_1=0.00;P_14_1=0.00;P_15=0.00;" + flags(false, false) + ";" + korekta.arg("brak");
    QTest::newRow("korekta bez dokumentu korygowanego")
        << 2 << "23%:100:23" << 123.0 << -1 << "" << 0.0 << "Rabat" << ""
        << "P_13_1=100.00;P_14_1=23.00;P_15=123.00;" + flags(false, false) + ";RodzajFaktury=KOREKTA";
    QTest::newRow("zaliczkowa")
        << 19 << "23%:100:23" << 123.0 << -1 << "" << 0.0 << "-" << ""
        << "P_13_1=100.00;P_14_1=23.00;P_15=123.00;" + flags(false, false)
               + ";RodzajFaktury=ZAL;ZALZaplata=61.50;ZALPodatek=11.50";
    QTest::newRow("korekta zaliczkowej")
        << 20 << "23%:50:11.5" << 61.5 << 19 << "23%:100:23" << 123.0 << "Zwrot" << ""
        << "P_13_1=-50.00;P_14_1=-11.50;P_15=-61.50;" + flags(false, false) + ";" + korekta.arg("Zwrot");
    QTest::newRow("VAT MP") << 3 << "8%:100:8" << 108.0 << -1 << "" << 0.0 << "-" << ""
                            << "P_13_2=100.00;P_14_2=8.00;P_15=108.00;" + flags(true, false) + ";RodzajFaktury=POZ";
    QTest::newRow("odwrotne obciążenie") << 15 << "o.o.:100:0" << 100.0 << -1 << "" << 0.0 << "-" << ""
                                         << "P_15=100.00;" + flags(false, true) + ";RodzajFaktury=POZ";
    QTest::newRow("końcowa") << 23 << "5%:100:5" << 105.0 << -1 << "" << 0.0 << "-" << ""
                             << "P_13_3=100.00;P_14_3=5.00;P_15=105.00;" + flags(false, false) + ";RodzajFaktury=POZ";
    QTest::newRow("marża bez tekstu procedury")
        << 27 << "23%:100:23" << 123.0 << -1 << "" << 0.0 << "-" << "Dziękujemy."
        << "P_13_1=100.00;P_14_1=23.00;P_15=123.00;" + flags(false, false) + ";RodzajFaktury=POZ";
    QTest::newRow("marża - dzieła sztuki")
        << 27 << "23%:100:23|zw.:40:0" << 163.0 << -1 << "" << 0.0 << "-" << "Procedura marży - dzieła sztuki."
        << "P_13_7=40.00;P_15=163.00;"
               + flags(false, false, "P_106E_2=false;P_106E_3=true;P_106E_3A=procedura marży - dzieła sztuki")
               + ";RodzajFaktury=POZ";
    QTest::newRow("marża biura podróży")
        << 27 << "0%:30:0" << 30.0 << -1 << "" << 0.0 << "-" << "Uwaga:\nPROCEDURA MARŻY DLA BIUR PODRÓŻY"
        << "P_13_6=30.00;P_15=30.00;" + flags(false, false, "P_106E_2=true;P_106E_3=false") + ";RodzajFaktury=POZ";
    QTest::newRow("0% i np.") << 0 << "0%:50:0|np.:30:0" << 80.0 << -1 << "" << 0.0 << "-" << ""
                              << "P_13_6=50.00;P_15=80.00;" + flags(false, false) + ";RodzajFaktury=VAT";
    QTest::newRow("zw.") << 0 << "zw.:70:0" << 70.0 << -1 << "" << 0.0 << "-" << ""
                         << "P_13_7=70.00;P_15=70.00;" + flags(false, false) + ";RodzajFaktury=VAT";
    QTest::newRow("nd. i o.o.") << 0 << "nd.:10:0|o.o.:20:0" << 30.0 << -1 << "" << 0.0 << "-" << ""
                                << "P_15=30.00;" + flags(false, false) + ";RodzajFaktury=VAT";
    QTest::newRow("tylko 4%") << 0 << "4%:100:4" << 104.0 << -1 << "" << 0.0 << "-" << ""
                              << "P_15=104.00;" + flags(false, false) + ";RodzajFaktury=VAT";
}

void TestJpkFaWriter::recordsCarryTheFieldsOfTheirMeaning()
{
    QFETCH(int, kind);
    QFETCH(QString, groups);
    QFETCH(double, gross);
    QFETCH(int, parentKind);
    QFETCH(QString, parentGroups);
    QFETCH(double, parentGross);
    QFETCH(QString, reason);
    QFETCH(QString, endText);
    QFETCH(QString, expected);

    Doc doc;
    doc.kind = kind;
    doc.groups = groups;
    doc.gross = gross;
    doc.endText = endText;
    if (kind == 19) {
        doc.grossPart = 61.5;
        doc.vatPart = 11.5;
    }
    if (parentKind >= 0) {
        Doc parent;
        parent.kind = parentKind;
        parent.groups = parentGroups;
        parent.gross = parentGross;
        doc.idParent = addDoc(parent);
    }
    const int id = addDoc(doc);
    if (reason != QLatin1String("-"))
        MTestDatabase::insert(QStringLiteral("invoice_correct_misc"),
                              {{QStringLiteral("id_invoice"), id}, {QStringLiteral("correct_reason"), reason}});

    const QStringList records = MJpkTestFile::elements(write({id}), QStringLiteral("Faktura"));
    QCOMPARE(records.size(), 1);
    QCOMPARE(amountsAndKind(records[0]), QString(expected).replace(QStringLiteral("{parent}"), number(doc.idParent)));
}

void TestJpkFaWriter::partiesOfARecord_data()
{
    QTest::addColumn<int>("buyer");  // 0 none, 1 with NIP, 2 without NIP
    QTest::addColumn<int>("seller"); // 0 none, 1 a snapshot, 2 a snapshot id without its row
    QTest::addColumn<QString>("expected");

    QTest::newRow("nabywca i sprzedawca")
        << 1 << 1
        << "P_1=2024-03-10;P_2A={number};P_3A=Nabywca;P_3B=Kraków 30-001, Długa 5;P_3C=Sprzedawca S.A.;"
           "P_3D=Warszawa 00-850,Prosta 12;P_4A=PL;P_4B=5250001256;P_5A=PL;P_5B=5260001246;P_6=2024-03-08";
    QTest::newRow("nabywca bez NIP")
        << 2 << 1
        << "P_1=2024-03-10;P_2A={number};P_3A=Nabywca;P_3B=Kraków 30-001, Długa 5;P_3C=Sprzedawca S.A.;"
           "P_3D=Warszawa 00-850,Prosta 12;P_4A=PL;P_4B=5250001256;P_5A=PL;P_6=2024-03-08";
    QTest::newRow("bez nabywcy i bez kopii sprzedawcy")
        << 0 << 2 << "P_1=2024-03-10;P_2A={number};P_3C=brak;P_3D=brak;P_4A=PL;P_6=2024-03-08";
    QTest::newRow("bez sprzedawcy") << 0 << 0 << "P_1=2024-03-10;P_2A={number};P_3C=brak;P_3D=brak;P_6=2024-03-08";
}

void TestJpkFaWriter::partiesOfARecord()
{
    QFETCH(int, buyer);
    QFETCH(int, seller);
    QFETCH(QString, expected);

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    doc.gross = 123;
    doc.idBuyer = buyer == 0 ? 0 : addBuyer(buyer == 1 ? QStringLiteral("526-000-12-46") : QStringLiteral(""));
    doc.idSeller = seller == 0 ? 0 : seller == 2 ? 777 : addSellerCopy();
    const int id = addDoc(doc);
    const QStringList records = MJpkTestFile::elements(write({id}), QStringLiteral("Faktura"));
    QCOMPARE(records.size(), 1);
    const QString parties = records[0].left(records[0].indexOf(QLatin1String(";P_13_1")));
    QCOMPARE(parties, QStringLiteral("@typ=G;") + QString(expected).replace(QStringLiteral("{number}"), number(id)));
}

void TestJpkFaWriter::controlSumsAddUpFromTheFile()
{
    Doc doc;
    doc.groups = QStringLiteral("23%:0.05:0.01");
    doc.gross = 0.0625;
    const int first = addDoc(doc);
    const int second = addDoc(doc);
    addLine(second, addProduct(QStringLiteral("Druga"), QStringLiteral(""), QStringLiteral("23%"), 2.5, 3.08), 1.5, 3.75, 4.61);
    doc.kind = 1; // a pro-forma with its own line: no record, no rows
    const int proforma = addDoc(doc);

    const QString file = write({proforma, second, first});
    const QStringList records = MJpkTestFile::elements(file, QStringLiteral("Faktura"));
    const QStringList rows = MJpkTestFile::elements(file, QStringLiteral("FakturaWiersz"));
    QCOMPARE(records.size(), 2);
    QCOMPARE(rows.size(), 3);
    double netRows = 0.0;
    for (const QString& row : rows) {
        QVERIFY(MJpkTestFile::part(row, QStringLiteral("P_2B")) != number(proforma));
        netRows += MJpkTestFile::part(row, QStringLiteral("P_11")).toDouble();
    }
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("FakturaCtrl")),
             QStringList{"LiczbaFaktur=2;WartoscFaktur=0.13"});
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("FakturaWierszCtrl")),
             QStringList{QStringLiteral("LiczbaWierszyFaktur=3;WartoscWierszyFaktur=%1").arg(netRows, 0, 'f', 2)});
    QCOMPARE(netRows, 23.75);
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("StawkiPodatku")),
             QStringList{"Stawka1=0.23;Stawka2=0.08;Stawka3=0.05;Stawka4=0.00;Stawka5=0.00"});
}

void TestJpkFaWriter::rowsOfALine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("rate"); // "-": no product snapshot
    QTest::addColumn<QString>("expected");

    QTest::newRow("pełna pozycja") << "Projekt" << "godz." << "23%"
                                   << "P_7=Projekt;P_8A=godz.;P_8B=1.500000;P_9A=10.00;P_9B=12.30;P_11=-12.30;"
                                      "P_11A=-15.13;P_12=23";
    QTest::newRow("zwolniona") << "Szkolenie" << "" << "zw." << "P_7=Szkolenie;P_8A=-;P_8B=1.500000;P_9A=10.00;"
                                                                "P_9B=12.30;P_11=-12.30;P_11A=-15.13;P_12=zw";
    QTest::newRow("np.") << "Usługa" << "szt" << "np." << "P_7=Usługa;P_8A=szt;P_8B=1.500000;P_9A=10.00;"
                                                          "P_9B=12.30;P_11=-12.30;P_11A=-15.13";
    QTest::newRow("stawka spoza listy") << "Usługa" << "szt" << "4%" << "P_7=Usługa;P_8A=szt;P_8B=1.500000;"
                                                                         "P_9A=10.00;P_9B=12.30;P_11=-12.30;P_11A=-15.13";
    QTest::newRow("znaki sterujące w nazwie i jednostce")
        << QString::fromUtf8("Pro\x01jekt\x1B") << QString::fromUtf8("go\x08" "dz.") << "23%"
        << "P_7=Projekt;P_8A=godz.;P_8B=1.500000;P_9A=10.00;P_9B=12.30;P_11=-12.30;P_11A=-15.13;P_12=23";
    QTest::newRow("emoji przecięte granicą 256 znaków")
        << QString(QString(255, QLatin1Char('n')) + QString::fromUtf8("\xF0\x9F\x98\x80") + "x") << "szt" << "23%"
        << QString(QStringLiteral("P_7=") + QString(255, QLatin1Char('n')) + QString::fromUtf8("\xF0\x9F\x98\x80")
                   + ";P_8A=szt;P_8B=1.500000;P_9A=10.00;P_9B=12.30;P_11=-12.30;P_11A=-15.13;P_12=23");
    QTest::newRow("bez produktu") << "" << "" << "-" << "P_8A=-;P_8B=1.500000;P_9A=0.00;P_9B=0.00;P_11=-12.30;"
                                                       "P_11A=-15.13";
}

void TestJpkFaWriter::rowsOfALine()
{
    QFETCH(QString, name);
    QFETCH(QString, unit);
    QFETCH(QString, rate);
    QFETCH(QString, expected);

    Doc doc;
    doc.groups = QStringLiteral("23%:-12.3:-2.83");
    doc.gross = -15.13;
    doc.withLine = false;
    const int id = addDoc(doc);
    const int idProduct = rate == QLatin1String("-") ? 999 : addProduct(name, unit, rate, 10, 12.3);
    addLine(id, idProduct, 1.5, -12.3, -15.13);
    const QStringList rows = MJpkTestFile::elements(write({id}), QStringLiteral("FakturaWiersz"));
    QCOMPARE(rows, QStringList{QStringLiteral("@typ=G;P_2B=%1;").arg(number(id)) + expected});
}

void TestJpkFaWriter::fileWithoutRecordsOrRowsIsNotWritten_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("withLine");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("reason");

    QTest::newRow("tylko proforma") << 1 << true << "PLN" << "nie wchodzi do JPK_FA";
    QTest::newRow("faktura bez pozycji") << 0 << false << "PLN" << "nie mają pozycji";
    QTest::newRow("waluta bez symbolu") << 0 << true << "" << "waluta nie ma symbolu";
}

void TestJpkFaWriter::fileWithoutRecordsOrRowsIsNotWritten()
{
    QFETCH(int, kind);
    QFETCH(bool, withLine);
    QFETCH(QString, symbol);
    QFETCH(QString, reason);

    Doc doc;
    doc.kind = kind;
    doc.groups = QStringLiteral("23%:100:23");
    doc.gross = 123;
    doc.withLine = withLine;
    MJpkFaWriter::Result result;
    const QString file = write({addDoc(doc)}, &result, 0, symbol);
    QCOMPARE(int(result.outcome), int(MJpkFaWriter::Outcome::NothingToExport));
    QVERIFY2(result.message.contains(reason), qPrintable(result.message));
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(file)), qPrintable(result.message));
    QVERIFY(!QFile::exists(file));
}

void TestJpkFaWriter::currencyGoesIntoTheFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("expected");

    QTest::newRow("z rozszerzeniem") << "/tmp/out/jpk.xml" << "PLN" << "/tmp/out/jpk-PLN.xml";
    QTest::newRow("bez rozszerzenia") << "/tmp/out/jpk" << "EUR" << "/tmp/out/jpk-EUR.xml";
    QTest::newRow("kilka kropek") << "/tmp/out/a.b.c" << "PLN" << "/tmp/out/a.b-PLN.c";
    QTest::newRow("kropka w katalogu") << "/tmp/o.ut/jpk" << "USD" << "/tmp/o.ut/jpk-USD.xml";
}

void TestJpkFaWriter::currencyGoesIntoTheFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, symbol);
    QFETCH(QString, expected);
    QCOMPARE(MJpkFaWriter::currencyFileName(chosen, symbol), expected);
}

INVOICE_TEST_MAIN(TestJpkFaWriter)
#include "tst_jpkfawriter.moc"
