#include "MTestEnvironment.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void queuedAnswersComeFirstThenDefaults();
    void shownBoxesAreRecorded();
    void fileDialogTakesQueuedNamesThenCancels();
    void homeIsPrivate();
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

INVOICE_TEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
