#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestMarkup.h"
#include "MTestPdf.h"
#include "data/MDefaultOptions.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "printing/MDocTemplate.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScriptEngine>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <algorithm>

// The document template run for stored documents of every kind and printed to PDF,
// then read back as text: what a bookkeeper finds on the printed pages.
class TestInvoiceTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void printedDocument_data();
    void printedDocument();
    void pagesOfALongInvoice_data();
    void pagesOfALongInvoice();
    void signaturesKeepToTheLastPage_data();
    void signaturesKeepToTheLastPage();
    void envelopeModes_data();
    void envelopeModes();
    void addressInEnvelopeWindow_data();
    void addressInEnvelopeWindow();
    void ruledLinesAreThin_data();
    void ruledLinesAreThin();
    void longWordsStayOnThePage_data();
    void longWordsStayOnThePage();
    void databaseTextPrintsAsText();
    void paymentQrCodeDecodes();
    void resourceIsAsciiAndRepeatable();

private:
    // Snapshots of both parties, a document of `kind` and its lines; the id of the document.
    int storeDocument(const QVariantMap& invoice, const QList<QVariantMap>& lines);
    int storeSeller();
    int storeBuyer(const QString& firm);
    void storeLine(int idInvoice, const QVariantMap& values);
    void storeSummary(int idInvoice, int idVat, double netto, double vat, double brutto);
    // The stock invoice: 23 % and 8 % lines, 1 234,56 PLN to pay by transfer.
    int storeVatInvoice(const QVariantMap& changes = QVariantMap());
    int storeFixture(const QString& fixture);
    // An invoice of `count` lines named "Pozycja 1" and on, 10,00 net at 23 % each; every
    // wrapEvery-th name is long enough to wrap, every hideEvery-th line has no number.
    int storeLongInvoice(int count, int wrapEvery = 0, int hideEvery = 0);

    MDocTemplate* pdfTemplate(const QString& fileName, int idRecord, int docView);
    // The pages of the printed document with the no-wrap marks read as blanks.
    QStringList printPages(int idRecord, int docView, const QString& name);

    MTestDatabase m_db;
    QTemporaryDir m_dir;
    QScriptEngine m_engine;
};

namespace {

const QString kSellerFirm = QStringLiteral("Firma Testowa Sp. z o.o.");
const QString kBuyerFirm = QStringLiteral("Hurtownia Kowalski");
const QString kFarmerFirm = QStringLiteral("Gospodarstwo Rolne Nowak");
const QString kPayment = QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|FV 1/2024|||");

QString pagesText(const QStringList& pages)
{
    return pages.join(QLatin1Char('\n'));
}

// Tops of the document's lines on a page: their names start with "Pozycja".
QVector<double> lineTops(const MTestPdf::Words& words)
{
    QVector<double> tops;
    for (const MTestPdf::Word& word : words)
        if (word.text == QLatin1String("Pozycja"))
            tops.append(word.top);
    std::sort(tops.begin(), tops.end());
    return tops;
}

double footerTop(const MTestPdf::Words& words)
{
    for (const MTestPdf::Word& word : words)
        if (word.text == QLatin1String("Strona"))
            return word.top;
    return 0.0;
}

// The bottom of the lowest text above the page's footer.
double contentBottom(const MTestPdf::Words& words)
{
    const double footer = footerTop(words);
    double bottom = 0.0;
    for (const MTestPdf::Word& word : words)
        if (word.bottom < footer)
            bottom = qMax(bottom, word.bottom);
    return bottom;
}

// The spacing of two one-line rows: the least distance between the tops of two lines.
double smallestSpacing(const QList<MTestPdf::Words>& pages)
{
    double spacing = 1e9;
    for (const MTestPdf::Words& words : pages) {
        const QVector<double> tops = lineTops(words);
        for (int i = 1; i < tops.size(); ++i)
            spacing = qMin(spacing, tops.at(i) - tops.at(i - 1));
    }
    return spacing;
}

// A straight line of the printed page: a dark box at least `minLength` pixels long.
struct Rule
{
    int along0 = 0;
    int along1 = 0;
    int across0 = 0;
    int across1 = 0;
    int thickness() const { return across1 - across0 + 1; }
    double centre() const { return (across0 + across1) / 2.0; }
};

// The lines of a page along `orientation`: runs of dark pixels at least `minLength` long,
// joined with the overlapping runs of the neighbouring rows (or columns) into one line.
QVector<Rule> rules(const QImage& page, Qt::Orientation orientation, int minLength)
{
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    const bool horizontal = orientation == Qt::Horizontal;
    const int lines = horizontal ? gray.height() : gray.width();
    const int length = horizontal ? gray.width() : gray.height();
    auto dark = [&](int line, int at) {
        return horizontal ? gray.constScanLine(line)[at] < 128 : gray.constScanLine(at)[line] < 128;
    };
    QVector<Rule> done;
    QVector<Rule> open;
    for (int line = 0; line < lines; ++line) {
        QVector<Rule> next;
        for (int at = 0; at < length;) {
            if (!dark(line, at)) {
                ++at;
                continue;
            }
            const int start = at;
            while (at < length && dark(line, at))
                ++at;
            if (at - start < minLength)
                continue;
            Rule rule{start, at - 1, line, line};
            for (int i = open.size() - 1; i >= 0; --i) {
                const Rule& before = open.at(i);
                if (before.along0 <= rule.along1 && rule.along0 <= before.along1) {
                    rule = {qMin(rule.along0, before.along0), qMax(rule.along1, before.along1), before.across0, line};
                    open.remove(i);
                }
            }
            next.append(rule);
        }
        done += open;
        open = next;
    }
    return done + open;
}

// Pixels of a 600 dpi rendering in a millimetre.
constexpr double kDotsPerMM = 600 / 25.4;

} // namespace

void TestInvoiceTemplate::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QVERIFY(m_dir.isValid());
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    MDefaultOptions::store(m_db.path(QStringLiteral("dokumenty/")));
    MProgramPaths::pathTemp = m_db.path(QStringLiteral("work/"));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("temp")));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("template/logo")));
    m_engine.setProcessEventsInterval(1);
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO currency (id, symbol, name) VALUES (90, 'EUR', 'euro')")));
}

void TestInvoiceTemplate::init()
{
    MMessageBox::takeShown();
    for (const char* table : {"invoice", "invoice_seller", "invoice_buyer", "invoice_product", "invoice_product_misc",
                              "invoice_summary_vat", "invoice_join", "invoice_currency_rating", "invoice_correct_misc"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    const QList<QPair<QString, QString>> options{
        {QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("1")},
        {QStringLiteral("SHOW_LOGO"), QStringLiteral("0")},
        {QStringLiteral("SELLER_SHOW_FIELD_NIP"), QStringLiteral("1")},
        {QStringLiteral("BUYER_SHOW_FIELD_NIP"), QStringLiteral("1")},
        {QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"), QStringLiteral("0")},
        {QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF"), QStringLiteral("1")},
        {QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"), QStringLiteral("0")},
        {QStringLiteral("SHOW_REDUCT_COLUMNS"), QStringLiteral("2")},
        {QStringLiteral("SHOW_VAT_RATING_COLUMN"), QStringLiteral("0")},
        {QStringLiteral("FONT_SIZE_DIFF"), QStringLiteral("2")}};
    for (const auto& option : options)
        MOptions::setOption(option.first, option.second);
}

int TestInvoiceTemplate::storeSeller()
{
    return int(MTestDatabase::insert(
        QStringLiteral("invoice_seller"),
        {{QStringLiteral("firm"), kSellerFirm},
         {QStringLiteral("firm_short"), QStringLiteral("Firma Testowa")},
         {QStringLiteral("address"), QStringLiteral("ul. Długa 5")},
         {QStringLiteral("zipcode"), QStringLiteral("00-950")},
         {QStringLiteral("city"), QStringLiteral("Warszawa")},
         {QStringLiteral("nip"), QStringLiteral("5260250274")},
         {QStringLiteral("bank_account"), QStringLiteral("61109010140000071219812874")},
         {QStringLiteral("permit_person_firstname"), QStringLiteral("Anna")},
         {QStringLiteral("permit_person_secondname"), QStringLiteral("Wystawczyni")},
         {QStringLiteral("invoice_index_format_text"), QStringLiteral("FV [nr]/[rrrr]")}}));
}

int TestInvoiceTemplate::storeBuyer(const QString& firm)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                     {{QStringLiteral("firm"), firm},
                                      {QStringLiteral("address"), QStringLiteral("ul. Polna 12")},
                                      {QStringLiteral("zipcode"), QStringLiteral("30-001")},
                                      {QStringLiteral("city"), QStringLiteral("Kraków")},
                                      {QStringLiteral("nip"), QStringLiteral("6770065406")},
                                      {QStringLiteral("permit_person_firstname"), QStringLiteral("Jan")},
                                      {QStringLiteral("permit_person_secondname"), QStringLiteral("Odbiorca")}}));
}

int TestInvoiceTemplate::storeDocument(const QVariantMap& invoice, const QList<QVariantMap>& lines)
{
    QVariantMap values{{QStringLiteral("id_seller"), storeSeller()},
                       {QStringLiteral("id_buyer"), storeBuyer(kBuyerFirm)},
                       {QStringLiteral("invoice_index"), 1},
                       {QStringLiteral("count_from_netto"), 1},
                       {QStringLiteral("id_pay_form"), 2},
                       {QStringLiteral("place_put"), QStringLiteral("Warszawa")},
                       {QStringLiteral("date_put"), QStringLiteral("2024-01-15")},
                       {QStringLiteral("date_sell"), QStringLiteral("2024-01-15")},
                       {QStringLiteral("date_pay"), QStringLiteral("2024-01-29")}};
    for (auto it = invoice.cbegin(); it != invoice.cend(); ++it)
        values.insert(it.key(), it.value());
    const int id = int(MTestDatabase::insert(QStringLiteral("invoice"), values));
    for (const QVariantMap& line : lines)
        storeLine(id, line);
    return id;
}

void TestInvoiceTemplate::storeLine(int idInvoice, const QVariantMap& values)
{
    const double vat = values.value(QStringLiteral("vat")).toDouble();
    const double netto = values.value(QStringLiteral("netto")).toDouble();
    const double amount = values.value(QStringLiteral("amount"), QVariant(1)).toDouble();
    const qint64 idProduct = MTestDatabase::insert(
        QStringLiteral("invoice_product"),
        {{QStringLiteral("name"), values.value(QStringLiteral("name"), QVariant(QStringLiteral("Towar")))},
         {QStringLiteral("symbol"), values.value(QStringLiteral("symbol"), QVariant(QStringLiteral("")))},
         {QStringLiteral("unit"), QStringLiteral("szt.")},
         {QStringLiteral("netto_price"), values.value(QStringLiteral("price"), QVariant(netto / amount))},
         {QStringLiteral("brutto_price"), values.value(QStringLiteral("price_brutto"), QVariant(0))},
         {QStringLiteral("vat"), vat},
         {QStringLiteral("vat_text"), QString(QString::number(vat) + QLatin1Char('%'))}});
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                          {{QStringLiteral("id_invoice"), idInvoice},
                           {QStringLiteral("id_product"), idProduct},
                           {QStringLiteral("amount"), amount},
                           {QStringLiteral("reduct"), values.value(QStringLiteral("reduct"), QVariant(0))},
                           {QStringLiteral("position_hide"), values.value(QStringLiteral("hide"), QVariant(0))},
                           {QStringLiteral("netto_price"), netto},
                           {QStringLiteral("vat_price"), values.value(QStringLiteral("vat_price"), QVariant(0.0))},
                           {QStringLiteral("brutto_price"), values.value(QStringLiteral("brutto"))}});
}

void TestInvoiceTemplate::storeSummary(int idInvoice, int idVat, double netto, double vat, double brutto)
{
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{QStringLiteral("id_invoice"), idInvoice},
                                                                 {QStringLiteral("id_vat"), idVat},
                                                                 {QStringLiteral("netto_price"), netto},
                                                                 {QStringLiteral("vat_price"), vat},
                                                                 {QStringLiteral("brutto_price"), brutto}});
}

int TestInvoiceTemplate::storeVatInvoice(const QVariantMap& changes)
{
    QVariantMap invoice{{QStringLiteral("global_netto"), 1032.0},
                        {QStringLiteral("global_vat"), 202.56},
                        {QStringLiteral("global_brutto"), 1234.56}};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        invoice.insert(it.key(), it.value());
    const int id = storeDocument(
        invoice,
        {{{QStringLiteral("name"), QStringLiteral("Krzesło biurowe")}, {QStringLiteral("vat"), 23},
          {QStringLiteral("amount"), 4}, {QStringLiteral("netto"), 800.0}, {QStringLiteral("vat_price"), 184.0},
          {QStringLiteral("brutto"), 984.0}},
         {{QStringLiteral("name"), QStringLiteral("Książka kucharska")}, {QStringLiteral("vat"), 8},
          {QStringLiteral("amount"), 2}, {QStringLiteral("netto"), 232.0}, {QStringLiteral("vat_price"), 18.56},
          {QStringLiteral("brutto"), 250.56}}});
    storeSummary(id, 24, 800.0, 184.0, 984.0);
    storeSummary(id, 9, 232.0, 18.56, 250.56);
    return id;
}

int TestInvoiceTemplate::storeFixture(const QString& fixture)
{
    const QString kind = QStringLiteral("invoice_kind");
    if (fixture == QLatin1String("vat"))
        return storeVatInvoice();
    if (fixture == QLatin1String("correction")) {
        const int parent = storeVatInvoice();
        const int id = storeDocument(
            {{kind, 2}, {QStringLiteral("invoice_index"), 2}, {QStringLiteral("id_parent_invoice"), parent},
             {QStringLiteral("global_netto"), 932.0}, {QStringLiteral("global_vat"), 179.56},
             {QStringLiteral("global_brutto"), 1111.56}},
            {{{QStringLiteral("name"), QStringLiteral("Krzesło biurowe")}, {QStringLiteral("vat"), 23},
              {QStringLiteral("amount"), 4}, {QStringLiteral("netto"), 700.0}, {QStringLiteral("vat_price"), 161.0},
              {QStringLiteral("brutto"), 861.0}},
             {{QStringLiteral("name"), QStringLiteral("Książka kucharska")}, {QStringLiteral("vat"), 8},
              {QStringLiteral("amount"), 2}, {QStringLiteral("netto"), 232.0}, {QStringLiteral("vat_price"), 18.56},
              {QStringLiteral("brutto"), 250.56}}});
        storeSummary(id, 24, 700.0, 161.0, 861.0);
        storeSummary(id, 9, 232.0, 18.56, 250.56);
        MTestDatabase::insert(QStringLiteral("invoice_correct_misc"),
                              {{QStringLiteral("id_invoice"), id}, {QStringLiteral("correct_reason"),
                                                                    QStringLiteral("Rabat posprzedażowy")}});
        return id;
    }
    if (fixture == QLatin1String("duplicate")) {
        const int parent = storeVatInvoice();
        return storeDocument({{kind, 5}, {QStringLiteral("invoice_index"), 9}, {QStringLiteral("id_parent_invoice"),
                                                                                parent},
                              {QStringLiteral("date_put"), QStringLiteral("2024-02-20")}},
                             {});
    }
    if (fixture == QLatin1String("bill")) {
        const int id = storeDocument({{kind, 9}, {QStringLiteral("global_brutto"), 300.0},
                                      {QStringLiteral("global_netto"), 300.0}},
                                     {{{QStringLiteral("name"), QStringLiteral("Usługa")}, {QStringLiteral("vat"), 0},
                                       {QStringLiteral("netto"), 300.0}, {QStringLiteral("brutto"), 300.0}}});
        return id;
    }
    if (fixture == QLatin1String("rr")) {
        const int id = storeVatInvoice({{kind, 11}});
        const bool farmer = MTestDatabase::exec(QStringLiteral("UPDATE invoice_buyer SET firm = '%1' WHERE id = "
                                                               "(SELECT id_buyer FROM invoice WHERE id = %2)")
                                                    .arg(kFarmerFirm)
                                                    .arg(id));
        return farmer ? id : 0;
    }
    if (fixture == QLatin1String("reverse"))
        return storeVatInvoice({{kind, 15}});
    if (fixture == QLatin1String("advance"))
        return storeVatInvoice({{kind, 19}});
    if (fixture == QLatin1String("final")) {
        const int advance = storeVatInvoice({{kind, 19}, {QStringLiteral("invoice_index_string"),
                                                          QStringLiteral("FZ 3/2024")},
                                             {QStringLiteral("brutto_part"), 500.0}});
        const int id = storeVatInvoice({{kind, 23}, {QStringLiteral("invoice_index"), 4}});
        MTestDatabase::insert(QStringLiteral("invoice_join"),
                              {{QStringLiteral("id_invoice"), id}, {QStringLiteral("id_invoice_join"), advance}});
        return id;
    }
    if (fixture == QLatin1String("profit hidden"))
        return storeVatInvoice({{kind, 27}, {QStringLiteral("hide_vat"), 1}});
    if (fixture == QLatin1String("profit visible"))
        return storeVatInvoice({{kind, 27}, {QStringLiteral("hide_vat"), 0}});
    if (fixture == QLatin1String("eur")) {
        const qint64 rating = MTestDatabase::insert(
            QStringLiteral("invoice_currency_rating"),
            {{QStringLiteral("bank_name"), QStringLiteral("NBP")}, {QStringLiteral("id_currency_from"), 90},
             {QStringLiteral("id_currency_to"), 0}, {QStringLiteral("rating_date"), QStringLiteral("2024-01-12")},
             {QStringLiteral("currency_amount_from"), 1}, {QStringLiteral("currency_value"), 4.321},
             {QStringLiteral("table_name"), QStringLiteral("008/A/NBP/2024")}});
        return storeVatInvoice({{QStringLiteral("id_currency"), 90}, {QStringLiteral("id_currency_rating"), rating}});
    }
    if (fixture == QLatin1String("1 day"))
        return storeVatInvoice({{QStringLiteral("day_period"), 1}, {QStringLiteral("date_pay"), QStringLiteral("2024-01-16")}});
    if (fixture == QLatin1String("14 days"))
        return storeVatInvoice({{QStringLiteral("day_period"), 1}, {QStringLiteral("date_pay"), QStringLiteral("2024-01-29")}});
    if (fixture == QLatin1String("percent discount") || fixture == QLatin1String("amount discount")) {
        const bool percent = fixture == QLatin1String("percent discount");
        const int id = storeDocument(
            {{QStringLiteral("reduct_percent"), percent ? 1 : 0}, {QStringLiteral("global_netto"), 90.0},
             {QStringLiteral("global_vat"), 20.7}, {QStringLiteral("global_brutto"), 110.7}},
            {{{QStringLiteral("name"), QStringLiteral("Lampa")}, {QStringLiteral("vat"), 23},
              {QStringLiteral("price"), 50.0}, {QStringLiteral("amount"), 2}, {QStringLiteral("reduct"), percent ? 10 : 5},
              {QStringLiteral("netto"), 90.0}, {QStringLiteral("vat_price"), 20.7}, {QStringLiteral("brutto"), 110.7}}});
        storeSummary(id, 24, 90.0, 20.7, 110.7);
        return id;
    }
    if (fixture == QLatin1String("symbol")) {
        const int id = storeVatInvoice();
        const bool symbol = MTestDatabase::exec(
            QStringLiteral("UPDATE invoice_product SET symbol = 'KRZ-01' WHERE name = 'Krzesło biurowe'"));
        return symbol ? id : 0;
    }
    return 0;
}

int TestInvoiceTemplate::storeLongInvoice(int count, int wrapEvery, int hideEvery)
{
    const QString longName = QStringLiteral(" z opisem, który nie mieści się w jednym wierszu kolumny nazwy "
                                            "i zajmuje dwa albo trzy wiersze tabeli pozycji dokumentu");
    QList<QVariantMap> lines;
    for (int i = 1; i <= count; ++i) {
        QString name = QStringLiteral("Pozycja %1").arg(i);
        if (wrapEvery > 0 && i % wrapEvery == 0)
            name += longName;
        lines.append({{QStringLiteral("name"), name}, {QStringLiteral("vat"), 23}, {QStringLiteral("netto"), 10.0},
                      {QStringLiteral("vat_price"), 2.3}, {QStringLiteral("brutto"), 12.3},
                      {QStringLiteral("hide"), hideEvery > 0 && i % hideEvery == 0 ? 1 : 0}});
    }
    const int id = storeDocument({{QStringLiteral("global_netto"), 10.0 * count},
                                  {QStringLiteral("global_vat"), 2.3 * count},
                                  {QStringLiteral("global_brutto"), 12.3 * count}},
                                 lines);
    storeSummary(id, 24, 10.0 * count, 2.3 * count, 12.3 * count);
    return id;
}

MDocTemplate* TestInvoiceTemplate::pdfTemplate(const QString& fileName, int idRecord, int docView)
{
    auto* docTemplate = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate->getPrinter()->setOutputFileName(fileName);
    docTemplate->setTextEdit(nullptr, true);
    docTemplate->setPageMargins(10, 10, 10, 10);
    docTemplate->isPaging(true);
    docTemplate->setDocView(docView);
    docTemplate->setIdRecord(idRecord);
    return docTemplate;
}

QStringList TestInvoiceTemplate::printPages(int idRecord, int docView, const QString& name)
{
    const QString fileName = m_dir.filePath(name + QStringLiteral(".pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName, idRecord, docView));
    if (!MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/template/invoice.js"), nullptr))
        return {};
    QStringList pages;
    const int count = MTestPdf::info(fileName, QStringLiteral("Pages")).toInt();
    for (int page = 1; page <= count; ++page) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                                    QStringLiteral("-l"), QString::number(page), fileName,
                                                    QStringLiteral("-")});
        process.waitForFinished();
        QString text = QString::fromUtf8(process.readAllStandardOutput());
        pages.append(text.replace(QLatin1Char('\''), QLatin1Char(' ')).simplified());
    }
    return pages;
}

void TestInvoiceTemplate::printedDocument_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QVariantMap>("options");
    QTest::addColumn<int>("docView");
    QTest::addColumn<QStringList>("inOrder");
    QTest::addColumn<QStringList>("absent");

    const QString toPay = QStringLiteral("Do zapłaty: 1 234,56 PLN");
    const QString words = QStringLiteral("słownie: jeden tysiąc dwieście trzydzieści cztery PLN 56/100");
    QTest::newRow("invoice 23 and 8 percent")
        << "vat" << QVariantMap() << 1
        << QStringList{QStringLiteral("FAKTURA VAT"), QStringLiteral("nr: FV 1/2024"), QStringLiteral("ORYGINAŁ"),
                       QStringLiteral("Sprzedawca"), kSellerFirm, kBuyerFirm, QStringLiteral("NIP: 6770065406"),
                       QStringLiteral("Termin płatności: 29 stycznia 2024"), QStringLiteral("Krzesło biurowe"),
                       QStringLiteral("984,00"), QStringLiteral("Książka kucharska"), QStringLiteral("250,56"),
                       QStringLiteral("Podsumowanie w/g stawek VAT"), QStringLiteral("8% 232,00 18,56 250,56"),
                       QStringLiteral("23% 800,00 184,00 984,00"), QStringLiteral("Razem - 1 032,00 202,56 1 234,56"),
                       toPay, words, QStringLiteral("Anna Wystawczyni"), QStringLiteral("Strona 1 z 1")}
        << QStringList{QStringLiteral("DUPLIKAT"), QStringLiteral("Było:"), QStringLiteral("Rabat"), QStringLiteral("Symbol")};
    QTest::newRow("correction lowering the total")
        << "correction" << QVariantMap() << 0
        << QStringList{QStringLiteral("FAKTURA KORYGUJĄCA VAT"), QStringLiteral("nr: FV 2/2024"),
                       QStringLiteral("do faktury nr: FV 1/2024"), QStringLiteral("Było:"), QStringLiteral("984,00"),
                       QStringLiteral("Powinno być:"), QStringLiteral("861,00"),
                       QStringLiteral("Zmiana podsumowania w/g stawek VAT"), QStringLiteral("23% -100,00 -23,00 -123,00"),
                       QStringLiteral("Zmiana razem - -100,00 -23,00 -123,00"), QStringLiteral("Do zwrotu: 123,00 PLN"),
                       QStringLiteral("słownie: sto dwadzieścia trzy PLN 00/100"),
                       QStringLiteral("Powód korekty: Rabat posprzedażowy")}
        << QStringList{QStringLiteral("Do zapłaty"), QStringLiteral("ORYGINAŁ"), QStringLiteral("-123,00 PLN")};
    QTest::newRow("duplicate")
        << "duplicate" << QVariantMap() << 0
        << QStringList{QStringLiteral("DUPLIKAT"), QStringLiteral("z dnia: 20 lutego 2024"), QStringLiteral("FAKTURA VAT"),
                       QStringLiteral("nr: FV 1/2024"), kBuyerFirm, QStringLiteral("Krzesło biurowe"), toPay, words}
        << QStringList{QStringLiteral("FV 9/2024")};
    QTest::newRow("bill")
        << "bill" << QVariantMap() << 0
        << QStringList{QStringLiteral("RACHUNEK"), QStringLiteral("Lp Nazwa"), QStringLiteral("Cena Wartość"),
                       QStringLiteral("jednostkowa"), QStringLiteral("1 Usługa 1 szt. 300,00 300,00"),
                       QStringLiteral("Wartość Razem 300,00"), QStringLiteral("Do zapłaty: 300,00 PLN"),
                       QStringLiteral("wystawienia rachunku")}
        << QStringList{QStringLiteral("Wartość netto"), QStringLiteral("Podsumowanie"), QStringLiteral("odebrania"),
                       QStringLiteral("Jan Odbiorca")};
    QTest::newRow("farmer's invoice")
        << "rr" << QVariantMap() << 0
        << QStringList{QStringLiteral("FAKTURA VAT RR"), QStringLiteral("Sprzedawca"), kFarmerFirm, kSellerFirm,
                       QStringLiteral("Data zakupu: 15 stycznia 2024"),
                       QStringLiteral("Oświadczam, że jestem rolnikiem ryczałtowym zwolnionym od podatku")}
        << QStringList{QStringLiteral("Podsumowanie w/g stawek VAT"), kBuyerFirm};
    QTest::newRow("reverse charge")
        << "reverse" << QVariantMap() << 0
        << QStringList{QStringLiteral("FAKTURA VAT"), QStringLiteral("odwrotne obciążenie"), toPay} << QStringList();
    QTest::newRow("advance")
        << "advance" << QVariantMap() << 0
        << QStringList{QStringLiteral("zaliczkowa"), QStringLiteral("Pozostało do zapłaty: 1 234,56 PLN")}
        << QStringList{QStringLiteral("Do zapłaty")};
    QTest::newRow("final with an advance")
        << "final" << QVariantMap() << 0
        << QStringList{QStringLiteral("końcowa"), QStringLiteral("Poprzednie zaliczki"), QStringLiteral("FZ 3/2024"),
                       QStringLiteral("2024-01-15"), QStringLiteral("500,00"),
                       QStringLiteral("Pozostało do zapłaty: 734,56 PLN")}
        << QStringList();
    QTest::newRow("margin with hidden VAT")
        << "profit hidden" << QVariantMap() << 0
        << QStringList{QStringLiteral("marża"), QStringLiteral("Jm Wartość"),
                       QStringLiteral("1 Krzesło biurowe 4 szt. 984,00"), QStringLiteral("Wartość Razem 1 234,56"), toPay}
        << QStringList{QStringLiteral("Wartość netto"), QStringLiteral("Podsumowanie"), QStringLiteral("Rabat")};
    QTest::newRow("margin with VAT")
        << "profit visible" << QVariantMap() << 0
        << QStringList{QStringLiteral("marża"), QStringLiteral("Jm Wartość VAT Kwota Wartość"),
                       QStringLiteral("1 Krzesło biurowe 4 szt. 800,00 23% 184,00 984,00"),
                       QStringLiteral("Podsumowanie w/g stawek VAT")}
        << QStringList{QStringLiteral("Rabat"), QStringLiteral("jednostkowa"), QStringLiteral("200,00")};
    QTest::newRow("euro with its rating")
        << "eur" << QVariantMap{{QStringLiteral("SHOW_VAT_RATING_COLUMN"), QStringLiteral("1")}} << 0
        << QStringList{QStringLiteral("1 EUR = 4,3210 PLN"), QStringLiteral("kurs z dnia: 2024-01-12"),
                       QStringLiteral("NBP, 008/A/NBP/2024"), QStringLiteral("Do zapłaty: 1 234,56 EUR"),
                       QStringLiteral("EUR 56/100")}
        << QStringList{QStringLiteral("1 234,56 PLN")};
    QTest::newRow("copy") << "vat" << QVariantMap() << 2 << QStringList{QStringLiteral("KOPIA")}
                          << QStringList{QStringLiteral("ORYGINAŁ")};
    QTest::newRow("original and copy") << "vat" << QVariantMap() << 4 << QStringList{QStringLiteral("ORYGINAŁ | KOPIA")}
                                       << QStringList();
    QTest::newRow("no marking") << "vat" << QVariantMap() << 0 << QStringList{toPay}
                                << QStringList{QStringLiteral("ORYGINAŁ"), QStringLiteral("KOPIA")};
    QTest::newRow("one day") << "1 day" << QVariantMap() << 0 << QStringList{QStringLiteral("Termin płatności: 1 dzień")}
                             << QStringList{QStringLiteral("1 dni")};
    QTest::newRow("fourteen days") << "14 days" << QVariantMap() << 0
                                   << QStringList{QStringLiteral("Termin płatności: 14 dni")}
                                   << QStringList{QStringLiteral("stycznia 2024 Sposób")};
    QTest::newRow("discount in percent")
        << "percent discount" << QVariantMap() << 0
        << QStringList{QStringLiteral("Jm Netto Rabat Netto"), QStringLiteral("bez rabatu (%)"),
                       QStringLiteral("1 Lampa 2 szt. 50,00 10,00 45,00 90,00 23% 20,70 110,70")}
        << QStringList();
    QTest::newRow("discount as amount")
        << "amount discount" << QVariantMap() << 0
        << QStringList{QStringLiteral("Jm Netto Rabat Netto"), QStringLiteral("bez rabatu (PLN)"),
                       QStringLiteral("1 Lampa 2 szt. 50,00 5,00 45,00 90,00 23% 20,70 110,70")}
        << QStringList{QStringLiteral("(%)")};
    QTest::newRow("discount columns off")
        << "percent discount" << QVariantMap{{QStringLiteral("SHOW_REDUCT_COLUMNS"), QStringLiteral("0")}} << 0
        << QStringList{QStringLiteral("Lampa"), QStringLiteral("45,00 90,00")} << QStringList{QStringLiteral("Rabat")};
    QTest::newRow("symbol when a line has one")
        << "symbol" << QVariantMap{{QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"), QStringLiteral("2")}} << 0
        << QStringList{QStringLiteral("Symbol"), QStringLiteral("Krzesło biurowe KRZ-01")} << QStringList();
    QTest::newRow("no symbol when no line has one")
        << "vat" << QVariantMap{{QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"), QStringLiteral("2")}} << 0
        << QStringList{QStringLiteral("Krzesło biurowe")} << QStringList{QStringLiteral("Symbol")};
}

void TestInvoiceTemplate::printedDocument()
{
    QFETCH(QString, fixture);
    QFETCH(QVariantMap, options);
    QFETCH(int, docView);
    QFETCH(QStringList, inOrder);
    QFETCH(QStringList, absent);

    for (auto it = options.cbegin(); it != options.cend(); ++it)
        MOptions::setOption(it.key(), it.value().toString());
    const int id = storeFixture(fixture);
    QVERIFY(id > 0);

    const QStringList pages = printPages(id, docView, QStringLiteral("dokument"));
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QCOMPARE(pages.size(), 1);
    const QString text = pagesText(pages);
    int from = 0;
    for (const QString& expected : inOrder) {
        const int at = text.indexOf(expected, from);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("«%1» not found after %2 in: %3").arg(expected).arg(from).arg(text)));
        from = at + expected.size();
    }
    for (const QString& unexpected : absent)
        QVERIFY2(!text.contains(unexpected), qPrintable(QStringLiteral("«%1» in: %2").arg(unexpected, text)));
}

void TestInvoiceTemplate::pagesOfALongInvoice_data()
{
    QTest::addColumn<int>("wrapEvery");
    QTest::addColumn<int>("hideEvery");

    QTest::newRow("one-line rows") << 0 << 0;
    QTest::newRow("every third name over three lines") << 3 << 0;
    QTest::newRow("every fourth line without a number") << 0 << 4;
    QTest::newRow("tall and unnumbered lines") << 5 << 3;
}

void TestInvoiceTemplate::pagesOfALongInvoice()
{
    QFETCH(int, wrapEvery);
    QFETCH(int, hideEvery);

    const int id = storeLongInvoice(60, wrapEvery, hideEvery);
    const QString fileName = m_dir.filePath(QStringLiteral("dlugi.pdf"));
    const QStringList pages = printPages(id, 1, QStringLiteral("dlugi"));
    const int count = MTestPdf::info(fileName, QStringLiteral("Pages")).toInt();
    QVERIFY2(count >= 2, qPrintable(pagesText(pages)));
    QCOMPARE(pages.size(), count);
    for (int page = 1; page <= count; ++page)
        QVERIFY2(pages.at(page - 1).endsWith(QStringLiteral("Strona %1 z %2").arg(page).arg(count)),
                 qPrintable(pages.at(page - 1)));
    // Every line printed once, in order.
    const QString text = pagesText(pages);
    int from = 0;
    for (int i = 1; i <= 60; ++i) {
        const QString name = QStringLiteral("Pozycja %1 ").arg(i);
        const int at = text.indexOf(name, from);
        QVERIFY2(at >= 0, qPrintable(name));
        QCOMPARE(text.count(name), 1);
        from = at;
    }
    QVERIFY(pages.last().contains(QStringLiteral("Do zapłaty: 738,00 PLN")));

    // Every page that carries lines starts them under the table's header. A page is closed
    // only when the next line no longer fits: the room left above its footer is less than
    // that line's height and one line's spacing more.
    const QList<MTestPdf::Words> words = MTestPdf::pageWords(fileName);
    QCOMPARE(words.size(), count);
    int fullPages = 0;
    for (int page = 1; page < count; ++page) {
        const QVector<double> next = lineTops(words.at(page));
        if (next.isEmpty())
            continue;
        QVERIFY2(pages.at(page).contains(QStringLiteral("Lp Nazwa PKWiU / Ilość Jm Netto")), qPrintable(pages.at(page)));
        if (next.size() < 2)
            continue;
        const double room = footerTop(words.at(page - 1)) - contentBottom(words.at(page - 1));
        const double nextHeight = next.at(1) - next.at(0);
        QVERIFY2(room < nextHeight + smallestSpacing(words),
                 qPrintable(QStringLiteral("page %1: %2 pt left, next line %3 pt").arg(page).arg(room).arg(nextHeight)));
        ++fullPages;
    }
    QVERIFY(fullPages > 0);
}

void TestInvoiceTemplate::signaturesKeepToTheLastPage_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("wrapEvery");

    // Around the counts at which the signatures no longer fit under the lines of the first and
    // of the second page, and stay there when they just fit.
    for (int lines : {20, 21, 22, 23, 72, 73, 74, 75})
        QTest::addRow("%d lines", lines) << lines << 0;
    for (int lines : {35, 36, 37, 38})
        QTest::addRow("%d lines, every second name wrapping", lines) << lines << 2;
}

// Wherever the page break falls around them, the signatures print once, on the last page,
// above its footer, and every page is numbered: a closing part let onto a page too full for it
// would push the footer onto a sheet of its own.
void TestInvoiceTemplate::signaturesKeepToTheLastPage()
{
    QFETCH(int, lines);
    QFETCH(int, wrapEvery);

    const int id = storeLongInvoice(lines, wrapEvery);
    const QString fileName = m_dir.filePath(QStringLiteral("podpisy.pdf"));
    const QStringList pages = printPages(id, 1, QStringLiteral("podpisy"));
    const int count = pages.size();
    QVERIFY(count >= 1);
    QCOMPARE(MTestPdf::info(fileName, QStringLiteral("Pages")).toInt(), count);
    for (int page = 1; page <= count; ++page) {
        QVERIFY2(pages.at(page - 1).endsWith(QStringLiteral("Strona %1 z %2").arg(page).arg(count)),
                 qPrintable(pages.at(page - 1)));
        QCOMPARE(pages.at(page - 1).count(QStringLiteral("Osoba upoważniona")), page == count ? 2 : 0);
    }

    const QList<MTestPdf::Words> words = MTestPdf::pageWords(fileName);
    QCOMPARE(words.size(), count);
    const MTestPdf::Words& last = words.last();
    double top = 1e9;
    double bottom = 0.0;
    for (const MTestPdf::Word& word : last) {
        if (word.text == QLatin1String("Osoba"))
            top = qMin(top, word.top);
        if (word.text == QLatin1String("Wystawczyni"))
            bottom = word.bottom;
    }
    QVERIFY(top < bottom);
    QVERIFY2(bottom < footerTop(last), qPrintable(QStringLiteral("%1 pt, footer at %2 pt").arg(bottom).arg(footerTop(last))));
}

void TestInvoiceTemplate::envelopeModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("pdfMode");
    QTest::addColumn<bool>("addressSheet");

    QTest::newRow("duplex sheet") << "2" << "1" << true;
    QTest::newRow("window block off for PDF") << "1" << "0" << false;
    QTest::newRow("window block") << "1" << "1" << false;
}

void TestInvoiceTemplate::envelopeModes()
{
    QFETCH(QString, mode);
    QFETCH(QString, pdfMode);
    QFETCH(bool, addressSheet);

    const int id = storeVatInvoice();
    const QStringList plain = printPages(id, 1, QStringLiteral("bez_koperty"));
    QCOMPARE(plain.size(), 1);

    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"), mode);
    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF"), pdfMode);
    const QStringList pages = printPages(id, 1, QStringLiteral("koperta"));
    QVERIFY(MMessageBox::takeShown().isEmpty());
    if (addressSheet) {
        QCOMPARE(pages.size(), 2);
        QVERIFY2(pages.at(0).startsWith(kBuyerFirm + QStringLiteral(" ul. Polna 12 30-001 Kraków")), qPrintable(pages.at(0)));
        QVERIFY(!pages.at(0).contains(QLatin1String("Strona")));
        QVERIFY(!pages.at(0).contains(QLatin1String("FAKTURA")));
        QCOMPARE(pages.at(1), plain.at(0));
    } else if (pdfMode == QLatin1String("0")) {
        QCOMPARE(pages, plain);
    } else {
        // The window block carries the buyer's address beside the sale date, before the parties.
        QCOMPARE(pages.size(), 1);
        const QString page = pages.at(0);
        QVERIFY2(page.indexOf(QStringLiteral("Kraków")) < page.indexOf(QLatin1String("Sprzedawca")), qPrintable(page));
        QVERIFY(page.indexOf(QStringLiteral("Termin płatności")) < page.indexOf(QLatin1String("Sprzedawca")));
    }
}

void TestInvoiceTemplate::addressInEnvelopeWindow_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("window");
    QTest::addColumn<double>("margin");
    QTest::addColumn<QString>("firm");

    for (const char* mode : {"1", "2"}) {
        const QString block = mode == QLatin1String("1") ? QStringLiteral("window block") : QStringLiteral("address sheet");
        QTest::addRow("%s, default window", qPrintable(block)) << mode << "115;55;25;45" << 10.0 << kBuyerFirm;
        QTest::addRow("%s, high window, small margins", qPrintable(block)) << mode << "100;40;30;30" << 5.0 << kBuyerFirm;
        QTest::addRow("%s, low narrow window, wide margins", qPrintable(block))
            << mode << "130;70;10;60" << 20.0 << kBuyerFirm;
        QTest::addRow("%s, long buyer name", qPrintable(block))
            << mode << "115;55;25;45" << 10.0
            << QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe Hurtownia Materiałów Budowlanych Kowalski i Synowie");
    }
}

// The whole buyer's address lies inside the envelope's window as page setup gives it:
// every word of it, from its position on the printed page.
void TestInvoiceTemplate::addressInEnvelopeWindow()
{
    QFETCH(QString, mode);
    QFETCH(QString, window);
    QFETCH(double, margin);
    QFETCH(QString, firm);

    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), window);
    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"), mode);
    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF"), QStringLiteral("1"));
    const int id = storeVatInvoice();
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice_buyer SET firm = '%1'").arg(firm)));
    const QString fileName = m_dir.filePath(QStringLiteral("okienko.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName, id, 1));
    docTemplate->setPageMargins(margin, margin, margin, margin);
    const bool printed = MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/template/invoice.js"), nullptr);
    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), QStringLiteral("115;55;25;45"));
    QVERIFY(printed);

    const QStringList values = window.split(QLatin1Char(';'));
    const double mmToPt = 72 / 25.4;
    const double left = values.at(0).toDouble() * mmToPt;
    const double top = values.at(1).toDouble() * mmToPt;
    const double right = (210 - values.at(2).toDouble()) * mmToPt;
    const double bottom = top + values.at(3).toDouble() * mmToPt;
    const QList<MTestPdf::Words> pages = MTestPdf::pageWords(fileName);
    QVERIFY(!pages.isEmpty());
    // The address's letters in the order printed, without the blanks and line ends of its wrapping.
    const QString address = QString(firm + QStringLiteral(" ul. Polna 12 30-001 Kraków")).remove(QLatin1Char(' '));
    QString found;
    for (const MTestPdf::Word& word : pages.first()) {
        if (word.left < left - 1 || word.top < top - 1)
            continue;
        found += word.text;
        QVERIFY2(word.right <= right && word.bottom <= bottom,
                 qPrintable(QStringLiteral("«%1» at %2-%3 x %4-%5 pt, window %6-%7 x %8-%9 pt")
                                .arg(word.text).arg(word.left).arg(word.right).arg(word.top).arg(word.bottom)
                                .arg(left).arg(right).arg(top).arg(bottom)));
        if (found.size() >= address.size())
            break;
    }
    QCOMPARE(found, address);
}

void TestInvoiceTemplate::ruledLinesAreThin_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("docView");

    for (const char* fixture : {"vat", "correction", "duplicate", "bill", "rr", "reverse", "advance", "final",
                                "profit hidden", "profit visible", "eur", "percent discount"})
        QTest::addRow("%s", fixture) << QString::fromLatin1(fixture) << 1;
    QTest::newRow("vat, copy") << "vat" << 2;
    QTest::newRow("vat, original and copy") << "vat" << 4;
}

// Every ruled line of the printed invoice is one pixel of 96 dpi, at most 0.3 mm on paper;
// the separators of the line table stand at the same places in every row; and no grey
// stripe runs down the page.
void TestInvoiceTemplate::ruledLinesAreThin()
{
    QFETCH(QString, fixture);
    QFETCH(int, docView);

    MOptions::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"), QStringLiteral("1"));
    const int id = storeFixture(fixture);
    QVERIFY(id > 0);
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice_product SET name = name || ' "
                                               "z opisem na kilka wierszy kolumny nazwy pozycji dokumentu' "
                                               "WHERE id IN (SELECT min(id) FROM invoice_product)")));
    const QString fileName = m_dir.filePath(QStringLiteral("linie.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName, id, docView));
    QVERIFY(MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/template/invoice.js"), nullptr));
    const QList<QImage> pages = MTestPdf::pageImages(fileName, 600);
    QCOMPARE(pages.size(), 1);
    const QImage& page = pages.first();

    const int thickest = qFloor(0.3 * kDotsPerMM);
    const QVector<Rule> across = rules(page, Qt::Horizontal, qRound(5 * kDotsPerMM));
    QVERIFY(across.size() >= 4);
    for (const Rule& rule : across)
        QVERIFY2(rule.thickness() <= thickest, qPrintable(QStringLiteral("line at %1 mm from the top, %2 mm thick")
                                                             .arg(rule.across0 / kDotsPerMM)
                                                             .arg(rule.thickness() / kDotsPerMM)));
    // A separator runs from a line across to the next one; a letter's stem touches none.
    const int near = qRound(0.5 * kDotsPerMM);
    auto meets = [&](const Rule& rule, int y) {
        for (const Rule& line : across)
            if (qAbs(line.centre() - y) <= near && line.along0 - near <= rule.across0 && rule.across1 <= line.along1 + near)
                return true;
        return false;
    };
    QVector<Rule> down;
    for (const Rule& rule : rules(page, Qt::Vertical, qRound(3 * kDotsPerMM)))
        if (meets(rule, rule.along0) && meets(rule, rule.along1)) {
            QVERIFY2(rule.thickness() <= thickest, qPrintable(QStringLiteral("line at %1 mm from the left, %2 mm thick")
                                                                 .arg(rule.across0 / kDotsPerMM)
                                                                 .arg(rule.thickness() / kDotsPerMM)));
            down.append(rule);
        }
    QVERIFY(down.size() >= 6);
    // A separator that moves between rows leaves pieces a few pixels apart.
    for (int i = 0; i < down.size(); ++i)
        for (int j = i + 1; j < down.size(); ++j) {
            const double apart = qAbs(down.at(i).centre() - down.at(j).centre());
            QVERIFY2(apart <= 2 || apart >= 10 * kDotsPerMM * 25.4 / 96,
                     qPrintable(QStringLiteral("separators %1 mm apart at %2 mm from the left")
                                    .arg(apart / kDotsPerMM).arg(down.at(i).centre() / kDotsPerMM)));
        }

    // Grey: lighter than a line, darker than paper, with no line beside it; longer than the
    // light frame around the document's kind name.
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    const int reach = qRound(kDotsPerMM);
    for (int x = reach; x < gray.width() - reach; ++x) {
        int run = 0;
        for (int y = 0; y < gray.height(); ++y) {
            const uchar* row = gray.constScanLine(y);
            bool grey = row[x] >= 128 && row[x] < 235;
            for (int near = x - reach; grey && near <= x + reach; ++near)
                grey = row[near] >= 128;
            run = grey ? run + 1 : 0;
            QVERIFY2(run < 25 * kDotsPerMM, qPrintable(QStringLiteral("grey stripe at %1 mm from the left")
                                                           .arg(x / kDotsPerMM)));
        }
    }
}

void TestInvoiceTemplate::longWordsStayOnThePage_data()
{
    QTest::addColumn<int>("productWord");
    QTest::addColumn<int>("buyerWord");

    QTest::newRow("product word of 55") << 55 << 0;
    QTest::newRow("product word of 110") << 110 << 0;
    QTest::newRow("product word of 150") << 150 << 0;
    QTest::newRow("buyer word of 150") << 0 << 150;
    QTest::newRow("both of 400") << 400 << 400;
}

// A word longer than its column wraps inside it, broken anywhere: every word printed
// lies between the page's margins, and the long word is printed whole, in order.
void TestInvoiceTemplate::longWordsStayOnThePage()
{
    QFETCH(int, productWord);
    QFETCH(int, buyerWord);

    auto word = [](int length, QChar letter) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += i % 10 == 9 ? QChar(QLatin1Char('0' + i / 10 % 10)) : letter;
        return text;
    };
    const QString product = word(productWord, QLatin1Char('W'));
    const QString buyer = word(buyerWord, QChar(0x15a));
    const int id = storeVatInvoice();
    if (productWord > 0)
        QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice_product SET name = 'Krzesło %1' "
                                                   "WHERE name = 'Krzesło biurowe'").arg(product)));
    if (buyerWord > 0)
        QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice_buyer SET firm = 'Hurtownia %1'").arg(buyer)));
    const QString fileName = m_dir.filePath(QStringLiteral("dlugie_slowa.pdf"));
    const QStringList pages = printPages(id, 1, QStringLiteral("dlugie_slowa"));
    QVERIFY(!pages.isEmpty());

    const double mmToPt = 72 / 25.4;
    const double pageWidth = 210 * mmToPt;
    QString letters;
    for (const MTestPdf::Words& words : MTestPdf::pageWords(fileName))
        for (const MTestPdf::Word& printed : words) {
            QVERIFY2(printed.left >= 10 * mmToPt - 0.5 && printed.right <= pageWidth - 10 * mmToPt + 0.5,
                     qPrintable(QStringLiteral("«%1» at %2-%3 pt").arg(printed.text).arg(printed.left).arg(printed.right)));
            letters += printed.text;
        }
    QVERIFY(letters.contains(product));
    QVERIFY(letters.contains(buyer));
    const QString text = pagesText(pages);
    for (const QString& expected : {QStringLiteral("nr: FV 1/2024"), QStringLiteral("Razem"), QStringLiteral("1 234,56"),
                                    QStringLiteral("Do zapłaty: 1 234,56 PLN"),
                                    QStringLiteral("Strona %1 z %1").arg(pages.size())})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + text));
}

// Markup in the database's texts prints as the characters it is, and a picture it names
// is never read.
void TestInvoiceTemplate::databaseTextPrintsAsText()
{
    const MTestMarkup markup(m_dir.filePath(QStringLiteral("obrazek")));
    const int id = storeVatInvoice();
    for (const QString& sql : {QStringLiteral("UPDATE invoice_product SET name = :text, unit = :text WHERE id IN "
                                              "(SELECT min(id) FROM invoice_product)"),
                               QStringLiteral("UPDATE invoice_buyer SET firm = :text, address = :text"),
                               QStringLiteral("UPDATE invoice_seller SET firm = :text")}) {
        QSqlQuery query;
        query.prepare(sql);
        query.bindValue(QStringLiteral(":text"), markup.text());
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }

    const QStringList pages = printPages(id, 1, QStringLiteral("znaczniki"));
    QVERIFY(markup.nothingOpened());

    QCOMPARE(pages.size(), 1);
    QVERIFY(pages.first().contains(QStringLiteral("Do zapłaty: 1 234,56 PLN")));
    const QString letters = MTestPdf::drawnLetters(m_dir.filePath(QStringLiteral("znaczniki.pdf")));
    // Seller, buyer and its address, the line's name and unit.
    QVERIFY2(letters.count(markup.text().remove(QLatin1Char(' '))) == 5, qPrintable(letters));
}

void TestInvoiceTemplate::paymentQrCodeDecodes()
{
    const int id = storeVatInvoice();
    const QString fileName = m_dir.filePath(QStringLiteral("qr.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName, id, 1));
    QVERIFY(MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/template/invoice.js"), nullptr));

    const QString image = m_dir.filePath(QStringLiteral("qr"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), fileName, image}),
             0);
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), QStringLiteral("--raw"), image + QStringLiteral(".png")});
    QVERIFY(zbar.waitForFinished());
    QCOMPARE(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), kPayment);
}

void TestInvoiceTemplate::resourceIsAsciiAndRepeatable()
{
    QFile file(QStringLiteral(":/template/invoice.js"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (int i = 0; i < bytes.size(); ++i)
        QVERIFY2(uchar(bytes.at(i)) < 128, qPrintable(QString::number(i)));
    QCOMPARE(QScriptEngine::checkSyntax(QString::fromLatin1(bytes)).state(), QScriptSyntaxCheckResult::Valid);

    const int id = storeFixture(QStringLiteral("correction"));
    QStringList html;
    for (int run = 0; run < 2; ++run) {
        MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
        docTemplate.setTextEdit();
        docTemplate.setPageMargins(10, 10, 10, 10);
        docTemplate.isPaging(true);
        docTemplate.setIdRecord(id);
        QVERIFY(MTemplateRun::run(&m_engine, &docTemplate, QStringLiteral(":/template/invoice.js"), nullptr));
        html.append(docTemplate.getTextEdit()->toHtml());
    }
    QVERIFY(html.at(0).contains(QLatin1String("Powinno by")));
    QCOMPARE(html.at(1), html.at(0));
}

INVOICE_TEST_MAIN(TestInvoiceTemplate)
#include "tst_invoicetemplate.moc"
