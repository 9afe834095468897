#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoiceRegisterPrintPreview.h"
#include "printing/MInvoiceRegisterView.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

// The register tab's jobs when the register template stops on an error: the
// program's own template is replaced by one of this test's (failed_register.qrc)
// that throws after laying out part of a page.
class TestRegisterFailed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void failedTemplate_data();
    void failedTemplate();

private:
    // Runs the job and waits until its progress box has been shown and closed again.
    bool runJob(bool pdf);

    std::unique_ptr<MFreshHome> m_home;
    std::unique_ptr<MAppWnd> m_wnd;
    MInvoiceRegisterView* m_view = nullptr;
};

void TestRegisterFailed::initTestCase()
{
    initInvoiceResources();
    // Only the broken template of this test is left under the program's name.
    Q_CLEANUP_RESOURCE(register_templates);
    QFile broken(QStringLiteral(":/template/invoice_register.js"));
    QVERIFY(broken.open(QIODevice::ReadOnly));
    QVERIFY(broken.readAll().contains("throw"));
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestRegisterFailed::init()
{
    MMessageBox::takeShown();
    m_home = std::make_unique<MFreshHome>();
    QVERIFY(m_home->isValid());
    m_wnd = std::make_unique<MAppWnd>();
    QVERIFY(!m_wnd->hasEnded());
    MTestDatabase::insert(QStringLiteral("seller"), {{"id", 1}, {"firm", QStringLiteral("Hurtownia Kwiatek")}});
    MTestDatabase::insert(QStringLiteral("invoice"),
                          {{"id", 1}, {"invoice_kind", 0}, {"id_seller_base", 1}, {"id_seller", 1},
                           {"invoice_index", 1}, {"date_put", QStringLiteral("2024-03-10 10:00:00")}});
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                          {{"id_invoice", 1}, {"id_vat", 24}, {"netto_price", 100}, {"vat_price", 23},
                           {"brutto_price", 123}});
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_DATE_FROM"), QStringLiteral("2024-03-01"));
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_DATE_TO"), QStringLiteral("2024-03-31"));
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE_DOC"), QStringLiteral("1"));
    m_view = new MInvoiceRegisterView(m_wnd.get(), nullptr);
    m_view->initWidget();
    MFileDialog::setAutomatic(true);
}

void TestRegisterFailed::cleanup()
{
    delete m_view;
    m_view = nullptr;
    m_wnd.reset();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_home.reset();
}

bool TestRegisterFailed::runJob(bool pdf)
{
    auto* box = m_view->findChild<MGenerateDlg*>();
    bool boxSeen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&]() { boxSeen = boxSeen || box->isVisible(); });
    watch.start(10);
    if (pdf)
        m_view->startDocPrintPdf();
    else
        m_view->reloadView();
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 20000) {
        QTest::qWait(50);
        if (boxSeen && !box->isVisible())
            return true;
    }
    return false;
}

void TestRegisterFailed::failedTemplate_data()
{
    QTest::addColumn<bool>("pdf");

    QTest::newRow("PDF") << true;
    QTest::newRow("preview") << false;
}

void TestRegisterFailed::failedTemplate()
{
    QFETCH(bool, pdf);
    const QString fileName = m_home->path() + QStringLiteral("/rejestr.pdf");
    MFileDialog::setNextFileName(fileName);

    // The box closes at the tick after the failed run.
    QVERIFY(runJob(pdf));

    const auto shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains(QStringLiteral("invoice_register.js")));
    QVERIFY(shown.first().text.contains(QStringLiteral("brak kolumny rejestru")));
    QVERIFY(!QFile::exists(fileName));
    auto* preview = m_view->findChild<MInvoiceRegisterPrintPreview*>();
    MDocTemplate* job = pdf ? preview->docTemplatePrint() : preview->docTemplatePreview();
    // What the template had laid out before it stopped is not kept.
    QVERIFY(job->getTextEdit()->toPlainText().trimmed().isEmpty());
}

INVOICE_TEST_MAIN(TestRegisterFailed)
#include "tst_registerfailed.moc"
