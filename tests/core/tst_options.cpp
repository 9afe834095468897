#include "MTestDatabase.h"

#include "data/MOptions.h"
#include "MTestEnvironment.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unknownKeyIsEmptyAndWritingInsertsOnce();
    void storedEmptyValueIsUpdatedNotDuplicated();
    void optionsAreInvisibleUntilLoaded();
    void valuesSurviveReload();
    void nullTextIsStoredAsEmpty();

private:
    QString storedContent(const QString& key, int* rowCount = nullptr) const;
    QTemporaryDir m_dir;
};

void TestOptions::init()
{
    QVERIFY(MTestDatabase::connectWithOptions(m_dir.filePath(QStringLiteral("Invoice.db3"))));
}

void TestOptions::cleanup()
{
    MTestDatabase::close();
}

QString TestOptions::storedContent(const QString& key, int* rowCount) const
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT content FROM _options WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), key);
    query.exec();
    QString content;
    int rows = 0;
    while (query.next()) {
        content = query.value(0).toString();
        ++rows;
    }
    if (rowCount)
        *rowCount = rows;
    return content;
}

void TestOptions::unknownKeyIsEmptyAndWritingInsertsOnce()
{
    QVERIFY(MOptions::option(QStringLiteral("PRINTER_MARGINS")).isEmpty());
    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("10;10;10;10"));
    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("15;10;10;10"));
    int rows = 0;
    QCOMPARE(storedContent(QStringLiteral("PRINTER_MARGINS"), &rows), QStringLiteral("15;10;10;10"));
    QCOMPARE(rows, 1);
    QCOMPARE(MOptions::option(QStringLiteral("PRINTER_MARGINS")), QStringLiteral("15;10;10;10"));
}

void TestOptions::storedEmptyValueIsUpdatedNotDuplicated()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO _options (id, content) VALUES ('EMAIL_HOST', '')")));
    MOptions::loadOptions();
    MOptions::setOption(QStringLiteral("EMAIL_HOST"), QStringLiteral("poczta.example"));
    int rows = 0;
    QCOMPARE(storedContent(QStringLiteral("EMAIL_HOST"), &rows), QStringLiteral("poczta.example"));
    QCOMPARE(rows, 1);
}

void TestOptions::optionsAreInvisibleUntilLoaded()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO _options (id, content) VALUES ('DRAG_AND_DROP', '1')")));
    QVERIFY(MOptions::option(QStringLiteral("DRAG_AND_DROP")).isEmpty());
    MOptions::loadOptions();
    QCOMPARE(MOptions::option(QStringLiteral("DRAG_AND_DROP")), QStringLiteral("1"));
}

void TestOptions::valuesSurviveReload()
{
    const QString polish = QStringLiteral("Zażółć gęślą jaźń; ŁÓDŹ");
    MOptions::setOption(QStringLiteral("EMAIL_SUBJECT"), polish);
    MOptions::loadOptions();
    QCOMPARE(MOptions::option(QStringLiteral("EMAIL_SUBJECT")), polish);
    // After a reload the key counts as stored: writing it again must update, not insert.
    MOptions::setOption(QStringLiteral("EMAIL_SUBJECT"), QStringLiteral("x"));
    int rows = 0;
    QCOMPARE(storedContent(QStringLiteral("EMAIL_SUBJECT"), &rows), QStringLiteral("x"));
    QCOMPARE(rows, 1);
}

void TestOptions::nullTextIsStoredAsEmpty()
{
    // Both the first write and a later one: the column takes no NULL.
    MOptions::setOption(QStringLiteral("TAB_MAIN_CURRENT"), QString());
    int rows = 0;
    storedContent(QStringLiteral("TAB_MAIN_CURRENT"), &rows);
    QCOMPARE(rows, 1);
    MOptions::setOption(QStringLiteral("TAB_MAIN_CURRENT"), QStringLiteral("MBuyerDbView,0"));
    MOptions::setOption(QStringLiteral("TAB_MAIN_CURRENT"), QString());
    QCOMPARE(storedContent(QStringLiteral("TAB_MAIN_CURRENT")), QString());
    MOptions::loadOptions();
    QCOMPARE(MOptions::option(QStringLiteral("TAB_MAIN_CURRENT")), QString());
}

INVOICE_TEST_MAIN(TestOptions)
#include "tst_options.moc"
