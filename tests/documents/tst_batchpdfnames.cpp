#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MBatchPdfNames.h"

#include <QtTest>

// The names a batch gives its documents: PDF files per pass, the e-mail file
// and attachment, and the number a duplicate goes by.
class TestBatchPdfNames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fileName_data();
    void fileName();
    void email_data();
    void email();
    void documentNumber_data();
    void documentNumber();

private:
    MTestDatabase m_db;
};

void TestBatchPdfNames::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1}, {"invoice_index_format_text", QStringLiteral("FV [nr]/[mm]/[rrrr]")}});
    const auto add = [](int id, int kind, int parent, int index) {
        MTestDatabase::insert(QStringLiteral("invoice"), {{"id", id},
                                                          {"invoice_kind", kind},
                                                          {"id_parent_invoice", parent},
                                                          {"invoice_index", index},
                                                          {"id_seller", 1},
                                                          {"date_put", QStringLiteral("2014-05-10 00:00:00")}});
    };
    add(15, 0, 0, 3);
    add(16, 5, 15, 9);  // duplicate of 15; its own index must not show
    add(17, 2, 15, 4);  // correction: a number of its own
    add(18, 6, 17, 0);  // duplicate of the correction
}

void TestBatchPdfNames::fileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("jobSize");
    QTest::addColumn<int>("passCount");
    QTest::addColumn<int>("passDocView");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two documents") << "C:/dok/faktury.pdf" << 2 << 1 << 1
                                   << "C:/dok/faktury-15-FV_3_05_2014-oryginal.pdf";
    QTest::newRow("one document") << "a.pdf" << 1 << 1 << 1 << "a.pdf";
    QTest::newRow("one document, original of two passes") << "a.pdf" << 1 << 2 << 1
                                                           << "a-15-FV_3_05_2014-oryginal.pdf";
    QTest::newRow("one document, copy of two passes") << "a.pdf" << 1 << 2 << 2 << "a-15-FV_3_05_2014-kopia.pdf";
    QTest::newRow("no suffix, one document") << "/tmp/raport" << 1 << 1 << 0 << "/tmp/raport.pdf";
    QTest::newRow("no suffix, three documents") << "/tmp/raport" << 3 << 1 << 0
                                                << "/tmp/raport-15-FV_3_05_2014-bez_opisu.pdf";
    QTest::newRow("upper-case suffix kept") << "/tmp/raport.PDF" << 2 << 1 << 4
                                            << "/tmp/raport-15-FV_3_05_2014-oryginal_kopia.PDF";
    QTest::newRow("upper-case suffix, one document") << "/tmp/raport.PDF" << 1 << 1 << 1 << "/tmp/raport.PDF";
}

void TestBatchPdfNames::fileName()
{
    QFETCH(QString, chosen);
    QFETCH(int, jobSize);
    QFETCH(int, passCount);
    QFETCH(int, passDocView);
    QFETCH(QString, expected);

    QCOMPARE(MBatchPdfNames::fileName(chosen, jobSize, passCount, 15, QStringLiteral("FV 3/05/2014"), passDocView),
             expected);
}

void TestBatchPdfNames::email_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    // Digests taken with md5sum over the number's Latin-1 bytes.
    QTest::newRow("plain number") << "FV 1/2014" << "/base/temp/email_6e09974ef41225e439a73bc3c136bb92.pdf"
                                  << "FV_1_2014.pdf";
    QTest::newRow("Latin-1 letter") << QString::fromUtf8("F\u00d3 7/2014")
                                    << "/base/temp/email_e2a3b223c7eacbe6c3553a608c8032f4.pdf" << "F__7_2014.pdf";
}

void TestBatchPdfNames::email()
{
    QFETCH(QString, number);
    QFETCH(QString, path);
    QFETCH(QString, name);

    QCOMPARE(MBatchPdfNames::emailPath(QStringLiteral("/base/"), number), path);
    QCOMPARE(MBatchPdfNames::emailName(number), name);
}

void TestBatchPdfNames::documentNumber_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("number");

    QTest::newRow("document") << 15 << "FV 3/05/2014";
    QTest::newRow("duplicate by its parent") << 16 << "FV 3/05/2014";
    QTest::newRow("correction by its own") << 17 << "FV 4/05/2014";
    QTest::newRow("duplicate of a correction") << 18 << "FV 4/05/2014";
    QTest::newRow("unknown document") << 99 << "";
}

void TestBatchPdfNames::documentNumber()
{
    QFETCH(int, id);
    QFETCH(QString, number);

    QCOMPARE(MBatchPdfNames::documentNumber(id), number);
}

INVOICE_TEST_MAIN(TestBatchPdfNames)
#include "tst_batchpdfnames.moc"
