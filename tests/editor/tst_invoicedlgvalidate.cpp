#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "editor/MInvoiceDlg.h"
#include "views/MMessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// "OK" of the editor: the form checked, one message for the first problem,
// the document saved only when there is none.
class TestInvoiceDlgValidate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstProblemOnly_data();
    void firstProblemOnly();
    void formValuesRefreshed();
    void okSavesValidDocument();
    void failedSaveKeepsEditorOpen();

private:
    MInvoiceDlg* openEditor(bool withSeller);

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MInvoiceDlg> m_editor;
};

namespace {

const QString title = QStringLiteral("Niezgodność wprowadzonych danych");

QStringList shownTexts()
{
    QStringList texts;
    for (const MMessageBox::Shown& shown : MMessageBox::takeShown())
        texts << QStringLiteral("%1|%2|%3").arg(int(shown.icon)).arg(shown.title, shown.text);
    return texts;
}

QString warning(const QString& text)
{
    return QStringLiteral("%1|%2|%3").arg(int(QMessageBox::Warning)).arg(title, text);
}

} // namespace

void TestInvoiceDlgValidate::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MMessageBox::setAutomatic(true);
}

void TestInvoiceDlgValidate::init()
{
    for (const char* table : {"invoice", "__invoice_seller"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    MMessageBox::takeShown();
}

void TestInvoiceDlgValidate::cleanup()
{
    m_editor.reset();
    MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_documents"));
}

MInvoiceDlg* TestInvoiceDlgValidate::openEditor(bool withSeller)
{
    m_editor = std::make_unique<MInvoiceDlg>(nullptr, Qt::WindowFlags(), 0);
    m_editor->setDocKind(0);
    m_editor->m_datePut->setDate(QDate(2024, 3, 10));
    m_editor->m_datePay->setDate(QDate(2024, 3, 20));
    m_editor->m_firstInvoiceNumber->setValue(4);
    if (withSeller) {
        m_editor->m_idSeller = int(MTestDatabase::insert(
            QStringLiteral("__invoice_seller"), {{"id", 1}, {"firm", "Firma"}, {"id_invoice_index_format", 1},
                                                 {"invoice_index_format_text", "[nr]/[mm]/[rrrr]"}}));
        m_editor->m_idSellerBase = 1;
    }
    return m_editor.get();
}

void TestInvoiceDlgValidate::firstProblemOnly_data()
{
    QTest::addColumn<bool>("withSeller");
    QTest::addColumn<bool>("payBefore");
    QTest::addColumn<QStringList>("shown");

    const QString noSeller = QStringLiteral("Aby zapisać dokument należy wybrać sprzedawcę.");
    const QString payBefore = QStringLiteral("Termin płatności nie może być wcześniejszy niż data wystawienia.");
    QTest::newRow("no seller") << false << false << QStringList{warning(noSeller)};
    QTest::newRow("no seller, paid before issue") << false << true << QStringList{warning(noSeller)};
    QTest::newRow("paid before issue") << true << true << QStringList{warning(payBefore)};
    QTest::newRow("valid") << true << false << QStringList();
}

void TestInvoiceDlgValidate::firstProblemOnly()
{
    QFETCH(bool, withSeller);
    QFETCH(bool, payBefore);
    QFETCH(QStringList, shown);

    MInvoiceDlg* editor = openEditor(withSeller);
    editor->m_payInDays->setChecked(false);
    if (payBefore)
        editor->m_datePay->setDate(QDate(2024, 3, 9));
    QCOMPARE(editor->validate(), shown.isEmpty());
    QCOMPARE(shownTexts(), shown);
}

void TestInvoiceDlgValidate::formValuesRefreshed()
{
    MInvoiceDlg* editor = openEditor(true);
    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT-MP"));
    editor->m_docKind = 0;
    const int eur = editor->m_currency->findText(QStringLiteral("EUR"));
    QVERIFY(eur >= 0);
    editor->m_currency->setCurrentIndex(eur);
    editor->m_idCurrency = 0;
    editor->m_invoiceIndexPeriod = 0;

    editor->validate();
    QCOMPARE(editor->m_docKind, 3);
    QCOMPARE(editor->m_idCurrency, 1);
    QCOMPARE(editor->m_invoiceIndexPeriod, 1);
}

void TestInvoiceDlgValidate::okSavesValidDocument()
{
    MInvoiceDlg* editor = openEditor(false);
    QSignalSpy finished(editor, &QDialog::finished);
    editor->clickOk(false);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 0);
    QCOMPARE(shownTexts().size(), 1);

    editor->m_idSeller = int(MTestDatabase::insert(QStringLiteral("__invoice_seller"),
                                                   {{"id", 1}, {"firm", "Firma"}, {"id_invoice_index_format", 1}}));
    editor->m_idSellerBase = 1;
    editor->clickOk(false);
    QCOMPARE(shownTexts(), QStringList());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_kind, invoice_index, id_seller_base, date_put FROM "
                                                "invoice")),
             QStringList{QStringLiteral("0|4|1|2024-03-10 00:00:00")});
}

void TestInvoiceDlgValidate::failedSaveKeepsEditorOpen()
{
    MInvoiceDlg* editor = openEditor(true);
    QSignalSpy finished(editor, &QDialog::finished);
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_documents BEFORE INSERT ON invoice BEGIN "
                                               "SELECT RAISE(ABORT, 'refused'); END")));
    editor->clickOk(false);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(!shown.first().text.isEmpty());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 0);

    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER refuse_documents")));
    editor->clickOk(false);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 1);
}

INVOICE_TEST_MAIN(TestInvoiceDlgValidate)
#include "tst_invoicedlgvalidate.moc"
