#include "MTestEnvironment.h"
#include "data/MPriceWords.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

// The amount to pay in Polish words, in full (grosze as a fraction or in words) and short.
class TestPriceWords : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void wordsAgreeWithNum2words();
};

void TestPriceWords::words_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<bool>("fullWords");
    QTest::addColumn<bool>("fullCents");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("expected");

    const QString pln = QStringLiteral("PLN");
    auto row = [&](const char* name, double price, bool fullWords, bool fullCents, const char* expected) {
        QTest::newRow(name) << price << fullWords << fullCents << pln << QString::fromUtf8(expected);
    };

    row("1234.56 fraction", 1234.56, true, false, "jeden tysiąc dwieście trzydzieści cztery PLN 56/100");
    row("1234.56 grosze in words", 1234.56, true, true, "jeden tysiąc dwieście trzydzieści cztery PLN pięćdziesiąt sześć gr.");
    row("0 fraction", 0.0, true, false, "zero PLN 00/100");
    row("0 grosze in words", 0.0, true, true, "zero PLN zero gr.");
    row("0.20 grosze in words", 0.20, true, true, "zero PLN dwadzieścia gr.");
    row("0.15 grosze in words", 0.15, true, true, "zero PLN piętnaście gr.");
    row("0.01 grosze in words", 0.01, true, true, "zero PLN jeden gr.");
    row("12.05 fraction", 12.05, true, false, "dwanaście PLN 05/100");
    row("12.05 grosze in words", 12.05, true, true, "dwanaście PLN pięć gr.");
    row("1000000", 1000000.0, true, false, "jeden milion PLN 00/100");
    row("2000000", 2000000.0, true, false, "dwa miliony PLN 00/100");
    row("5000000", 5000000.0, true, false, "pięć milionów PLN 00/100");
    row("101000", 101000.0, true, false, "sto jeden tysięcy PLN 00/100");
    row("21000", 21000.0, true, false, "dwadzieścia jeden tysięcy PLN 00/100");
    row("22000", 22000.0, true, false, "dwadzieścia dwa tysiące PLN 00/100");
    row("112000", 112000.0, true, false, "sto dwanaście tysięcy PLN 00/100");
    row("10000", 10000.0, true, false, "dziesięć tysięcy PLN 00/100");
    row("1000500", 1000500.0, true, false, "jeden milion pięćset PLN 00/100");
    row("15", 15.0, true, false, "piętnaście PLN 00/100");
    row("10", 10.0, true, false, "dziesięć PLN 00/100");
    row("120", 120.0, true, false, "sto dwadzieścia PLN 00/100");
    row("1000", 1000.0, true, false, "jeden tysiąc PLN 00/100");
    row("999999999.99", 999999999.99, true, false,
        "dziewięćset dziewięćdziesiąt dziewięć milionów dziewięćset dziewięćdziesiąt dziewięć tysięcy "
        "dziewięćset dziewięćdziesiąt dziewięć PLN 99/100");
    row("1234567890.12", 1234567890.12, true, false,
        "jeden miliard dwieście trzydzieści cztery miliony pięćset sześćdziesiąt siedem tysięcy "
        "osiemset dziewięćdziesiąt PLN 12/100");
    row("1000000000", 1000000000.0, true, false, "jeden miliard PLN 00/100");
    row("2000000000", 2000000000.0, true, false, "dwa miliardy PLN 00/100");
    row("5000000000", 5000000000.0, true, false, "pięć miliardów PLN 00/100");
    row("12000000000", 12000000000.0, true, false, "dwanaście miliardów PLN 00/100");
    row("21000000000", 21000000000.0, true, false, "dwadzieścia jeden miliardów PLN 00/100");
    row("1000000500", 1000000500.0, true, false, "jeden miliard pięćset PLN 00/100");
    row("999999999999.99", 999999999999.99, true, true,
        "dziewięćset dziewięćdziesiąt dziewięć miliardów dziewięćset dziewięćdziesiąt dziewięć milionów "
        "dziewięćset dziewięćdziesiąt dziewięć tysięcy dziewięćset dziewięćdziesiąt dziewięć PLN "
        "dziewięćdziesiąt dziewięć gr.");
    row("negative as absolute value", -1234.56, true, false, "jeden tysiąc dwieście trzydzieści cztery PLN 56/100");
    row("short 1234.56", 1234.56, false, false, "jed*dwa*trz*czt*56/100");
    row("short 0.5", 0.5, false, true, "zer*50/100");
    row("short 9876543210.07", 9876543210.07, false, false, "dzi*osi*sie*sze*pie*czt*trz*dwa*jed*zer*07/100");

    QTest::newRow("empty currency keeps its blank") << 7.0 << true << false << QString() << QStringLiteral("siedem  00/100");
    QTest::newRow("short form ignores currency") << 3.5 << false << false << QStringLiteral("EUR") << QStringLiteral("trz*50/100");
}

void TestPriceWords::words()
{
    QFETCH(double, price);
    QFETCH(bool, fullWords);
    QFETCH(bool, fullCents);
    QFETCH(QString, currency);
    QFETCH(QString, expected);

    QCOMPARE(MPriceWords::text(price, fullWords, fullCents, currency), expected);
}

// Random amounts against the Polish words of num2words. Where the two conventions differ
// ("jeden tysiąc", "jeden milion", "jeden miliard" against the bare noun), both sides
// leave the "jeden" before a lone group noun out.
void TestPriceWords::wordsAgreeWithNum2words()
{
    QRandomGenerator random(20261211);
    QList<qint64> amounts;
    for (int i = 0; i < 300; ++i) {
        const int digits = 1 + i % 12;
        qint64 limit = 1;
        for (int d = 0; d < digits; ++d)
            limit *= 10;
        amounts << qint64(random.generate64() % quint64(limit));
    }

    QStringList input;
    for (qint64 amount : amounts)
        input << QString::number(amount);

    QProcess python;
    python.start(QStringLiteral(INVOICE_PYTHON3),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys\n"
                                 "from num2words import num2words\n"
                                 "for line in sys.stdin:\n"
                                 "    print(num2words(int(line), lang='pl'))\n")});
    QVERIFY(python.waitForStarted());
    python.write(QByteArray(input.join(QLatin1Char('\n')).toUtf8()).append('\n'));
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished());
    QCOMPARE(python.exitCode(), 0);
    const QStringList expected = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(expected.size(), amounts.size());

    const QRegularExpression loneOne(QStringLiteral("(^| )jeden (tysiąc|milion|miliard)( |$)"));
    auto normalised = [&](QString words) {
        words.replace(loneOne, QStringLiteral("\\1\\2\\3"));
        // num2words 0.5.10 misspells 90 in some places.
        words.replace(QStringLiteral("dziewięćdzisiąt"), QStringLiteral("dziewięćdziesiąt"));
        return words.simplified();
    };

    for (int i = 0; i < amounts.size(); ++i) {
        const QString ours = MPriceWords::text(double(amounts.at(i)), true, false, QString());
        QVERIFY2(ours.endsWith(QStringLiteral("  00/100")), qPrintable(ours));
        const QString words = ours.left(ours.size() - 8);
        QCOMPARE(normalised(words), normalised(expected.at(i)));
    }
}

INVOICE_TEST_MAIN(TestPriceWords)
#include "tst_pricewords.moc"
