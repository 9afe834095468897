#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MNumberText.h"
#include "data/MOptions.h"
#include "data/MScrambleText.h"
#include "data/MSqlValue.h"
#include "data/MTextFunctions.h"
#include "views/MValidators.h"

#include <QApplication>
#include <QRegExpValidator>
#include <QSqlQuery>
#include <QtTest>

class TestFormatting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void numberTextIsPolishWithoutGroups_data();
    void numberTextIsPolishWithoutGroups();
    void amountTextGroupsAndDropsTrailingZeros_data();
    void amountTextGroupsAndDropsTrailingZeros();
    void xmlNumberTextIgnoresTheLocale_data();
    void xmlNumberTextIgnoresTheLocale();
    void maxAmountIsOneThousandMillion();

    void amountValidators_data();
    void amountValidators();
    void emailChecks_data();
    void emailChecks();

    void docViewName_data();
    void docViewName();
    void noWrapTextLeavesNoBlank();
    void monthName_data();
    void monthName();
    void sqlMonthNameCaseNamesEveryMonthInSql();

    void sqlValueGivesFirstColumnOfFirstRow_data();
    void sqlValueGivesFirstColumnOfFirstRow();

    void scrambledTextComesBack_data();
    void scrambledTextComesBack();
    void scrambledTextIsPrintableAndVaries();
    void damagedScrambledTextGivesNothing_data();
    void damagedScrambledTextGivesNothing();
};

void TestFormatting::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QVERIFY(MTestDatabase::connect(QStringLiteral(":memory:")));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral(
        "CREATE TABLE _options (id VARCHAR(255) PRIMARY KEY, content TEXT NOT NULL DEFAULT '')")));
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE item (id INTEGER PRIMARY KEY, name TEXT)")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO item (id, name) VALUES (1, 'Łódź'), (2, NULL)")));
    MOptions::loadOptions();
}

void TestFormatting::cleanupTestCase()
{
    MTestDatabase::close();
    QLocale::setDefault(QLocale::c());
}

void TestFormatting::numberTextIsPolishWithoutGroups_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("prec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal comma, padded") << 1234.5 << 2 << QStringLiteral("1234,50");
    QTest::newRow("negative below one") << -0.5 << 2 << QStringLiteral("-0,50");
    QTest::newRow("millions without groups") << 1234567.0 << 2 << QStringLiteral("1234567,00");
    QTest::newRow("four decimals rounded") << 0.123456 << 4 << QStringLiteral("0,1235");
    QTest::newRow("no decimals, half rounds up") << 12.5 << 0 << QStringLiteral("13");
}

void TestFormatting::numberTextIsPolishWithoutGroups()
{
    QFETCH(double, value);
    QFETCH(int, prec);
    QFETCH(QString, expected);
    QCOMPARE(numberText(value, prec), expected);
}

void TestFormatting::amountTextGroupsAndDropsTrailingZeros_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("prec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("group blank, one zero dropped") << 1234.5 << 2 << QStringLiteral("1 234,5");
    QTest::newRow("whole number loses its decimals") << 12.0 << 2 << QStringLiteral("12");
    QTest::newRow("one tenth") << 1.10 << 2 << QStringLiteral("1,1");
    QTest::newRow("no decimals asked") << 5.0 << 0 << QStringLiteral("5");
    QTest::newRow("two groups, rounded") << 1234567.891 << 2 << QStringLiteral("1 234 567,89");
    QTest::newRow("significant last digit kept") << 0.05 << 2 << QStringLiteral("0,05");
    QTest::newRow("negative thousands") << -2500.0 << 2 << QStringLiteral("-2 500");
    QTest::newRow("four decimals trimmed to two") << 3.1400 << 4 << QStringLiteral("3,14");
    QTest::newRow("ten is not cut to one") << 10.0 << 0 << QStringLiteral("10");
}

void TestFormatting::amountTextGroupsAndDropsTrailingZeros()
{
    QFETCH(double, value);
    QFETCH(int, prec);
    QFETCH(QString, expected);
    const QString text = amountText(value, prec);
    QCOMPARE(text, expected);
    QVERIFY(!text.contains(QChar(0x00A0)));
}

void TestFormatting::xmlNumberTextIgnoresTheLocale_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("prec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal point, no groups") << 1234.5 << 2 << QStringLiteral("1234.50");
    QTest::newRow("negative") << -7.0 << 2 << QStringLiteral("-7.00");
    QTest::newRow("no decimals") << 1999.6 << 0 << QStringLiteral("2000");
}

void TestFormatting::xmlNumberTextIgnoresTheLocale()
{
    QFETCH(double, value);
    QFETCH(int, prec);
    QFETCH(QString, expected);
    QCOMPARE(xmlNumberText(value, prec), expected);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString underGerman = xmlNumberText(value, prec);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QCOMPARE(underGerman, expected);
}

void TestFormatting::maxAmountIsOneThousandMillion()
{
    QCOMPARE(maxAmount(), 1e9);
}

void TestFormatting::amountValidators_data()
{
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("whole number") << false << 2 << "12" << true;
    QTest::newRow("one decimal after comma") << false << 2 << "12,3" << true;
    QTest::newRow("plus and decimal point") << false << 2 << "+0.45" << true;
    QTest::newRow("empty text") << false << 2 << "" << true;
    QTest::newRow("ten digits") << false << 2 << "1234567890" << true;
    QTest::newRow("minus refused when unsigned") << false << 2 << "-1" << false;
    QTest::newRow("three decimals of two") << false << 2 << "12,345" << false;
    QTest::newRow("eleven digits") << false << 2 << "12345678901" << false;
    QTest::newRow("letters") << false << 2 << "1a" << false;
    QTest::newRow("four decimals allowed") << false << 4 << "1,2345" << true;
    QTest::newRow("signed takes minus") << true << 2 << "-1" << true;
    QTest::newRow("signed takes plus") << true << 2 << "+1,5" << true;
    QTest::newRow("signed, two signs") << true << 2 << "+-1" << false;
    QTest::newRow("signed, too many decimals") << true << 2 << "-1,234" << false;
}

void TestFormatting::amountValidators()
{
    QFETCH(bool, isSigned);
    QFETCH(int, decimals);
    QFETCH(QString, input);
    QFETCH(bool, acceptable);
    QObject owner;
    QRegExpValidator* validator = isSigned ? signedAmountValidator(&owner, decimals) : amountValidator(&owner, decimals);
    QCOMPARE(validator->parent(), &owner);
    int position = 0;
    QCOMPARE(validator->validate(input, position) == QValidator::Acceptable, acceptable);
}

void TestFormatting::emailChecks_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("validatorAccepts");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "jan.kowalski@firma.pl" << true << true;
    QTest::newRow("upper case") << "Biuro@Firma.COM.PL" << true << true;
    QTest::newRow("special characters") << "a+b_c!#$%&'*/=?^`{|}~-@x.pl" << true << true;
    QTest::newRow("two consecutive dots") << "jan..kowalski@firma.pl" << true << false;
    QTest::newRow("trailing dot before at") << "jan.@firma.pl" << true << false;
    QTest::newRow("no domain dot") << "jan@localhost" << false << false;
    QTest::newRow("no at") << "jan.firma.pl" << false << false;
    QTest::newRow("leading dot") << ".jan@firma.pl" << false << false;
    QTest::newRow("domain label ends with dash") << "jan@firma-.pl" << false << false;
    QTest::newRow("Polish letter") << "łukasz@firma.pl" << false << false;
    QTest::newRow("blank inside") << "jan kowalski@firma.pl" << false << false;
}

void TestFormatting::emailChecks()
{
    QFETCH(QString, address);
    QFETCH(bool, validatorAccepts);
    QFETCH(bool, valid);
    QObject owner;
    QRegExpValidator* validator = emailValidator(&owner);
    int position = 0;
    QCOMPARE(validator->validate(address, position) == QValidator::Acceptable, validatorAccepts);
    QCOMPARE(isEmailValid(address), valid);
}

void TestFormatting::docViewName_data()
{
    QTest::addColumn<int>("docView");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("key");
    QTest::newRow("none") << 0 << QString() << QStringLiteral("bez_opisu");
    QTest::newRow("original") << 1 << QStringLiteral("Oryginał") << QStringLiteral("oryginal");
    QTest::newRow("copy") << 2 << QStringLiteral("Kopia") << QStringLiteral("kopia");
    QTest::newRow("original then copy") << 3 << QString() << QString();
    QTest::newRow("one marked original | copy") << 4 << QStringLiteral("Oryginał | Kopia")
                                                << QStringLiteral("oryginal_kopia");
    QTest::newRow("printed twice unmarked") << 5 << QString() << QString();
    QTest::newRow("out of range") << -1 << QString() << QString();
}

void TestFormatting::docViewName()
{
    QFETCH(int, docView);
    QFETCH(QString, label);
    QFETCH(QString, key);
    QCOMPARE(::docViewName(docView, false), label);
    QCOMPARE(::docViewName(docView, true), key);
}

void TestFormatting::noWrapTextLeavesNoBlank()
{
    const QString span = QStringLiteral("<span style=\"color:transparent;\">'</span>");
    QCOMPARE(span.size(), 41);
    QCOMPARE(noWrapText(QStringLiteral("1 234,50 zł")), QStringLiteral("1") + span + "234,50" + span + "zł");
    QCOMPARE(noWrapText(QStringLiteral("bez")), QStringLiteral("bez"));
    QCOMPARE(noWrapText(QString()), QString());
}

void TestFormatting::monthName_data()
{
    QTest::addColumn<QString>("month");
    QTest::addColumn<bool>("checkStyle");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("January by one digit") << "1" << false << "1" << QStringLiteral("styczeń");
    QTest::newRow("January by two digits") << "01" << false << "1" << QStringLiteral("styczeń");
    QTest::newRow("December") << "12" << false << "0" << QStringLiteral("grudzień");
    QTest::newRow("May genitive when styled") << "5" << true << "1" << QStringLiteral("maja");
    QTest::newRow("September genitive") << "09" << true << "1" << QStringLiteral("września");
    QTest::newRow("October genitive") << "10" << true << "2" << QStringLiteral("października");
    QTest::newRow("style off gives nominative") << "5" << true << "0" << QStringLiteral("maj");
    QTest::newRow("style unset gives nominative") << "2" << true << "" << QStringLiteral("luty");
    QTest::newRow("style ignored without check") << "8" << false << "1" << QStringLiteral("sierpień");
    QTest::newRow("thirteen") << "13" << false << "1" << QString();
    QTest::newRow("zero") << "0" << true << "1" << QString();
    QTest::newRow("letter") << "a" << false << "1" << QString();
    QTest::newRow("empty") << "" << true << "1" << QString();
}

void TestFormatting::monthName()
{
    QFETCH(QString, month);
    QFETCH(bool, checkStyle);
    QFETCH(QString, style);
    QFETCH(QString, expected);
    MOptions::setOption(QStringLiteral("SHOW_MONTH_STYLE"), style);
    QCOMPARE(::monthName(month, checkStyle), expected);
}

void TestFormatting::sqlMonthNameCaseNamesEveryMonthInSql()
{
    MOptions::setOption(QStringLiteral("SHOW_MONTH_STYLE"), QStringLiteral("1"));
    const QString expression = sqlMonthNameCase(QStringLiteral("d"));
    QVERIFY(expression.startsWith(QStringLiteral(" CASE  WHEN strftime('%m', d) = '01' THEN 'styczeń' ")));
    QVERIFY(expression.endsWith(QStringLiteral(" WHEN strftime('%m', d) = '12' THEN 'grudzień'  END ")));

    const QStringList names = MTestDatabase::rows(
        QStringLiteral("SELECT ") + expression
        + QStringLiteral(" FROM (SELECT '2019-03-15 00:00:00' AS d UNION ALL SELECT '2020-11-01' "
                         "UNION ALL SELECT NULL UNION ALL SELECT 'nonsense') ORDER BY d"));
    QCOMPARE(names, QStringList({ "NULL", "marzec", "listopad", "NULL" }));
}

void TestFormatting::sqlValueGivesFirstColumnOfFirstRow_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text") << "SELECT name, id FROM item ORDER BY id" << QVariant(QStringLiteral("Łódź"));
    QTest::newRow("number") << "SELECT COUNT(*) FROM item" << QVariant(2);
    QTest::newRow("no row") << "SELECT name FROM item WHERE id = 99" << QVariant();
    QTest::newRow("failing statement") << "SELECT nothing FROM nowhere" << QVariant();
}

void TestFormatting::sqlValueGivesFirstColumnOfFirstRow()
{
    QFETCH(QString, sql);
    QFETCH(QVariant, expected);
    const QVariant value = sqlValue(sql);
    QCOMPARE(value.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(value.toString(), expected.toString());
}

void TestFormatting::scrambledTextComesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii password") << QStringLiteral("tajne123");
    QTest::newRow("Polish letters") << QStringLiteral("Zażółć gęślą jaźń");
    QTest::newRow("one character") << QStringLiteral("x");
    QTest::newRow("quotes and blanks") << QStringLiteral("a \"b\" 'c' ~");
}

void TestFormatting::scrambledTextComesBack()
{
    QFETCH(QString, text);
    const QString stored = scrambleText(text);
    QVERIFY(stored != text);
    // The random filler may hold any short run of characters by chance.
    if (text.size() >= 4)
        QVERIFY(!stored.contains(text));
    QCOMPARE(unscrambleText(stored), text);
}

void TestFormatting::scrambledTextIsPrintableAndVaries()
{
    QCOMPARE(scrambleText(QString()), QString());
    QCOMPARE(unscrambleText(QString()), QString());

    const QString password = QStringLiteral("hasło");
    for (int i = 0; i < 20; ++i) {
        const QString stored = scrambleText(password);
        for (const QChar c : stored)
            QVERIFY2(c.unicode() >= 32 && c.unicode() <= 126, qPrintable(stored));
        const int multiplier = stored.at(0).unicode() - 32;
        const int filler = stored.at(1).unicode() - 64;
        QVERIFY(multiplier >= 10 && multiplier <= 94);
        QVERIFY(filler >= 2 && filler <= 10);
        // Two characters per hexadecimal digit of the 6 UTF-8 bytes, and the check character.
        QCOMPARE(stored.size(), 2 + filler + 2 * 12 + 1);
    }
    // The random source follows the clock: a later call gives another form.
    const QString first = scrambleText(password);
    QTRY_VERIFY(scrambleText(password) != first);
}

void TestFormatting::damagedScrambledTextGivesNothing_data()
{
    QTest::addColumn<QString>("stored");
    const QString good = scrambleText(QStringLiteral("sekret"));
    QString wrongCheck = good;
    wrongCheck[wrongCheck.size() - 1] = QChar(wrongCheck.at(wrongCheck.size() - 1).unicode() == 'A' ? 'B' : 'A');
    QString wrongBody = good;
    wrongBody[good.size() - 3] = QChar(wrongBody.at(good.size() - 3).unicode() == 'A' ? 'B' : 'A');
    QTest::newRow("check character differs") << wrongCheck;
    QTest::newRow("body changed") << wrongBody;
    QTest::newRow("too short") << QStringLiteral("!");
    // A zero multiplier with a matching check character must not divide by zero.
    QTest::newRow("zero multiplier") << QStringLiteral(" B!!aa") + QChar((32 + 66 + 33 + 33 + 97 + 97) % 95 + 32);
}

void TestFormatting::damagedScrambledTextGivesNothing()
{
    QFETCH(QString, stored);
    QCOMPARE(unscrambleText(stored), QString());
}

INVOICE_TEST_MAIN(TestFormatting)
#include "tst_formatting.moc"
