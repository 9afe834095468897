#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestPdf.h"
#include "printing/MDocTemplate.h"
#include "printing/MTemplateRun.h"
#include "views/MMessageBox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(QMarginsF)

// Templates run in a real script engine against `doc` and printed to PDF files:
// pages come out as the template laid them out, and a template that fails
// yields no document at all and leaves the engine as it found it.
class TestTemplateRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void twoPageTemplateGivesTwoPdfPages();
    void handedOverPagesArePrintedOncePerRun();
    void failingTemplateLeavesNoPdfAndEngineClean();
    void missingTemplateIsReported();
    void abortedRunPrintsNothing();
    void topLevelVariablesEndWithTheRun();
    void pageSizeFromPrinterAndMargins_data();
    void pageSizeFromPrinterAndMargins();
    void samePageSizeKeepsTheLayout();

private:
    // A template set up as a PDF run of the document list does it.
    MDocTemplate* pdfTemplate(const QString& fileName);

    MTestDatabase m_db;
    QTemporaryDir m_dir;
    // As the main window's: events are processed while a template runs.
    QScriptEngine m_engine;
};

void TestTemplateRun::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QVERIFY(m_dir.isValid());
    m_engine.setProcessEventsInterval(1);
}

void TestTemplateRun::init()
{
    MMessageBox::takeShown();
}

MDocTemplate* TestTemplateRun::pdfTemplate(const QString& fileName)
{
    auto* docTemplate = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate->getPrinter()->setOutputFileName(fileName);
    docTemplate->setTextEdit(nullptr, true);
    docTemplate->setPageMargins(10, 10, 10, 10);
    docTemplate->isPaging(true);
    docTemplate->setDocView(1);
    return docTemplate;
}

void TestTemplateRun::twoPageTemplateGivesTwoPdfPages()
{
    const QString fileName = m_dir.filePath(QStringLiteral("dwie_strony.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName));

    QVERIFY(MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/test_template/two_pages.js"), nullptr));

    QVERIFY(MMessageBox::takeShown().isEmpty());
    QCOMPARE(MTestPdf::info(fileName, QStringLiteral("Pages")), QStringLiteral("2"));
    QCOMPARE(MTestPdf::pageTexts(fileName), (QStringList{QStringLiteral("Pierwsza strona"), QStringLiteral("Druga strona")}));
}

// Pages handed over one by one are the run's output, with the page count put in;
// a second run on the same object starts with no pages of the first.
void TestTemplateRun::handedOverPagesArePrintedOncePerRun()
{
    const QString fileName = m_dir.filePath(QStringLiteral("strony.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName));
    docTemplate->setImportDeferred(true);
    const QStringList expected{QStringLiteral("Strona 1 z 2"), QStringLiteral("Strona 2 z 2")};
    for (int run = 0; run < 2; ++run) {
        QVERIFY(MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/test_template/handed_pages.js"),
                                    nullptr));
        QVERIFY(MMessageBox::takeShown().isEmpty());
        QCOMPARE(MTestPdf::pageTexts(fileName), expected);
    }
    QCOMPARE(docTemplate->getTextEdit()->toPlainText(), expected.join(QLatin1Char('\n')));
}

void TestTemplateRun::failingTemplateLeavesNoPdfAndEngineClean()
{
    const QString failedName = m_dir.filePath(QStringLiteral("blad.pdf"));
    QScopedPointer<MDocTemplate> failed(pdfTemplate(failedName));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("throws\\.js.*line 3.*brak danych dokumentu")));
    QVERIFY(!MTemplateRun::print(&m_engine, failed.data(), QStringLiteral(":/test_template/throws.js"), nullptr));

    QVERIFY(!QFile::exists(failedName));
    QVERIFY(failed->getTextEdit()->toPlainText().isEmpty());
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QVERIFY2(shown.at(0).text.contains(QLatin1String(":/test_template/throws.js")), qPrintable(shown.at(0).text));
    QVERIFY2(shown.at(0).text.contains(QLatin1String("wiersz 3")), qPrintable(shown.at(0).text));
    QVERIFY2(shown.at(0).text.contains(QLatin1String("brak danych dokumentu")), qPrintable(shown.at(0).text));
    QVERIFY(!m_engine.hasUncaughtException());

    // The next run in the same engine is not touched by the failed one.
    const QString nextName = m_dir.filePath(QStringLiteral("nastepny.pdf"));
    QScopedPointer<MDocTemplate> next(pdfTemplate(nextName));
    QVERIFY(MTemplateRun::print(&m_engine, next.data(), QStringLiteral(":/test_template/two_pages.js"), nullptr));
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QCOMPARE(MTestPdf::info(nextName, QStringLiteral("Pages")), QStringLiteral("2"));
}

void TestTemplateRun::missingTemplateIsReported()
{
    const QString fileName = m_dir.filePath(QStringLiteral("brak.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("nie_ma\\.js")));
    QVERIFY(!MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/test_template/nie_ma.js"), nullptr));
    QVERIFY(!QFile::exists(fileName));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.at(0).text.contains(QLatin1String(":/test_template/nie_ma.js")), qPrintable(shown.at(0).text));
}

// A register run the user stopped: the template ends normally, and nothing is printed.
void TestTemplateRun::abortedRunPrintsNothing()
{
    const QString fileName = m_dir.filePath(QStringLiteral("zatrzymany.pdf"));
    QScopedPointer<MDocTemplate> docTemplate(pdfTemplate(fileName));
    docTemplate->setDocAborted(true);

    QVERIFY(MTemplateRun::print(&m_engine, docTemplate.data(), QStringLiteral(":/test_template/loops_until_aborted.js"),
                                nullptr));
    QVERIFY(docTemplate->isDocGenerated());
    QVERIFY(!QFile::exists(fileName));
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestTemplateRun::topLevelVariablesEndWithTheRun()
{
    MDocTemplate first(QPrinter::ScreenResolution, nullptr);
    first.setTextEdit();
    QVERIFY(MTemplateRun::run(&m_engine, &first, QStringLiteral(":/test_template/leaves_variables.js"), nullptr));
    QCOMPARE(first.getTextEdit()->toPlainText(), QStringLiteral("ustawione"));

    MDocTemplate second(QPrinter::ScreenResolution, nullptr);
    second.setTextEdit();
    QVERIFY(MTemplateRun::run(&m_engine, &second, QStringLiteral(":/test_template/reads_variables.js"), nullptr));
    // Declared names lived in the run's own context; undeclared ones went to the global object.
    QCOMPARE(second.getTextEdit()->toPlainText(), QStringLiteral("undefined string"));
    QVERIFY(!m_engine.globalObject().property(QStringLiteral("doc")).isValid());
}

void TestTemplateRun::pageSizeFromPrinterAndMargins_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QMarginsF>("margins");
    QTest::addColumn<QSizeF>("expected"); // millimetres: A4 less the margins

    QTest::newRow("pionowo bez marginesów") << int(QPrinter::Portrait) << QMarginsF(0, 0, 0, 0) << QSizeF(210, 297);
    QTest::newRow("pionowo z marginesami") << int(QPrinter::Portrait) << QMarginsF(10, 20, 30, 40) << QSizeF(170, 237);
    QTest::newRow("poziomo z marginesami") << int(QPrinter::Landscape) << QMarginsF(10, 10, 10, 10) << QSizeF(277, 190);
}

void TestTemplateRun::pageSizeFromPrinterAndMargins()
{
    QFETCH(int, orientation);
    QFETCH(QMarginsF, margins);
    QFETCH(QSizeF, expected);

    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setPageOrientation(QPrinter::Orientation(orientation));
    docTemplate.setTextEdit();
    docTemplate.setPageMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    QVERIFY(MTemplateRun::run(&m_engine, &docTemplate, QStringLiteral(":/test_template/page_size.js"), nullptr));

    // The template saw the size the host set, and it is there after the run too.
    const QString seen = docTemplate.getTextEdit()->toPlainText();
    const QStringList parts = seen.split(QLatin1Char('x'));
    QCOMPARE(parts.size(), 2);
    // In pixels of 96 dpi, the unit of HTML lengths, give or take the printer's
    // rounding to whole pixels of the screen.
    QVERIFY2(qAbs(parts.at(0).toInt() - expected.width() * 96 / 25.4) <= 2, qPrintable(seen));
    QVERIFY2(qAbs(parts.at(1).toInt() - expected.height() * 96 / 25.4) <= 2, qPrintable(seen));
    QCOMPARE(QString::number(docTemplate.getPageWidth()), parts.at(0));
    QCOMPARE(QString::number(docTemplate.getPageHeight()), parts.at(1));
}

// A page size set again unchanged leaves the laid-out document as it is: laying out
// a long document anew costs as much as laying it out the first time.
void TestTemplateRun::samePageSizeKeepsTheLayout()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setPageMargins(10, 10, 10, 10);
    QVERIFY(MTemplateRun::run(&m_engine, &docTemplate, QStringLiteral(":/test_template/page_size.js"), nullptr));
    QTextDocument* document = docTemplate.getTextEdit()->document();
    const QSizeF portrait = document->pageSize();
    QSignalSpy relayouts(document->documentLayout(), &QAbstractTextDocumentLayout::update);

    MTemplateRun::setPageSize(&docTemplate);
    QCOMPARE(relayouts.count(), 0);
    QCOMPARE(document->pageSize(), portrait);

    docTemplate.setPageOrientation(QPrinter::Landscape);
    MTemplateRun::setPageSize(&docTemplate);
    QVERIFY(relayouts.count() > 0);
    QCOMPARE(document->pageSize(), portrait.transposed());
}

INVOICE_TEST_MAIN(TestTemplateRun)
#include "tst_templaterun.moc"
