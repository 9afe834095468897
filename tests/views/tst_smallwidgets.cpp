#include "MTestEnvironment.h"
#include "resources/MResources.h"
#include "views/MComboBox.h"
#include "views/MHelpButton.h"
#include "views/MTabWidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>
#include <QtTest>

class TestSmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void comboBoxKeepsTheTextConfirmedWithEnter_data();
    void comboBoxKeepsTheTextConfirmedWithEnter();
    void helpButtonShowsItsTextWhileHovered();
    void helpButtonWithoutTextShowsNothing();
    void tabWidgetSelectsThePreviousTabOnRemove();
};

void TestSmallWidgets::initTestCase()
{
    initInvoiceResources();
}

void TestSmallWidgets::comboBoxKeepsTheTextConfirmedWithEnter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("afterwards");
    QTest::addColumn<QString>("expected");

    QTest::newRow("without Enter the field is read") << QStringLiteral("kg") << false << QStringLiteral("szt.")
                                                     << QStringLiteral("szt.");
    QTest::newRow("Enter keeps the unit after clearing") << QStringLiteral("kg") << true << QString()
                                                         << QStringLiteral("kg");
    QTest::newRow("Enter keeps the unit after another text") << QStringLiteral("m²") << true
                                                             << QStringLiteral("opak.") << QStringLiteral("m²");
}

void TestSmallWidgets::comboBoxKeepsTheTextConfirmedWithEnter()
{
    QFETCH(QString, typed);
    QFETCH(bool, confirmed);
    QFETCH(QString, afterwards);
    QFETCH(QString, expected);

    MComboBox combo(nullptr);
    combo.setEditable(true);
    combo.addItems({QStringLiteral("szt."), QStringLiteral("kg")});
    combo.lineEdit()->clear();
    QTest::keyClicks(&combo, typed);
    QCOMPARE(combo.text(), typed);
    if (confirmed)
        QTest::keyClick(&combo, Qt::Key_Return);
    combo.lineEdit()->setText(afterwards);

    QCOMPARE(combo.text(), expected);
}

void TestSmallWidgets::helpButtonShowsItsTextWhileHovered()
{
    MHelpButton button(nullptr);
    button.setHelpText(QStringLiteral("<b>[NR]</b> kolejny numer dokumentu"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QCOMPARE(button.size(), QSize(16, 16));

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("<b>[NR]</b> kolejny numer dokumentu"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QTRY_VERIFY(!QToolTip::isVisible());

    QTest::mouseClick(&button, Qt::LeftButton);
    QTRY_VERIFY(QToolTip::isVisible());
    QToolTip::hideText();
}

void TestSmallWidgets::helpButtonWithoutTextShowsNothing()
{
    MHelpButton button(nullptr);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(!QToolTip::isVisible());
}

void TestSmallWidgets::tabWidgetSelectsThePreviousTabOnRemove()
{
    MTabWidget tabs;
    tabs.setSelectionBehaviorOnRemove(QTabBar::SelectPreviousTab);
    auto* buyers = new QWidget(&tabs);
    auto* products = new QWidget(&tabs);
    auto* sales = new QWidget(&tabs);
    tabs.addTab(buyers, QStringLiteral("Kontrahenci"));
    tabs.addTab(products, QStringLiteral("Produkty"));
    tabs.addTab(sales, QStringLiteral("Faktury sprzedaży"));

    tabs.setCurrentWidget(buyers);
    tabs.setCurrentWidget(sales);
    tabs.removeTab(tabs.indexOf(sales));

    // Not the neighbour on the left: the tab that was current before.
    QCOMPARE(tabs.currentWidget(), buyers);
}

INVOICE_TEST_MAIN(TestSmallWidgets)
#include "tst_smallwidgets.moc"
