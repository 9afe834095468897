#include "MInvoiceFixture.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestMarkup.h"
#include "data/MOptions.h"
#include "data/MQuickViewHtml.h"
#include "documents/MFastView.h"
#include "documents/MInvoiceDbView.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>

// The quick view beside the document lists: the summary of one document or of several,
// and the pane that follows the list's selection.
class TestFastView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void oneDocument_data();
    void oneDocument();
    void severalDocuments_data();
    void severalDocuments();
    void databaseTextShowsAsText();
    void paneFollowsTheSelection();

private:
    std::unique_ptr<MTestDatabase> m_db;
};

namespace {

// The HTML as plain text, with the no-wrap marks and the line breaks turned into blanks.
QString plain(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().replace(QLatin1Char('\''), QLatin1Char(' ')).simplified();
}

} // namespace

void TestFastView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestFastView::init()
{
    QVERIFY(MInvoiceFixture::write());
}

void TestFastView::oneDocument_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("invoice") << 1
                             << QStringList{"Produkty: 1. Zasuwa 10 szt. 813,01 23% 186,99 1000,00",
                                            "Podsumowanie VAT: 813,01 23% 186,99 1000,00",
                                            "Razem: 813,01 186,99 1000,00"}
                             << QStringList{"korekt", "zaliczki"};
    QTest::newRow("correction") << 2
                                << QStringList{"Produkty przed korektą: 1. Zasuwa",
                                               "Produkty po korekcie: 1. Śruba 8 szt. 650,41",
                                               "Podsumowanie VAT: -162,60 23% -37,40 -200,00",
                                               "Razem: -162,60 -37,40 -200,00"}
                                << QStringList{"zaliczki"};
    QTest::newRow("duplicate of a correction") << 4
                                               << QStringList{"Produkty przed korektą: 1. Zasuwa",
                                                              "Razem: -162,60 -37,40 -200,00"}
                                               << QStringList{"zaliczki"};
    QTest::newRow("advance with its settlement")
        << 8
        << QStringList{"Razem: 406,50 93,50 500,00",
                       "Rozliczenie VAT zaliczki: 162,60 23% 37,40 200,00 Razem: 162,60 37,40 200,00"}
        << QStringList{"korekt"};
    QTest::newRow("advance correction settled as a difference")
        << 10 << QStringList{"Rozliczenie VAT zaliczki: -81,30 23% -18,70 -100,00 Razem: -81,30 -18,70 -100,00"}
        << QStringList{};
    QTest::newRow("duplicate shows its parent") << 3 << QStringList{"Produkty: 1. Zasuwa", "Razem: 813,01"}
                                                << QStringList{"korekt"};
    QTest::newRow("no such document") << 99 << QStringList{} << QStringList{"Razem"};
}

void TestFastView::oneDocument()
{
    QFETCH(int, id);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    const QString text = plain(MQuickViewHtml::oneDocument(id));
    for (const QString& part : present)
        QVERIFY2(text.contains(part), qPrintable(text));
    for (const QString& part : absent)
        QVERIFY2(!text.contains(part), qPrintable(text));
}

void TestFastView::severalDocuments_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("totals");

    // 2 corrects 1: 1000 counted once, 1000 subtracted once, 800 added.
    QTest::newRow("correction with its parent") << QList<int>{1, 2} << "Razem: 650,41 149,59 800,00";
    QTest::newRow("correction alone") << QList<int>{2, 5} << "Razem: -121,95 -28,05 -150,00";
    // 8 counts its part (200); 10 adds its full 400 and its parent, not itself a
    // correction, is subtracted in full (500).
    QTest::newRow("advance by parts") << QList<int>{8, 10} << "Razem: 81,30 18,70 100,00";
    QTest::newRow("duplicates add nothing") << QList<int>{1, 3, 4} << "Razem: 813,01 186,99 1000,00";
    QTest::newRow("euro only") << QList<int>{6} << "";
}

void TestFastView::severalDocuments()
{
    QFETCH(QList<int>, ids);
    QFETCH(QString, totals);

    const QString text = plain(MQuickViewHtml::severalDocuments(ids));
    QVERIFY2(text.endsWith(QStringLiteral("Faktury walutowe nie są jeszcze uwzględniane. "
                                          "Duplikaty dokumentów nie są uwzględniane.")),
             qPrintable(text));
    if (totals.isEmpty())
        QVERIFY2(!text.contains(QStringLiteral("Razem")), qPrintable(text));
    else
        QVERIFY2(text.contains(totals), qPrintable(text));
}

// Markup in a product's name, unit and VAT text and in a rate's name shows as the characters
// it is, and a picture it names is never read.
void TestFastView::databaseTextShowsAsText()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const MTestMarkup watched(dir.path());
    const QString markup = watched.text();
    const QString oldRateName = MTestDatabase::rows(QStringLiteral(
        "SELECT v.name FROM vat v JOIN invoice_summary_vat s ON s.id_vat = v.id WHERE s.id_invoice = 1")).value(0);
    for (const QString& sql :
         {QStringLiteral("UPDATE invoice_product SET name = :text, unit = :text, vat_text = :text WHERE id IN "
                         "(SELECT id_product FROM invoice_product_misc WHERE id_invoice = 1)"),
          QStringLiteral("UPDATE vat SET name = :text WHERE id IN (SELECT id_vat FROM invoice_summary_vat "
                         "WHERE id_invoice = 1)")}) {
        QSqlQuery query;
        query.prepare(sql);
        query.bindValue(QStringLiteral(":text"), markup);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }

    const QString one = plain(MQuickViewHtml::oneDocument(1));
    const QString several = plain(MQuickViewHtml::severalDocuments({1, 2}));
    const bool nothingOpened = watched.nothingOpened();
    QSqlQuery restore;
    restore.prepare(QStringLiteral("UPDATE vat SET name = :name WHERE name = :text"));
    restore.bindValue(QStringLiteral(":name"), oldRateName);
    restore.bindValue(QStringLiteral(":text"), markup);
    QVERIFY(restore.exec());

    QVERIFY(nothingOpened);
    // Name, unit and VAT text of the line, and the rate's name of the summary.
    QVERIFY2(one.count(markup) == 4, qPrintable(one));
    QVERIFY2(several.contains(markup), qPrintable(several));
}

void TestFastView::paneFollowsTheSelection()
{
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("COLUMN_SORT_INVOICE_SELL_DB_VIEW"), QStringLiteral("0;0"));
    MInvoiceDbView view(nullptr, nullptr, 7);
    view.initWidget();
    MFastView* pane = view.fastView();
    QVERIFY(pane);
    MTableView* table = view.tableView();
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTRY_VERIFY_WITH_TIMEOUT(plain(pane->html()).contains(QStringLiteral("Produkty przed korektą")), 3000);

    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTRY_VERIFY_WITH_TIMEOUT(plain(pane->html()).contains(QStringLiteral("Razem: 650,41 149,59 800,00")), 3000);

    table->selectionModel()->clearSelection();
    QTRY_VERIFY_WITH_TIMEOUT(plain(pane->html()).isEmpty(), 3000);
}

INVOICE_TEST_MAIN(TestFastView)
#include "tst_fastview.moc"
