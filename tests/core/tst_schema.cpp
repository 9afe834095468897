#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MSqlScriptRunner.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

// The schema script: a new database and databases upgraded from older
// blocks must end with the columns, indexes and rows listed in
// data/expected_columns.txt and data/expected_indexes.txt.
class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void conformance_data();
    void conformance();
    void referenceRows_data();
    void referenceRows();
    void referenceValues();
    void taxOffices();
    void secondRunChangesNothing();
    void userChoicesSurviveUpgrade();
    void optionKeysMoveToTheirNewNames();
    void stockSqliteReadsTheDatabase();

private:
    struct ExpectedColumn
    {
        QString table;
        QString line; // position|name|type|notnull|default|pk|declaration
        int block;
    };
    struct ExpectedIndex
    {
        QString table;
        QString line; // name|column|unique
        int block;
    };

    void openDatabase(const QString& name);
    MSqlScriptRunner::Result runScriptUpTo(int version);

    QMap<QString, QStringList> expectedColumns(int upTo) const;
    QMap<QString, QStringList> expectedIndexes(int upTo) const;
    static QMap<QString, QStringList> actualColumns();
    static QMap<QString, QStringList> actualIndexes();
    static QStringList dump(const QStringList& skipTables = {});
    static void checkWorkingCopiesByPosition();
    static int count(const QString& sql);

    QTemporaryDir m_dir;
    QList<ExpectedColumn> m_columns;
    QList<ExpectedIndex> m_indexes;
};

namespace {

const QString scriptPath = QStringLiteral(":/sql/invoice.sql");

int versionValue(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    return parts.value(0).toInt() * 1000 + parts.value(1).toInt();
}

// The lines of a data file without its comments, split at the separator.
QList<QStringList> readData(const QString& path, QChar separator = QLatin1Char('|'))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(path));
    QList<QStringList> rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines)
        if (!line.startsWith(QLatin1Char('#')))
            rows << line.split(separator);
    return rows;
}

// Working table -> the model or snapshot table it copies by position.
const QList<std::pair<QString, QString>> workingTables{
    {"__invoice_seller", "invoice_seller"},
    {"__invoice_buyer", "invoice_buyer"},
    {"__invoice_buyer_address", "invoice_buyer_address"},
    {"__invoice_product", "invoice_product"},
    {"__invoice_product_misc", "invoice_product_misc"},
    {"__invoice_currency_rating", "invoice_currency_rating"},
    {"__invoice_join", "invoice_join"},
    {"__invoice_correct_misc", "invoice_correct_misc"},
    {"__seller_bank", "seller_bank"},
};

QStringList tableNames()
{
    QStringList names;
    QSqlQuery query(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence' ORDER BY name"));
    while (query.next())
        names << query.value(0).toString();
    return names;
}

// The column definitions of a table as its CREATE statement, grown by every
// ADD COLUMN, holds them: name -> the declaration text after the name.
// PRAGMA table_info does not show AUTOINCREMENT nor how a type was spelt.
QMap<QString, QString> declarations(const QString& table)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = :name"));
    query.bindValue(QStringLiteral(":name"), table);
    if (!query.exec() || !query.next())
        return {};
    const QString sql = query.value(0).toString();
    const int open = sql.indexOf(QLatin1Char('('));
    const QString body = sql.mid(open + 1, sql.lastIndexOf(QLatin1Char(')')) - open - 1);
    QMap<QString, QString> result;
    int depth = 0;
    int start = 0;
    for (int i = 0; i <= body.size(); ++i) {
        const QChar c = i < body.size() ? body.at(i) : QLatin1Char(',');
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            const QString definition = body.mid(start, i - start).simplified();
            const int blank = definition.indexOf(QLatin1Char(' '));
            result.insert(definition.left(blank), blank < 0 ? QString() : definition.mid(blank + 1));
            start = i + 1;
        }
    }
    return result;
}

} // namespace

void TestSchema::initTestCase()
{
    initInvoiceResources();
    QVERIFY(QFile::exists(scriptPath));

    for (const QStringList& row : readData(QFINDTESTDATA("data/expected_columns.txt"))) {
        QCOMPARE(row.size(), 9);
        m_columns << ExpectedColumn{row.at(0), row.mid(1, 7).join(QLatin1Char('|')), versionValue(row.at(8))};
    }
    for (const QStringList& row : readData(QFINDTESTDATA("data/expected_indexes.txt"))) {
        QCOMPARE(row.size(), 5);
        m_indexes << ExpectedIndex{row.at(0), row.mid(1, 3).join(QLatin1Char('|')), versionValue(row.at(4))};
    }
    QVERIFY(!m_columns.isEmpty());
    QVERIFY(!m_indexes.isEmpty());
}

void TestSchema::cleanup()
{
    MTestDatabase::close();
}

void TestSchema::openDatabase(const QString& name)
{
    QVERIFY(MTestDatabase::connect(m_dir.filePath(name + QStringLiteral(".db3"))));
}

// The state a database was left in by a program whose script ended with
// the block of that version.
MSqlScriptRunner::Result TestSchema::runScriptUpTo(int version)
{
    MSqlScriptRunner::Versions versions;
    versions.program = version;
    return MSqlScriptRunner::run(scriptPath, false, versions);
}

QMap<QString, QStringList> TestSchema::expectedColumns(int upTo) const
{
    QMap<QString, QStringList> columns;
    for (const ExpectedColumn& column : m_columns)
        if (column.block <= upTo)
            columns[column.table] << column.line;
    return columns;
}

QMap<QString, QStringList> TestSchema::expectedIndexes(int upTo) const
{
    QMap<QString, QStringList> indexes;
    for (const ExpectedIndex& index : m_indexes)
        if (index.block <= upTo)
            indexes[index.table] << index.line;
    for (QStringList& list : indexes)
        list.sort();
    return indexes;
}

QMap<QString, QStringList> TestSchema::actualColumns()
{
    QMap<QString, QStringList> columns;
    for (const QString& table : tableNames()) {
        const QMap<QString, QString> declared = declarations(table);
        QSqlQuery query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        QStringList& list = columns[table];
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < 6; ++i)
                fields << query.value(i).toString();
            fields << declared.value(query.value(1).toString(), QStringLiteral("?"));
            list << fields.join(QLatin1Char('|'));
        }
    }
    return columns;
}

// The indexes made by CREATE INDEX (not those of a primary key), per table.
QMap<QString, QStringList> TestSchema::actualIndexes()
{
    QMap<QString, QStringList> indexes;
    for (const QString& table : tableNames()) {
        QSqlQuery list(QStringLiteral("PRAGMA index_list(%1)").arg(table));
        while (list.next()) {
            if (list.value(QStringLiteral("origin")).toString() != QLatin1String("c"))
                continue;
            const QString name = list.value(QStringLiteral("name")).toString();
            QStringList columns;
            QSqlQuery info(QStringLiteral("PRAGMA index_info(%1)").arg(name));
            // A column of an expression has no name.
            while (info.next()) {
                const QVariant column = info.value(QStringLiteral("name"));
                columns << (column.isNull() ? QStringLiteral("(expression)") : column.toString());
            }
            indexes[table] << name + QLatin1Char('|') + columns.join(QLatin1Char(',')) + QLatin1Char('|') +
                                  list.value(QStringLiteral("unique")).toString();
        }
        if (indexes.contains(table))
            indexes[table].sort();
    }
    return indexes;
}

// The schema (without page numbers) and every row of every table.
QStringList TestSchema::dump(const QStringList& skipTables)
{
    QStringList lines;
    QSqlQuery schema(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"));
    while (schema.next())
        lines << QStringLiteral("%1 %2 %3: %4")
                     .arg(schema.value(0).toString(), schema.value(1).toString(), schema.value(2).toString(),
                          schema.value(3).toString());
    for (const QString& table : tableNames()) {
        if (skipTables.contains(table))
            continue;
        QSqlQuery rows(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (rows.next()) {
            QStringList values;
            for (int i = 0; i < rows.record().count(); ++i)
                values << (rows.isNull(i) ? QStringLiteral("NULL") : rows.value(i).toString());
            lines << table + QStringLiteral(": ") + values.join(QLatin1Char('|'));
        }
    }
    return lines;
}

// A row copied from a snapshot or model table into its working table by
// position must put every value into the column of the same name.
void TestSchema::checkWorkingCopiesByPosition()
{
    for (const auto& [working, model] : workingTables) {
        QSqlQuery query;
        QStringList names;
        QStringList values;
        QVERIFY(query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(model)));
        while (query.next()) {
            names << query.value(1).toString();
            values << QString::number(1000 + names.size());
        }
        QVERIFY2(query.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(model, names.join(QLatin1String(", ")), values.join(QLatin1String(", ")))),
                 qPrintable(model));
        QVERIFY2(query.exec(QStringLiteral("INSERT INTO %1 SELECT NULL, * FROM %2").arg(working, model)),
                 qPrintable(working));
        for (const QString& name : names) {
            const QString sql = QStringLiteral("SELECT count(*) FROM %1 w JOIN %2 m ON w.id = m.id WHERE w.%3 = m.%3")
                                    .arg(working, model, name);
            QVERIFY2(count(sql) == 1, qPrintable(working + QLatin1Char('.') + name));
        }
        QVERIFY(query.exec(QStringLiteral("DELETE FROM %1").arg(working)));
        QVERIFY(query.exec(QStringLiteral("DELETE FROM %1").arg(model)));
    }
}

int TestSchema::count(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

void TestSchema::conformance_data()
{
    QTest::addColumn<int>("from");

    QTest::newRow("new database") << 0;
    QTest::newRow("upgraded from 2.0") << 2000;
    QTest::newRow("upgraded from 2.10") << 2010;
    QTest::newRow("upgraded from 2.31") << 2031;
    QTest::newRow("upgraded from 2.48") << 2048;
}

void TestSchema::conformance()
{
    QFETCH(int, from);

    openDatabase(QStringLiteral("new-%1").arg(from));
    const MSqlScriptRunner::Result created = MSqlScriptRunner::run(scriptPath, false);
    QVERIFY2(created.ok(), qPrintable(created.firstError));
    QCOMPARE(created.repeatFailures, 0);
    const QStringList newDump = dump({QStringLiteral("_version")});

    openDatabase(QStringLiteral("upgraded-%1").arg(from));
    if (from > 0) {
        const MSqlScriptRunner::Result old = runScriptUpTo(from);
        QVERIFY2(old.ok(), qPrintable(old.firstError));
        // The older state really is older: only the tables, columns and
        // indexes of its blocks.
        QCOMPARE(actualColumns(), expectedColumns(from));
        QCOMPARE(actualIndexes(), expectedIndexes(from));
        const MSqlScriptRunner::Result upgraded = MTestDatabase::upgrade();
        QVERIFY2(upgraded.ok(), qPrintable(upgraded.firstError));
        QVERIFY(upgraded.repeatFailures > 0);
    } else {
        QVERIFY(MSqlScriptRunner::run(scriptPath, false).ok());
    }

    QCOMPARE(actualColumns(), expectedColumns(INT_MAX));
    QCOMPARE(actualIndexes(), expectedIndexes(INT_MAX));
    QCOMPARE(dump({QStringLiteral("_version")}), newDump);
    checkWorkingCopiesByPosition();
}

void TestSchema::referenceRows_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");

    QTest::newRow("currencies") << "SELECT count(*) FROM currency" << 11;
    QTest::newRow("numbering periods") << "SELECT count(*) FROM invoice_index_format" << 2;
    QTest::newRow("document kinds 0-30") << "SELECT count(*) FROM invoice_kind WHERE id BETWEEN 0 AND 30" << 31;
    QTest::newRow("duplicate kinds") << "SELECT count(*) FROM invoice_kind WHERE second_form = 'Duplikat'" << 15;
    QTest::newRow("pay forms") << "SELECT count(*) FROM pay_form WHERE hidden = 0 AND add_text_payed = 0" << 8;
    QTest::newRow("vat rates") << "SELECT count(*) FROM vat WHERE hidden = 0" << 105;
    QTest::newRow("numeric vat rates") << "SELECT count(*) FROM vat WHERE kind = 0 AND name = val || '%'" << 101;
    QTest::newRow("provinces") << "SELECT count(*) FROM province" << 16;
    QTest::newRow("countries") << "SELECT count(*) FROM country" << 240;
    QTest::newRow("hidden countries")
        << "SELECT count(*) FROM country WHERE hidden = 1 AND id IN "
           "(26, 35, 76, 88, 102, 121, 128, 146, 162, 172, 173, 209, 211, 212)"
        << 14;
    QTest::newRow("no other hidden country") << "SELECT count(*) FROM country WHERE hidden <> 0" << 14;
    QTest::newRow("identity document kinds") << "SELECT count(*) FROM person_document_kind" << 2;
    QTest::newRow("buyer party layouts") << "SELECT count(*) FROM invoice_buyer_kind" << 9;
    QTest::newRow("tax offices") << "SELECT count(*) FROM financial_office_static" << 380;
    QTest::newRow("version row")
        << "SELECT count(*) FROM _version WHERE id = 1 AND num_major = 0 AND num_minor = 0 AND num_special = '' "
           "AND check_num_major = 0 AND check_num_minor = 0"
        << 1;
    QTest::newRow("one version row") << "SELECT count(*) FROM _version" << 1;
    QTest::newRow("working tables empty")
        << "SELECT (SELECT count(*) FROM __invoice_seller) + (SELECT count(*) FROM __count_price)" << 0;
}

void TestSchema::referenceRows()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);

    // The rows share one new database, made by the first of them.
    openDatabase(QStringLiteral("reference"));
    if (tableNames().isEmpty())
        QVERIFY(MSqlScriptRunner::run(scriptPath, false).ok());
    QCOMPARE(count(sql), rows);
}

void TestSchema::referenceValues()
{
    openDatabase(QStringLiteral("values"));
    QVERIFY(MSqlScriptRunner::run(scriptPath, false).ok());

    const QStringList rows{
        "currency|0|PLN|złoty",
        "currency|9|CZK|korona czeska",
        "currency|10|SEK|korona szwedzka",
        "invoice_index_format|1|[nr]/[mm]/[rrrr]|miesiąc",
        "invoice_kind|3|Faktura VAT-MP|",
        "invoice_kind|8|Faktura korygująca VAT-MP|Duplikat",
        "invoice_kind|10|Rachunek|Duplikat",
        "invoice_kind|16|Faktura korygująca VAT odwrotne obciążenie|",
        "invoice_kind|30|Faktura korygująca VAT marża|Duplikat",
        "pay_form|1|gotówka|gotówką|0|0",
        "pay_form|8|kompensata|kompensatą|0|0",
        "vat|1|0%|0|0|0",
        "vat|24|23%|23|0|0",
        "vat|101|100%|100|0|0",
        "vat|102|zw.|0|1|0",
        "vat|105|o.o.|0|4|0",
        "province|5|łódzkie",
        "province|16|zachodniopomorskie",
        "country|100|Kongo|0",
        "country|150|Polska|0",
        "country|212|Wyspy Zielonego Przylądka|1",
        "country|240|Wyspy Świętego Tomasza i Książęca|0",
        "person_document_kind|2|paszport",
        "invoice_buyer_kind|4|Nabywca + Odbiorca i Płatnik|2|Nabywca|Odbiorca i Płatnik",
        "invoice_buyer_kind|9|Nabywca 1 + Nabywca 2|2|Nabywca|",
    };
    for (const QString& row : rows) {
        const QString table = row.section(QLatin1Char('|'), 0, 0);
        const QString id = row.section(QLatin1Char('|'), 1, 1);
        QSqlQuery query(QStringLiteral("SELECT * FROM %1 WHERE id = %2").arg(table, id));
        QVERIFY2(query.next(), qPrintable(row));
        QStringList values{table};
        for (int i = 0; i < query.record().count(); ++i)
            values << query.value(i).toString();
        QCOMPARE(values.join(QLatin1Char('|')), row);
    }
}

void TestSchema::taxOffices()
{
    openDatabase(QStringLiteral("offices"));
    QVERIFY(MSqlScriptRunner::run(scriptPath, false).ok());

    // The published register writes the names in capitals and also lists
    // the offices for large taxpayers (codes xx70 and above), which are not kept.
    const QString registerPath = QFINDTESTDATA("data/tax-offices.csv");
    QStringList published;
    for (const QStringList& row : readData(registerPath, QLatin1Char(',')).mid(1))
        if (row.value(0).midRef(2).toInt() < 70)
            published << row.mid(0, 3).join(QLatin1Char('|'));
    QStringList stored;

    QSqlQuery query(QStringLiteral("SELECT * FROM financial_office_static ORDER BY rowid"));
    const QRegularExpression name(QStringLiteral(
        "^((Pierwszy|Drugi|Trzeci) )?Urząd Skarbowy( w| we)? \\p{Lu}\\p{Ll}+([ -](nad )?\\p{Lu}\\p{Ll}+)*$"));
    QMap<int, int> perProvince;
    QString previous;
    QStringList full;
    while (query.next()) {
        const QString code = query.value(0).toString();
        const int province = query.value(1).toInt();
        QVERIFY2(code.size() == 4 && code > previous, qPrintable(code));
        QCOMPARE(code.leftRef(2).toInt(), 2 * province);
        QVERIFY2(code.midRef(2).toInt() >= 2 && code.midRef(2).toInt() < 70, qPrintable(code));
        QVERIFY2(name.match(query.value(2).toString()).hasMatch(), qPrintable(query.value(2).toString()));
        stored << QStringList{code, QString::number(province), query.value(2).toString().toUpper()}.join(
            QLatin1Char('|'));
        ++perProvince[province];
        previous = code;
        if (!query.value(3).toString().isEmpty() || !query.value(4).toString().isEmpty() ||
            !query.value(5).toString().isEmpty()) {
            QStringList values;
            for (int i = 0; i < 6; ++i)
                values << query.value(i).toString();
            full << values.join(QLatin1Char('|'));
        }
    }
    const QMap<int, int> expected{{1, 33}, {2, 22}, {3, 21}, {4, 13},  {5, 28},  {6, 27},  {7, 48},  {8, 12},
                                  {9, 22}, {10, 14}, {11, 20}, {12, 35}, {13, 14}, {14, 15}, {15, 37}, {16, 19}};
    QCOMPARE(perProvince, expected);
    QCOMPARE(stored, published);
    QCOMPARE(full, (QStringList{
                       "0202|1|Urząd Skarbowy w Bolesławcu|59-700|Bolesławiec|Garncarska 10",
                       "1402|7|Urząd Skarbowy w Białobrzegach|26-800|Białobrzegi|Władysława Reymonta 46",
                       "3220|16|Urząd Skarbowy w Wałczu|78-600|Wałcz|Tadeusza Kościuszki 4",
                   }));
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM financial_office_static WHERE name = "
                                  "'Pierwszy Urząd Skarbowy Warszawa-Śródmieście' AND code = '1435'")),
             1);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM financial_office_static WHERE name = "
                                  "'Urząd Skarbowy w Nakle nad Notecią'")),
             1);
}

void TestSchema::secondRunChangesNothing()
{
    openDatabase(QStringLiteral("twice"));
    const MSqlScriptRunner::Result first = MSqlScriptRunner::run(scriptPath, false);
    QVERIFY(first.ok());
    const QStringList before = dump();

    // Every statement either runs again harmlessly or finds its work done.
    const MSqlScriptRunner::Result again = MSqlScriptRunner::run(scriptPath, false);
    QVERIFY2(again.ok(), qPrintable(again.firstError));
    QVERIFY(again.repeatFailures > 0);
    QCOMPARE(again.executed + again.repeatFailures, first.executed);
    QCOMPARE(dump(), before);
}

void TestSchema::userChoicesSurviveUpgrade()
{
    openDatabase(QStringLiteral("choices"));
    QVERIFY(runScriptUpTo(2031).ok());
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE vat SET hidden = 1 WHERE id = 24")));
    QVERIFY(query.exec(QStringLiteral("UPDATE pay_form SET hidden = 1, add_text_payed = 1 WHERE id = 3")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __count_price (netto) VALUES (1)")));

    QVERIFY(MTestDatabase::upgrade().ok());
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM vat WHERE hidden = 1")), 1);
    QCOMPARE(count(QStringLiteral("SELECT hidden FROM vat WHERE id = 24")), 1);
    QCOMPARE(count(QStringLiteral("SELECT hidden + add_text_payed FROM pay_form WHERE id = 3")), 2);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM pay_form")), 8);
    // The price scratch table is made again, empty.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM __count_price")), 0);
}

void TestSchema::optionKeysMoveToTheirNewNames()
{
    openDatabase(QStringLiteral("options"));
    QVERIFY(runScriptUpTo(2010).ok());
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO _options (id, content) VALUES "
                                      "('COLUMN_SORT_INVOICE_DB_VIEW', 'moved'), "
                                      "('FILTER_SHOW_INVOICE_DB_VIEW', 'old'), "
                                      "('FILTER_SHOW_INVOICE_SELL_DB_VIEW', 'new'), "
                                      "('COLUMN_SORT_BUYER_DB_VIEW', 'other')")));

    QVERIFY(MTestDatabase::upgrade().ok());
    QStringList options;
    QVERIFY(query.exec(QStringLiteral("SELECT id, content FROM _options ORDER BY id")));
    while (query.next())
        options << query.value(0).toString() + QLatin1Char('=') + query.value(1).toString();
    QCOMPARE(options, (QStringList{
                          "COLUMN_SORT_BUYER_DB_VIEW=other",
                          "COLUMN_SORT_INVOICE_SELL_DB_VIEW=moved",
                          "FILTER_SHOW_INVOICE_DB_VIEW=old",
                          "FILTER_SHOW_INVOICE_SELL_DB_VIEW=new",
                      }));
}

void TestSchema::stockSqliteReadsTheDatabase()
{
    openDatabase(QStringLiteral("stock"));
    QVERIFY(MSqlScriptRunner::run(scriptPath, false).ok());
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%COLLATE%'")), 0);
    const QString file = QSqlDatabase::database().databaseName();
    cleanup();

    QProcess shell;
    shell.start(QStringLiteral("sqlite3"),
                {file, QStringLiteral("PRAGMA integrity_check; SELECT name FROM country WHERE id = 150; "
                                      "SELECT name FROM country ORDER BY name LIMIT 1;")});
    QVERIFY2(shell.waitForFinished(30000), "sqlite3 did not finish");
    QCOMPARE(shell.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(shell.readAllStandardError()), QString());
    QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), QStringLiteral("ok\nPolska\nAfganistan\n"));
}

INVOICE_TEST_MAIN(TestSchema)
#include "tst_schema.moc"
