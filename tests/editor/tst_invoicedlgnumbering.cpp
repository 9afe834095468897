#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "editor/MInvoiceDlg.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// When the editor proposes a number and how it forms the printed number,
// over documents and a seller copy written by SQL.
class TestInvoiceDlgNumbering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dateChange_data();
    void dateChange();
    void kindChangeProposesInNewGroup();
    void typedNumberOnlyFormsText();
    void withoutSellerNoNumber();

private:
    MInvoiceDlg* openEditor(int kind, int period, const QDate& issued, int idInvoice = 0, int number = 1);

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MInvoiceDlg> m_editor;
};

namespace {

void store(int kind, const QString& datePut, int number, int sellerBase = 1)
{
    QVERIFY(MTestDatabase::insert(QStringLiteral("invoice"), {{"id_seller_base", sellerBase},
                                                              {"invoice_kind", kind},
                                                              {"date_put", datePut},
                                                              {"invoice_index", number}})
            > 0);
}

} // namespace

void TestInvoiceDlgNumbering::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestInvoiceDlgNumbering::init()
{
    for (const char* table : {"invoice", "__invoice_seller"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
}

void TestInvoiceDlgNumbering::cleanup()
{
    m_editor.reset();
}

MInvoiceDlg* TestInvoiceDlgNumbering::openEditor(int kind, int period, const QDate& issued, int idInvoice,
                                                int number)
{
    const QString pattern = period == 1 ? QStringLiteral("[nr]/[mm]/[rrrr]") : QStringLiteral("[nr]/[rrrr]");
    const qint64 key = MTestDatabase::insert(
        QStringLiteral("__invoice_seller"),
        {{"id", 1}, {"id_invoice_index_format", period}, {"invoice_index_format_text", pattern}});
    m_editor = std::make_unique<MInvoiceDlg>(nullptr, Qt::WindowFlags(), kind);
    m_editor->setDocKind(kind);
    m_editor->m_idInvoice = idInvoice;
    m_editor->m_firstInvoiceNumber->setValue(number);
    m_editor->m_datePut->setDate(issued);
    m_editor->m_idSeller = int(key);
    m_editor->m_idSellerBase = 1;
    m_editor->updateInvoiceIndex(true);
    return m_editor.get();
}

void TestInvoiceDlgNumbering::dateChange_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<int>("number");
    QTest::addColumn<QDate>("issued");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QDate>("moved");
    QTest::addColumn<QString>("after");

    QTest::newRow("new, 31 January to 1 February")
        << 1 << 0 << 1 << QDate(2026, 1, 31) << "4/01/2026" << QDate(2026, 2, 1) << "10/02/2026";
    QTest::newRow("new, within the month") << 1 << 0 << 1 << QDate(2026, 1, 5) << "4/01/2026" << QDate(2026, 1, 31)
                                           << "4/01/2026";
    QTest::newRow("new, yearly across months")
        << 2 << 0 << 1 << QDate(2026, 1, 31) << "10/2026" << QDate(2026, 2, 1) << "10/2026";
    QTest::newRow("new, yearly into the next year")
        << 2 << 0 << 1 << QDate(2026, 12, 31) << "10/2026" << QDate(2027, 1, 4) << "1/2027";
    QTest::newRow("saved keeps its number") << 1 << 9 << 7 << QDate(2026, 1, 31) << "7/01/2026" << QDate(2026, 2, 1)
                                            << "7/02/2026";
}

void TestInvoiceDlgNumbering::dateChange()
{
    QFETCH(int, period);
    QFETCH(int, idInvoice);
    QFETCH(int, number);
    QFETCH(QDate, issued);
    QFETCH(QString, opened);
    QFETCH(QDate, moved);
    QFETCH(QString, after);

    for (int i = 1; i <= 3; ++i)
        store(0, QStringLiteral("2026-01-%1 00:00:00").arg(i * 10, 2, 10, QLatin1Char('0')), i);
    // A number above a saved document's own, in the month it is moved to.
    store(0, QStringLiteral("2026-02-15 00:00:00"), 9);
    store(0, QStringLiteral("2026-01-31 00:00:00"), 12, 2);

    MInvoiceDlg* editor = openEditor(0, period, issued, idInvoice, number);
    QCOMPARE(editor->m_invoiceIndexText->text(), opened);
    editor->m_datePut->setDate(moved);
    QCOMPARE(editor->m_invoiceIndexText->text(), after);
    QCOMPARE(editor->m_firstInvoiceNumber->value(), after.section(QLatin1Char('/'), 0, 0).toInt());
}

void TestInvoiceDlgNumbering::kindChangeProposesInNewGroup()
{
    store(0, QStringLiteral("2026-05-02 00:00:00"), 6);
    store(1, QStringLiteral("2026-05-03 00:00:00"), 2);
    MInvoiceDlg* editor = openEditor(0, 2, QDate(2026, 5, 20));
    QCOMPARE(editor->m_invoiceIndexText->text(), QStringLiteral("7/2026"));

    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura proforma"));
    QCOMPARE(editor->docKind(), 1);
    QCOMPARE(editor->m_invoiceIndexText->text(), QStringLiteral("3/2026"));
    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT-MP"));
    QCOMPARE(editor->m_invoiceIndexText->text(), QStringLiteral("7/2026"));
}

void TestInvoiceDlgNumbering::typedNumberOnlyFormsText()
{
    store(0, QStringLiteral("2026-05-02 00:00:00"), 6);
    MInvoiceDlg* editor = openEditor(0, 1, QDate(2026, 5, 20));
    editor->m_firstInvoiceNumber->setValue(15);
    QCOMPARE(editor->m_firstInvoiceNumber->value(), 15);
    QCOMPARE(editor->m_invoiceIndexText->text(), QStringLiteral("15/05/2026"));
}

void TestInvoiceDlgNumbering::withoutSellerNoNumber()
{
    store(0, QStringLiteral("2026-05-02 00:00:00"), 6);
    MInvoiceDlg* editor = openEditor(0, 1, QDate(2026, 5, 20));
    QCOMPARE(editor->m_firstInvoiceNumber->value(), 7);

    // The seller removed: the number stays, the printed form goes.
    editor->m_idSeller = 0;
    editor->updateInvoiceIndex(true);
    QCOMPARE(editor->m_firstInvoiceNumber->value(), 7);
    QVERIFY(editor->m_invoiceIndexText->text().isEmpty());
    editor->m_datePut->setDate(QDate(2026, 6, 1));
    QCOMPARE(editor->m_firstInvoiceNumber->value(), 7);
    QVERIFY(editor->m_invoiceIndexText->text().isEmpty());
}

INVOICE_TEST_MAIN(TestInvoiceDlgNumbering)
#include "tst_invoicedlgnumbering.moc"
