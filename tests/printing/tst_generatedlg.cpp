#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MTemplateRun.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScriptEngine>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

// The progress box of a template run: "Zatrzymaj" stops a template that is
// still running inside the box's event loop; Escape only closes the box.
class TestGenerateDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void stopEndsRunningTemplate();
    void escapeLeavesFlags_data();
    void escapeLeavesFlags();
    void pageNumberNeverFalls();

private:
    MTestDatabase m_db;
    QScriptEngine m_engine;
};

namespace {

QPushButton* stopButton(MGenerateDlg& dlg)
{
    const auto buttons = dlg.findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->text() == QLatin1String("Zatrzymaj"))
            return button;
    }
    return nullptr;
}

} // namespace

void TestGenerateDlg::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    m_engine.setProcessEventsInterval(1);
}

void TestGenerateDlg::stopEndsRunningTemplate()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.setTextEdit();
    docTemplate.isPaging(true);
    docTemplate.setDocAborted(false);
    docTemplate.setDocGenerated(false);

    MGenerateDlg dlg;
    dlg.setDocTemplate(&docTemplate);
    QPushButton* button = stopButton(dlg);
    QVERIFY(button);

    bool finished = false;
    bool succeeded = false;
    int pagesWhenStopped = 0;
    QTimer::singleShot(0, &dlg, [&] {
        succeeded = MTemplateRun::run(&m_engine, &docTemplate, QStringLiteral(":/test_template/loops_until_aborted.js"),
                                      &dlg);
        finished = true;
    });
    // Pressed while the template is still looping inside the evaluation.
    QTimer::singleShot(200, &dlg, [&] {
        pagesWhenStopped = docTemplate.getPageGenerated();
        button->click();
    });

    QCOMPARE(dlg.exec(), 0);
    QVERIFY(finished);
    QVERIFY(succeeded);
    QVERIFY(docTemplate.getDocAborted());
    QVERIFY(docTemplate.isDocGenerated());
    QVERIFY2(pagesWhenStopped > 1, qPrintable(QString::number(pagesWhenStopped)));
    QVERIFY(docTemplate.getTextEdit()->toPlainText().isEmpty());
}

void TestGenerateDlg::escapeLeavesFlags_data()
{
    QTest::addColumn<bool>("withTemplate");
    QTest::newRow("z szablonem") << true;
    QTest::newRow("bez szablonu") << false;
}

void TestGenerateDlg::escapeLeavesFlags()
{
    QFETCH(bool, withTemplate);

    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    MGenerateDlg dlg;
    if (withTemplate)
        dlg.setDocTemplate(&docTemplate);

    QTimer::singleShot(50, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QCOMPARE(dlg.exec(), 0);
    QVERIFY(!docTemplate.getDocAborted());
    QVERIFY(!docTemplate.isDocGenerated());

    // The owner reuses the box: a job that finishes accepts it.
    QTimer::singleShot(50, &dlg, &QDialog::accept);
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QVERIFY(!docTemplate.getDocAborted());
}

// A job's ticks show the page it reached, but never one below the page shown.
void TestGenerateDlg::pageNumberNeverFalls()
{
    MGenerateDlg dlg;
    QLabel* label = dlg.findChild<QLabel*>();
    QVERIFY(label);
    const QString message = QStringLiteral("Numer generowanej strony:");
    const QList<QPair<int, int>> ticks = {{1, 1}, {3, 3}, {2, 3}, {3, 3}, {7, 7}, {1, 7}};
    dlg.setPageText(message, 1);
    for (const auto& tick : ticks) {
        dlg.showPage(tick.first);
        QCOMPARE(label->text(), message + QStringLiteral(" %1.").arg(tick.second));
    }
    // A new job starts again from its own first page.
    dlg.setPageText(message, 1);
    QCOMPARE(label->text(), message + QStringLiteral(" 1."));
}

INVOICE_TEST_MAIN(TestGenerateDlg)
#include "tst_generatedlg.moc"
