#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MSqlitePolish.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestSqlitePolish : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void polishOrder_data();
    void polishOrder();
    void descendingOrderAndEquality();
    void collationCannotBeReplacedWhileInUse();
    void like_data();
    void like();
    void likeRejectsLongEscapeAndPassesNull();
    void searchConditionOverRows();
    void caseMapping_data();
    void caseMapping();
    void caseMappingOfNullAndEmpty();
    void installNeedsOpenConnection();

private:
    QVariant value(const QString& sql, const QVariantList& binds = {});
    QStringList column(const QString& sql);
    void fillNames(const QStringList& names);
    QTemporaryDir m_dir;
};

void TestSqlitePolish::init()
{
    QVERIFY(MTestDatabase::connect(m_dir.filePath(QStringLiteral("Invoice.db3"))));
    QString error;
    QVERIFY2(MSqlitePolish::install(QSqlDatabase::database(), &error), qPrintable(error));

    // The connection settings of the program's start, as it runs them.
    QSqlQuery query;
    for (const char* statement : {"begin", "PRAGMA encoding = 'UTF-8'", "PRAGMA cache_size = 20000",
                                  "PRAGMA temp_store = 2", "PRAGMA locking_mode = EXCLUSIVE",
                                  "SELECT icu_load_collation('pl_PL', 'POLISH')", "commit"})
        QVERIFY2(query.exec(QString::fromLatin1(statement)), qPrintable(query.lastError().text()));
}

void TestSqlitePolish::cleanup()
{
    MTestDatabase::close();
    QFile::remove(m_dir.filePath(QStringLiteral("Invoice.db3")));
}

QVariant TestSqlitePolish::value(const QString& sql, const QVariantList& binds)
{
    QSqlQuery query;
    query.prepare(sql);
    for (const QVariant& bind : binds)
        query.addBindValue(bind);
    if (!query.exec() || !query.next()) {
        qWarning() << sql << query.lastError().text();
        return QStringLiteral("<failed>");
    }
    return query.value(0);
}

QStringList TestSqlitePolish::column(const QString& sql)
{
    QSqlQuery query;
    QStringList values;
    if (!query.exec(sql)) {
        qWarning() << sql << query.lastError().text();
        return {QStringLiteral("<failed>")};
    }
    while (query.next())
        values << query.value(0).toString();
    return values;
}

void TestSqlitePolish::fillNames(const QStringList& names)
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DROP TABLE IF EXISTS names")));
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE names (id INTEGER PRIMARY KEY, name TEXT)")));
    query.prepare(QStringLiteral("INSERT INTO names (name) VALUES (?)"));
    for (const QString& name : names) {
        query.addBindValue(name);
        QVERIFY(query.exec());
    }
}

void TestSqlitePolish::polishOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    // Each row is chosen so that byte order and the language-neutral order
    // both give a different answer from the Polish one.
    QTest::newRow("Ą after A") << QStringList{"Ąb", "Azja", "Ala"} << QStringList{"Ala", "Azja", "Ąb"};
    QTest::newRow("Ć after C, before D") << QStringList{"Dom", "Ćma", "Cyrk"} << QStringList{"Cyrk", "Ćma", "Dom"};
    QTest::newRow("Ę after E") << QStringList{"Ęsi", "Ezop", "Fala"} << QStringList{"Ezop", "Ęsi", "Fala"};
    QTest::newRow("Ł after L, before M") << QStringList{"Mława", "Łódź", "Lwów"} << QStringList{"Lwów", "Łódź", "Mława"};
    QTest::newRow("Ń after N") << QStringList{"Ńa", "Nysa", "Opole"} << QStringList{"Nysa", "Ńa", "Opole"};
    QTest::newRow("Ó after O") << QStringList{"Ósemka", "Ozorków", "Pabianice"}
                               << QStringList{"Ozorków", "Ósemka", "Pabianice"};
    QTest::newRow("Ś after S, before T") << QStringList{"Tczew", "Śrem", "Sztum"} << QStringList{"Sztum", "Śrem", "Tczew"};
    QTest::newRow("Ź and Ż after Z") << QStringList{"Żary", "Źródło", "Zwoleń", "Żabno"}
                                     << QStringList{"Zwoleń", "Źródło", "Żabno", "Żary"};
    QTest::newRow("letters inside words") << QStringList{"kąt", "kat", "kawa", "kąpiel"}
                                          << QStringList{"kat", "kawa", "kąpiel", "kąt"};
    QTest::newRow("lower case first, letters before case")
        << QStringList{"Łódź", "Alb", "łódź", "Ala", "ala"} << QStringList{"ala", "Ala", "Alb", "łódź", "Łódź"};
    QTest::newRow("blanks and digits before letters") << QStringList{"Firma B", "Firma", "Firma 2", "Firmą"}
                                                      << QStringList{"Firma", "Firma 2", "Firma B", "Firmą"};
}

void TestSqlitePolish::polishOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    fillNames(names);
    QCOMPARE(column(QStringLiteral("SELECT name FROM names ORDER BY name COLLATE POLISH, id")), expected);
}

void TestSqlitePolish::descendingOrderAndEquality()
{
    fillNames({"Żuraw", "Łabędź", "Ćma", "Zając", "Lis"});
    QCOMPARE(column(QStringLiteral("SELECT name FROM names ORDER BY name COLLATE POLISH DESC")),
             (QStringList{"Żuraw", "Zając", "Łabędź", "Lis", "Ćma"}));
    // Case and accents still count when comparing for equality.
    QCOMPARE(value(QStringLiteral("SELECT 'Łódź' = 'Łódź' COLLATE POLISH")).toInt(), 1);
    QCOMPARE(value(QStringLiteral("SELECT 'łódź' = 'Łódź' COLLATE POLISH")).toInt(), 0);
    QCOMPARE(value(QStringLiteral("SELECT 'Lodz' = 'Łódź' COLLATE POLISH")).toInt(), 0);
    // An index declared with the collation keeps the same order.
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE INDEX names_name ON names (name COLLATE POLISH)")));
    QCOMPARE(column(QStringLiteral("SELECT name FROM names WHERE name > 'L' COLLATE POLISH ORDER BY name COLLATE POLISH")),
             (QStringList{"Lis", "Łabędź", "Zając", "Żuraw"}));
}

void TestSqlitePolish::collationCannotBeReplacedWhileInUse()
{
    QSqlQuery query;
    QVERIFY(!query.exec(QStringLiteral("SELECT icu_load_collation('en_US', 'POLISH')")));
    QVERIFY(query.lastError().text().contains(QStringLiteral("Error registering collation")));
    // The first registration stays in force.
    fillNames({"Śrem", "Sztum"});
    QCOMPARE(column(QStringLiteral("SELECT name FROM names ORDER BY name COLLATE POLISH")),
             (QStringList{"Sztum", "Śrem"}));
    // Further names can be registered.
    QVERIFY(query.exec(QStringLiteral("SELECT icu_load_collation('en_US', 'ENGLISH')")));
    QCOMPARE(column(QStringLiteral("SELECT name FROM names ORDER BY name COLLATE ENGLISH")),
             (QStringList{"Śrem", "Sztum"}));
}

void TestSqlitePolish::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("escape"); // empty: no ESCAPE clause
    QTest::addColumn<bool>("matches");

    QTest::newRow("Polish capitals in the text") << "ŁÓDŹ KALISKA" << "%łódź%" << "" << true;
    QTest::newRow("Polish capitals in the pattern") << "zażółć gęślą jaźń" << "ZAŻÓŁĆ%JAŹŃ" << "" << true;
    QTest::newRow("a base letter is another letter") << "Lodz" << "łódź" << "" << false;
    QTest::newRow("whole text must match") << "Łódź" << "łód" << "" << false;
    QTest::newRow("underscore takes one Polish letter") << "Ćma" << "_ma" << "" << true;
    QTest::newRow("underscore takes only one") << "Ćma" << "_a" << "" << false;
    QTest::newRow("percent may be empty") << "abc" << "abc%" << "" << true;
    QTest::newRow("percent backtracks") << "ĄBĄBĄC" << "%ąb%ąc" << "" << true;
    QTest::newRow("percent backtracks and fails") << "ĄBĄBĄD" << "%ąb%ąc" << "" << false;
    QTest::newRow("percent then underscore") << "ab" << "%__" << "" << true;
    QTest::newRow("percent then underscore, too short") << "a" << "%__" << "" << false;
    QTest::newRow("empty text and percent") << "" << "%" << "" << true;
    QTest::newRow("empty text and underscore") << "" << "_" << "" << false;
    QTest::newRow("50% found literally") << "rabat 50%" << "%50\\%%" << "\\" << true;
    QTest::newRow("escaped percent is not a wildcard") << "rabat 50 zł" << "%50\\%%" << "\\" << false;
    QTest::newRow("underscore found literally") << "kod_1" << "%d\\_1" << "\\" << true;
    QTest::newRow("escaped underscore is not a wildcard") << "kodx1" << "%d\\_1" << "\\" << false;
    QTest::newRow("escaped backslash") << "C:\\dane" << "c:\\\\%" << "\\" << true;
    QTest::newRow("escape before an ordinary letter") << "Ąb" << "\\ą%" << "\\" << true;
    QTest::newRow("percent as the escape character") << "50%" << "50%%" << "%" << true;
    QTest::newRow("percent as the escape is no wildcard") << "500" << "50%%" << "%" << false;
    QTest::newRow("Polish letter as the escape") << "a_b" << "aą_b" << "ą" << true;
    QTest::newRow("without ESCAPE the backslash is ordinary") << "a\\b" << "a\\b" << "" << true;
}

void TestSqlitePolish::like()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, escape);
    QFETCH(bool, matches);
    const QVariant result = escape.isEmpty()
        ? value(QStringLiteral("SELECT ? LIKE ?"), {text, pattern})
        : value(QStringLiteral("SELECT ? LIKE ? ESCAPE ?"), {text, pattern, escape});
    QCOMPARE(result.toString(), QString::number(matches ? 1 : 0));
}

void TestSqlitePolish::likeRejectsLongEscapeAndPassesNull()
{
    QSqlQuery query;
    QVERIFY(!query.exec(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE '\\\\'")));
    QVERIFY(query.lastError().text().contains(QStringLiteral("ESCAPE expression must be a single character")));
    QVERIFY(!query.exec(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE ''")));
    QVERIFY(value(QStringLiteral("SELECT NULL LIKE 'a'")).isNull());
    QVERIFY(value(QStringLiteral("SELECT 'a' LIKE NULL")).isNull());
    QVERIFY(value(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE NULL")).isNull());
}

void TestSqlitePolish::searchConditionOverRows()
{
    // The condition form of the record lists: the escape character, then the collation clause.
    fillNames({"ŁUKASZ 50%", "Łukasz 500", "lukasz 50%", "Małgorzata_1", "MAŁGORZATAx1", "Żaneta"});
    QCOMPARE(column(QStringLiteral("SELECT name FROM names WHERE (name LIKE '%łukasz 50\\%%' ESCAPE '\\' "
                                   "COLLATE POLISH) ORDER BY id")),
             (QStringList{"ŁUKASZ 50%"}));
    QCOMPARE(column(QStringLiteral("SELECT name FROM names WHERE (name LIKE '%ł%' ESCAPE '\\' COLLATE POLISH "
                                   "OR name LIKE '%ż%' ESCAPE '\\' COLLATE POLISH) ORDER BY name COLLATE POLISH")),
             (QStringList{"ŁUKASZ 50%", "Łukasz 500", "Małgorzata_1", "MAŁGORZATAx1", "Żaneta"}));
    QCOMPARE(column(QStringLiteral("SELECT name FROM names WHERE name LIKE '%a\\_1' ESCAPE '\\' COLLATE POLISH")),
             (QStringList{"Małgorzata_1"}));
}

void TestSqlitePolish::caseMapping_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower of Polish capitals") << "SELECT lower('ZAŻÓŁĆ GĘŚLĄ JAŹŃ')" << "zażółć gęślą jaźń";
    QTest::newRow("upper of Polish letters") << "SELECT upper('zażółć gęślą jaźń')" << "ZAŻÓŁĆ GĘŚLĄ JAŹŃ";
    QTest::newRow("upper that grows the text") << "SELECT upper('straße')" << "STRASSE";
    QTest::newRow("lower without locale is neutral") << "SELECT lower('DIYARBAKIR')" << "diyarbakir";
    QTest::newRow("lower with a Turkish locale") << "SELECT lower('DIYARBAKIR', 'tr_TR')" << "dıyarbakır";
    QTest::newRow("upper with a Turkish locale") << "SELECT upper('istanbul', 'tr_TR')" << "İSTANBUL";
    QTest::newRow("empty locale is neutral") << "SELECT upper('istanbul', '')" << "ISTANBUL";
    QTest::newRow("NULL locale is neutral") << "SELECT upper('łódź', NULL)" << "ŁÓDŹ";
    QTest::newRow("numbers become text") << "SELECT lower(12) || upper(3.5)" << "123.5";
}

void TestSqlitePolish::caseMapping()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(value(sql).toString(), expected);
}

void TestSqlitePolish::caseMappingOfNullAndEmpty()
{
    QVERIFY(value(QStringLiteral("SELECT lower(NULL)")).isNull());
    QVERIFY(value(QStringLiteral("SELECT upper(NULL, 'pl_PL')")).isNull());
    const QVariant empty = value(QStringLiteral("SELECT upper('')"));
    QVERIFY(!empty.isNull());
    QCOMPARE(empty.toString(), QString());
}

void TestSqlitePolish::installNeedsOpenConnection()
{
    QSqlDatabase closed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closed"));
    closed.setDatabaseName(m_dir.filePath(QStringLiteral("other.db3")));
    QString error;
    QVERIFY(!MSqlitePolish::install(closed, &error));
    QVERIFY(!error.isEmpty());

    // A second connection gets its own layer and its own collation.
    QVERIFY(closed.open());
    QVERIFY(MSqlitePolish::install(closed, &error));
    {
        QSqlQuery query(closed);
        QVERIFY(query.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')")));
        QVERIFY(query.exec(QStringLiteral("SELECT 'Ćma' < 'Dom' COLLATE POLISH, lower('Ł')")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        QCOMPARE(query.value(1).toString(), QStringLiteral("ł"));
    }
    closed.close();
    closed = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("closed"));
}

INVOICE_TEST_MAIN(TestSqlitePolish)
#include "tst_sqlitepolish.moc"
