#include "MTestDataEnvironment.h"
#include "data/MPdfFileWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A PDF file written whole or not at all: the check of a complete file, the
// temporary file beside the target, and what a failure leaves behind.
class TestPdfFileWrite : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void completeFile_data();
    void completeFile();
    void commitPutsTheFileInPlace_data();
    void commitPutsTheFileInPlace();
    void incompleteFileKeepsTheOlderOne();
    void targetThatCannotBeWritten_data();
    void targetThatCannotBeWritten();

private:
    QString write(const QString& name, const QByteArray& bytes) const;
    // The names in the folder, hidden ones too.
    QStringList folderFiles() const;

    QScopedPointer<QTemporaryDir> m_dir;
};

namespace {

// A one-page PDF with a cross-reference table, as Qt's writer ends its files.
QByteArray wholePdf()
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    const QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>",
                                    "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                    "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>"};
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace

void TestPdfFileWrite::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

QString TestPdfFileWrite::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

QStringList TestPdfFileWrite::folderFiles() const
{
    return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void TestPdfFileWrite::completeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");

    const QByteArray pdf = wholePdf();
    QTest::newRow("whole") << pdf << true;
    QTest::newRow("without the last line end") << pdf.left(pdf.size() - 1) << true;
    QTest::newRow("cut in the middle") << pdf.left(pdf.size() / 2) << false;
    QTest::newRow("cut inside %%EOF") << pdf.left(pdf.size() - 3) << false;
    QTest::newRow("cut before startxref") << pdf.left(pdf.indexOf("startxref")) + "%%EOF\n" << false;
    QTest::newRow("a byte lost before the table") << QByteArray(pdf).remove(20, 1) << false;
    QTest::newRow("not a PDF") << QByteArray(pdf).replace("%PDF", "%PDX") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestPdfFileWrite::completeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QCOMPARE(MPdfFileWrite::isComplete(write(QStringLiteral("plik.pdf"), bytes)), complete);
}

void TestPdfFileWrite::commitPutsTheFileInPlace_data()
{
    QTest::addColumn<bool>("older");
    QTest::newRow("new file") << false;
    QTest::newRow("replacing an older file") << true;
}

void TestPdfFileWrite::commitPutsTheFileInPlace()
{
    QFETCH(bool, older);

    const QString target = m_dir->filePath(QStringLiteral("faktura.pdf"));
    if (older)
        QVERIFY(!write(QStringLiteral("faktura.pdf"), "%PDF-1.4 starsza").isEmpty());
    MPdfFileWrite file(target);
    QVERIFY(file.open());
    QCOMPARE(QFileInfo(file.temporaryName()).absolutePath(), m_dir->path());
    QVERIFY(file.temporaryName() != target);
    QFile temporary(file.temporaryName());
    QVERIFY(temporary.open(QIODevice::WriteOnly));
    temporary.write(wholePdf());
    temporary.close();

    QVERIFY(file.commit());
    QCOMPARE(folderFiles(), QStringList{QStringLiteral("faktura.pdf")});
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), wholePdf());
    // An ordinary file that others may read, not a private temporary one.
    QVERIFY(written.permissions().testFlag(QFile::ReadOther));
}

void TestPdfFileWrite::incompleteFileKeepsTheOlderOne()
{
    const QString target = m_dir->filePath(QStringLiteral("faktura.pdf"));
    QVERIFY(!write(QStringLiteral("faktura.pdf"), "%PDF-1.4 starsza").isEmpty());
    MPdfFileWrite file(target);
    QVERIFY(file.open());
    QFile temporary(file.temporaryName());
    QVERIFY(temporary.open(QIODevice::WriteOnly));
    temporary.write(wholePdf().left(100));
    temporary.close();

    QVERIFY(!file.commit());
    QVERIFY2(file.errorText().startsWith(QStringLiteral("Nie można zapisać pliku %1: ").arg(target)),
             qPrintable(file.errorText()));
    QCOMPARE(folderFiles(), QStringList{QStringLiteral("faktura.pdf")});
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("%PDF-1.4 starsza"));
}

void TestPdfFileWrite::targetThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a folder of that name") << "katalog.pdf" << "pod tą nazwą istnieje katalog";
    QTest::newRow("no such folder") << "brak/plik.pdf" << "nie ma katalogu %1/brak";
    QTest::newRow("read-only file") << "tylko.pdf" << "plik jest tylko do odczytu";
}

void TestPdfFileWrite::targetThatCannotBeWritten()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("katalog.pdf")));
    if (name == QLatin1String("tylko.pdf")) {
        const QString readOnly = write(name, "%PDF-1.4 stara");
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser));
        if (QFileInfo(readOnly).isWritable())
            QSKIP("A file stays writable for this user (root).");
    }
    const QStringList before = folderFiles();

    const QString target = m_dir->filePath(name);
    MPdfFileWrite file(target);
    QVERIFY(!file.open());
    QCOMPARE(file.errorText(), QStringLiteral("Nie można zapisać pliku %1: %2.").arg(target, reason.arg(m_dir->path())));
    QCOMPARE(folderFiles(), before);
}

INVOICE_TEST_MAIN(TestPdfFileWrite)
#include "tst_pdffilewrite.moc"
