#include "MJpkTestFile.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "data/MJpkVatWriter.h"
#include "data/MRegisterData.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

// JPK_VAT files of documents made in a database of the schema script: every
// written file is checked against the official schema of its variant and read back.
class TestJpkVatWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void groupsGoToTheFieldsOfTheirMeaning_data();
    void groupsGoToTheFieldsOfTheirMeaning();
    void advanceAndFinalDocumentsCountLikeTheRegister();
    void rowsFollowTheIdsWithoutGaps();
    void buyerFieldsAreNeverEmpty_data();
    void buyerFieldsAreNeverEmpty();
    void saleDateOnlyWhenItDiffers_data();
    void saleDateOnlyWhenItDiffers();
    void subjectOfEachVariant_data();
    void subjectOfEachVariant();
    void noExportedDocumentWritesNoFile_data();
    void noExportedDocumentWritesNoFile();
    void unwritableTargetIsReportedAndLeftAlone();
    void textsAreShapedToTheSchema_data();
    void textsAreShapedToTheSchema();
    void datesOutsideTheSchemaWriteNoFile_data();
    void datesOutsideTheSchemaWriteNoFile();
    void fullDiskIsNamed();

private:
    QString write(const QList<int>& ids, int version, MJpkVatWriter::Result* result = nullptr,
                  const QDate& dateFrom = QDate(2024, 3, 1));
    QString schema(int version) const;

    std::unique_ptr<MTestDatabase> m_db;
    int m_idSeller = 0;
    int m_file = 0;
};

namespace {

// Rate ids of the seeded table vat.
const QMap<QString, int> rateIds{{QStringLiteral("0%"), 1},   {QStringLiteral("3%"), 4},    {QStringLiteral("5%"), 6},
                                 {QStringLiteral("8%"), 9},   {QStringLiteral("22%"), 23},  {QStringLiteral("23%"), 24},
                                 {QStringLiteral("zw."), 102}, {QStringLiteral("nd."), 103}, {QStringLiteral("np."), 104},
                                 {QStringLiteral("o.o."), 105}};

int addBuyer(const QString& firm, const QString& nip, const QString& city, const QString& zipcode,
             const QString& address)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{QStringLiteral("firm"), firm},
                                                                        {QStringLiteral("nip"), nip},
                                                                        {QStringLiteral("city"), city},
                                                                        {QStringLiteral("zipcode"), zipcode},
                                                                        {QStringLiteral("address"), address}}));
}

struct Doc
{
    int kind = 0;
    QString groups;          // "23%:100:23|8%:50:4", a part net and VAT may follow: "8%:1300:104:462.96:37.04"
    int idParent = 0;
    int idCurrency = 0;
    int idBuyer = -1;        // -1: a buyer of its own
    QString datePut = QStringLiteral("2024-03-10");
    QString dateSell = QStringLiteral("2024-03-10");
    int sellInMonths = 0;
};

int addDoc(const Doc& doc)
{
    static int number = 0;
    const int idBuyer = doc.idBuyer >= 0 ? doc.idBuyer
                                         : addBuyer(QStringLiteral("Nabywca Sp. z o.o."), QStringLiteral("PL 526-000-12-46"),
                                                    QStringLiteral("Kraków"), QStringLiteral("30-001"),
                                                    QStringLiteral("ul. Długa 5"));
    const int id = int(MTestDatabase::insert(
        QStringLiteral("invoice"), {{QStringLiteral("invoice_kind"), doc.kind},
                                    {QStringLiteral("id_parent_invoice"), doc.idParent},
                                    {QStringLiteral("id_currency"), doc.idCurrency},
                                    {QStringLiteral("id_buyer"), idBuyer},
                                    {QStringLiteral("id_seller_base"), 1},
                                    {QStringLiteral("invoice_index_string"), QStringLiteral("FV/%1/2024").arg(++number)},
                                    {QStringLiteral("date_put"), QString(doc.datePut + QStringLiteral(" 00:00:00"))},
                                    {QStringLiteral("date_sell"), doc.dateSell},
                                    {QStringLiteral("date_sell_in_months"), doc.sellInMonths}}));
    for (const QString& group : doc.groups.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QStringList parts = group.split(QLatin1Char(':'));
        MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                              {{QStringLiteral("id_invoice"), id},
                               {QStringLiteral("id_vat"), rateIds.value(parts[0], 999)},
                               {QStringLiteral("netto_price"), parts[1].toDouble()},
                               {QStringLiteral("vat_price"), parts[2].toDouble()},
                               {QStringLiteral("brutto_price"), parts[1].toDouble() + parts[2].toDouble()},
                               {QStringLiteral("netto_part_price"), parts.value(3).toDouble()},
                               {QStringLiteral("vat_part_price"), parts.value(4).toDouble()},
                               {QStringLiteral("brutto_part_price"),
                                parts.value(3).toDouble() + parts.value(4).toDouble()}});
    }
    return id;
}

// The K fields of a row line, in their order.
QString kFields(const QString& line)
{
    QStringList fields;
    for (const QString& piece : line.split(QLatin1Char(';'))) {
        if (piece.startsWith(QLatin1String("K_")))
            fields << piece;
    }
    return fields.join(QLatin1Char(';'));
}

} // namespace

void TestJpkVatWriter::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestJpkVatWriter::init()
{
    for (const char* table : {"seller", "invoice", "invoice_buyer", "invoice_summary_vat"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    m_idSeller = int(MTestDatabase::insert(
        QStringLiteral("seller"), {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                   {QStringLiteral("nip"), QStringLiteral("PL 525-000-12-56")},
                                   {QStringLiteral("regon"), QStringLiteral("123456785")},
                                   {QStringLiteral("id_province"), 7},
                                   {QStringLiteral("province2"), QStringLiteral("warszawski")},
                                   {QStringLiteral("province3"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("street"), QStringLiteral("Prosta")},
                                   {QStringLiteral("address_number1"), QStringLiteral("12")},
                                   {QStringLiteral("city"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("zipcode"), QStringLiteral("00-850")},
                                   {QStringLiteral("city_post"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("financial_office_code"), QStringLiteral("1403")}}));
}

QString TestJpkVatWriter::schema(int version) const
{
    return version == 2 ? QStringLiteral("Schemat_JPK_VAT(2)_v1-0.xsd") : QStringLiteral("Schemat_JPK_VAT(3)_v1-1.xsd");
}

QString TestJpkVatWriter::write(const QList<int>& ids, int version, MJpkVatWriter::Result* result,
                                const QDate& dateFrom)
{
    const QString file = m_db->path(QStringLiteral("jpk_%1.xml").arg(++m_file));
    MJpkVatRequest request;
    request.version = version;
    request.ids = ids;
    request.idSeller = m_idSeller;
    request.dateFrom = dateFrom;
    request.dateTo = QDate(2024, 3, 31);
    request.officeCode = QStringLiteral("1403");
    const MJpkVatWriter::Result written = MJpkVatWriter::write(file, request);
    if (result)
        *result = written;
    if (written.outcome == MJpkVatWriter::Outcome::Written) {
        const QString errors = MJpkTestFile::schemaErrors(file, schema(version));
        if (!errors.isEmpty())
            qWarning("%s", qPrintable(errors));
        QTest::qVerify(errors.isEmpty(), "schemaErrors", "file refused by the schema", __FILE__, __LINE__);
    }
    return file;
}

void TestJpkVatWriter::groupsGoToTheFieldsOfTheirMeaning_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("parentGroups");
    QTest::addColumn<QString>("fields");

    QTest::newRow("23 % i 8 %") << 0 << "23%:100:23|8%:50:4" << ""
                                << "K_17=50.00;K_18=4.00;K_19=100.00;K_20=23.00";
    QTest::newRow("22 % i 23 % w jednym polu") << 0 << "22%:10:2.2|23%:100:23" << "" << "K_19=110.00;K_20=25.20";
    QTest::newRow("5 %") << 3 << "5%:100:5" << "" << "K_15=100.00;K_16=5.00";
    QTest::newRow("korekta 100/23 na 80/23") << 2 << "23%:80:18.4" << "23%:100:23" << "K_19=-20.00;K_20=-4.60";
    QTest::newRow("korekta bez zmian") << 2 << "23%:100:23" << "23%:100:23" << "K_19=0.00;K_20=0.00";
    QTest::newRow("zw. i 0%") << 0 << "zw.:40:0|0%:60:0" << "" << "K_10=40.00;K_13=60.00";
    QTest::newRow("0% i np.") << 0 << "0%:50:0|np.:30:0" << "" << "K_11=30.00;K_13=50.00";
    QTest::newRow("o.o. na fakturze VAT") << 0 << "o.o.:70:0" << "" << "K_31=70.00";
    QTest::newRow("odwrotne obciążenie o.o. i 23%") << 15 << "o.o.:70:0|23%:100:23" << "" << "K_31=170.00";
    QTest::newRow("korekta odwrotnego obciążenia") << 16 << "23%:60:13.8" << "23%:100:23" << "K_31=-40.00";
    QTest::newRow("nd.") << 0 << "nd.:100:0" << "" << "";
    QTest::newRow("3%") << 27 << "3%:100:3" << "" << "";
    QTest::newRow("stawka spoza tabeli") << 15 << "brak:100:0" << "" << "K_31=100.00";
}

void TestJpkVatWriter::groupsGoToTheFieldsOfTheirMeaning()
{
    QFETCH(int, kind);
    QFETCH(QString, groups);
    QFETCH(QString, parentGroups);
    QFETCH(QString, fields);

    Doc doc;
    doc.kind = kind;
    doc.groups = groups;
    if (!parentGroups.isEmpty()) {
        Doc parent;
        parent.groups = parentGroups;
        parent.kind = kind == 16 ? 15 : 0;
        doc.idParent = addDoc(parent);
    }
    const int id = addDoc(doc);
    for (int version : {2, 3}) {
        const QString file = write({id}, version);
        const QStringList rows = MJpkTestFile::elements(file, QStringLiteral("SprzedazWiersz"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(kFields(rows[0]), fields);

        const QStringList control = MJpkTestFile::elements(file, QStringLiteral("SprzedazCtrl"));
        QCOMPARE(control.size(), 1);
        QCOMPARE(MJpkTestFile::part(control[0], QStringLiteral("LiczbaWierszySprzedazy")), QStringLiteral("1"));
        double tax = 0.0;
        for (const char* field : {"K_16", "K_18", "K_20"}) {
            const QString value = MJpkTestFile::part(rows[0], QLatin1String(field));
            if (value != QLatin1String("<none>"))
                tax += value.toDouble();
        }
        QCOMPARE(MJpkTestFile::part(control[0], QStringLiteral("PodatekNalezny")), QString::number(tax, 'f', 2));
    }
}

// The K fields that the register's rates go to: net field, VAT field (or none).
QPair<QString, QString> registerFields(const QString& rate)
{
    if (rate == QLatin1String("22%") || rate == QLatin1String("23%"))
        return {QStringLiteral("K_19"), QStringLiteral("K_20")};
    if (rate == QLatin1String("7%") || rate == QLatin1String("8%"))
        return {QStringLiteral("K_17"), QStringLiteral("K_18")};
    if (rate == QLatin1String("5%"))
        return {QStringLiteral("K_15"), QStringLiteral("K_16")};
    if (rate == QLatin1String("0%"))
        return {QStringLiteral("K_13"), QString()};
    if (rate == QLatin1String("zw."))
        return {QStringLiteral("K_10"), QString()};
    return {};
}

QString sumsText(const QMap<QString, double>& sums)
{
    QStringList texts;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        texts << it.key() + QLatin1Char('=') + QString::number(it.value(), 'f', 2);
    return texts.join(QLatin1Char(';'));
}

void TestJpkVatWriter::advanceAndFinalDocumentsCountLikeTheRegister()
{
    struct Family
    {
        int kind;
        QString groups;
        int correctionKind;
        QString correctionGroups;
    };
    // Part amounts differ from the whole ones; documents of other kinds keep parts of 0.
    const QList<Family> families{
        {0, "23%:100:23|8%:50:4", 2, "23%:80:18.4|8%:50:4"},
        {3, "5%:200:10", 4, "5%:150:7.5"},
        {19, "8%:1300:104:462.96:37.04", 20, "8%:1300:104:300:24"},
        {23, "23%:2000:460:1000:230|zw.:100:0:50:0", 24, "23%:2000:460:900:207|zw.:100:0:50:0"},
        {27, "23%:300:69|0%:40:0", 28, "23%:250:57.5|0%:40:0"},
    };
    QList<int> ids;
    int advance = 0;
    for (const Family& family : families) {
        Doc doc;
        doc.kind = family.kind;
        doc.groups = family.groups;
        const int parent = addDoc(doc);
        doc.kind = family.correctionKind;
        doc.groups = family.correctionGroups;
        doc.idParent = parent;
        ids << parent << addDoc(doc);
        if (family.kind == 19)
            advance = parent;
    }

    const int run = MRegisterData::build(QDate(2024, 3, 1), QDate(2024, 3, 31), {QStringLiteral("1")});
    QVERIFY(run > 0);
    QMap<QString, double> registerSums;
    double registerTax = 0.0;
    QSqlQuery rows;
    QVERIFY(rows.exec(QStringLiteral("SELECT vat_text, netto, vat FROM __invoice_vat_summary WHERE id = %1").arg(run)));
    while (rows.next()) {
        const QPair<QString, QString> fields = registerFields(rows.value(0).toString());
        QVERIFY2(!fields.first.isEmpty(), qPrintable(rows.value(0).toString()));
        registerSums[fields.first] += rows.value(1).toDouble();
        if (!fields.second.isEmpty()) {
            registerSums[fields.second] += rows.value(2).toDouble();
            registerTax += rows.value(2).toDouble();
        }
    }

    for (int version : {2, 3}) {
        const QString file = write(ids, version);
        const QStringList lines = MJpkTestFile::elements(file, QStringLiteral("SprzedazWiersz"));
        QCOMPARE(lines.size(), ids.size());
        QMap<QString, double> jpkSums;
        for (const QString& line : lines) {
            for (const QString& piece : kFields(line).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                jpkSums[piece.section(QLatin1Char('='), 0, 0)] += piece.section(QLatin1Char('='), 1).toDouble();
        }
        QCOMPARE(sumsText(jpkSums), sumsText(registerSums));
        const QStringList control = MJpkTestFile::elements(file, QStringLiteral("SprzedazCtrl"));
        QCOMPARE(MJpkTestFile::part(control.value(0), QStringLiteral("PodatekNalezny")),
                 QString::number(registerTax, 'f', 2));
        // The advance of the example: its part, not the whole order.
        QCOMPARE(kFields(lines[ids.indexOf(advance)]), QStringLiteral("K_17=462.96;K_18=37.04"));
        QCOMPARE(kFields(lines[ids.indexOf(advance) + 1]), QStringLiteral("K_17=-162.96;K_18=-13.04"));
    }
}

void TestJpkVatWriter::rowsFollowTheIdsWithoutGaps()
{
    Doc vat;
    vat.groups = QStringLiteral("23%:100:23");
    Doc skipped = vat;
    const int first = addDoc(vat);
    skipped.kind = 1; // pro-forma
    const int proforma = addDoc(skipped);
    const int second = addDoc(vat);
    skipped.kind = 5; // duplicate
    const int duplicate = addDoc(skipped);
    skipped.kind = 0;
    skipped.idCurrency = 1;
    const int euro = addDoc(skipped);
    vat.groups = QStringLiteral("8%:10:0.8");
    const int third = addDoc(vat);

    const QString file = write({third, euro, first, duplicate, second, proforma}, 3);
    QStringList numbers;
    QStringList lps;
    const QStringList rows = MJpkTestFile::elements(file, QStringLiteral("SprzedazWiersz"));
    for (const QString& row : rows) {
        lps << MJpkTestFile::part(row, QStringLiteral("LpSprzedazy"));
        numbers << MJpkTestFile::part(row, QStringLiteral("DowodSprzedazy"));
    }
    QCOMPARE(lps, QStringList({"1", "2", "3"}));
    const QString expected = MTestDatabase::rows(QStringLiteral("SELECT invoice_index_string FROM invoice WHERE id IN (%1, %2, %3) "
                                                                "ORDER BY id")
                                                     .arg(first)
                                                     .arg(second)
                                                     .arg(third))
                                 .join(QLatin1Char(','));
    QCOMPARE(numbers.join(QLatin1Char(',')), expected);
    const QStringList control = MJpkTestFile::elements(file, QStringLiteral("SprzedazCtrl"));
    QCOMPARE(control, QStringList({"LiczbaWierszySprzedazy=3;PodatekNalezny=46.80"}));
}

void TestJpkVatWriter::buyerFieldsAreNeverEmpty_data()
{
    QTest::addColumn<int>("buyer"); // 0 none, 1 a snapshot row, 2 a snapshot id without its row
    QTest::addColumn<QString>("firm");
    QTest::addColumn<QString>("nip");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("zipcode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pełne dane") << 1 << "Firma  Nowa" << "PL 526-000-12-46" << "Kraków" << "30-001" << "ul. Długa 5"
                                << "NrKontrahenta=5260001246;NazwaKontrahenta=Firma Nowa;"
                                   "AdresKontrahenta=Kraków 30-001, ul. Długa 5";
    QTest::newRow("bez nabywcy") << 0 << "" << "" << "" << "" << ""
                                 << "NrKontrahenta=brak;NazwaKontrahenta=brak;AdresKontrahenta=brak";
    QTest::newRow("brak kopii nabywcy") << 2 << "" << "" << "" << "" << ""
                                        << "NrKontrahenta=brak;NazwaKontrahenta=brak;AdresKontrahenta=brak";
    QTest::newRow("NIP bez cyfr i pusta nazwa") << 1 << "  " << "brak NIP" << "Gdańsk" << "" << ""
                                                << "NrKontrahenta=brak;NazwaKontrahenta=brak;AdresKontrahenta=Gdańsk ,";
    QTest::newRow("adres z pustych części") << 1 << "Jan Kowalski" << "" << "" << " " << ""
                                            << "NrKontrahenta=brak;NazwaKontrahenta=Jan Kowalski;AdresKontrahenta=brak";
}

void TestJpkVatWriter::buyerFieldsAreNeverEmpty()
{
    QFETCH(int, buyer);
    QFETCH(QString, firm);
    QFETCH(QString, nip);
    QFETCH(QString, city);
    QFETCH(QString, zipcode);
    QFETCH(QString, address);
    QFETCH(QString, expected);

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    doc.idBuyer = buyer == 0 ? 0 : buyer == 2 ? 4242 : addBuyer(firm, nip, city, zipcode, address);
    const int id = addDoc(doc);
    for (int version : {2, 3}) {
        const QStringList rows = MJpkTestFile::elements(write({id}, version), QStringLiteral("SprzedazWiersz"));
        QCOMPARE(rows.size(), 1);
        QStringList buyerParts;
        for (const char* name : {"NrKontrahenta", "NazwaKontrahenta", "AdresKontrahenta"})
            buyerParts << QLatin1String(name) + QLatin1Char('=') + MJpkTestFile::part(rows[0], QLatin1String(name));
        QCOMPARE(buyerParts.join(QLatin1Char(';')), expected);
    }
}

void TestJpkVatWriter::saleDateOnlyWhenItDiffers_data()
{
    QTest::addColumn<QString>("dateSell");
    QTest::addColumn<int>("inMonths");
    QTest::addColumn<QString>("expected");

    QTest::newRow("równa dacie wystawienia") << "2024-03-10 00:00:00" << 0 << "<none>";
    QTest::newRow("inna data") << "2024-03-08" << 0 << "2024-03-08";
    QTest::newRow("miesiąc") << "2024-02-17" << 1 << "2024-02-01";
    QTest::newRow("miesiąc wystawienia od pierwszego") << "2024-03-01" << 1 << "2024-03-01";
    QTest::newRow("bez daty sprzedaży") << "" << 0 << "<none>";
}

void TestJpkVatWriter::saleDateOnlyWhenItDiffers()
{
    QFETCH(QString, dateSell);
    QFETCH(int, inMonths);
    QFETCH(QString, expected);

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    doc.dateSell = dateSell;
    doc.sellInMonths = inMonths;
    const int id = addDoc(doc);
    const QStringList rows = MJpkTestFile::elements(write({id}, 3), QStringLiteral("SprzedazWiersz"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(MJpkTestFile::part(rows[0], QStringLiteral("DataWystawienia")), QStringLiteral("2024-03-10"));
    QCOMPARE(MJpkTestFile::part(rows[0], QStringLiteral("DataSprzedazy")), expected);
}

void TestJpkVatWriter::subjectOfEachVariant_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("flat");
    QTest::addColumn<QString>("subject");

    QTest::newRow("wersja 3") << 3 << "" << "NIP=5250001256;PelnaNazwa=Sprzedawca S.A.";
    QTest::newRow("wersja 2 bez lokalu")
        << 2 << ""
        << "NIP=5250001256;PelnaNazwa=Sprzedawca S.A.;REGON=123456785;KodKraju=PL;Wojewodztwo=mazowieckie;"
           "Powiat=warszawski;Gmina=Warszawa;Ulica=Prosta;NrDomu=12;Miejscowosc=Warszawa;KodPocztowy=00-850;"
           "Poczta=Warszawa";
    QTest::newRow("wersja 2 z lokalem")
        << 2 << "4a"
        << "NIP=5250001256;PelnaNazwa=Sprzedawca S.A.;REGON=123456785;KodKraju=PL;Wojewodztwo=mazowieckie;"
           "Powiat=warszawski;Gmina=Warszawa;Ulica=Prosta;NrDomu=12;NrLokalu=4a;Miejscowosc=Warszawa;"
           "KodPocztowy=00-850;Poczta=Warszawa";
}

void TestJpkVatWriter::subjectOfEachVariant()
{
    QFETCH(int, version);
    QFETCH(QString, flat);
    QFETCH(QString, subject);

    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE seller SET address_number2 = :flat"));
    query.bindValue(QStringLiteral(":flat"), flat);
    QVERIFY(query.exec());
    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    const QString file = write({addDoc(doc)}, version);
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("Podmiot1")), QStringList({subject}));
    const QStringList header = MJpkTestFile::elements(file, QStringLiteral("Naglowek"));
    QCOMPARE(header.size(), 1);
    QCOMPARE(MJpkTestFile::part(header[0], QStringLiteral("DataOd")), QStringLiteral("2024-03-01"));
    QCOMPARE(MJpkTestFile::part(header[0], QStringLiteral("DataDo")), QStringLiteral("2024-03-31"));
    QCOMPARE(MJpkTestFile::part(header[0], QStringLiteral("KodUrzedu")),
             version == 2 ? QStringLiteral("1403") : QStringLiteral("<none>"));
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("SprzedazWiersz")).value(0).startsWith(QLatin1String("@typ=G")),
             version == 2);
}

void TestJpkVatWriter::noExportedDocumentWritesNoFile_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("wersja 2") << 2;
    QTest::newRow("wersja 3") << 3;
}

void TestJpkVatWriter::noExportedDocumentWritesNoFile()
{
    QFETCH(int, version);
    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    doc.kind = 1;
    const int proforma = addDoc(doc);
    doc.kind = 5;
    const int duplicate = addDoc(doc);
    doc.kind = 0;
    doc.idCurrency = 1;
    const int euro = addDoc(doc);

    MJpkVatWriter::Result result;
    const QString file = write({proforma, duplicate, euro}, version, &result);
    QCOMPARE(int(result.outcome), int(MJpkVatWriter::Outcome::NothingToExport));
    QVERIFY(result.message.contains(QLatin1String("JPK_VAT")));
    QVERIFY(!QFile::exists(file));
}

void TestJpkVatWriter::unwritableTargetIsReportedAndLeftAlone()
{
    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    const int id = addDoc(doc);
    const QString folder = m_db->path(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/target.xml")));

    MJpkVatRequest request;
    request.ids = {id};
    request.idSeller = m_idSeller;
    const MJpkVatWriter::Result result = MJpkVatWriter::write(folder + QStringLiteral("/target.xml"), request);
    QCOMPARE(int(result.outcome), int(MJpkVatWriter::Outcome::NotWritten));
    QVERIFY2(result.message.contains(QLatin1String("target.xml")), qPrintable(result.message));
    QVERIFY(QFileInfo(folder + QStringLiteral("/target.xml")).isDir());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestJpkVatWriter::textsAreShapedToTheSchema_data()
{
    QTest::addColumn<QString>("update"); // the statement that puts :text in place
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("expected");

    const QString buyer = QStringLiteral("UPDATE invoice_buyer SET firm = :text");
    const QString seller = QStringLiteral("UPDATE seller SET firm = :text");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("znak sterujący w nazwie nabywcy")
        << buyer << QString::fromUtf8("Firma\x01 Nowa\x1F") << "NazwaKontrahenta" << "Firma Nowa";
    QTest::newRow("tabulator i nowe wiersze") << buyer << "Jan\tKowalski\r\nKraków" << "NazwaKontrahenta"
                                              << "Jan Kowalski Kraków";
    // The old cut counted UTF-16 units and kept half of the emoji that stood across unit 256.
    QTest::newRow("emoji przecięte granicą 256 znaków") << buyer << QString(QString(255, QLatin1Char('a')) + emoji + "b")
                                                        << "NazwaKontrahenta"
                                                        << QString(QString(255, QLatin1Char('a')) + emoji);
    QTest::newRow("emoji za granicą") << buyer << QString(QString(256, QLatin1Char('a')) + emoji)
                                      << "NazwaKontrahenta" << QString(256, QLatin1Char('a'));
    QTest::newRow("znak sterujący w numerze") << "UPDATE invoice SET invoice_index_string = :text"
                                              << QString::fromUtf8("FV\x02/1") << "DowodSprzedazy" << "FV/1";
    QTest::newRow("adres nabywcy ze znakiem sterującym") << "UPDATE invoice_buyer SET address = :text"
                                                         << QString::fromUtf8("ul.\x0B Długa") << "AdresKontrahenta"
                                                         << "Kraków 30-001, ul. Długa";
    QTest::newRow("nazwa sprzedawcy ponad 240 znaków") << seller << QString(300, QLatin1Char('S')) << "PelnaNazwa"
                                                       << QString(240, QLatin1Char('S'));
    QTest::newRow("znak sterujący w nazwie sprzedawcy") << seller << QString::fromUtf8("Sprzedawca\x07 S.A.")
                                                        << "PelnaNazwa" << "Sprzedawca S.A.";
    QTest::newRow("ulica sprzedawcy ponad 65 znaków") << "UPDATE seller SET street = :text"
                                                      << QString(80, QLatin1Char('u')) << "Ulica"
                                                      << QString(65, QLatin1Char('u'));
}

void TestJpkVatWriter::textsAreShapedToTheSchema()
{
    QFETCH(QString, update);
    QFETCH(QString, text);
    QFETCH(QString, element);
    QFETCH(QString, expected);

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    const int id = addDoc(doc);
    QSqlQuery query;
    query.prepare(update);
    query.bindValue(QStringLiteral(":text"), text);
    QVERIFY(query.exec());
    // Ulica is written by variant 2 only; the other elements by both.
    for (int version : {2, 3}) {
        MJpkVatWriter::Result result;
        const QString file = write({id}, version, &result);
        QVERIFY2(result.outcome == MJpkVatWriter::Outcome::Written, qPrintable(result.message));
        QStringList values;
        for (const char* parent : {"SprzedazWiersz", "Podmiot1"}) {
            for (const QString& line : MJpkTestFile::elements(file, QLatin1String(parent))) {
                const QString value = MJpkTestFile::part(line, element);
                if (value != QLatin1String("<none>"))
                    values << value;
            }
        }
        if (element != QLatin1String("Ulica") || version == 2)
            QCOMPARE(values, QStringList{expected});
    }
}

void TestJpkVatWriter::datesOutsideTheSchemaWriteNoFile_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QDate>("dateFrom");
    QTest::addColumn<QString>("datePut");
    QTest::addColumn<QString>("named"); // what the message must name

    QTest::newRow("okres przed 2016-07-01 w wersji 3") << 3 << QDate(2016, 6, 30) << "2024-03-10" << "2016-07-01";
    QTest::newRow("koniec okresu w wersji 3") << 3 << QDate(2030, 1, 2) << "2024-03-10" << "2030-01-01";
    QTest::newRow("dokument z 2005 roku w wersji 3") << 3 << QDate(2024, 3, 1) << "2005-12-31" << "2005-12-31";
    QTest::newRow("okres po 2030-12-31 w wersji 2") << 2 << QDate(2031, 1, 1) << "2024-03-10" << "2030-12-31";
}

void TestJpkVatWriter::datesOutsideTheSchemaWriteNoFile()
{
    QFETCH(int, version);
    QFETCH(QDate, dateFrom);
    QFETCH(QString, datePut);
    QFETCH(QString, named);

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    doc.datePut = datePut;
    doc.dateSell = datePut;
    MJpkVatWriter::Result result;
    const QString file = write({addDoc(doc)}, version, &result, dateFrom);
    QCOMPARE(int(result.outcome), int(MJpkVatWriter::Outcome::NotWritten));
    QVERIFY2(result.message.contains(named), qPrintable(result.message));
    QVERIFY2(result.message.contains(QFileInfo(file).fileName()), qPrintable(result.message));
    QVERIFY(!QFile::exists(file));
}

void TestJpkVatWriter::fullDiskIsNamed()
{
    const QString folder = m_db->path(QStringLiteral("full"));
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("this machine does not let the test mount a small file system");
    disk.fill();

    Doc doc;
    doc.groups = QStringLiteral("23%:100:23");
    MJpkVatRequest request;
    request.ids = {addDoc(doc)};
    request.idSeller = m_idSeller;
    request.dateFrom = QDate(2024, 3, 1);
    request.dateTo = QDate(2024, 3, 31);
    const MJpkVatWriter::Result result = MJpkVatWriter::write(folder + QStringLiteral("/jpk.xml"), request);
    QCOMPARE(int(result.outcome), int(MJpkVatWriter::Outcome::NotWritten));
    QVERIFY2(result.message.contains(QLatin1String("jpk.xml")), qPrintable(result.message));
    QVERIFY2(result.message.contains(QLatin1String("brak miejsca na dysku")), qPrintable(result.message));
    QVERIFY(!QFile::exists(folder + QStringLiteral("/jpk.xml")));
}

INVOICE_TEST_MAIN(TestJpkVatWriter)
#include "tst_jpkvatwriter.moc"
