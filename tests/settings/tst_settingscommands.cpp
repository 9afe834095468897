#include "MFreshHome.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "printing/MPrinterMargins.h"
#include "resources/MResources.h"
#include "settings/MDbInfoDlg.h"
#include "settings/MDoYouKnowWidget.h"
#include "settings/MOptionsDlg.h"
#include "settings/MOptionsItem.h"
#include "settings/MOptionsWidget.h"
#include "settings/MPageSetupDlg.h"
#include "views/MMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QtTest>

// The settings commands of the real main window, in a fresh HOME for each case.
class TestSettingsCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void optionsTakeEffectInTheWindowAtOnce();
    void pageSetupShowsAndReloadsTheWindowsMargins_data();
    void pageSetupShowsAndReloadsTheWindowsMargins();
    void databaseInformationOpensAsAChildOfTheWindow();

private:
    static void trigger(MAppWnd& wnd, const QString& text);
    static void click(QWidget* dialog, const QString& text);

    QScopedPointer<MFreshHome> m_home;
};

void TestSettingsCommands::initTestCase()
{
    initInvoiceResources();
}

void TestSettingsCommands::init()
{
    m_home.reset(new MFreshHome);
    QVERIFY(m_home->isValid());
    MMessageBox::takeShown();
}

void TestSettingsCommands::cleanup()
{
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestSettingsCommands::trigger(MAppWnd& wnd, const QString& text)
{
    for (QAction* action : wnd.findChildren<QAction*>()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no action ") + text));
}

void TestSettingsCommands::click(QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

void TestSettingsCommands::optionsTakeEffectInTheWindowAtOnce()
{
    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    QVERIFY(!wnd.doYouKnowWidget()->isHidden());

    trigger(wnd, QStringLiteral("Opcje"));
    QList<MOptionsDlg*> dialogs = wnd.findChildren<MOptionsDlg*>();
    QCOMPARE(dialogs.size(), 1);
    MOptionsDlg* dialog = dialogs.first();
    QVERIFY(dialog->isModal());
    QVERIFY(dialog->isVisible());
    QCheckBox* showTips = nullptr;
    for (MOptionsItem* item : dialog->findChild<MOptionsWidget*>()->items()) {
        if (!showTips)
            showTips = item->widget()->findChild<QCheckBox*>(QStringLiteral("SHOW_DO_YOU_KNOW"));
    }
    QVERIFY(showTips);
    showTips->setChecked(false);
    click(dialog, QStringLiteral("OK"));

    QVERIFY(dialog->isHidden());
    QVERIFY(wnd.doYouKnowWidget()->isHidden());
    QCOMPARE(MAppWnd::option(QStringLiteral("SHOW_DO_YOU_KNOW")), QStringLiteral("0"));

    // Every command builds a new dialog from the values now stored.
    trigger(wnd, QStringLiteral("Opcje"));
    dialogs = wnd.findChildren<MOptionsDlg*>();
    QCOMPARE(dialogs.size(), 2);
    for (MOptionsItem* item : dialogs.last()->findChild<MOptionsWidget*>()->items()) {
        if (auto* box = item->widget()->findChild<QCheckBox*>(QStringLiteral("SHOW_DO_YOU_KNOW")))
            QVERIFY(!box->isChecked());
    }
    click(dialogs.last(), QStringLiteral("Anuluj"));
}

void TestSettingsCommands::pageSetupShowsAndReloadsTheWindowsMargins_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<double>("left");

    QTest::newRow("OK") << "OK" << 21.0;
    QTest::newRow("Anuluj") << "Anuluj" << 7.0;
}

void TestSettingsCommands::pageSetupShowsAndReloadsTheWindowsMargins()
{
    QFETCH(QString, button);
    QFETCH(double, left);

    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    MAppWnd::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("7;8;9;10"));
    MPrinterMargins::load();

    trigger(wnd, QStringLiteral("Ustawienia strony"));
    auto* dialog = wnd.findChild<MPageSetupDlg*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QStringList shown;
    for (const char* name : {"marginLeft", "marginTop", "marginRight", "marginBottom"})
        shown.append(QString::number(dialog->findChild<QSpinBox*>(QLatin1String(name))->value()));
    QCOMPARE(shown.join(QLatin1Char(';')), QStringLiteral("7;8;9;10"));

    dialog->findChild<QSpinBox*>(QStringLiteral("marginLeft"))->setValue(21);
    click(dialog, button);
    QVERIFY(dialog->isHidden());
    QCOMPARE(MPrinterMargins::values().at(0), left);
    QCOMPARE(MPrinterMargins::values().at(1), 8.0);
    QCOMPARE(MPrinterMargins::values().at(3), 10.0);
}

void TestSettingsCommands::databaseInformationOpensAsAChildOfTheWindow()
{
    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());
    trigger(wnd, QStringLiteral("Informacje o bazie danych"));
    auto* dialog = wnd.findChild<MDbInfoDlg*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QVERIFY(dialog->isVisible());
    bool folderShown = false;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        folderShown |= button->text() == QDir::toNativeSeparators(MAppWnd::pathData + QStringLiteral("data"));
    QVERIFY(folderShown);
    click(dialog, QStringLiteral("Zamknij"));
    QVERIFY(dialog->isHidden());
    QCOMPARE(wnd.findChild<MDbInfoDlg*>(), dialog);
}

INVOICE_TEST_MAIN(TestSettingsCommands)
#include "tst_settingscommands.moc"
