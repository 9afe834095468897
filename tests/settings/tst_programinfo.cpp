#include "MTestEnvironment.h"
#include "data/MProgramPaths.h"
#include "resources/MResources.h"
#include "settings/MProgramInfoDlg.h"
#include "views/MFileDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

class TestProgramInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void choosingAFolderStoresItsBase_data();
    void choosingAFolderStoresItsBase();
    void longFolderIsShortenedInTheMiddle();

private:
    QString storedDataPath() const;
    QPushButton* dataButton(const MProgramInfoDlg& dialog) const;

    QScopedPointer<QTemporaryDir> m_dir;
};

void TestProgramInfo::initTestCase()
{
    initInvoiceResources();
}

void TestProgramInfo::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    MProgramPaths::pathConfig = m_dir->path() + QStringLiteral("/");
    MProgramPaths::pathData = m_dir->path() + QStringLiteral("/");
    MProgramPaths::pathDocuments = m_dir->path() + QStringLiteral("/dokumenty/");
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/config")));
    QSettings settings(MProgramPaths::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("database/path"), MProgramPaths::pathData);
}

QString TestProgramInfo::storedDataPath() const
{
    QSettings settings(MProgramPaths::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    return settings.value(QStringLiteral("database/path")).toString();
}

QPushButton* TestProgramInfo::dataButton(const MProgramInfoDlg& dialog) const
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isFlat() && button->toolTip() == QStringLiteral("Otwórz katalog bazy danych"))
            return button;
    }
    return nullptr;
}

void TestProgramInfo::choosingAFolderStoresItsBase_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");

    QTest::newRow("base folder") << QStringLiteral("/srv/firma") << QStringLiteral("/srv/firma/");
    QTest::newRow("its data folder") << QStringLiteral("/srv/firma/data") << QStringLiteral("/srv/firma/");
    QTest::newRow("its backup folder") << QStringLiteral("/srv/firma/data/backup") << QStringLiteral("/srv/firma/");
    QTest::newRow("other case is kept whole") << QStringLiteral("/srv/firma/Data")
                                              << QStringLiteral("/srv/firma/Data/");
    QTest::newRow("name merely ending in data") << QStringLiteral("/srv/metadata")
                                                << QStringLiteral("/srv/metadata/");
}

void TestProgramInfo::choosingAFolderStoresItsBase()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);

    MProgramInfoDlg dialog(nullptr);
    MFileDialog::setNextFileName(chosen);
    dialog.clickPathDataChange(false);

    QCOMPARE(storedDataPath(), stored);
    QCOMPARE(dataButton(dialog)->text(), QDir::toNativeSeparators(stored + QStringLiteral("data")));
}

void TestProgramInfo::longFolderIsShortenedInTheMiddle()
{
    MProgramPaths::pathData = m_dir->path() + QStringLiteral("/") + QString(60, QLatin1Char('k')) + QStringLiteral("/")
                        + QString(60, QLatin1Char('m')) + QStringLiteral("/");
    const QString before = storedDataPath();
    MProgramInfoDlg dialog(nullptr);
    const QString shortened = dataButton(dialog)->text();
    QVERIFY(shortened.contains(QChar(0x2026)));
    QVERIFY(shortened.endsWith(QStringLiteral("/data")));

    // A cancelled chooser changes neither the button nor the file.
    MFileDialog::setNextFileName(QString());
    dialog.clickPathDataChange(false);
    QCOMPARE(dataButton(dialog)->text(), shortened);
    QCOMPARE(storedDataPath(), before);
}

INVOICE_TEST_MAIN(TestProgramInfo)
#include "tst_programinfo.moc"
