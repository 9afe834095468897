#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestPdf.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "printing/MDocTemplate.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

// Printed pages at their true size whatever the resolution of the screen the
// document is laid out on and of the printer it takes: lengths given in pixels
// and millimetres, and the payment code of 20 mm.
class TestPrintResolution : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void printsAtTrueSize();
    void sameAtEveryResolution();

private:
    // Prints the marks' template into `fileName` on A4 with margins of 5 mm.
    bool printMarks(const QString& fileName);

    MTestDatabase m_db;
    QTemporaryDir m_dir;
};

namespace {

// The environment variable naming the file a child process prints into.
const char* const childFile = "INVOICE_TEST_TRUE_SIZE_PDF";

double millimetres(double points)
{
    return points * 25.4 / 72.0;
}

const MTestPdf::Word* findWord(const MTestPdf::Words& words, const QString& text)
{
    for (const MTestPdf::Word& word : words)
        if (word.text == text)
            return &word;
    return nullptr;
}

// The side of the payment code in millimetres, from its pixels and resolution on the page.
double codeSide(const QString& fileName)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), fileName});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return 0.0;
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() > 13 && columns.at(3) == QLatin1String("296"))
            return 296 / columns.at(12).toDouble() * 25.4;
    }
    return 0.0;
}

} // namespace

void TestPrintResolution::initTestCase()
{
    initInvoiceResources();
    // As the program does: pixels of HTML are taken at the screen's resolution,
    // not the 96 dpi that the other tests fix.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, false);
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QVERIFY(m_dir.isValid());
    MProgramPaths::pathTemp = m_db.path(QStringLiteral("work/"));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("temp")));
    MOptions::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("1"));
}

bool TestPrintResolution::printMarks(const QString& fileName)
{
    QScriptEngine engine;
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit(nullptr, true);
    docTemplate.getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate.getPrinter()->setOutputFileName(fileName);
    docTemplate.setPageMargins(5, 5, 5, 5);
    docTemplate.isPaging(true);
    return MTemplateRun::print(&engine, &docTemplate, QStringLiteral(":/test_template/true_size.js"), nullptr);
}

// At this process's screen resolution: the row is as wide as the page less the
// document's margins, the mark 100 mm from the row's start, the code 20 mm wide.
void TestPrintResolution::printsAtTrueSize()
{
    const QByteArray child = qgetenv(childFile);
    const QString fileName = child.isEmpty() ? m_dir.filePath(QStringLiteral("marks.pdf")) : QString::fromLocal8Bit(child);
    QVERIFY(printMarks(fileName));

    const QList<MTestPdf::Words> pages = MTestPdf::pageWords(fileName);
    QCOMPARE(pages.size(), 1);
    const MTestPdf::Word* left = findWord(pages.at(0), QStringLiteral("Lewo"));
    const MTestPdf::Word* right = findWord(pages.at(0), QStringLiteral("Prawo"));
    const MTestPdf::Word* start = findWord(pages.at(0), QStringLiteral("Start"));
    const MTestPdf::Word* mark = findWord(pages.at(0), QStringLiteral("Znacznik"));
    QVERIFY(left && right && start && mark);
    const int dpi = QTextEdit().logicalDpiX();
    // 200 mm between the page margins, less the document's margins of 4 pixels at 96 dpi.
    const double rowWidth = 200.0 - 8 * 25.4 / 96;
    QVERIFY2(qAbs(millimetres(right->right - left->left) - rowWidth) < 0.5,
             qPrintable(QStringLiteral("row of %1 mm at %2 dpi").arg(millimetres(right->right - left->left)).arg(dpi)));
    QVERIFY2(qAbs(millimetres(mark->left - start->left) - 100.0) < 0.5,
             qPrintable(QStringLiteral("mark at %1 mm at %2 dpi").arg(millimetres(mark->left - start->left)).arg(dpi)));
    const double side = codeSide(fileName);
    QVERIFY2(qAbs(side - 20.0) < 0.5, qPrintable(QStringLiteral("code of %1 mm at %2 dpi").arg(side).arg(dpi)));
}

// The screen's resolution is fixed when a process starts, so each prints in a
// process of its own, on a printer of that resolution: every word of the page
// lies within 0.5 mm of where it lies at 100 dpi.
void TestPrintResolution::sameAtEveryResolution()
{
    QList<MTestPdf::Words> printed;
    for (int dpi : {100, 300, 600}) {
        const QString fileName = m_dir.filePath(QStringLiteral("marks-%1.pdf").arg(dpi));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
        env.insert(QString::fromLatin1(childFile), fileName);
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("printsAtTrueSize")});
        QVERIFY(process.waitForFinished(120000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
        const QList<MTestPdf::Words> pages = MTestPdf::pageWords(fileName);
        QCOMPARE(pages.size(), 1);
        printed << pages.at(0);
    }
    for (int i = 1; i < printed.size(); ++i) {
        QCOMPARE(printed.at(i).size(), printed.at(0).size());
        for (int w = 0; w < printed.at(0).size(); ++w) {
            const MTestPdf::Word& at100 = printed.at(0).at(w);
            const MTestPdf::Word& here = printed.at(i).at(w);
            QCOMPARE(here.text, at100.text);
            QVERIFY2(millimetres(qAbs(here.left - at100.left)) < 0.5 && millimetres(qAbs(here.top - at100.top)) < 0.5,
                     qPrintable(QStringLiteral("%1 moved by %2, %3 mm")
                                    .arg(here.text)
                                    .arg(millimetres(here.left - at100.left))
                                    .arg(millimetres(here.top - at100.top))));
        }
    }
}

INVOICE_TEST_MAIN(TestPrintResolution)
#include "tst_printresolution.moc"
