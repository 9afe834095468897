#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "resources/MResources.h"
#include "settings/MDbInfoDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

// The database folder button hands the folder to the desktop, which on this
// system means the xdg-open found on PATH; a stub there records what it got.
// Run on a platform plugin that has desktop services (the offscreen one has none).
class TestDbInfoFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void folderButtonOpensTheDatabaseFolder();

private:
    QTemporaryDir m_dir;
};

void TestDbInfoFolder::initTestCase()
{
    initInvoiceResources();
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("bin"))));
    const QString stub = m_dir.filePath(QStringLiteral("bin/xdg-open"));
    QFile script(stub);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(m_dir.filePath(QStringLiteral("opened")))
                 + ".part\"\nmv \"" + QFile::encodeName(m_dir.filePath(QStringLiteral("opened"))) + ".part\" \""
                 + QFile::encodeName(m_dir.filePath(QStringLiteral("opened"))) + "\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("bin"))) + ':' + qgetenv("PATH"));
}

void TestDbInfoFolder::folderButtonOpensTheDatabaseFolder()
{
    // A folder name with a blank and a Polish letter, as user folders have.
    MProgramPaths::pathData = m_dir.filePath(QStringLiteral("Moje dane/Faktury źródło")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(MProgramPaths::pathData + QStringLiteral("data")));
    QVERIFY(MTestDatabase::prepare(MProgramPaths::pathData + QStringLiteral("data/Invoice.db3")));
    MOptions::loadOptions();

    MDbInfoDlg dialog;
    QPushButton* folderButton = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isFlat())
            folderButton = button;
    }
    QVERIFY(folderButton);
    QCOMPARE(folderButton->toolTip(), QStringLiteral("Otwórz katalog bazy danych"));
    QCOMPARE(folderButton->text(), QDir::toNativeSeparators(MProgramPaths::pathData + QStringLiteral("data")));

    QTest::mouseClick(folderButton, Qt::LeftButton);
    QFile opened(m_dir.filePath(QStringLiteral("opened")));
    QTRY_VERIFY_WITH_TIMEOUT(opened.exists(), 10000);
    QVERIFY(opened.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(opened.readAll()),
             QUrl::fromLocalFile(MProgramPaths::pathData + QStringLiteral("data")).toString(QUrl::FullyEncoded)
                 + QLatin1Char('\n'));
    MTestDatabase::close();
}

INVOICE_TEST_MAIN(TestDbInfoFolder)
#include "tst_dbinfofolder.moc"
