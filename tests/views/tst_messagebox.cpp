#include "MTestEnvironment.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

#include <memory>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void queuedAnswersComeFirstThenDefaults();
    void shownBoxesAreRecorded();
    void fileDialogTakesQueuedNamesThenCancels();
    void homeIsPrivate();
    void realBoxFitsItsTitleAndIsCentredAtStart();
};

void TestMessageBox::queuedAnswersComeFirstThenDefaults()
{
    MMessageBox::setNextAnswer(QMessageBox::Yes);
    QCOMPARE(MMessageBox::question(nullptr, "t", "q", QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
             QMessageBox::Yes);
    QCOMPARE(MMessageBox::question(nullptr, "t", "q", QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
             QMessageBox::No);
    QCOMPARE(MMessageBox::warning(nullptr, "t", "w", QMessageBox::Ok | QMessageBox::Cancel), QMessageBox::Ok);
    MMessageBox::takeShown();
}

void TestMessageBox::shownBoxesAreRecorded()
{
    MMessageBox::critical(nullptr, QStringLiteral("Błąd"), QStringLiteral("Nie można zapisać."));
    MMessageBox::information(nullptr, QStringLiteral("Informacja"), QStringLiteral("Gotowe."));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).text, QStringLiteral("Nie można zapisać."));
    QCOMPARE(shown.at(1).icon, QMessageBox::Information);
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestMessageBox::fileDialogTakesQueuedNamesThenCancels()
{
    MFileDialog::setNextFileName(QStringLiteral("/tmp/a.csv"));
    QCOMPARE(MFileDialog::getSaveFileName(nullptr, "c"), QStringLiteral("/tmp/a.csv"));
    QVERIFY(MFileDialog::getOpenFileName(nullptr, "c").isEmpty());
}

void TestMessageBox::homeIsPrivate()
{
    QVERIFY(QDir::homePath().contains(QStringLiteral("invoice-test-")));
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).startsWith(QDir::homePath()));
}

// A box shown for real is wide enough for its whole title; one whose parent window is
// not shown yet (the start-up errors) is centred on the screen.
void TestMessageBox::realBoxFitsItsTitleAndIsCentredAtStart()
{
    const QString title = QStringLiteral("Niezgodność wprowadzonych danych");
    QWidget hiddenWindow;
    hiddenWindow.setGeometry(0, 0, 200, 100);
    const std::unique_ptr<QMessageBox> box(MMessageBox::createBox(QMessageBox::Warning, &hiddenWindow, title,
                                                                  QStringLiteral("Krótko."), QMessageBox::Ok,
                                                                  QMessageBox::NoButton));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QFont bold = box->font();
    bold.setBold(true);
    QVERIFY2(box->width() > QFontMetrics(bold).horizontalAdvance(title) + 100, qPrintable(QString::number(box->width())));
    const QRect screen = box->screen()->availableGeometry();
    QVERIFY2(qAbs(box->frameGeometry().center().x() - screen.center().x()) <= box->width() / 4,
             qPrintable(QString::number(box->frameGeometry().center().x())));
    QVERIFY(qAbs(box->frameGeometry().center().y() - screen.center().y()) <= box->height());
}

INVOICE_TEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
