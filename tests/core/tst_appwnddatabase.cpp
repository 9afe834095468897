#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "printing/MPrinterMargins.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QStandardPaths>
#include <QtTest>

// The main window's starts on its own database: the opening, the options
// and their defaults, the printer margins and "Ustawienia domyślne".
class TestAppWndDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startsUpgradeOnceAndKeepOptions();
    void defaultSettingsAskFirst();
    void newerDatabaseEndsTheStart();
    void writesBesideAnOpenList();
};

void TestAppWndDatabase::initTestCase()
{
    initInvoiceResources();
    // The data folder must exist, or the window asks for another one.
    QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
}

void TestAppWndDatabase::cleanup()
{
    MTestDatabase::close();
    MMessageBox::takeShown();
}

void TestAppWndDatabase::startsUpgradeOnceAndKeepOptions()
{
    {
        MAppWnd window;
        QVERIFY(!window.hasEnded());
        QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
        // The database did not exist before this start: nothing to copy, and
        // no empty file that would stand for the day's copy.
        QVERIFY(QDir(MAppWnd::pathData + QStringLiteral("data/backup")).isEmpty());
        QCOMPARE(MAppWnd::option(QStringLiteral("PRINT_PDF_PATH")), MAppWnd::pathDocuments + QStringLiteral("pdf"));
        QCOMPARE(MPrinterMargins::values().at(0), 5.0);
        MAppWnd::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("10;15;10;20"));
        MAppWnd::setOption(QStringLiteral("JPK_FA_SHOW"), QStringLiteral("0"));
    }
    MTestDatabase::close();
    QFile::remove(MAppWnd::pathData + QStringLiteral("data/backup/Invoice_v00.db3"));

    MAppWnd window;
    QVERIFY(!window.hasEnded());
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    // Up to date: no upgrade, so no second copy before one.
    QVERIFY(!QFile::exists(MAppWnd::pathData + QStringLiteral("data/backup/Invoice_v00.db3")));
    // The day's copy is made at the first start that has a database to copy.
    const QFileInfo daily(MAppWnd::pathData + QStringLiteral("data/backup/Invoice_")
                          + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3"));
    QVERIFY(daily.size() > 0);
    QCOMPARE(MPrinterMargins::values().at(0), 10.0);
    QCOMPARE(MPrinterMargins::values().at(1), 15.0);
    QCOMPARE(MPrinterMargins::values().at(2), 10.0);
    QCOMPARE(MPrinterMargins::values().at(3), 20.0);
    QCOMPARE(MAppWnd::option(QStringLiteral("JPK_FA_SHOW")), QStringLiteral("1"));
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestAppWndDatabase::defaultSettingsAskFirst()
{
    MAppWnd window;
    QVERIFY(!window.hasEnded());
    MAppWnd::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("20;20;20;20"));
    MAppWnd::setOption(QStringLiteral("TAB_MAIN_OPENED"), QStringLiteral("MBuyerDbView"));
    MPrinterMargins::load();

    MMessageBox::setNextAnswer(QMessageBox::No);
    QVERIFY(QMetaObject::invokeMethod(&window, "doDefaultSettings"));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia ustawień"));
    QCOMPARE(MAppWnd::option(QStringLiteral("TAB_MAIN_OPENED")), QStringLiteral("MBuyerDbView"));
    QCOMPARE(MPrinterMargins::values().at(0), 20.0);

    MMessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(QMetaObject::invokeMethod(&window, "doDefaultSettings"));
    QVERIFY(MAppWnd::option(QStringLiteral("TAB_MAIN_OPENED")).isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("_options")), 105);
    QCOMPARE(MAppWnd::option(QStringLiteral("PRINTER_MARGINS")), QStringLiteral("5;5;5;5"));
    QCOMPARE(MPrinterMargins::values().at(0), 5.0);
}

void TestAppWndDatabase::newerDatabaseEndsTheStart()
{
    {
        MAppWnd window;
        QVERIFY(!window.hasEnded());
        QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE _version SET num_minor = 60, check_num_minor = 60")));
    }
    MTestDatabase::close();

    MAppWnd window;
    QVERIFY(window.hasEnded());
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QStringLiteral("Błąd otwarcia bazy danych"));
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.60/2.60"));

    // Leave a database the other tests can open.
    QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE _version SET num_minor = 53, check_num_minor = 53")));
}

void TestAppWndDatabase::writesBesideAnOpenList()
{
    MAppWnd window;
    QVERIFY(!window.hasEnded());
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("begin")));
    for (int id = 1; id <= 5000; ++id)
        QVERIFY(query.exec(QStringLiteral("INSERT INTO buyer (id, firm, time_create, time_modify) "
                                          "VALUES (%1, 'Firma %1', '2010-05-01', '2010-05-01')").arg(id)));
    QVERIFY(query.exec(QStringLiteral("commit")));

    // The buyer list, open at its first screen: its query is not read to the end.
    window.loadTab(3, true);
    QTabWidget* tabs = window.findChild<QTabWidget*>();
    QVERIFY(tabs && tabs->currentWidget());
    QSqlQueryModel* list = nullptr;
    for (QSqlQueryModel* model : tabs->currentWidget()->findChildren<QSqlQueryModel*>())
        if (model->query().lastQuery().contains(QLatin1String("buyer")) && model->canFetchMore())
            list = model;
    QVERIFY(list);

    const QString path = MAppWnd::pathTemp + QStringLiteral("temp/import.sql");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("INSERT INTO buyer (id, firm, time_create, time_modify) VALUES (9001, 'Nowa', '2010-05-01', '2010-05-01');\n"
               "INSERT INTO product (id, name, unit, netto_price, brutto_price, vat, count_from_netto, time_create, "
               "time_modify) VALUES (1, 'Usługa', 'godz.', 100, 0, 23, 1, '2010-05-01', '2010-05-01');\n");
    file.close();
    MMessageBox::takeShown();
    MFileDialog::setNextFileName(path);
    QVERIFY(QMetaObject::invokeMethod(&window, "doImport"));
    const QList<MMessageBox::Shown> imported = MMessageBox::takeShown();
    QCOMPARE(imported.size(), 1);
    QVERIFY2(imported.first().icon == QMessageBox::Information, qPrintable(imported.first().text));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT brutto_price FROM product")).toDouble(), 123.0);

    // The list was read again and shows the imported buyer.
    while (list->canFetchMore())
        list->fetchMore();
    QCOMPARE(list->rowCount(), 5001);

    window.loadTab(3, true);
    QVERIFY(list->canFetchMore());
    QVERIFY(QMetaObject::invokeMethod(&window, "doRepairDb2"));
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QVERIFY(list->canFetchMore() || list->rowCount() > 0);
}

INVOICE_TEST_MAIN(TestAppWndDatabase)
#include "tst_appwnddatabase.moc"
