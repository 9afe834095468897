#include "CArchiveWriter.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MLegacyExport.h"
#include "core/MSqlImport.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QWidget>
#include <QtTest>

// The whole road from a 1.xx data folder to rows in a new database: the
// application stages the old files and the built converter and starts it, the
// converter writes its SQL file, and the application's SQL import reads it.
class TestLegacyConversion : public QObject
{
    Q_OBJECT

private slots:
    void oldDataArrivesInTheDatabase();
};

namespace {

constexpr qint32 created = 1262304000; // 2010-01-01 00:00:00 UTC
constexpr qint32 modified = 1267401600; // 2010-03-01 00:00:00 UTC

// The old program wrote its texts in Windows-1250.
QByteArray pl(const char* utf8)
{
    return QTextCodec::codecForName("Windows-1250")->fromUnicode(QString::fromUtf8(utf8));
}

// The record maps of the old data files: a count, then each record under its
// key, the first naming its class (with the class's schema) and the others
// referring to that class.
class MapWriter
{
public:
    MapWriter(const QByteArray& className, quint16 schemaWord, quint32 records)
        : m_className(className), m_schemaWord(schemaWord)
    {
        m_archive.count(records);
    }

    CArchiveWriter& record(qint32 id)
    {
        m_archive.text(QByteArray::number(id));
        if (m_classIndex == 0)
            m_archive.newClass(m_className, m_schemaWord, &m_classIndex);
        else
            m_archive.knownClass(m_classIndex);
        return m_archive.int32(id);
    }

    bool save(const QString& path) const { return m_archive.save(path); }

private:
    CArchiveWriter m_archive;
    QByteArray m_className;
    quint16 m_schemaWord;
    quint32 m_classIndex = 0;
};

constexpr quint16 versionable = 0x8000;

bool writeBuyers(const QString& path)
{
    MapWriter buyers("CBuyer", versionable | 2, 2);
    const QList<QByteArray> first = {pl("Zakład Stolarski „Dąb” Józef Łęcki"), "5261040828", "012345678",
                                     pl("Bank Spółdzielczy w Żywcu"), "12 1020 1026 0000 0402 0000 1234",
                                     pl("ul. Źródlana 7\r\nlok. 3"), pl("Żywiec"), "34-300", "33 861 00 00", "",
                                     "biuro@dab.example", "", pl("Józef"), pl("Łęcki"), "", pl("stały klient\tod 2005")};
    CArchiveWriter& one = buyers.record(11);
    one.int32(12).int32(1).time(created).time(modified);
    for (const QByteArray& text : first)
        one.text(text);
    one.real(5.0);

    CArchiveWriter& two = buyers.record(12);
    two.int32(7).int32(1).time(created).time(created);
    for (int field = 0; field < 16; ++field)
        two.text(field == 0 ? pl("Hurtownia Ślęża") : field == 6 ? pl("Wrocław") : QByteArray());
    two.real(0.0);
    return buyers.save(path);
}

bool writeClosingTexts(const QString& path)
{
    MapWriter texts("CEndText", 1, 1);
    texts.record(4).time(created).time(modified).text(pl("Dziękujemy za zakupy.\r\nZapraszamy ponownie!"));
    return texts.save(path);
}

bool writeProducts(const QString& path)
{
    MapWriter products("CProduct", versionable | 5, 2);
    products.record(21)
        .real(120.0).int32(23).text("23%").wideTime(created).wideTime(modified)
        .text(pl("Krzesło bukowe")).text("31.01.12").text("szt.").text(pl("lakierowane\r\nna zamówienie"))
        .text("KB-1").int32(1).int32(0).int32(1).real(147.6);
    products.record(22)
        .real(35.5).int32(8).text("8%").wideTime(created).wideTime(created)
        .text(pl("Usługa montażu")).text("").text("godz.").text("")
        .text("UM").int32(1).int32(0).int32(1).real(38.34);
    return products.save(path);
}

bool writePayForms(const QString& path)
{
    MapWriter forms("CPayForm", versionable | 2, 1);
    forms.record(9).text(pl("karta płatnicza")).text(pl("kartą płatniczą"));
    return forms.save(path);
}

} // namespace

void TestLegacyConversion::oldDataArrivesInTheDatabase()
{
    QTemporaryDir root;
    const QString oldData = root.filePath(QStringLiteral("faktury 1.xx/data"));
    QVERIFY(QDir().mkpath(oldData));
    QVERIFY(writeBuyers(oldData + QStringLiteral("/Buyer.dat")));
    QVERIFY(writeClosingTexts(oldData + QStringLiteral("/EndText.dat")));
    QVERIFY(writeProducts(oldData + QStringLiteral("/Product.dat")));
    QVERIFY(writePayForms(oldData + QStringLiteral("/PayForm.dat")));

    // The program's folder holds the converter, as an installation does.
    const QString programDir = root.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(programDir));
    const QString converter = programDir + QLatin1Char('/') + MLegacyExport::converterName();
    QVERIFY(QFile::copy(QStringLiteral(MIRVOLE_PATH), converter));
    QVERIFY(QFile::setPermissions(converter, QFile::permissions(QStringLiteral(MIRVOLE_PATH))));

    const QString tempPath = root.filePath(QStringLiteral("Moje pliki tymczasowe")) + QLatin1Char('/');
    QWidget window;
    MMessageBox::takeShown();
    MFileDialog::setNextFileName(oldData);
    const QString staged = MLegacyExport::run(&window, tempPath, programDir);
    QCOMPARE(staged, tempPath + QStringLiteral("temp/import_1xx/data"));

    auto* process = window.findChild<QProcess*>();
    QVERIFY(process);
    const QString sqlPath = staged + QStringLiteral("/mirvole.sql");
    QTRY_VERIFY_WITH_TIMEOUT(process->state() == QProcess::NotRunning && QFileInfo(sqlPath).isFile(), 60000);
    QCOMPARE(process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(process->exitCode(), 0);
    // Every file was read without a fault.
    QVERIFY(!QFileInfo::exists(staged + QStringLiteral("/mirvole.log")));
    QVERIFY(MMessageBox::takeShown().isEmpty());

    QVERIFY(MTestDatabase::openNew(root.filePath(QStringLiteral("Invoice.db3"))));
    const int buyersBefore = MTestDatabase::count(QStringLiteral("buyer"));
    const int payFormsBefore = MTestDatabase::count(QStringLiteral("pay_form"));
    const MSqlImport::Report report = MSqlImport::importFile(sqlPath, tempPath);
    QVERIFY2(report.ok(), qPrintable(report.message()));
    QCOMPARE(report.run.executed, 6);
    QCOMPARE(report.run.repeatFailures, 0);

    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), buyersBefore + 2);
    QCOMPARE(MTestDatabase::value(QStringLiteral(
                 "SELECT firm || '|' || nip || '|' || bank || '|' || address || '|' || city || '|' || zipcode || '|' || "
                 "permit_person_secondname || '|' || additional || '|' || id_province || '|' || reduct "
                 "FROM buyer WHERE id = 11")).toString(),
             QStringLiteral("Zakład Stolarski „Dąb” Józef Łęcki|5261040828|Bank Spółdzielczy w Żywcu|"
                            "ul. Źródlana 7\r\nlok. 3|Żywiec|34-300|Łęcki|stały klient\tod 2005|12|5"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT firm || '|' || city FROM buyer WHERE id = 12")).toString(),
             QStringLiteral("Hurtownia Ślęża|Wrocław"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT content FROM end_text WHERE id = 4")).toString(),
             QStringLiteral("Dziękujemy za zakupy.\r\nZapraszamy ponownie!"));
    QCOMPARE(MTestDatabase::value(QStringLiteral(
                 "SELECT name || '|' || unit || '|' || additional || '|' || netto_price || '|' || brutto_price "
                 "FROM product WHERE id = 21")).toString(),
             QStringLiteral("Krzesło bukowe|szt.|lakierowane\r\nna zamówienie|120|147.6"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM product WHERE id = 22")).toString(),
             QStringLiteral("Usługa montażu"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("pay_form")), payFormsBefore + 1);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT basic_form || '|' || second_form FROM pay_form WHERE id = 9"))
                 .toString(),
             QStringLiteral("karta płatnicza|kartą płatniczą"));
    MTestDatabase::close();
}

INVOICE_TEST_MAIN(TestLegacyConversion)
#include "tst_legacyconversion.moc"
