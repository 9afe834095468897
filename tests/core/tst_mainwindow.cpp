#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "core/MSplash.h"
#include "data/MSqliteHandle.h"
#include "resources/MResources.h"
#include "settings/MDoYouKnowWidget.h"
#include "settings/MProgramInfoDlg.h"
#include "views/MFileDialog.h"
#include "views/MListFont.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"

#include <QApplication>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

#include <sqlite3.h>

// Builds the real main window in a fresh HOME for each case.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void translationsAreBuiltIn();
    void init();
    void cleanup();
    void windowAppearsAfterTheSplash();
    void closingDuringTheSplashEndsTheStart();
    void menusAndToolbarHoldTheirActions();
    void importStartsInDocumentsThenInTheLastFolder();
    void closingATabSelectsThePreviousOne();
    void closingStoresGeometryAndEmptiesTemporaryFiles();
    void copiesOfKilledBackupsAreRemovedAtStart();
    void missingDataFolderEndsAfterTheFoldersDialog();
    void newerDatabaseIsRefused();
    void unopenableDatabaseStillShowsTheWindow();
    void fontSizeFollowsTheResolution_data();
    void fontSizeFollowsTheResolution();
    void fontSizeInThisProcess();

private:
    static QString layoutOf(const QList<QAction*>& actions);
    static MSplash* visibleSplash();

    QScopedPointer<MFreshHome> m_home;
};

void TestMainWindow::initTestCase()
{
    initInvoiceResources();
}

void TestMainWindow::translationsAreBuiltIn()
{
    QTranslator qtTranslator;
    QVERIFY(qtTranslator.load(QStringLiteral(":/translation/qt_pl.qm")));
    QCOMPARE(qtTranslator.translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    QTranslator appTranslator;
    QVERIFY(appTranslator.load(QStringLiteral(":/translation/Invoice_pl.qm")));
}

void TestMainWindow::init()
{
    m_home.reset(new MFreshHome);
    QVERIFY(m_home->isValid());
    MMessageBox::takeShown();
}

void TestMainWindow::cleanup()
{
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

MSplash* TestMainWindow::visibleSplash()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<MSplash*>(widget); splash && splash->isVisible())
            return splash;
    }
    return nullptr;
}

// Action texts in order, "|" for a separator.
QString TestMainWindow::layoutOf(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions)
        texts.append(action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts.join(QLatin1Char(','));
}

void TestMainWindow::windowAppearsAfterTheSplash()
{
    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    QVERIFY(!wnd.isVisible());
    MSplash* splash = visibleSplash();
    QVERIFY(splash);
    QCOMPARE(splash->message(), QStringLiteral("Trwa otwieranie bazy danych.\nMoże to potrwać kilka chwil..."));

    // Clicking the splash does not close it.
    QTest::mouseClick(splash, Qt::LeftButton);
    QVERIFY(visibleSplash());

    QTRY_VERIFY_WITH_TIMEOUT(wnd.isVisible(), 5000);
    QVERIFY(wnd.windowState() & Qt::WindowMaximized);
    QTRY_VERIFY(!visibleSplash());
    QVERIFY(wnd.doYouKnowWidget()->isVisible());
    QVERIFY(QFile::exists(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    QCOMPARE(MAppWnd::pathDbFile, MAppWnd::pathData + QStringLiteral("data/Invoice.db3"));
}

void TestMainWindow::closingDuringTheSplashEndsTheStart()
{
    MAppWnd wnd;
    QVERIFY(visibleSplash());
    wnd.close();

    // Past the splash's time: neither the splash nor the closed window shows again.
    QTest::qWait(3000);
    QVERIFY(!visibleSplash());
    QVERIFY(!wnd.isVisible());
}

void TestMainWindow::menusAndToolbarHoldTheirActions()
{
    MAppWnd wnd;
    const QList<QAction*> menus = wnd.menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(layoutOf(menus.at(0)->menu()->actions()),
             QStringLiteral("Nowy,Otwórz,|,Importuj do bazy,Eksportuj z wersji 1,Napraw bazę,|,Drukuj,Generuj PDF,"
                            "Wyślij PDF e-mailem,Ustawienia strony,|,Eksportuj do CSV,Eksportuj do JPK_FA,"
                            "Eksportuj do JPK_VAT"));
    QCOMPARE(layoutOf(menus.at(1)->menu()->actions()),
             QStringLiteral("Dodaj,Podgląd,Edytuj,Usuń,|,Kopiuj,Koryguj,Duplikat,|,Domyślny,|,Zestawienie,|,"
                            "Kontrola płatności"));
    QCOMPARE(layoutOf(menus.at(2)->menu()->actions()),
             QStringLiteral("Filtracja,Przeciągnij i upuść,|,Ustawienia domyślne,Opcje"));
    QCOMPARE(layoutOf(menus.at(3)->menu()->actions()),
             QStringLiteral("O programie,Katalogi programu,Informacje o bazie danych,Porady i podpowiedzi,|,"
                            "Sprawdź aktualizacje"));
    QCOMPARE(menus.at(0)->text() + menus.at(1)->text() + menus.at(2)->text() + menus.at(3)->text(),
             QStringLiteral("&Plik&Operacje&NarzędziaPomo&c"));

    const QList<QToolBar*> toolBars = wnd.findChildren<QToolBar*>();
    QCOMPARE(toolBars.size(), 1);
    QVERIFY(!toolBars.first()->isMovable());
    QCOMPARE(layoutOf(toolBars.first()->actions()),
             QStringLiteral("Nowy,Otwórz,|,Dodaj,Podgląd,Edytuj,Usuń,|,Kopiuj,Koryguj,Duplikat,|,Domyślny,|,"
                            "Drukuj,Generuj PDF,Wyślij PDF e-mailem,Ustawienia strony,|,Eksportuj do CSV,"
                            "Eksportuj do JPK_FA,Eksportuj do JPK_VAT,|,Filtracja,Przeciągnij i upuść,Opcje,|,"
                            "Katalogi programu,Informacje o bazie danych,Porady i podpowiedzi"));
    for (QAction* action : toolBars.first()->actions()) {
        if (!action->isSeparator())
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->text()));
    }
}

// The import's file dialog starts in the documents folder, not in the program's
// own, and afterwards in the folder of the file last imported.
void TestMainWindow::importStartsInDocumentsThenInTheLastFolder()
{
    MAppWnd wnd;
    QAction* import = nullptr;
    for (QAction* action : wnd.menuBar()->actions().at(0)->menu()->actions()) {
        if (action->text() == QLatin1String("Importuj do bazy"))
            import = action;
    }
    QVERIFY(import);
    import->trigger();
    QCOMPARE(MFileDialog::lastFolder(), MAppWnd::pathDocuments);

    const QString folder = MAppWnd::pathData + QStringLiteral("przeniesione");
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/dane.sql"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("-- nic do zrobienia\n");
    file.close();
    MFileDialog::setNextFileName(file.fileName());
    import->trigger();
    MMessageBox::takeShown();
    import->trigger();
    QCOMPARE(MFileDialog::lastFolder(), folder);
}

void TestMainWindow::closingATabSelectsThePreviousOne()
{
    MAppWnd wnd;
    MTabWidget* tabs = wnd.tabMain();
    QPointer<QWidget> first = new QWidget;
    QPointer<QWidget> second = new QWidget;
    QPointer<QWidget> third = new QWidget;
    tabs->addTab(first, QStringLiteral("Kontrahenci"));
    tabs->addTab(second, QStringLiteral("Produkty"));
    tabs->addTab(third, QStringLiteral("Faktury sprzedaży"));

    tabs->setCurrentWidget(first);
    tabs->setCurrentWidget(third);
    wnd.doCloseActiveTab();
    QCOMPARE(tabs->currentWidget(), first.data());
    QCOMPARE(tabs->count(), 2);
    QTRY_VERIFY(third.isNull());

    wnd.doCloseRequestedTabMain(tabs->indexOf(second));
    QCOMPARE(tabs->count(), 1);
    wnd.doCloseActiveTab();
    QCOMPARE(tabs->count(), 0);
    wnd.doCloseActiveTab();
    QCOMPARE(tabs->count(), 0);
}

void TestMainWindow::closingStoresGeometryAndEmptiesTemporaryFiles()
{
    MAppWnd wnd;
    const QString tempFile = MAppWnd::pathTemp + QStringLiteral("temp/zalacznik.pdf");
    QFile file(tempFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    // Every commit waits for the disk while the user waits for the window to go.
    int commits = 0;
    sqlite3* db = MSqliteHandle::of(QSqlDatabase::database());
    sqlite3_commit_hook(db, [](void* counter) { ++*static_cast<int*>(counter); return 0; }, &commits);
    QVERIFY(wnd.close());
    sqlite3_commit_hook(db, nullptr, nullptr);
    QCOMPARE(commits, 1);

    const QRegularExpression hex(QStringLiteral("^([0-9a-f]{2})+$"));
    for (const char* key : {"MAIN_WINDOW_GEOMETRY", "MAIN_WINDOW_STATE"}) {
        QSqlQuery stored;
        QVERIFY(stored.exec(QStringLiteral("SELECT content FROM _options WHERE id = '") + key + QLatin1Char('\'')));
        QVERIFY(stored.next());
        QVERIFY(hex.match(stored.value(0).toString()).hasMatch());
        QCOMPARE(stored.value(0).toString(), MAppWnd::option(key));
    }
    QVERIFY(!QFile::exists(tempFile));
}

// Backups killed while copying, into the data folder's backups and into the
// folder of the user's own backups, leave their copies under temporary names;
// the next start removes them, and only them.
void TestMainWindow::copiesOfKilledBackupsAreRemovedAtStart()
{
    const QString program = QStringLiteral("/morva/varneli2/");
    const QString daily = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + program
                          + QStringLiteral("data/backup/");
    const QString own = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + program
                        + QStringLiteral("backup/");
    const QByteArray database = QByteArray("SQLite format 3", 16) + QByteArray(1000, 'x');
    const QStringList killed {daily + QStringLiteral("Invoice_20240105.db3.Zx81Qa.tmp"),
                              own + QStringLiteral("kopia.db3.m2N3b4.tmp"),
                              own + QStringLiteral("kopia.db3.m2N3b4.tmp-journal")};
    const QStringList kept {own + QStringLiteral("kopia.db3"), own + QStringLiteral("list.Ab12Cd.tmp")};
    for (const QString& file : killed + kept) {
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.endsWith(QLatin1String("list.Ab12Cd.tmp")) ? QByteArray("lista zakupów") : database);
    }

    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    QCOMPARE(MAppWnd::option(QStringLiteral("BACKUP_SELF_PATH")) + QLatin1Char('/'), own);
    for (const QString& file : killed)
        QVERIFY2(!QFile::exists(file), qPrintable(file));
    for (const QString& file : kept)
        QVERIFY2(QFile::exists(file), qPrintable(file));
}

void TestMainWindow::missingDataFolderEndsAfterTheFoldersDialog()
{
    MAppWnd::initPaths();
    const QString missing = m_home->path() + QStringLiteral("/odlaczony dysk/");
    {
        QSettings settings(MAppWnd::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("database/path"), missing);
    }

    QString dialogTitle;
    QPoint dialogCentre;
    QPoint screenCentre;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<MProgramInfoDlg*>(QApplication::activeModalWidget())) {
            dialogTitle = dialog->windowTitle();
            dialogCentre = dialog->geometry().center();
            screenCentre = dialog->screen()->availableGeometry().center();
            dialog->close();
        }
    });
    closer.start(10);

    MAppWnd wnd;

    QVERIFY(wnd.hasEnded());
    QCOMPARE(dialogTitle, QStringLiteral("Katalogi programu"));
    // Centred on the screen, not on the place of the window that was never shown.
    QVERIFY2((dialogCentre - screenCentre).manhattanLength() <= 20,
             qPrintable(QStringLiteral("%1,%2").arg(dialogCentre.x()).arg(dialogCentre.y())));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).title, QStringLiteral("Błąd połączenia z bazą danych"));
    QCOMPARE(shown.at(0).text, QStringLiteral("Nie można odnaleźć katalogu z bazą danych."));
    QVERIFY(!visibleSplash());
    QVERIFY(!wnd.isVisible());
    QVERIFY(!QDir(missing).exists());
    QVERIFY(!QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).isOpen());
}

void TestMainWindow::newerDatabaseIsRefused()
{
    MAppWnd::initPaths();
    const QString dbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    QVERIFY(MTestDatabase::create(dbFile, 2060));

    {
        MAppWnd wnd;
        QVERIFY(wnd.hasEnded());
        QVERIFY(!visibleSplash());
        QVERIFY(!wnd.isVisible());
    }
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).title, QStringLiteral("Błąd otwarcia bazy danych"));
    QCOMPARE(shown.at(0).text,
             QStringLiteral("Nie można otwierać bazy stworzonej przez program w późniejszej wersji.<br>"
                            "Baza danych została stworzona przez program w wersji 2.60.<br>"
                            "Program jest w wersji 2.53."));
    QVERIFY(!QFile::exists(MAppWnd::pathData + QStringLiteral("data/backup/Invoice_v260.db3")));
}

// Without a connection the start goes on, so that the folders dialog can
// point the program at another database folder.
void TestMainWindow::unopenableDatabaseStillShowsTheWindow()
{
    MAppWnd::initPaths();
    // A folder where the database file should be cannot be opened as one.
    QVERIFY(QDir().mkpath(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));

    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).title, QStringLiteral("Błąd połączenia z bazą danych"));
    QCOMPARE(shown.at(0).text, QStringLiteral("Nie można ustanowić połączenia z bazą danych."));
    MSplash* splash = visibleSplash();
    QVERIFY(splash);
    QCOMPARE(splash->message(), QStringLiteral("Brak połączenia z bazą danych."));
    QTRY_VERIFY_WITH_TIMEOUT(wnd.isVisible(), 5000);
}

void TestMainWindow::fontSizeFollowsTheResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("expected");
    QTest::newRow("96 dpi") << 96 << 10;
    QTest::newRow("120 dpi") << 120 << 8;
    QTest::newRow("144 dpi") << 144 << 7;
    QTest::newRow("72 dpi") << 72 << 13;
}

// The screen's resolution is fixed when a process starts, so each resolution
// builds the window in a process of its own (fontSizeInThisProcess).
void TestMainWindow::fontSizeFollowsTheResolution()
{
    QFETCH(int, dpi);
    QFETCH(int, expected);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
    env.insert(QStringLiteral("INVOICE_EXPECTED_FONT_SIZE"), QString::number(expected));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("fontSizeInThisProcess")});
    QVERIFY(child.waitForFinished(30000));
    QVERIFY2(child.exitCode() == 0, child.readAll().constData());
}

void TestMainWindow::fontSizeInThisProcess()
{
    if (!qEnvironmentVariableIsSet("INVOICE_EXPECTED_FONT_SIZE"))
        QSKIP("run by fontSizeFollowsTheResolution at a chosen resolution");
    MAppWnd wnd;
    QCOMPARE(wnd.logicalDpiX(), qEnvironmentVariableIntValue("QT_FONT_DPI"));
    QCOMPARE(listFontSize(), qEnvironmentVariableIntValue("INVOICE_EXPECTED_FONT_SIZE"));
}

INVOICE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
