#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestMarkup.h"
#include "MTestPdf.h"
#include "core/MTextPrinter.h"
#include "data/MDocTemplateData.h"
#include "data/MOptions.h"
#include "data/MRegisterData.h"
#include "data/MVatSummary.h"
#include "printing/MDocTemplate.h"
#include "printing/MHtmlPageList.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtMath>
#include <QtTest>

#include <algorithm>

namespace {
class MModelHeightTemplate;
}

// The VAT register laid out by its template from real register runs and
// printed to PDF, read back page by page.
class TestRegisterTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void headAndDocuments();
    void summaryEqualsTheDocuments();
    void headerSeller_data();
    void headerSeller();
    void paging_data();
    void paging();
    void pagingAtResolution_data();
    void pagingAtResolution();
    void pagesAreFilled();
    void pagesAreFilledToThePixel();
    void pagesPrintedAloneLookAsInWholeDocument();
    void emptyRun();
    void abortedRunPrintsNothing();
    void textsStayInTheirCells_data();
    void textsStayInTheirCells();
    void textsStayInTheirCellsAtResolution_data();
    void textsStayInTheirCellsAtResolution();
    void databaseTextPrintsAsText_data();
    void databaseTextPrintsAsText();

private:
    // Prints the register of run `runId` into `name`; the template object stays for inspection.
    QString print(int runId, int idSellerBase, const QString& name, bool abort = false);
    // Prints the statement of the sales documents `ids` into `name`.
    QString printStatement(const QList<int>& ids, const QString& name);
    // Prints `documents` of buyer `buyer` (kinds 0, 2 and 4 in turn) as the register or the
    // statement named by `report` into `name`.
    QString printDocuments(const QString& report, int documents, int buyer, const QString& name);
    // `count` documents for a seller of their own, the i-th with 1 + i % `rates`
    // rates; returns the seller id.
    int sellerWithDocuments(int count, int rates = 1);
    // Runs the register of `seller` on `model` and checks that every page takes
    // every row group that fits; `groupHeight` holds the documents and their heights.
    void checkPagesFilled(MModelHeightTemplate* model, int seller, const QHash<int, double>& groupHeight,
                          int leastPages);

    MTestDatabase m_db;
    QTemporaryDir m_dir;
    QScriptEngine m_engine;
    QScopedPointer<MDocTemplate> m_template;
    int m_runId = 0;
    int m_nextId = 1000;
    int m_nextSeller = 100;
};

namespace {

// The register's template object with page heights of a model instead of a layout:
// a height a table row and 40 pixels more for each long buyer name, reported
// rounded up to whole pixels as a layout's are, on a page of a chosen height.
// Heights that add up row group by row group let the test say exactly how many
// groups fit on a page.
class MModelHeightTemplate : public MDocTemplate
{
    Q_OBJECT

public:
    MModelHeightTemplate(double rowHeight, int pageHeight)
        : MDocTemplate(QPrinter::ScreenResolution, nullptr)
        , m_rowHeight(rowHeight)
        , m_pageHeight(pageHeight)
    {
    }

    double heightOf(const QString& html) const
    {
        return m_rowHeight * html.count(QStringLiteral("<tr>")) + 40 * html.count(longName());
    }
    static double groupHeight(double rowHeight, int rates, bool longName)
    {
        return rowHeight * 2 * rates + (longName ? 40 : 0);
    }
    static QString longName() { return QStringLiteral("Przedsiębiorstwo o długiej nazwie"); }

public slots:
    int getDocHeight() { return qCeil(heightOf(m_html)); }
    int getPageHeight() { return m_pageHeight; }
    void setHtml(QString s) { m_html = s; }

private:
    double m_rowHeight;
    int m_pageHeight;
    QString m_html;
};

const QDate periodFrom(2024, 3, 1);
const QDate periodTo(2024, 3, 31);
const QDate printDate(2024, 4, 2);

void addDocument(int id, int seller, int day, int buyer)
{
    MTestDatabase::insert(QStringLiteral("invoice"),
                          {{"id", id},
                           {"invoice_kind", 0},
                           {"id_seller_base", seller},
                           {"id_buyer", buyer},
                           {"invoice_index", id},
                           {"id_seller", 1},
                           {"date_put", QStringLiteral("2024-03-%1 10:00:00").arg(day, 2, 10, QLatin1Char('0'))},
                           {"date_sell", QStringLiteral("2024-03-%1 10:00:00").arg(day, 2, 10, QLatin1Char('0'))}});
}

void addRate(int idInvoice, int idVat, double netto, double vat)
{
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", idInvoice},
                                                                   {"id_vat", idVat},
                                                                   {"netto_price", netto},
                                                                   {"vat_price", vat},
                                                                   {"brutto_price", netto + vat}});
}

QString money(double value)
{
    return MDocTemplateData::moneyFormat(value, 2);
}

// The screen's resolution is fixed when a process starts: runs `command` of this
// test program in a process of its own at `dpi` and fails with its output.
void runAtResolution(int dpi, const QString& command)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {command});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitCode() == 0, child.readAll().constData());
}

} // namespace

void TestRegisterTemplate::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QVERIFY(m_dir.isValid());
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_engine.setProcessEventsInterval(1);
    MOptions::setOption(QStringLiteral("SHOW_MONTH_STYLE"), QStringLiteral("1"));

    MTestDatabase::insert(QStringLiteral("seller"), {{"id", 1},
                                                     {"firm", QStringLiteral("Hurtownia Kwiatek")},
                                                     {"address", QStringLiteral("ul. Polna 7")},
                                                     {"zipcode", QStringLiteral("00-950")},
                                                     {"city", QStringLiteral("Warszawa")},
                                                     {"nip", QStringLiteral("5260001246")},
                                                     {"regon", QStringLiteral("012345678")},
                                                     {"phone", QStringLiteral("22 555 01 01")}});
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1}, {"invoice_index_format_text", QStringLiteral("FV-[nr]/[mm]/[rrrr]")}});
    MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{"id", 1},
                                                            {"firm", QStringLiteral("Sklep Bratek")},
                                                            {"address", QStringLiteral("ul. Leśna 3")},
                                                            {"zipcode", QStringLiteral("30-001")},
                                                            {"city", QStringLiteral("Kraków")},
                                                            {"nip", QStringLiteral("6760001234")}});
    addDocument(1, 1, 4, 1);
    addRate(1, 24, 100, 23);
    addRate(1, 102, 40, 0);
    // Five rates in one document.
    addDocument(2, 1, 20, 1);
    addRate(2, 24, 10, 2.3);
    addRate(2, 9, 20, 1.6);
    addRate(2, 6, 30, 1.5);
    addRate(2, 1, 40, 0);
    addRate(2, 102, 50, 0);
    m_runId = MRegisterData::build(periodFrom, periodTo, {QStringLiteral("1")});
    QVERIFY(m_runId > 0);
}

QString TestRegisterTemplate::print(int runId, int idSellerBase, const QString& name, bool abort)
{
    const QString fileName = m_dir.filePath(name);
    m_template.reset(new MDocTemplate(QPrinter::ScreenResolution, nullptr));
    m_template->isPdf(true);
    m_template->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    m_template->getPrinter()->setOutputFileName(fileName);
    m_template->setPageOrientation(QPrinter::Landscape);
    m_template->setTextEdit(nullptr, true);
    m_template->setImportDeferred(true);
    m_template->setPageMargins(10, 10, 10, 10);
    m_template->isPaging(true);
    m_template->setIdRecord(runId);
    m_template->setIdSellerBase(idSellerBase);
    m_template->setDateFrom(periodFrom);
    m_template->setDateTo(periodTo);
    m_template->setDatePrint(printDate);
    m_template->setDocAborted(abort);
    m_template->setDocGenerated(false);
    m_template->setPageGenerated(1);
    if (!MTemplateRun::print(&m_engine, m_template.data(), QStringLiteral(":/template/invoice_register.js"), nullptr))
        return QString();
    return fileName;
}

QString TestRegisterTemplate::printStatement(const QList<int>& ids, const QString& name)
{
    const QString fileName = m_dir.filePath(name);
    m_template.reset(new MDocTemplate(QPrinter::ScreenResolution, nullptr));
    m_template->isPdf(true);
    m_template->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    m_template->getPrinter()->setOutputFileName(fileName);
    m_template->setPageOrientation(QPrinter::Landscape);
    m_template->setTextEdit(nullptr, true);
    m_template->setImportDeferred(true);
    m_template->setPageMargins(10, 10, 10, 10);
    m_template->isPaging(true);
    m_template->setIdRecord(MVatSummary::build(ids));
    m_template->setDocOpenName(QStringLiteral("INVOICE_SELL"));
    m_template->setPageGenerated(1);
    if (!MTemplateRun::print(&m_engine, m_template.data(), QStringLiteral(":/template/invoice_set_selected.js"),
                             nullptr))
        return QString();
    return fileName;
}

QString TestRegisterTemplate::printDocuments(const QString& report, int documents, int buyer, const QString& name)
{
    const int seller = m_nextSeller++;
    MTestDatabase::insert(QStringLiteral("seller"), {{"id", seller}, {"firm", QStringLiteral("Firma %1").arg(seller)}});
    QList<int> ids;
    for (int i = 0; i < documents; ++i) {
        const int id = m_nextId++;
        addDocument(id, seller, 1 + i % 28, buyer);
        MTestDatabase::exec(QStringLiteral("UPDATE invoice SET invoice_kind = %1 WHERE id = %2").arg(2 * (i % 3)).arg(id));
        addRate(id, 24, 1000 + i, 230 + i);
        ids.append(id);
    }
    if (report == QLatin1String("statement"))
        return printStatement(ids, name);
    return print(MRegisterData::build(periodFrom, periodTo, {QString::number(seller)}), seller, name);
}

int TestRegisterTemplate::sellerWithDocuments(int count, int rates)
{
    static const int vatIds[] = {24, 9, 6, 1, 102};
    const int seller = m_nextSeller++;
    MTestDatabase::insert(QStringLiteral("seller"), {{"id", seller}, {"firm", QStringLiteral("Firma %1").arg(seller)}});
    for (int i = 0; i < count; ++i) {
        const int id = m_nextId++;
        addDocument(id, seller, 1 + i % 28, 1);
        for (int r = 0; r <= i % rates && r < 5; ++r)
            addRate(id, vatIds[r], 10 + i, 0.23 * (10 + i));
    }
    return seller;
}

void TestRegisterTemplate::headAndDocuments()
{
    const QString fileName = print(m_runId, 1, QStringLiteral("rejestr.pdf"));
    QVERIFY(!fileName.isEmpty());
    const QString text = MTestPdf::pageTexts(fileName).join(QLatin1Char(' '));
    const QStringList expected{
        QStringLiteral("REJESTR VAT SPRZEDAŻY"),
        QStringLiteral("z dnia: 02 kwietnia 2024"),
        QStringLiteral("za okres: 01 marca 2024 - 31 marca 2024"),
        QStringLiteral("Hurtownia Kwiatek"),
        QStringLiteral("00-950 Warszawa"),
        QStringLiteral("NIP: 5260001246, REGON: 012345678"),
        QStringLiteral("tel: 22 555 01 01"),
        QStringLiteral("FV-1/03/2024"),
        QStringLiteral("FV-2/03/2024"),
        QStringLiteral("Sklep Bratek"),
        QStringLiteral("6760001234"),
        QStringLiteral("2024-03-04"),
        // The rates of a document: exempt first, then by rising value.
        QStringLiteral("zw. 40,00 0,00 40,00 23% 100,00 23,00 123,00"),
        QStringLiteral("zw. 50,00 0,00 50,00 0% 40,00 0,00 40,00 5% 30,00 1,50 31,50 8% 20,00 1,60 21,60 "
                       "23% 10,00 2,30 12,30"),
        QStringLiteral("Podsumowanie w/g stawek VAT"),
    };
    for (const QString& part : expected)
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in: ") + text));
    QVERIFY(m_template->isDocGenerated());
}

void TestRegisterTemplate::summaryEqualsTheDocuments()
{
    const QString fileName = print(m_runId, 1, QStringLiteral("podsumowanie.pdf"));
    const QString text = MTestPdf::pageTexts(fileName).join(QLatin1Char(' '));
    const int at = text.indexOf(QStringLiteral("Podsumowanie w/g stawek VAT"));
    QVERIFY(at >= 0);
    const QString summary = text.mid(at);
    // The sums by rate and in total, taken from the documents' own summaries.
    const QStringList byRate = MTestDatabase::rows(QStringLiteral(
        "SELECT v.name, SUM(s.netto_price), SUM(s.vat_price), SUM(s.brutto_price) FROM invoice_summary_vat s "
        "JOIN vat v ON v.id = s.id_vat WHERE s.id_invoice IN (1, 2) GROUP BY v.name ORDER BY v.kind DESC, v.val"));
    QCOMPARE(byRate.size(), 5);
    QString expected;
    for (const QString& row : byRate) {
        const QStringList values = row.split(QLatin1Char('|'));
        expected += values.at(0) + QLatin1Char(' ') + money(values.at(1).toDouble()) + QLatin1Char(' ') +
                    money(values.at(2).toDouble()) + QLatin1Char(' ') + money(values.at(3).toDouble()) +
                    QLatin1Char(' ');
    }
    const QStringList total = MTestDatabase::rows(QStringLiteral(
        "SELECT SUM(s.netto_price), SUM(s.vat_price), SUM(s.brutto_price) FROM invoice_summary_vat s "
        "WHERE s.id_invoice IN (1, 2)")).value(0).split(QLatin1Char('|'));
    expected += money(total.at(0).toDouble()) + QLatin1Char(' ') + money(total.at(1).toDouble()) + QLatin1Char(' ') +
                money(total.at(2).toDouble());
    QVERIFY2(summary.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + summary));
    QVERIFY(summary.contains(QStringLiteral("Razem")));
}

void TestRegisterTemplate::headerSeller_data()
{
    QTest::addColumn<int>("idSellerBase");
    QTest::addColumn<bool>("sellerShown");

    QTest::newRow("seller 1") << 1 << true;
    QTest::newRow("none") << 0 << false;
    QTest::newRow("seller that no longer exists") << 77 << false;
}

void TestRegisterTemplate::headerSeller()
{
    QFETCH(int, idSellerBase);
    QFETCH(bool, sellerShown);
    const QString fileName = print(m_runId, idSellerBase, QStringLiteral("sprzedawca.pdf"));
    const QString text = MTestPdf::pageTexts(fileName).join(QLatin1Char(' '));
    QCOMPARE(text.contains(QStringLiteral("Hurtownia Kwiatek")), sellerShown);
    QCOMPARE(text.contains(QStringLiteral("NIP: 5260001246")), sellerShown);
    QVERIFY(text.contains(QStringLiteral("REJESTR VAT SPRZEDAŻY")));
    QVERIFY(text.contains(QStringLiteral("FV-1/03/2024")));
}

void TestRegisterTemplate::paging_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("printFooter");
    QTest::addColumn<int>("rates");

    for (int count : {1, 2, 5, 12, 13, 14, 20, 27, 33, 40})
        QTest::addRow("%d documents", count) << count << false << 1;
    // The program's footer line shares the footer row with the page number.
    for (int count : {1, 12, 13, 14, 40})
        QTest::addRow("%d documents, program footer", count) << count << true << 1;
    // Row groups of different heights: pages hold different numbers of documents.
    for (int rates : {2, 3, 5})
        for (int count : {9, 23, 47})
            QTest::addRow("%d documents of up to %d rates", count, rates) << count << false << rates;
}

void TestRegisterTemplate::paging()
{
    QFETCH(int, count);
    QFETCH(bool, printFooter);
    QFETCH(int, rates);
    MOptions::setOption(QStringLiteral("SHOW_PRINT_FOOTER"), printFooter ? QStringLiteral("1") : QStringLiteral("0"));
    const int firstId = m_nextId;
    const int seller = sellerWithDocuments(count, rates);
    const int runId = MRegisterData::build(periodFrom, periodTo, {QString::number(seller)});
    const QString fileName = print(runId, seller, QStringLiteral("strony_%1.pdf").arg(count));
    MOptions::setOption(QStringLiteral("SHOW_PRINT_FOOTER"), QStringLiteral("0"));
    QVERIFY(!fileName.isEmpty());
    const QStringList pages = MTestPdf::pageTexts(fileName);
    const int pageCount = MTestPdf::info(fileName, QStringLiteral("Pages")).toInt();
    QCOMPARE(pages.size(), pageCount);
    QVERIFY2(m_template->getPageGenerated() == pageCount, qPrintable(pages.join(QStringLiteral(" | "))));

    int summaries = 0;
    int documents = 0;
    QSet<int> numbers;
    // Documents on each page; a page followed by more documents is full, and
    // every group here is far smaller than half a page.
    QList<int> perPage;
    const QRegularExpression number(QStringLiteral("FV-(\\d+)/03/2024"));
    for (int page = 0; page < pageCount; ++page) {
        const QString text = pages.at(page);
        const QString footer = QStringLiteral("Strona %1 z %2").arg(page + 1).arg(pageCount);
        QVERIFY2(text.endsWith(footer), qPrintable(QStringLiteral("page %1: ").arg(page + 1) + text));
        QCOMPARE(text.contains(QStringLiteral("Wydruk z programu morva FAKTURY")), printFooter);
        summaries += text.count(QStringLiteral("Podsumowanie w/g stawek VAT"));
        const int firstDocument = text.indexOf(number);
        if (firstDocument >= 0) {
            const int heading = text.indexOf(QStringLiteral("Rodzaj"));
            QVERIFY2(heading >= 0 && heading < firstDocument, qPrintable(text));
        }
        documents += text.count(number);
        perPage.append(text.count(number));
        for (auto match = number.globalMatch(text); match.hasNext();)
            numbers.insert(match.next().captured(1).toInt());
    }
    QCOMPARE(summaries, 1);
    QCOMPARE(documents, count);
    for (int page = 0; page + 1 < perPage.size() && perPage.at(page + 1) > 0; ++page)
        QVERIFY2(perPage.at(page) >= 2, qPrintable(QStringLiteral("page %1 of %2 documents: %3")
                                                       .arg(page + 1).arg(count).arg(perPage.at(page))));
    QSet<int> expected;
    for (int id = firstId; id < firstId + count; ++id)
        expected.insert(id);
    QCOMPARE(numbers, expected);
}

void TestRegisterTemplate::pagingAtResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QString>("tag");

    for (int dpi : {72, 144, 192})
        for (const char* tag : {"13 documents", "47 documents of up to 5 rates"})
            QTest::addRow("%d dpi, %s", dpi, tag) << dpi << QString::fromLatin1(tag);
}

// At each resolution every page must still end with its page number, none cut
// off at the right edge.
void TestRegisterTemplate::pagingAtResolution()
{
    QFETCH(int, dpi);
    QFETCH(QString, tag);

    runAtResolution(dpi, QStringLiteral("paging:") + tag);
}

// Each page holds as many row groups as fit: the page is below the full height,
// and with the first group of the next page it would not be. Groups of one to five
// rates, some with a long buyer name, so that pages hold different numbers of groups.
void TestRegisterTemplate::pagesAreFilled()
{
    MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{"id", 2},
                                                            {"firm", MModelHeightTemplate::longName()},
                                                            {"address", QStringLiteral("ul. Długa 1")},
                                                            {"zipcode", QStringLiteral("00-001")},
                                                            {"city", QStringLiteral("Warszawa")}});
    static const int vatIds[] = {24, 9, 6, 1, 102};
    const int seller = m_nextSeller++;
    MTestDatabase::insert(QStringLiteral("seller"), {{"id", seller}, {"firm", QStringLiteral("Firma %1").arg(seller)}});
    const double rowHeight = 12;
    QHash<int, double> groupHeight;
    for (int i = 0; i < 90; ++i) {
        const int id = m_nextId++;
        const bool longName = i % 7 == 3 || i % 11 == 0;
        const int rates = 1 + (i * 3 + i / 4) % 5;
        addDocument(id, seller, 1 + i / 4, longName ? 2 : 1);
        for (int r = 0; r < rates; ++r)
            addRate(id, vatIds[r], 10 + i, 0.23 * (10 + i));
        groupHeight.insert(id, MModelHeightTemplate::groupHeight(rowHeight, rates, longName));
    }
    MModelHeightTemplate model(rowHeight, 718);
    checkPagesFilled(&model, seller, groupHeight, 4);
}

// Layouts measure in fractions of a pixel and report whole pixels rounded up, so
// a page may take one more group than whole-pixel differences of heights promise.
// Rows of 12.3 pixels on pages of every height over two rows' span: each page still
// takes every group that fits.
void TestRegisterTemplate::pagesAreFilledToThePixel()
{
    const int seller = sellerWithDocuments(12);
    const double rowHeight = 12.3;
    QHash<int, double> groupHeight;
    for (int id = m_nextId - 12; id < m_nextId; ++id)
        groupHeight.insert(id, MModelHeightTemplate::groupHeight(rowHeight, 1, false));
    for (int pageHeight = 300; pageHeight < 325; ++pageHeight) {
        MModelHeightTemplate model(rowHeight, pageHeight);
        checkPagesFilled(&model, seller, groupHeight, 2);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("page height %1").arg(pageHeight)));
    }
}

void TestRegisterTemplate::checkPagesFilled(MModelHeightTemplate* model, int seller,
                                            const QHash<int, double>& groupHeight, int leastPages)
{
    const int runId = MRegisterData::build(periodFrom, periodTo, {QString::number(seller)});
    model->setPageOrientation(QPrinter::Landscape);
    model->setTextEdit(nullptr, true);
    model->setPageMargins(10, 10, 10, 10);
    model->isPaging(true);
    model->setIdRecord(runId);
    model->setIdSellerBase(seller);
    model->setDateFrom(periodFrom);
    model->setDateTo(periodTo);
    model->setDatePrint(printDate);
    QScriptEngine engine;
    QVERIFY(MTemplateRun::run(&engine, model, QStringLiteral(":/template/invoice_register.js"), nullptr));
    const int full = model->getPageHeight() - 10 - 5 - 20;

    // The pages of the output with the documents on each, in order.
    const QStringList pages = model->pageList()->wholeHtml().split(QStringLiteral("<div"), Qt::SkipEmptyParts).mid(1);
    const QRegularExpression number(QStringLiteral("FV-(\\d+)/03/2024"));
    QList<QList<int>> documents;
    QList<int> all;
    for (const QString& page : pages) {
        documents.append(QList<int>());
        for (auto match = number.globalMatch(page); match.hasNext();)
            documents.last().append(match.next().captured(1).toInt());
        all += documents.last();
    }
    QList<int> expected = groupHeight.keys();
    std::sort(expected.begin(), expected.end());
    QCOMPARE(all, expected);
    QVERIFY2(pages.size() >= leastPages, qPrintable(QString::number(pages.size())));
    for (int page = 0; page + 1 < pages.size() && !documents.at(page + 1).isEmpty(); ++page) {
        const double height = model->heightOf(pages.at(page));
        const double next = groupHeight.value(documents.at(page + 1).first());
        QVERIFY2(qCeil(height) < full && qCeil(height + next) >= full,
                 qPrintable(QStringLiteral("page %1: %2 of %3 pixels, next group %4")
                                .arg(page + 1).arg(height).arg(full).arg(next)));
    }
}

// The register is printed page by page from its HTML; every page must look
// exactly as it does in the whole document laid out at once.
void TestRegisterTemplate::pagesPrintedAloneLookAsInWholeDocument()
{
    MOptions::setOption(QStringLiteral("SHOW_PRINT_FOOTER"), QStringLiteral("1"));
    const int seller = sellerWithDocuments(47, 5);
    const int runId = MRegisterData::build(periodFrom, periodTo, {QString::number(seller)});
    const QString byPages = print(runId, seller, QStringLiteral("po_stronie.pdf"));
    MOptions::setOption(QStringLiteral("SHOW_PRINT_FOOTER"), QStringLiteral("0"));
    QVERIFY(!byPages.isEmpty());
    QVERIFY(m_template->outputInPages());
    QCOMPARE(m_template->pageList()->count(), m_template->getPageGenerated());

    const QString whole = m_dir.filePath(QStringLiteral("w_calosci.pdf"));
    m_template->getPrinter()->setOutputFileName(whole);
    MTextPrinter::print(m_template->getTextEdit(), m_template->getPrinter(), false);

    QVERIFY(!MTestPdf::info(whole, QStringLiteral("Title")).isEmpty());
    QCOMPARE(MTestPdf::info(byPages, QStringLiteral("Title")), MTestPdf::info(whole, QStringLiteral("Title")));
    const QList<QImage> pages = MTestPdf::pageImages(byPages, 60);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    const QList<QImage> expected = MTestPdf::pageImages(whole, 60);
    QCOMPARE(pages.size(), expected.size());
    for (int page = 0; page < pages.size(); ++page)
        QVERIFY2(pages.at(page) == expected.at(page), qPrintable(QStringLiteral("page %1").arg(page + 1)));
}

void TestRegisterTemplate::emptyRun()
{
    const int runId = MRegisterData::build(periodFrom, periodTo, {});
    const QString fileName = print(runId, 1, QStringLiteral("pusty.pdf"));
    const QStringList pages = MTestPdf::pageTexts(fileName);
    QVERIFY2(pages.size() == 1, qPrintable(pages.join(QStringLiteral(" | "))));
    const QString text = pages.value(0);
    QVERIFY(text.contains(QStringLiteral("Rodzaj")));
    QVERIFY(text.contains(QStringLiteral("Podsumowanie w/g stawek VAT")));
    QVERIFY(text.contains(QStringLiteral("Razem")));
    QVERIFY(!text.contains(QStringLiteral("FV-")));
    QVERIFY(text.endsWith(QStringLiteral("Strona 1 z 1")));
}

void TestRegisterTemplate::abortedRunPrintsNothing()
{
    const QString name = QStringLiteral("przerwany.pdf");
    print(m_runId, 1, name, true);
    QVERIFY(!QFile::exists(m_dir.filePath(name)));
    QVERIFY(m_template->isDocGenerated());
    QVERIFY(m_template->getTextEdit()->toPlainText().trimmed().isEmpty());
}

namespace {

// A buyer whose name, address and number are longer than their columns.
int storeLongBuyer()
{
    QString word;
    for (int i = 0; i < 120; ++i)
        word += QLatin1Char(i % 10 == 9 ? '0' + i / 10 % 10 : 'W');
    return int(MTestDatabase::insert(
        QStringLiteral("invoice_buyer"),
        {{"firm", QString(QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe ") + word)},
         {"address", QString(QStringLiteral("ul. Księcia Józefa Poniatowskiego ") + word.left(60))},
         {"zipcode", QStringLiteral("30-001")},
         {"city", QStringLiteral("Kraków")},
         {"nip", QStringLiteral("PL6760001234567890")}}));
}

bool overlap(const MTestPdf::Word& a, const MTestPdf::Word& b)
{
    // A glyph box reaches a little into the next line of text at small resolutions.
    const double tolerance = 1.0;
    return a.left + tolerance < b.right && b.left + tolerance < a.right && a.top + tolerance < b.bottom
        && b.top + tolerance < a.bottom;
}

} // namespace

void TestRegisterTemplate::textsStayInTheirCells_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("documents");

    for (const char* report : {"register", "statement"}) {
        QTest::addRow("%s of 3 documents", report) << QString::fromLatin1(report) << 3;
        QTest::addRow("%s of 40 documents", report) << QString::fromLatin1(report) << 40;
    }
}

// Names, addresses, numbers and kinds longer than their columns wrap inside their cells:
// no two words of a page overprint each other, none leaves the page, and the summary's
// heading ends where its table does.
void TestRegisterTemplate::textsStayInTheirCells()
{
    QFETCH(QString, report);
    QFETCH(int, documents);

    const QString fileName = printDocuments(report, documents, storeLongBuyer(), QStringLiteral("komorki.pdf"));
    QVERIFY(!fileName.isEmpty());
    const QList<MTestPdf::Words> pages = MTestPdf::pageWords(fileName);
    QVERIFY(!pages.isEmpty());
    const double mmToPt = 72 / 25.4;
    int kinds = 0;
    for (int page = 0; page < pages.size(); ++page) {
        const MTestPdf::Words& words = pages.at(page);
        for (int i = 0; i < words.size(); ++i) {
            const MTestPdf::Word& word = words.at(i);
            QVERIFY2(word.left >= 10 * mmToPt - 0.5 && word.right <= (297 - 10) * mmToPt + 0.5,
                     qPrintable(QStringLiteral("page %1: «%2» at %3-%4 pt").arg(page + 1).arg(word.text)
                                    .arg(word.left).arg(word.right)));
            for (int j = i + 1; j < words.size(); ++j)
                QVERIFY2(!overlap(word, words.at(j)),
                         qPrintable(QStringLiteral("page %1: «%2» over «%3» at %4, %5 pt").arg(page + 1)
                                        .arg(word.text, words.at(j).text).arg(word.left).arg(word.top)));
            kinds += word.text == QStringLiteral("korygująca");
        }
    }
    // Every document but each third is a correction.
    QCOMPARE(kinds, documents - (documents + 2) / 3);

    // The heading over the summary ends no further right than the summary's amounts.
    const MTestPdf::Words& last = pages.last();
    double headingRight = -1;
    double amountsRight = 0;
    for (int i = 0; i < last.size(); ++i) {
        if (last.at(i).text == QLatin1String("Podsumowanie") && i + 3 < last.size())
            headingRight = last.at(i + 3).right;
        if (headingRight >= 0 && last.at(i).text.contains(QLatin1Char(',')))
            amountsRight = qMax(amountsRight, last.at(i).right);
    }
    QVERIFY(headingRight > 0);
    QVERIFY2(headingRight <= amountsRight + 4, qPrintable(QStringLiteral("heading to %1 pt, amounts to %2 pt")
                                                              .arg(headingRight).arg(amountsRight)));
}

void TestRegisterTemplate::textsStayInTheirCellsAtResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QString>("tag");

    for (int dpi : {72, 192})
        for (const char* tag : {"register of 40 documents", "statement of 40 documents"})
            QTest::addRow("%d dpi, %s", dpi, tag) << dpi << QString::fromLatin1(tag);
}

void TestRegisterTemplate::textsStayInTheirCellsAtResolution()
{
    QFETCH(int, dpi);
    QFETCH(QString, tag);

    runAtResolution(dpi, QStringLiteral("textsStayInTheirCells:") + tag);
}

void TestRegisterTemplate::databaseTextPrintsAsText_data()
{
    QTest::addColumn<QString>("report");

    QTest::newRow("register") << "register";
    QTest::newRow("statement") << "statement";
}

// Markup in the buyer's texts prints as the characters it is, and a picture it names is
// never read.
void TestRegisterTemplate::databaseTextPrintsAsText()
{
    QFETCH(QString, report);

    const MTestMarkup markup(m_dir.filePath(QStringLiteral("obrazek")));
    const int buyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                                {{"firm", markup.text()}, {"address", markup.text()},
                                                 {"city", markup.text()}, {"nip", QStringLiteral("<i>676</i>")}}));
    const QString fileName = printDocuments(report, 2, buyer, QStringLiteral("znaczniki.pdf"));
    QVERIFY(markup.nothingOpened());
    QVERIFY(!fileName.isEmpty());

    const QString letters = MTestPdf::drawnLetters(fileName);
    const QString printed = markup.text().remove(QLatin1Char(' '));
    QVERIFY2(letters.count(printed) == (report == QLatin1String("register") ? 6 : 2), qPrintable(letters));
    QCOMPARE(letters.count(QStringLiteral("<i>676</i>")), 2);
    QVERIFY(letters.contains(QStringLiteral("Podsumowaniew/gstawekVAT")));
}

INVOICE_TEST_MAIN(TestRegisterTemplate)
#include "tst_registertemplate.moc"
