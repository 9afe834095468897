#include "MTestEnvironment.h"
#include "core/MLegacyExport.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

// Staging the 1.xx data files and the converter, and starting it, with a
// stand-in converter: a shell script that joins the staged ".dat" files into
// "mirvole.sql" beside them, as the real one writes its statements there.
class TestLegacyExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stagesTheFilesAndStartsTheConverter();
    void refusesAFolderNotNamedData_data();
    void refusesAFolderNotNamedData();
    void cancelledDialogDoesNothing();
    void missingConverterIsReported();
    void converterThatCannotStartIsReported();

private:
    QString staging() const { return m_tempPath + QStringLiteral("temp/import_1xx"); }
    void writeFile(const QString& path, const QByteArray& bytes);
    static QStringList shownTexts(const QList<MMessageBox::Shown>& shown);

    QTemporaryDir m_dir;
    QString m_tempPath;     // with blanks in it, as user folders often have
    QString m_converterDir;
    QString m_legacyData;
};

void TestLegacyExport::writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList TestLegacyExport::shownTexts(const QList<MMessageBox::Shown>& shown)
{
    QStringList texts;
    for (const MMessageBox::Shown& box : shown)
        texts << box.title + QStringLiteral(": ") + box.text;
    return texts;
}

void TestLegacyExport::init()
{
    const QString run = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                                       QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
    m_tempPath = run + QStringLiteral("/Moje pliki tymczasowe/");
    m_converterDir = run + QStringLiteral("/program");
    m_legacyData = run + QStringLiteral("/faktury 1.xx/data");

    writeFile(m_converterDir + QLatin1Char('/') + MLegacyExport::converterName(),
              "#!/bin/sh\n"
              "cd \"$(dirname \"$0\")/data\" || exit 1\n"
              "cat $(ls *.dat | sort) > mirvole.part && mv mirvole.part mirvole.sql\n");
    QVERIFY(QFile::setPermissions(m_converterDir + QLatin1Char('/') + MLegacyExport::converterName(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    writeFile(m_legacyData + QStringLiteral("/buyer.dat"), "INSERT INTO buyer (id) VALUES (1);\r\n");
    writeFile(m_legacyData + QStringLiteral("/invoice.dat"), "INSERT INTO invoice (id) VALUES (1);\r\n");
    writeFile(m_legacyData + QStringLiteral("/readme.txt"), "not data\n");
    MMessageBox::takeShown();
}

void TestLegacyExport::cleanup()
{
    MMessageBox::takeShown();
}

void TestLegacyExport::stagesTheFilesAndStartsTheConverter()
{
    // Leftovers of an earlier conversion go; folders under the staging stay.
    writeFile(staging() + QStringLiteral("/old.log"), "old");
    writeFile(staging() + QStringLiteral("/data/old.dat"), "INSERT INTO old VALUES (1);\r\n");
    writeFile(staging() + QStringLiteral("/data/mirvole.sql"), "stale");
    QVERIFY(QDir().mkpath(staging() + QStringLiteral("/data/kept")));

    QWidget window;
    MFileDialog::setNextFileName(m_legacyData);
    const QString staged = MLegacyExport::run(&window, m_tempPath, m_converterDir);
    QCOMPARE(staged, staging() + QStringLiteral("/data"));

    const QString output = staged + QStringLiteral("/mirvole.sql");
    QTRY_VERIFY(QFile(output).size() > 5);
    QFile sql(output);
    QVERIFY(sql.open(QIODevice::ReadOnly));
    QCOMPARE(sql.readAll(), QByteArray("INSERT INTO buyer (id) VALUES (1);\r\nINSERT INTO invoice (id) VALUES (1);\r\n"));

    QDir data(staged);
    QCOMPARE(data.entryList(QDir::Files, QDir::Name), (QStringList{"buyer.dat", "invoice.dat", "mirvole.sql"}));
    QCOMPARE(data.entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"kept"});
    QCOMPARE(QDir(staging()).entryList(QDir::Files), QStringList{MLegacyExport::converterName()});
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestLegacyExport::refusesAFolderNotNamedData_data()
{
    QTest::addColumn<QString>("folderName");

    QTest::newRow("capital letter") << "Data";
    QTest::newRow("other name") << "dane";
}

void TestLegacyExport::refusesAFolderNotNamedData()
{
    QFETCH(QString, folderName);

    const QString folder = QFileInfo(m_legacyData).path() + QLatin1Char('/') + folderName;
    QVERIFY(QDir().mkpath(folder));
    MFileDialog::setNextFileName(folder);
    QCOMPARE(MLegacyExport::run(nullptr, m_tempPath, m_converterDir), QString());

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shownTexts(shown), QStringList{"Błąd wybranego katalogu: Nie wybrano katalogu o nazwie data."});
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(!QFileInfo::exists(staging()));
}

void TestLegacyExport::cancelledDialogDoesNothing()
{
    QCOMPARE(MLegacyExport::run(nullptr, m_tempPath, m_converterDir), QString());
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QVERIFY(!QFileInfo::exists(staging()));
}

void TestLegacyExport::missingConverterIsReported()
{
    QVERIFY(QFile::remove(m_converterDir + QLatin1Char('/') + MLegacyExport::converterName()));
    MFileDialog::setNextFileName(m_legacyData);
    QCOMPARE(MLegacyExport::run(nullptr, m_tempPath, m_converterDir), QString());

    const QStringList texts = shownTexts(MMessageBox::takeShown());
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().startsWith(QStringLiteral("Eksportuj z wersji 1: Nie znaleziono konwertera ")),
             qPrintable(texts.first()));
    QVERIFY(!QFileInfo::exists(staging()));
}

void TestLegacyExport::converterThatCannotStartIsReported()
{
    QVERIFY(QFile::setPermissions(m_converterDir + QLatin1Char('/') + MLegacyExport::converterName(),
                                  QFile::ReadOwner | QFile::WriteOwner));
    QWidget window;
    MFileDialog::setNextFileName(m_legacyData);
    QCOMPARE(MLegacyExport::run(&window, m_tempPath, m_converterDir), staging() + QStringLiteral("/data"));

    QList<MMessageBox::Shown> shown;
    QTRY_VERIFY((shown += MMessageBox::takeShown(), !shown.isEmpty()));
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.startsWith(QStringLiteral("Nie można uruchomić konwertera: ")),
             qPrintable(shown.first().text));
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
}

INVOICE_TEST_MAIN(TestLegacyExport)
#include "tst_legacyexport.moc"
