#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "printing/MDocTemplate.h"
#include "printing/MHtmlPageList.h"

#include <QApplication>
#include <QPageLayout>
#include <QPointer>
#include <QScriptEngine>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(QMarginsF)

// The run's object itself: what it takes from the options at construction, its
// geometry in pixels of the text edit, the printer it hands to a preview, and
// the text edit it owns or lends.
class TestDocTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void envelopeWindowFromOption_data();
    void envelopeWindowFromOption();
    void marginsInPixelsOfTheTextEdit();
    void measuresLaidOutHtml_data();
    void measuresLaidOutHtml();
    void deferredImportHoldsHtmlUntilAsked();
    void finishedPagesAreTheOutput_data();
    void finishedPagesAreTheOutput();
    void withoutTextEditMeasuresNothing();
    void printerCloneTakesStoredMargins_data();
    void printerCloneTakesStoredMargins();
    void ownedTextEditIsReleasedLater_data();
    void ownedTextEditIsReleasedLater();
    void replacedOwnedTextEditIsReleased();

private:
    MTestDatabase m_db;
};

void TestDocTemplate::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
}

void TestDocTemplate::envelopeWindowFromOption_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QList<int>>("window"); // left, top, right, bottom

    QTest::newRow("cztery wartości") << "115;55;25;45" << QList<int>{115, 55, 25, 45};
    QTest::newRow("inne cztery") << "100;40;30;50" << QList<int>{100, 40, 30, 50};
    QTest::newRow("dwie wartości") << "120;60" << QList<int>{120, 60, 25, 45};
    QTest::newRow("nie liczby") << "x;10;;7" << QList<int>{0, 10, 0, 7};
}

void TestDocTemplate::envelopeWindowFromOption()
{
    QFETCH(QString, option);
    QFETCH(QList<int>, window);

    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), option);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    // Read once: a later change reaches only templates created afterwards.
    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), QStringLiteral("1;2;3;4"));

    QCOMPARE(docTemplate.getEnvelopeWindowLeft(), window.at(0));
    QCOMPARE(docTemplate.getEnvelopeWindowTop(), window.at(1));
    QCOMPARE(docTemplate.getEnvelopeWindowRight(), window.at(2));
    QCOMPARE(docTemplate.getEnvelopeWindowBottom(), window.at(3));
}

void TestDocTemplate::marginsInPixelsOfTheTextEdit()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setPageMargins(10, 20, 30, 40.5);

    // Pixels of 96 dpi, the unit of HTML lengths, every value truncated.
    const int dpi = docTemplate.getTextEdit()->logicalDpiY();
    QVERIFY(dpi > 0);
    QCOMPARE(docTemplate.getMMHeight(), 96 / 25.4);
    QCOMPARE(docTemplate.getMarginLeft(), 37);
    QCOMPARE(docTemplate.getMarginTop(), 75);
    QCOMPARE(docTemplate.getMarginRight(), 113);
    QCOMPARE(docTemplate.getMarginBottom(), 153);

    const QMarginsF onPrinter = docTemplate.getPrinter()->pageLayout().margins(QPageLayout::Millimeter);
    QCOMPARE(onPrinter.left(), 10.0);
    QCOMPARE(onPrinter.bottom(), 40.5);
    QCOMPARE(docTemplate.getPrinter()->resolution(), dpi);
}

void TestDocTemplate::measuresLaidOutHtml_data()
{
    QTest::addColumn<bool>("deferred");
    QTest::newRow("imported at once") << false;
    QTest::newRow("import deferred") << true;
}

void TestDocTemplate::measuresLaidOutHtml()
{
    QFETCH(bool, deferred);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setImportDeferred(deferred);
    // Pixels of the text edit's resolution are seen as pixels of 96 dpi.
    const double scale = 96.0 / docTemplate.getTextEdit()->logicalDpiY();
    docTemplate.getTextEdit()->document()->setPageSize(QSizeF(600, 900));
    QCOMPARE(docTemplate.getPageWidth(), int(600 * scale));
    QCOMPARE(docTemplate.getPageHeight(), int(900 * scale));

    docTemplate.setHtml(QStringLiteral("<p>Jeden wiersz</p>"));
    const int oneLine = docTemplate.getDocHeight();
    docTemplate.setHtml(QStringLiteral("<p>Jeden wiersz</p><p>Drugi</p><p>Trzeci</p>"));
    QVERIFY2(docTemplate.getDocHeight() > oneLine, qPrintable(QString::number(docTemplate.getDocHeight())));
    QVERIFY(qAbs(docTemplate.getDocWidth() - 600 * scale) <= 1);

    // Content taller than the text edit keeps the page it is measured on.
    QString tall;
    for (int i = 0; i < 200; ++i)
        tall += QStringLiteral("<p>Wiersz %1</p>").arg(i);
    docTemplate.setHtml(tall);
    QCOMPARE(docTemplate.getTextEdit()->document()->pageSize(), QSizeF(600, 900));
    QCOMPARE(docTemplate.getPageHeight(), int(900 * scale));
    QVERIFY(qAbs(docTemplate.getDocWidth() - 600 * scale) <= 1);
}

void TestDocTemplate::deferredImportHoldsHtmlUntilAsked()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setImportDeferred(true);
    const QString first = QStringLiteral("<p>Pierwszy</p>");
    docTemplate.setHtml(first);
    QCOMPARE(docTemplate.heldHtml(), first);
    QVERIFY(docTemplate.textEditAsSet()->toPlainText().isEmpty());

    // Asking for the text edit imports what is held.
    QCOMPARE(docTemplate.getTextEdit()->toPlainText(), QStringLiteral("Pierwszy"));
    QVERIFY(docTemplate.heldHtml().isEmpty());

    // Emptied HTML is held as well, and replaces what the text edit showed.
    docTemplate.setHtml(QString());
    QCOMPARE(docTemplate.textEditAsSet()->toPlainText(), QStringLiteral("Pierwszy"));
    QVERIFY(docTemplate.getTextEdit()->toPlainText().isEmpty());

    // A new text edit drops what was held for the old one; turning deferral off imports.
    docTemplate.setHtml(first);
    docTemplate.setTextEdit();
    QVERIFY(docTemplate.heldHtml().isEmpty());
    QVERIFY(docTemplate.getTextEdit()->toPlainText().isEmpty());
    docTemplate.setHtml(first);
    docTemplate.setImportDeferred(false);
    QCOMPARE(docTemplate.textEditAsSet()->toPlainText(), QStringLiteral("Pierwszy"));
    docTemplate.setHtml(QStringLiteral("<p>Drugi</p>"));
    QCOMPARE(docTemplate.textEditAsSet()->toPlainText(), QStringLiteral("Drugi"));
}

void TestDocTemplate::finishedPagesAreTheOutput_data()
{
    QTest::addColumn<bool>("deferred");
    QTest::newRow("imported at once") << false;
    QTest::newRow("import deferred") << true;
}

// Pages handed to `doc.pages` become the output only when finished, with the
// page count put in and page breaks between them; HTML set later replaces them,
// and a new text edit starts without them.
void TestDocTemplate::finishedPagesAreTheOutput()
{
    QFETCH(bool, deferred);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setImportDeferred(deferred);
    docTemplate.textEditAsSet()->document()->setPageSize(QSizeF(600, 900));
    QScriptEngine engine;
    engine.globalObject().setProperty(QStringLiteral("doc"), engine.newQObject(&docTemplate));
    engine.evaluate(QStringLiteral("doc.pages.setFrame('<html><body>', '</body></html>');"
                                   "doc.pages.addPage('<div><p>Pierwsza z [[PAGES]]</p></div>');"
                                   "doc.setHtml('<p>pomiar</p>'); doc.getDocHeight();"
                                   "doc.pages.addPage('<div><p>Druga z [[PAGES]]</p></div>');"
                                   "doc.pages.addPage('<div><p>Trzecia</p></div>');"));
    QVERIFY(!engine.hasUncaughtException());
    QVERIFY(!docTemplate.outputInPages());
    QCOMPARE(docTemplate.textEditAsSet()->toPlainText(), QStringLiteral("pomiar"));

    engine.evaluate(QStringLiteral("doc.pages.finish();"));
    QVERIFY(docTemplate.outputInPages());
    const MHtmlPageList* pages = docTemplate.pageList();
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->page(1), QStringLiteral("<html><body><div><p>Druga z 3</p></div></body></html>"));
    QCOMPARE(pages->wholeHtml(), QStringLiteral("<html><body><div><p>Pierwsza z 3</p></div>"
                                                "<div style=\"page-break-before:always;\"><p>Druga z 3</p></div>"
                                                "<div style=\"page-break-before:always;\"><p>Trzecia</p></div>"
                                                "</body></html>"));
    QCOMPARE(docTemplate.textEditAsSet()->toPlainText(), deferred ? QStringLiteral("pomiar")
                                                                  : QStringLiteral("Pierwsza z 3\nDruga z 3\nTrzecia"));
    QCOMPARE(docTemplate.getTextEdit()->toPlainText(), QStringLiteral("Pierwsza z 3\nDruga z 3\nTrzecia"));
    QCOMPARE(docTemplate.getTextEdit()->document()->pageCount(), 3);

    docTemplate.setHtml(QStringLiteral("<p>Nowy</p>"));
    QVERIFY(!docTemplate.outputInPages());
    QCOMPARE(docTemplate.getTextEdit()->toPlainText(), QStringLiteral("Nowy"));

    engine.evaluate(QStringLiteral("doc.pages.finish();"));
    QVERIFY(docTemplate.outputInPages());
    docTemplate.setTextEdit();
    QVERIFY(!docTemplate.outputInPages());
    QCOMPARE(docTemplate.pageList()->count(), 0);
    QVERIFY(!docTemplate.pageList()->isFinished());
    QVERIFY(docTemplate.getTextEdit()->toPlainText().isEmpty());
}

void TestDocTemplate::withoutTextEditMeasuresNothing()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setPageMargins(10, 10, 10, 10);
    docTemplate.setHtml(QStringLiteral("<p>Nic</p>"));

    QCOMPARE(docTemplate.getTextEdit(), static_cast<QTextEdit*>(nullptr));
    QCOMPARE(docTemplate.getDocHeight(), 0);
    QCOMPARE(docTemplate.getDocWidth(), 0);
    QCOMPARE(docTemplate.getPageHeight(), 0);
    QCOMPARE(docTemplate.getPageWidth(), 0);
    QCOMPARE(docTemplate.getMMHeight(), 0.0);
    QCOMPARE(docTemplate.getMarginTop(), 0);
    QCOMPARE(docTemplate.getPrinterPageHeight(), 0);
    QCOMPARE(docTemplate.getPrinterPageWidth(), 0);
}

void TestDocTemplate::printerCloneTakesStoredMargins_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QMarginsF>("margins");

    QTest::newRow("pionowo") << int(QPrinter::Portrait) << QMarginsF(12, 8, 6, 4);
    QTest::newRow("poziomo") << int(QPrinter::Landscape) << QMarginsF(5, 15, 25, 10);
}

void TestDocTemplate::printerCloneTakesStoredMargins()
{
    QFETCH(int, orientation);
    QFETCH(QMarginsF, margins);

    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.setPageOrientation(QPrinter::Orientation(orientation));
    docTemplate.setPageMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    // The clone must not follow what the printer itself was changed to since.
    docTemplate.getPrinter()->setPageMargins(QMarginsF(1, 1, 1, 1), QPageLayout::Millimeter);

    QScopedPointer<QPrinter> clone(docTemplate.getPrinterClone());
    QVERIFY(clone.data() != docTemplate.getPrinter());
    const QPageLayout layout = clone->pageLayout();
    QCOMPARE(layout.margins(QPageLayout::Millimeter), margins);
    QCOMPARE(int(layout.orientation()), orientation);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(clone->fullPage(), false);
    QCOMPARE(clone->resolution(), docTemplate.getPrinter()->resolution());
}

void TestDocTemplate::ownedTextEditIsReleasedLater_data()
{
    QTest::addColumn<bool>("own");
    QTest::newRow("własny") << true;
    QTest::newRow("oddany podglądowi") << false;
}

void TestDocTemplate::ownedTextEditIsReleasedLater()
{
    QFETCH(bool, own);

    QPointer<QTextEdit> textEdit;
    {
        MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
        docTemplate.setTextEdit(nullptr, own);
        textEdit = docTemplate.getTextEdit();
        QVERIFY(textEdit);
        QVERIFY(textEdit->isReadOnly());
        QVERIFY(!textEdit->document()->isUndoRedoEnabled());
    }
    QVERIFY2(textEdit, "released at once");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(textEdit.isNull(), own);
    delete textEdit.data();
}

// A template may set a text edit of its own: the one it replaces must not be lost.
void TestDocTemplate::replacedOwnedTextEditIsReleased()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    QPointer<QTextEdit> first = docTemplate.getTextEdit();

    QScriptEngine engine;
    engine.globalObject().setProperty(QStringLiteral("doc"), engine.newQObject(&docTemplate));
    engine.evaluate(QStringLiteral("doc.setTextEdit(); doc.setHtml('<p>Nowy</p>');"));
    QVERIFY(!engine.hasUncaughtException());

    QVERIFY(docTemplate.getTextEdit() != first.data());
    QCOMPARE(docTemplate.getTextEdit()->toPlainText(), QStringLiteral("Nowy"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
}

INVOICE_TEST_MAIN(TestDocTemplate)
#include "tst_doctemplate.moc"
