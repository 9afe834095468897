#include "MTestEnvironment.h"
#include "core/MEnabledOperations.h"

#include <QApplication>
#include <QtTest>

namespace {

// Which of the options "JPK_FA_SHOW" and "JPK_VAT_SHOW" are "1".
const int noJpk = 0;
const int jpkFa = 1;
const int jpkVat = 2;
const int bothJpk = jpkFa | jpkVat;

} // namespace

// The rules by which the view in the current tab enables the operations of
// the main window, as a table of cases.
class TestEnabledOperations : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
};

void TestEnabledOperations::rules_data()
{
    QTest::addColumn<QString>("viewName");
    QTest::addColumn<bool>("hasCurrentIndex");
    QTest::addColumn<int>("selectedRowCount");
    QTest::addColumn<bool>("isCurrentDefault");
    QTest::addColumn<bool>("editorOpen");
    QTest::addColumn<int>("jpkShow");
    QTest::addColumn<QStringList>("expectedEnabled");
    QTest::addColumn<bool>("expectedDefaultChecked");

    const QString buyers = QStringLiteral("MBuyerDbView");
    const QString sales = QStringLiteral("MInvoiceDbView_Sell");
    const QString purchases = QStringLiteral("MInvoiceDbView_Buy");
    const QStringList listOnly = {"ADD", "EXPORT_CSV", "SHOW_FILTER"};
    const QStringList listWithRecord = {"ADD", "EDIT", "DELETE", "EXPORT_CSV", "SHOW_FILTER"};
    const QStringList documentWithAll = {"ADD",       "VIEW",          "EDIT",          "DELETE",         "COPY",
                                         "CORRECT",   "DUPLICATE",     "PRINT",         "PRINT_PDF",      "SEND_MAIL_PDF",
                                         "EXPORT_CSV", "EXPORT_JPK_FA", "EXPORT_JPK_VAT", "SHOW_FILTER", "SET_SELECTED",
                                         "IS_PAYED"};

    QTest::newRow("no tab") << QString() << false << 0 << false << false << bothJpk << QStringList() << false;
    QTest::newRow("a tab no rule names") << QStringLiteral("QWidget") << true << 1 << true << false << bothJpk
                                        << QStringList() << false;
    QTest::newRow("buyers, nothing selected") << buyers << false << 0 << false << false << bothJpk << listOnly << false;
    QTest::newRow("buyers, two rows selected") << buyers << true << 2 << false << false << bothJpk << listOnly << false;
    QTest::newRow("buyers, one row without a current index")
        << buyers << false << 1 << false << false << bothJpk << listOnly << false;
    QTest::newRow("buyers, one current row, editor open")
        << buyers << true << 1 << false << true << bothJpk << listWithRecord << false;
    QTest::newRow("products, one current row")
        << QStringLiteral("MProductDbView") << true << 1 << false << false << bothJpk << listWithRecord << false;
    QTest::newRow("currency ratings, one current row: no CSV export")
        << QStringLiteral("MCurrencyRatingDbView") << true << 1 << false << false << bothJpk
        << QStringList{"ADD", "EDIT", "DELETE", "SHOW_FILTER"} << false;
    QTest::newRow("sellers, the default one current")
        << QStringLiteral("MSellerDbView") << true << 1 << true << false << bothJpk
        << QStringList{"ADD", "EDIT", "DELETE", "DEFAULT", "EXPORT_CSV", "SHOW_FILTER"} << true;
    QTest::newRow("sellers, another one current")
        << QStringLiteral("MSellerDbView") << true << 1 << false << false << bothJpk
        << QStringList{"ADD", "EDIT", "DELETE", "DEFAULT", "EXPORT_CSV", "SHOW_FILTER"} << false;
    QTest::newRow("closing texts, the default one among two selected")
        << QStringLiteral("MEndTextDbView") << true << 2 << true << false << bothJpk << listOnly << false;
    QTest::newRow("closing texts, the default one current")
        << QStringLiteral("MEndTextDbView") << true << 1 << true << false << bothJpk
        << QStringList{"ADD", "EDIT", "DELETE", "DEFAULT", "EXPORT_CSV", "SHOW_FILTER"} << true;
    QTest::newRow("sales, nothing current") << sales << false << 0 << false << false << bothJpk << listOnly << false;
    QTest::newRow("sales, one current row") << sales << true << 1 << false << false << bothJpk << documentWithAll
                                            << false;
    QTest::newRow("sales, one current row, editor open")
        << sales << true << 1 << false << true << bothJpk
        << QStringList{"VIEW", "PRINT", "PRINT_PDF", "SEND_MAIL_PDF", "EXPORT_CSV", "EXPORT_JPK_FA", "EXPORT_JPK_VAT",
                       "SHOW_FILTER", "SET_SELECTED", "IS_PAYED"}
        << false;
    QTest::newRow("sales, three rows")
        << sales << true << 3 << false << false << bothJpk
        << QStringList{"ADD", "VIEW", "PRINT", "PRINT_PDF", "EXPORT_CSV", "EXPORT_JPK_FA", "EXPORT_JPK_VAT",
                       "SHOW_FILTER", "SET_SELECTED", "IS_PAYED"}
        << false;
    QTest::newRow("sales, one current row, JPK options off")
        << sales << true << 1 << false << false << noJpk
        << QStringList{"ADD", "VIEW", "EDIT", "DELETE", "COPY", "CORRECT", "DUPLICATE", "PRINT", "PRINT_PDF",
                       "SEND_MAIL_PDF", "EXPORT_CSV", "SHOW_FILTER", "SET_SELECTED", "IS_PAYED"}
        << false;
    QTest::newRow("sales, one current row, only JPK_FA shown")
        << sales << true << 1 << false << false << jpkFa
        << QStringList{"ADD", "VIEW", "EDIT", "DELETE", "COPY", "CORRECT", "DUPLICATE", "PRINT", "PRINT_PDF",
                       "SEND_MAIL_PDF", "EXPORT_CSV", "EXPORT_JPK_FA", "SHOW_FILTER", "SET_SELECTED", "IS_PAYED"}
        << false;
    QTest::newRow("sales, nothing current, only JPK_VAT shown")
        << sales << false << 0 << false << false << jpkVat << listOnly << false;
    QTest::newRow("purchases, one current row: never JPK")
        << purchases << true << 1 << false << false << bothJpk
        << QStringList{"ADD", "VIEW", "EDIT", "DELETE", "COPY", "CORRECT", "DUPLICATE", "PRINT", "PRINT_PDF",
                       "SEND_MAIL_PDF", "EXPORT_CSV", "SHOW_FILTER", "SET_SELECTED", "IS_PAYED"}
        << false;
    QTest::newRow("purchases, nothing current, editor open")
        << purchases << false << 0 << false << true << bothJpk << QStringList{"EXPORT_CSV", "SHOW_FILTER"} << false;
    QTest::newRow("document preview") << QStringLiteral("MInvoicePrintPreview") << false << 0 << false << false
                                      << bothJpk << QStringList{"PRINT", "PRINT_PDF", "SEND_MAIL_PDF"} << false;
    QTest::newRow("VAT register") << QStringLiteral("MInvoiceRegisterView") << false << 0 << false << false << bothJpk
                                  << QStringList{"PRINT", "PRINT_PDF", "SHOW_FILTER"} << false;
    QTest::newRow("statement preview") << QStringLiteral("MInvoiceSetSelectedPrintPreview") << false << 0 << false
                                       << false << bothJpk << QStringList{"PRINT", "PRINT_PDF"} << false;
}

void TestEnabledOperations::rules()
{
    QFETCH(QString, viewName);
    QFETCH(bool, hasCurrentIndex);
    QFETCH(int, selectedRowCount);
    QFETCH(bool, isCurrentDefault);
    QFETCH(bool, editorOpen);
    QFETCH(int, jpkShow);
    QFETCH(QStringList, expectedEnabled);
    QFETCH(bool, expectedDefaultChecked);

    MEnabledOperations::State state;
    state.viewName = viewName;
    state.hasCurrentIndex = hasCurrentIndex;
    state.selectedRowCount = selectedRowCount;
    state.isCurrentDefault = isCurrentDefault;
    state.editorOpen = editorOpen;
    state.jpkFaShow = (jpkShow & jpkFa) != 0;
    state.jpkVatShow = (jpkShow & jpkVat) != 0;

    const QMap<QString, bool> enabled = MEnabledOperations::enabled(state);
    QStringList actual;
    for (const QString& key : MEnabledOperations::keys()) {
        QVERIFY2(enabled.contains(key), qPrintable(key));
        if (enabled.value(key))
            actual.append(key);
    }
    QStringList expected;
    for (const QString& key : MEnabledOperations::keys()) {
        if (expectedEnabled.contains(key))
            expected.append(key);
    }
    QCOMPARE(expected.size(), expectedEnabled.size());
    QCOMPARE(actual, expected);
    QCOMPARE(enabled.size(), MEnabledOperations::keys().size());

    const QMap<QString, bool> checked = MEnabledOperations::checked(state);
    QCOMPARE(checked.keys(), QStringList{QStringLiteral("DEFAULT")});
    QCOMPARE(checked.value(QStringLiteral("DEFAULT")), expectedDefaultChecked);
}

INVOICE_TEST_MAIN(TestEnabledOperations)
#include "tst_enabledoperations.moc"
