#include "CArchiveWriter.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MSqlImport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <limits>

#include <sys/stat.h>

// Runs the built converter as the application does: a copy of the program
// file in a folder of its own, the old data files in "data" beside it, no
// arguments needed. The data folders are written here byte by byte.
class TestMirvole : public QObject
{
    Q_OBJECT

private slots:
    void convertsEveryRecordClass_data();
    void convertsEveryRecordClass();
    void brokenFileIsReportedAndTheRunGoesOn_data();
    void brokenFileIsReportedAndTheRunGoesOn();
    void twoBrokenFilesGiveTwoMessagesInReadingOrder();
    void emptyFolderGivesAnEmptyFile();
    void fileNamesIgnoreLetterCase();
    void longTextsAndLocalTime();
    void timesInLocalTimeWithLatinDigits_data();
    void timesInLocalTimeWithLatinDigits();
    void failedWriteEndsWithAnError();
    void missingDataFolderEndsWithAnError();
    void importKeepsPolishLettersAndLineBreaks();
    void numbersThatAreNoNumbersAreWrittenAsZero_data();
    void numbersThatAreNoNumbersAreWrittenAsZero();
    void recordReferredToManyTimesIsWrittenOnce();
    void entriesThatAreNoReadableFilesAreLogged_data();
    void entriesThatAreNoReadableFilesAreLogged();
    void staleOutputGoesBeforeTheConversion();
};

namespace {

constexpr qint32 newYear = 1262304000; // 2010-01-01 00:00:00 UTC
constexpr qint32 noon = 1262347384; // 2010-01-01 12:03:04 UTC
constexpr qint32 march = 1267401600; // 2010-03-01 00:00:00 UTC

QTextCodec* cp1250()
{
    return QTextCodec::codecForName("Windows-1250");
}

QByteArray pl(const char* utf8)
{
    return cp1250()->fromUnicode(QString::fromUtf8(utf8));
}

struct Run
{
    int exitCode = -1;
    QByteArray sql;
    bool sqlExists = false;
    QString errors;
    QString log;
    bool logExists = false;
};

// The fields of one record, as the old program stored them with the schema.
// Every value differs from the others, so a column out of place shows.
void writeFields(CArchiveWriter& w, const QByteArray& className, int schema, int id)
{
    const QByteArray n = QByteArray::number(id);
    if (className == "CCountry" || className == "CProvince") {
        w.int32(id).text(className == "CCountry" ? pl("Państwo ") + n : pl("Województwo ") + n);
    } else if (className == "CBuyer" || className == "CSeller") {
        w.int32(id);
        if (className == "CSeller")
            w.int32(id * 100 + 1);
        w.int32(id * 100 + 2).int32(id * 100 + 3);
        if (className == "CSeller")
            w.int32(id * 100 + 4);
        w.time(newYear).time(noon);
        for (const char* field : {"firm", "nip", "regon", "bank", "bank_account", "address", "city", "zipcode", "phone", "fax",
                                  "email", "www", "first", "second", "pesel", "additional"})
            w.text(field + (' ' + n));
        if (schema >= 2 && className == "CBuyer")
            w.real(id + 0.25);
        if (schema >= 2 && className == "CSeller")
            w.text("[nr]/[rrrr] " + n);
    } else if (className == "CEndText") {
        w.int32(id).time(0).time(noon).text(pl("Dziękujemy\r\nza zakupy ") + n);
    } else if (className == "CInvoice") {
        w.int32(id);
        for (int field = 1; field < 8; ++field)
            w.int32(id * 100 + field);
        w.time(newYear).time(noon).time(march).time(march + 86400).time(-86400);
        w.text(pl("Kraków ") + n).int32(1).real(100.5 * id).real(123.615 * id);
        if (schema >= 2)
            w.int32(2).int32(id * 100 + 9);
        if (schema >= 3)
            w.int32(3);
        if (schema >= 4)
            w.int32(14);
        if (schema >= 5)
            w.text("14 dni " + n);
        if (schema >= 6)
            w.int32(0);
    } else if (className == "CInvoiceCorrectMisc") {
        w.int32(id).int32(id * 100 + 1).text("Zwrot 'towaru' " + n);
    } else if (className == "CInvoiceIndexFormat" || className == "CPayForm") {
        w.int32(id).text(QByteArray(className == "CPayForm" ? "przelew " : "[nr]/[mm] ") + n);
        if (schema >= 2)
            w.text((className == "CPayForm" ? QByteArray("przelewem ") : pl("miesiąc ")) + n);
    } else if (className == "CInvoiceProductMisc") {
        w.int32(id).int32(id * 100 + 1).int32(id * 100 + 2).real(2.5 * id);
        if (schema >= 2)
            w.real(-3.25);
    } else if (className == "CProduct") {
        w.int32(id).real(10.1 * id).int32(23).text("23%");
        w.wideTime(newYear).wideTime(noon);
        w.text(pl("Śruba ") + n).text("PKWiU " + n).text("szt.").text("uwagi " + n);
        if (schema >= 2)
            w.text("SYM" + n);
        if (schema >= 3)
            w.int32(1);
        if (schema >= 4)
            w.int32(2);
        if (schema >= 5)
            w.int32(0).real(12.423 * id);
    }
}

bool isVersionable(const QByteArray& className)
{
    return className != "CCountry" && className != "CProvince" && className != "CEndText"
        && className != "CInvoiceCorrectMisc";
}

int currentSchema(const QByteArray& className)
{
    static const QHash<QByteArray, int> schemas = {
        {"CBuyer", 2},   {"CSeller", 2},   {"CInvoice", 6}, {"CInvoiceIndexFormat", 2}, {"CInvoiceProductMisc", 2},
        {"CPayForm", 2}, {"CProduct", 5},
    };
    return schemas.value(className, 1);
}

struct DataFile
{
    const char* name;
    const char* className;
};

const DataFile dataFiles[] = {
    {"Buyer.dat", "CBuyer"},
    {"Country.dat", "CCountry"},
    {"EndText.dat", "CEndText"},
    {"Invoice.dat", "CInvoice"},
    {"InvoiceBuyer.dat", "CBuyer"},
    {"InvoiceCorrectMisc.dat", "CInvoiceCorrectMisc"},
    {"InvoiceEndText.dat", "CEndText"},
    {"InvoiceIndexFormat.dat", "CInvoiceIndexFormat"},
    {"InvoiceProduct.dat", "CProduct"},
    {"InvoiceProductMisc.dat", "CInvoiceProductMisc"},
    {"InvoiceSeller.dat", "CSeller"},
    {"PayForm.dat", "CPayForm"},
    {"Product.dat", "CProduct"},
    {"Province.dat", "CProvince"},
    {"Seller.dat", "CSeller"},
};

quint32 newRecordClass(CArchiveWriter& w, const QByteArray& className, int schema)
{
    return w.newClass(className, quint16(schema | (isVersionable(className) ? 0x8000 : 0)));
}

// The buyer of the awkward texts: 16-bit Polish letters, an apostrophe, a
// line break and a tab, an embedded NUL.
void writeAwkwardBuyer(CArchiveWriter& w, int schema)
{
    w.int32(3).int32(0).int32(0).time(newYear).time(noon);
    w.wideText(QStringLiteral("Zażółć gęślą jaźń"));
    w.text("").text("").text("").text("");
    w.text("ul. O'Neila 5").text(pl("Łódź")).text("").text("").text("").text("");
    w.text(QByteArray("abc\0def", 7));
    w.text("").text("").text("");
    w.text("linia 1\r\nlinia 2\tkoniec");
    if (schema >= 2)
        w.real(0.0);
}

// A map of the records with the given ids, the first naming the class. The
// buyers' file also holds the awkward buyer, a second key for the first buyer
// and a null value.
QByteArray mapOf(const QByteArray& className, int schema, const QList<int>& ids, const QByteArray& fileName = QByteArray())
{
    CArchiveWriter w;
    const bool buyers = fileName == "Buyer.dat";
    w.setBigTags(fileName == "Seller.dat");
    w.count(quint32(ids.size() + (buyers ? 3 : 0)));
    quint32 classIndex = 0;
    quint32 firstObject = 0;
    for (int id : ids) {
        w.text(QByteArray::number(id));
        if (!classIndex) {
            firstObject = newRecordClass(w, className, schema);
            classIndex = firstObject - 1;
        } else {
            w.knownClass(classIndex);
        }
        writeFields(w, className, schema, id);
    }
    if (buyers) {
        w.text("3");
        w.knownClass(classIndex);
        writeAwkwardBuyer(w, schema);
        w.text("4");
        w.objectRef(firstObject);
        w.text("5");
        w.nullRef();
    }
    return w.bytes();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Every data file with the schema of its class given by the default (0 the
// class's current schema, -1 no file) or by an override "Invoice.dat:5".
void writeDataFolder(const QString& dataPath, int defaultSchema, const QStringList& overrides)
{
    QVERIFY(QDir().mkpath(dataPath));
    for (const DataFile& file : dataFiles) {
        int schema = defaultSchema == 0 ? currentSchema(file.className) : defaultSchema;
        for (const QString& entry : overrides) {
            if (entry.section(QLatin1Char(':'), 0, 0) == QLatin1String(file.name))
                schema = entry.section(QLatin1Char(':'), 1).toInt();
        }
        if (schema < 0)
            continue;
        writeFile(dataPath + QLatin1Char('/') + QLatin1String(file.name), mapOf(file.className, schema, {1, 2}, file.name));
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a copy of the converter placed in the folder, as the application stages it.
Run runConverter(const QString& folder, const QStringList& arguments = {}, const QByteArray& zone = "UTC",
                 const QByteArray& locale = "C.UTF-8")
{
    const QString program = folder + QStringLiteral("/mirvole");
    if (!QFile::exists(program)) {
        QFile::copy(QStringLiteral(MIRVOLE_PATH), program);
        QFile::setPermissions(program, QFile::permissions(QStringLiteral(MIRVOLE_PATH)));
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QString::fromLatin1(zone));
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = QString::fromUtf8(process.readAllStandardError());
    const QString sqlPath = folder + QStringLiteral("/data/mirvole.sql");
    run.sqlExists = QFileInfo(sqlPath).isFile();
    run.sql = readFile(sqlPath);
    const QString logPath = folder + QStringLiteral("/data/mirvole.log");
    run.logExists = QFile::exists(logPath);
    run.log = QString::fromUtf8(readFile(logPath));
    return run;
}

// The statements of an output file, decoded from Windows-1250. Every line of
// the file must end with CR LF.
QStringList statements(const QByteArray& sql)
{
    if (sql.isEmpty())
        return {};
    if (!sql.endsWith("\r\n") || sql.count('\n') != sql.count("\r\n"))
        return {QStringLiteral("(lines not ended with CR LF)")};
    QStringList lines = cp1250()->toUnicode(sql.left(sql.size() - 2)).split(QStringLiteral("\r\n"));
    return lines;
}

QStringList expectedStatements(const QString& name)
{
    const QString text = QString::fromUtf8(readFile(QStringLiteral(TEST_DATA_DIR "/") + name));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ofTable(const QStringList& lines, const QString& table)
{
    return lines.filter(QRegularExpression(QStringLiteral("^INSERT INTO ") + table + QStringLiteral("\\(")));
}

QString archiveMessage(const QString& path, const QString& cause)
{
    return QStringLiteral("Wyjątek CArchiveException.\nBłąd pliku danych: ") + QDir::toNativeSeparators(path)
        + QStringLiteral(".\n") + cause;
}

void compareLines(const QStringList& actual, const QStringList& expected)
{
    for (int i = 0; i < qMin(actual.size(), expected.size()); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
    QCOMPARE(actual.size(), expected.size());
}

} // namespace

void TestMirvole::convertsEveryRecordClass_data()
{
    QTest::addColumn<int>("defaultSchema");
    QTest::addColumn<QStringList>("overrides");
    QTest::addColumn<QString>("expected");

    QTest::newRow("current schemas") << 0 << QStringList() << QStringLiteral("current_schemas.sql");
    QTest::newRow("first schemas") << 1 << QStringList() << QStringLiteral("first_schemas.sql");
    QTest::newRow("schemas in between")
        << -1
        << QStringList{QStringLiteral("Invoice.dat:5"), QStringLiteral("Product.dat:4"), QStringLiteral("InvoiceProduct.dat:2")}
        << QStringLiteral("schemas_between.sql");
}

void TestMirvole::convertsEveryRecordClass()
{
    QFETCH(int, defaultSchema);
    QFETCH(QStringList, overrides);
    QFETCH(QString, expected);

    QTemporaryDir folder;
    writeDataFolder(folder.filePath(QStringLiteral("data")), defaultSchema, overrides);
    const Run run = runConverter(folder.path());
    QCOMPARE(run.errors, QString());
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!run.logExists);
    compareLines(statements(run.sql), expectedStatements(expected));
}

void TestMirvole::brokenFileIsReportedAndTheRunGoesOn_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("kept");

    const QString endOfFile = QStringLiteral("Osiągnięty koniec pliku podczas odczytu obiektu.");
    const QString wrongClass = QStringLiteral("Próba odczytu obiektu do obiektu złego typu.");
    const QString wrongSchema = QStringLiteral("Próba odczytu obiektu z inna wersją klasy.");

    const QByteArray invoices = mapOf("CInvoice", 6, {1, 2, 3});
    QTest::newRow("documents cut short") << QStringLiteral("Invoice.dat") << invoices.left(invoices.size() - 30)
                                         << endOfFile << QStringLiteral("invoice") << 2;
    QTest::newRow("empty file") << QStringLiteral("Product.dat") << QByteArray() << endOfFile << QStringLiteral("product") << 0;

    CArchiveWriter unknown;
    unknown.count(1).text("1");
    unknown.newClass("CPlatnosc", 0x8002);
    unknown.int32(1).text("przelew").text("przelewem");
    QTest::newRow("unknown class") << QStringLiteral("PayForm.dat") << unknown.bytes() << wrongClass
                                   << QStringLiteral("pay_form") << 0;

    CArchiveWriter sellerAmongBuyers;
    sellerAmongBuyers.count(2).text("1");
    newRecordClass(sellerAmongBuyers, "CBuyer", 2);
    writeFields(sellerAmongBuyers, "CBuyer", 2, 1);
    sellerAmongBuyers.text("2");
    newRecordClass(sellerAmongBuyers, "CSeller", 2);
    writeFields(sellerAmongBuyers, "CSeller", 2, 2);
    QTest::newRow("seller among the buyers") << QStringLiteral("Buyer.dat") << sellerAmongBuyers.bytes() << wrongClass
                                             << QStringLiteral("buyer") << 1;

    QTest::newRow("country of schema 2") << QStringLiteral("Country.dat") << mapOf("CCountry", 2, {1, 2}) << wrongSchema
                                         << QStringLiteral("country") << 0;
    QTest::newRow("document of schema 7") << QStringLiteral("Invoice.dat") << mapOf("CInvoice", 7, {1}) << wrongSchema
                                          << QStringLiteral("invoice") << 0;

    CArchiveWriter badReference;
    badReference.count(2).text("1");
    newRecordClass(badReference, "CEndText", 1);
    writeFields(badReference, "CEndText", 1, 1);
    badReference.text("2");
    badReference.objectRef(9);
    QTest::newRow("reference to an object not read") << QStringLiteral("InvoiceEndText.dat") << badReference.bytes()
                                                     << QStringLiteral("Zły format pliku.")
                                                     << QStringLiteral("invoice_end_text") << 1;
}

void TestMirvole::brokenFileIsReportedAndTheRunGoesOn()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);
    QFETCH(QString, table);
    QFETCH(int, kept);

    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    writeFile(dataPath + QLatin1Char('/') + fileName, bytes);
    writeFile(dataPath + QStringLiteral("/Province.dat"), mapOf("CProvince", 1, {1}));

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    const QString message = archiveMessage(dataPath + QLatin1Char('/') + fileName, cause) + QLatin1Char('\n');
    QCOMPARE(run.errors, message);
    QCOMPARE(run.log, message);

    const QStringList current = expectedStatements(QStringLiteral("current_schemas.sql"));
    const QStringList lines = statements(run.sql);
    compareLines(ofTable(lines, table), ofTable(current, table).mid(0, kept));
    QCOMPARE(ofTable(lines, QStringLiteral("province")), ofTable(current, QStringLiteral("province")).mid(0, 1));
    QCOMPARE(lines.size(), kept + 1);
}

void TestMirvole::twoBrokenFilesGiveTwoMessagesInReadingOrder()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    // Country.dat is read near the end, Buyer.dat first.
    writeFile(dataPath + QStringLiteral("/Country.dat"), mapOf("CCountry", 2, {1}));
    const QByteArray buyers = mapOf("CBuyer", 2, {1, 2});
    writeFile(dataPath + QStringLiteral("/Buyer.dat"), buyers.left(buyers.size() - 1));

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    const QString expected =
        archiveMessage(dataPath + QStringLiteral("/Buyer.dat"), QStringLiteral("Osiągnięty koniec pliku podczas odczytu obiektu."))
        + QLatin1Char('\n')
        + archiveMessage(dataPath + QStringLiteral("/Country.dat"), QStringLiteral("Próba odczytu obiektu z inna wersją klasy."))
        + QLatin1Char('\n');
    QCOMPARE(run.errors, expected);
    QCOMPARE(run.log, expected);
    compareLines(statements(run.sql), ofTable(expectedStatements(QStringLiteral("current_schemas.sql")), QStringLiteral("buyer")).mid(0, 1));
}

void TestMirvole::emptyFolderGivesAnEmptyFile()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    writeFile(dataPath + QStringLiteral("/mirvole.sql"), "INSERT INTO country(id, name) VALUES (1,'stary');\r\n");
    writeFile(dataPath + QStringLiteral("/mirvole.log"), "stary komunikat\n");

    const Run run = runConverter(folder.path(), {QStringLiteral("--help"), QStringLiteral("inny")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errors, QString());
    QVERIFY(run.sqlExists);
    QCOMPARE(run.sql, QByteArray());
    QVERIFY(!run.logExists);
}

void TestMirvole::fileNamesIgnoreLetterCase()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    writeFile(dataPath + QStringLiteral("/BUYER.DAT"), mapOf("CBuyer", 2, {1, 2}, "Buyer.dat"));
    writeFile(dataPath + QStringLiteral("/country.Dat"), mapOf("CCountry", 1, {1, 2}));

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errors, QString());
    const QStringList current = expectedStatements(QStringLiteral("current_schemas.sql"));
    compareLines(statements(run.sql), ofTable(current, QStringLiteral("buyer")) + ofTable(current, QStringLiteral("country")));
}

void TestMirvole::longTextsAndLocalTime()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    QByteArray long70000;
    for (int i = 0; i < 7000; ++i)
        long70000 += "0123456789";
    CArchiveWriter w;
    w.count(2).text("1");
    newRecordClass(w, "CEndText", 1);
    w.int32(1).time(0).time(noon).text(QByteArray(255, 'a'));
    w.text("2");
    w.knownClass(1);
    w.int32(2).time(0).time(noon).text(long70000);
    writeFile(dataPath + QStringLiteral("/EndText.dat"), w.bytes());

    // One hour east of UTC: times are written in the converting machine's local time.
    const Run run = runConverter(folder.path(), {}, "CET-1");
    QCOMPARE(run.exitCode, 0);
    const QString head = QStringLiteral("INSERT INTO end_text(id, time_create, time_modify, content) VALUES (");
    const QString times = QStringLiteral(",'1970-01-01 01:00:00','2010-01-01 13:03:04','");
    compareLines(statements(run.sql),
                 {head + QLatin1Char('1') + times + QString(255, QLatin1Char('a')) + QStringLiteral("');"),
                  head + QLatin1Char('2') + times + QString::fromLatin1(long70000) + QStringLiteral("');")});
}

void TestMirvole::timesInLocalTimeWithLatinDigits_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("times");

    QTest::newRow("UTC, English") << QByteArray("UTC") << QByteArray("en_US.UTF-8")
                                  << QStringLiteral("'1970-01-01 00:00:00','2010-01-01 12:03:04'");
    QTest::newRow("one hour east, Polish") << QByteArray("CET-1") << QByteArray("pl_PL.UTF-8")
                                           << QStringLiteral("'1970-01-01 01:00:00','2010-01-01 13:03:04'");
    QTest::newRow("five hours west, Arabic digits") << QByteArray("EST5") << QByteArray("ar_EG.UTF-8")
                                                    << QStringLiteral("'1969-12-31 19:00:00','2010-01-01 07:03:04'");
    QTest::newRow("UTC, Persian digits") << QByteArray("UTC") << QByteArray("fa_IR.UTF-8")
                                         << QStringLiteral("'1970-01-01 00:00:00','2010-01-01 12:03:04'");
}

// The database compares and sorts these texts, so they keep one form whatever
// the converting machine's language; only the clock follows its time zone.
void TestMirvole::timesInLocalTimeWithLatinDigits()
{
    QFETCH(QByteArray, zone);
    QFETCH(QByteArray, locale);
    QFETCH(QString, times);

    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    CArchiveWriter w;
    w.count(1).text("1");
    newRecordClass(w, "CEndText", 1);
    w.int32(1).time(0).time(noon).text("stopka");
    writeFile(dataPath + QStringLiteral("/EndText.dat"), w.bytes());

    const Run run = runConverter(folder.path(), {}, zone, locale);
    QCOMPARE(run.exitCode, 0);
    compareLines(statements(run.sql),
                 {QStringLiteral("INSERT INTO end_text(id, time_create, time_modify, content) VALUES (1,") + times
                  + QStringLiteral(",'stopka');")});
}

void TestMirvole::failedWriteEndsWithAnError()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath + QStringLiteral("/mirvole.sql")));
    writeFile(dataPath + QStringLiteral("/Country.dat"), mapOf("CCountry", 1, {1, 2}));

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 2);
    const QString message = QStringLiteral("Nie można zapisać pliku ") + QDir::toNativeSeparators(dataPath)
        + QStringLiteral("/mirvole.sql.\n");
    QVERIFY2(run.errors.startsWith(message), qPrintable(run.errors));
    QCOMPARE(run.log, run.errors);
    // Nothing half written is left behind under another name either.
    QCOMPARE(QDir(dataPath).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({QStringLiteral("Country.dat"), QStringLiteral("mirvole.log"), QStringLiteral("mirvole.sql")}));
}

void TestMirvole::missingDataFolderEndsWithAnError()
{
    QTemporaryDir folder;
    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errors, QStringLiteral("Nie znaleziono katalogu z plikami danych: ")
                             + QDir::toNativeSeparators(folder.filePath(QStringLiteral("data"))) + QStringLiteral(".\n"));
    QVERIFY(!run.sqlExists);
}

// The converter's output through the application's own SQL import into a
// database made by the schema script: the file is not UTF-8, so it is read as
// Windows-1250, and the texts must arrive whole, with real line breaks and tabs.
void TestMirvole::importKeepsPolishLettersAndLineBreaks()
{
    QTemporaryDir folder;
    writeDataFolder(folder.filePath(QStringLiteral("data")), 0, {});
    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(run.sql.constData(), run.sql.size(), &state);
    QVERIFY(state.invalidChars > 0);

    QVERIFY(MTestDatabase::openNew(folder.filePath(QStringLiteral("Invoice.db3"))));
    // The reference tables come with rows of ids 1 and 2 of their own; the
    // converted rows of those ids are not imported over them.
    const QHash<QString, int> addedRows = {
        {"buyer", 3},
        {"country", 0},
        {"end_text", 2},
        {"invoice", 2},
        {"invoice_buyer", 2},
        {"invoice_correct_misc", 2},
        {"invoice_end_text", 2},
        {"invoice_index_format", 0},
        {"invoice_product", 2},
        {"invoice_product_misc", 2},
        {"invoice_seller", 2},
        {"pay_form", 0},
        {"product", 2},
        {"province", 0},
        {"seller", 2},
    };
    QHash<QString, int> before;
    for (auto it = addedRows.cbegin(); it != addedRows.cend(); ++it)
        before.insert(it.key(), MTestDatabase::count(it.key()));
    const QString referenceRows = QStringLiteral(
        "SELECT (SELECT name FROM country WHERE id = 1) || '|' || (SELECT name FROM province WHERE id = 2) || '|' || "
        "(SELECT basic_form FROM pay_form WHERE id = 2) || '|' || (SELECT period FROM invoice_index_format WHERE id = 1)");
    const QString referenceBefore = MTestDatabase::value(referenceRows).toString();

    const QString sqlPath = folder.filePath(QStringLiteral("data/mirvole.sql"));
    const QString tempPath = folder.path() + QLatin1Char('/');
    const MSqlImport::Report first = MSqlImport::importFile(sqlPath, tempPath);
    QVERIFY2(first.ok(), qPrintable(first.message()));
    // 31 lines: two records a file and the awkward buyer; the first buyer's
    // second key adds no line. The eight rows of the reference tables find
    // their rows already there.
    QCOMPARE(first.run.executed, 23);
    QCOMPARE(first.run.repeatFailures, 8);

    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT firm || '|' || address || '|' || city || '|' || www || '|' || "
                                                 "additional FROM buyer WHERE id = 3")).toString(),
             QStringLiteral("Zażółć gęślą jaźń|ul. O'Neila 5|Łódź|abc|linia 1\r\nlinia 2\tkoniec"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT content FROM invoice_end_text WHERE id = 2")).toString(),
             QStringLiteral("Dziękujemy\r\nza zakupy 2"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM product WHERE id = 1")).toString(),
             QStringLiteral("Śruba 1"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT place_put FROM invoice WHERE id = 2")).toString(),
             QStringLiteral("Kraków 2"));
    QCOMPARE(MTestDatabase::value(referenceRows).toString(), referenceBefore);

    for (auto it = addedRows.cbegin(); it != addedRows.cend(); ++it)
        QVERIFY2(MTestDatabase::count(it.key()) == before.value(it.key()) + it.value(), qPrintable(it.key()));

    // Every converted row carries its own id: a second import adds nothing.
    const MSqlImport::Report second = MSqlImport::importFile(sqlPath, tempPath);
    QVERIFY2(second.ok(), qPrintable(second.message()));
    QCOMPARE(second.run.executed, 0);
    QCOMPARE(second.run.repeatFailures, 31);
    for (auto it = addedRows.cbegin(); it != addedRows.cend(); ++it)
        QVERIFY2(MTestDatabase::count(it.key()) == before.value(it.key()) + it.value(), qPrintable(it.key()));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM buyer WHERE firm = 'Zażółć gęślą jaźń'")).toInt(), 1);
    MTestDatabase::close();
}

void TestMirvole::numbersThatAreNoNumbersAreWrittenAsZero_data()
{
    QTest::addColumn<double>("price");

    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("negative NaN") << -std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("negative infinity") << -std::numeric_limits<double>::infinity();
}

// A price that is no number must not cost the product: the statement stays
// importable, with 0 in its place, and the log names where it was.
void TestMirvole::numbersThatAreNoNumbersAreWrittenAsZero()
{
    QFETCH(double, price);

    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    CArchiveWriter w;
    w.count(1).text("7");
    newRecordClass(w, "CProduct", 5);
    w.int32(7).real(price).int32(23).text("23%").wideTime(newYear).wideTime(noon);
    w.text(pl("Śruba")).text("").text("szt.").text("").text("SYM").int32(1).int32(2).int32(0).real(price);
    writeFile(dataPath + QStringLiteral("/Product.dat"), w.bytes());

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = statements(run.sql);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(QStringLiteral("VALUES (7,0.000000,23,'23%',")), qPrintable(lines.first()));
    QVERIFY2(lines.first().endsWith(QStringLiteral(",0.000000);")), qPrintable(lines.first()));
    QVERIFY2(!lines.first().contains(QStringLiteral("nan")) && !lines.first().contains(QStringLiteral("inf")),
             qPrintable(lines.first()));
    const QStringList logLines = run.log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(logLines.size(), 2);
    for (const QString& line : logLines) {
        QVERIFY2(line.startsWith(QStringLiteral("Plik Product.dat, rekord 7: pole ")), qPrintable(line));
        QVERIFY2(line.endsWith(QStringLiteral(" nie zawiera liczby; zapisano 0.")), qPrintable(line));
    }
    QVERIFY(logLines.at(0) != logLines.at(1));

    QVERIFY(MTestDatabase::openNew(folder.filePath(QStringLiteral("Invoice.db3"))));
    const MSqlImport::Report report = MSqlImport::importFile(dataPath + QStringLiteral("/mirvole.sql"), folder.path() + QLatin1Char('/'));
    QVERIFY2(report.ok(), qPrintable(report.message()));
    QCOMPARE(report.run.executed, 1);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM product WHERE id = 7")).toString(), QStringLiteral("Śruba"));
    MTestDatabase::close();
}

// Each key that refers back to a record read before leads to the same record:
// the output grows with the records, not with the keys.
void TestMirvole::recordReferredToManyTimesIsWrittenOnce()
{
    constexpr quint32 references = 1000;
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    CArchiveWriter w;
    w.count(references + 2);
    w.text("1");
    const quint32 first = newRecordClass(w, "CCountry", 1);
    writeFields(w, "CCountry", 1, 1);
    w.text("2");
    w.knownClass(first - 1);
    writeFields(w, "CCountry", 1, 2);
    for (quint32 i = 0; i < references; ++i) {
        w.text("ref " + QByteArray::number(i));
        w.objectRef(first);
    }
    writeFile(dataPath + QStringLiteral("/Country.dat"), w.bytes());

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(statements(run.sql), QStringList({QStringLiteral("INSERT INTO country(id, name) VALUES (1,'Państwo 1');"),
                                               QStringLiteral("INSERT INTO country(id, name) VALUES (2,'Państwo 2');")}));
    QVERIFY(!run.logExists);
}

enum class DataEntry { Pipe, Folder, DanglingLink };
Q_DECLARE_METATYPE(DataEntry)

void TestMirvole::entriesThatAreNoReadableFilesAreLogged_data()
{
    QTest::addColumn<DataEntry>("entry");
    QTest::addColumn<QString>("reason");

    QTest::newRow("pipe") << DataEntry::Pipe << QStringLiteral(": to nie jest zwykły plik danych.");
    QTest::newRow("folder") << DataEntry::Folder << QStringLiteral(": to nie jest zwykły plik danych.");
    QTest::newRow("link to nothing") << DataEntry::DanglingLink << QStringLiteral(": nie można otworzyć pliku.\n");
}

// The run passes over what it cannot read, says so in the log and converts
// the rest; a pipe with no writer must not hold it up.
void TestMirvole::entriesThatAreNoReadableFilesAreLogged()
{
    QFETCH(DataEntry, entry);
    QFETCH(QString, reason);

    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(dataPath));
    const QString buyers = dataPath + QStringLiteral("/Buyer.dat");
    switch (entry) {
    case DataEntry::Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(buyers).constData(), 0600), 0);
        break;
    case DataEntry::Folder:
        QVERIFY(QDir().mkpath(buyers));
        break;
    case DataEntry::DanglingLink:
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("missing.dat")), buyers));
        break;
    }
    writeFile(dataPath + QStringLiteral("/Country.dat"), mapOf("CCountry", 1, {1}));

    const Run run = runConverter(folder.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(statements(run.sql), QStringList({QStringLiteral("INSERT INTO country(id, name) VALUES (1,'Państwo 1');")}));
    const QString expectedStart = QStringLiteral("Pominięto ") + QDir::toNativeSeparators(buyers) + reason;
    QVERIFY2(run.log.startsWith(expectedStart), qPrintable(run.log));
    QCOMPARE(run.log.count(QStringLiteral("Pominięto")), 1);
    QCOMPARE(run.errors, run.log);
}

// The output of an earlier run is gone as soon as a new run starts, so that a
// run that ends before writing (here stopped by a file size limit at its first
// write) leaves nothing to be imported in its name.
void TestMirvole::staleOutputGoesBeforeTheConversion()
{
    QTemporaryDir folder;
    const QString dataPath = folder.filePath(QStringLiteral("data"));
    writeDataFolder(dataPath, 0, {});
    const QString sqlPath = dataPath + QStringLiteral("/mirvole.sql");
    writeFile(sqlPath, "INSERT INTO country(id, name) VALUES (9,'z poprzedniej konwersji');\r\n");

    const QString program = folder.filePath(QStringLiteral("mirvole"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVOLE_PATH), program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(QStringLiteral(MIRVOLE_PATH))));
    QProcess process;
    process.start(QStringLiteral("prlimit"), {QStringLiteral("--fsize=512"), QStringLiteral("--"), program});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0,
             "the run was meant to be stopped by the file size limit");
    QVERIFY(!QFile::exists(sqlPath));
}

INVOICE_TEST_MAIN(TestMirvole)
#include "tst_mirvole.moc"
