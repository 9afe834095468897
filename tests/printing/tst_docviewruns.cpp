#include "MTestDataEnvironment.h"
#include "data/MDocViewRuns.h"

#include <QtTest>

// How a marking splits into runs and which files a PDF job writes.
class TestDocViewRuns : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void pdfFileName_data();
    void pdfFileName();
};

void TestDocViewRuns::runs_data()
{
    QTest::addColumn<int>("docView");
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("print unmarked") << 0 << false << QList<int>{0};
    QTest::newRow("print copy") << 2 << false << QList<int>{2};
    QTest::newRow("print original and copy") << 3 << false << QList<int>{1, 2};
    QTest::newRow("print original / copy") << 4 << false << QList<int>{4};
    QTest::newRow("print unmarked twice") << 5 << false << QList<int>{0, 0};
    QTest::newRow("pdf original and copy") << 3 << true << QList<int>{1, 2};
    QTest::newRow("pdf original") << 1 << true << QList<int>{1};
}

void TestDocViewRuns::runs()
{
    QFETCH(int, docView);
    QFETCH(bool, pdf);
    QFETCH(QList<int>, expected);
    QCOMPARE(MDocViewRuns::runs(docView, pdf), expected);
}

void TestDocViewRuns::pdfFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("twoFiles");
    QTest::addColumn<int>("runDocView");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one file") << QStringLiteral("/dom/faktury/FV.pdf") << false << 1
                              << QStringLiteral("/dom/faktury/FV.pdf");
    QTest::newRow("no suffix") << QStringLiteral("/dom/faktura") << false << 0 << QStringLiteral("/dom/faktura.pdf");
    QTest::newRow("other suffix") << QStringLiteral("/dom/faktura.2014") << false << 0
                                  << QStringLiteral("/dom/faktura.2014");
    QTest::newRow("original of two") << QStringLiteral("faktury/FV.pdf") << true << 1
                                     << QStringLiteral("faktury/FV-12-FV_3_2014-oryginal.pdf");
    QTest::newRow("copy of two") << QStringLiteral("faktury/FV.pdf") << true << 2
                                 << QStringLiteral("faktury/FV-12-FV_3_2014-kopia.pdf");
    QTest::newRow("two without suffix") << QStringLiteral("/a.b/FV") << true << 2
                                        << QStringLiteral("/a.b/FV-12-FV_3_2014-kopia.pdf");
    QTest::newRow("two, last dot counts") << QStringLiteral("FV.2014.pdf") << true << 1
                                          << QStringLiteral("FV.2014-12-FV_3_2014-oryginal.pdf");
}

void TestDocViewRuns::pdfFileName()
{
    QFETCH(QString, chosen);
    QFETCH(bool, twoFiles);
    QFETCH(int, runDocView);
    QFETCH(QString, expected);
    QCOMPARE(MDocViewRuns::pdfFileName(chosen, twoFiles, 12, QStringLiteral("FV 3/2014"), runDocView), expected);
}

INVOICE_TEST_MAIN(TestDocViewRuns)
#include "tst_docviewruns.moc"
