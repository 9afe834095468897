#include "MTestCsvReader.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "views/MFileCsvWriter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using Lines = QList<QStringList>;
Q_DECLARE_METATYPE(Lines)

class TestCsvWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void formulaTextIsShownAsText_data();
    void formulaTextIsShownAsText();
    void pythonCsvReadsBackEveryField();
    void saveReplacesTheFile();
    void unwritableFileIsReported();
    void fullDiskIsReported_data();
    void fullDiskIsReported();
    void streamedFileIsWhatSaveWrites_data();
    void streamedFileIsWhatSaveWrites();
    void streamReplacesTheFileOnlyWhenCommitted();

private:
    QByteArray written(const MFileCsvWriter& writer);
    QTemporaryDir m_dir;
};

QByteArray TestCsvWriter::written(const MFileCsvWriter& writer)
{
    const QString fileName = m_dir.filePath(QStringLiteral("out.csv"));
    if (!writer.save(fileName))
        return QByteArray("<not saved>");
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void TestCsvWriter::writesExactBytes_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty field and blank") << Lines{ { "abc", "", "x y" } } << QByteArray("abc,,\"x y\"\n");
    QTest::newRow("empty first field keeps its separator") << Lines{ { "", "abc" } } << QByteArray(",abc\n");
    QTest::newRow("lone quote doubled") << Lines{ { "\"" } } << QByteArray("\"\"\"\"\n");
    QTest::newRow("decimal comma quoted") << Lines{ { "12,50" } } << QByteArray("\"12,50\"\n");
    QTest::newRow("line without fields") << Lines{ {} } << QByteArray("\n");
    QTest::newRow("tab, CR and LF quoted") << Lines{ { "a\tb", "c\rd", "e\nf" } }
                                           << QByteArray("\"a\tb\",\"c\rd\",\"e\nf\"\n");
    QTest::newRow("quote inside text") << Lines{ { "Firma \"Ala\"" } } << QByteArray("\"Firma \"\"Ala\"\"\"\n");
    QTest::newRow("semicolon and apostrophe left alone") << Lines{ { "a;b", "O'Hara" } }
                                                         << QByteArray("a;b,O'Hara\n");
    QTest::newRow("Polish letters as UTF-8") << Lines{ { "Łódź", "żółć" } }
                                             << QByteArray("\xc5\x81\xc3\xb3" "d" "\xc5\xba,\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87\n");
    QTest::newRow("two lines") << Lines{ { "Id", "Firma" }, { "1", "A" } } << QByteArray("Id,Firma\n1,A\n");
    QTest::newRow("nothing at all") << Lines{} << QByteArray();
}

void TestCsvWriter::writesExactBytes()
{
    QFETCH(Lines, lines);
    QFETCH(QByteArray, expected);
    MFileCsvWriter writer;
    for (const QStringList& line : lines) {
        for (const QString& field : line)
            writer.addField(field);
        writer.endLine();
    }
    QCOMPARE(written(writer), expected);
}

void TestCsvWriter::formulaTextIsShownAsText_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("hyperlink formula") << "=HYPERLINK(\"http://x\")" << true << QByteArray("\"'=HYPERLINK(\"\"http://x\"\")\"\n");
    QTest::newRow("plus command") << "+cmd|' /C calc'!A0" << true << QByteArray("\"'+cmd|' /C calc'!A0\"\n");
    QTest::newRow("minus text") << "-2+3" << true << QByteArray("'-2+3\n");
    QTest::newRow("amount with its currency") << "-162.6 PLN" << true << QByteArray("\"'-162.6 PLN\"\n");
    QTest::newRow("negative number as text") << "-12,50" << true << QByteArray("\"-12,50\"\n");
    QTest::newRow("signed number as text") << "+3.5" << true << QByteArray("+3.5\n");
    QTest::newRow("minus sign alone") << "-" << true << QByteArray("'-\n");
    QTest::newRow("at sign") << "@SUM(A1)" << true << QByteArray("'@SUM(A1)\n");
    QTest::newRow("leading tab") << "\t=1" << true << QByteArray("\"'\t=1\"\n");
    QTest::newRow("leading CR") << "\r=1" << true << QByteArray("\"'\r=1\"\n");
    QTest::newRow("formula sign inside") << "a=b" << true << QByteArray("a=b\n");
    QTest::newRow("ordinary text") << "Firma" << true << QByteArray("Firma\n");
    QTest::newRow("empty text") << "" << true << QByteArray("\n");
    QTest::newRow("negative amount") << "-12,50" << false << QByteArray("\"-12,50\"\n");
    QTest::newRow("negative integer") << "-7" << false << QByteArray("-7\n");
    QTest::newRow("positive amount") << "12,50" << false << QByteArray("\"12,50\"\n");
}

void TestCsvWriter::formulaTextIsShownAsText()
{
    QFETCH(QString, cell);
    QFETCH(bool, isText);
    QFETCH(QByteArray, expected);

    const QString file = m_dir.filePath(QStringLiteral("formula.csv"));
    MFileCsvWriter writer;
    if (isText)
        writer.addTextField(cell);
    else
        writer.addField(cell);
    writer.endLine();
    QVERIFY(writer.save(file));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);
}

void TestCsvWriter::pythonCsvReadsBackEveryField()
{
    const Lines lines = {
        { "Id", "Firma / Osoba", "Kwota" },
        { "1", "Zakład \"Żuraw\", s.c.", "1234,50" },
        { "", "", "" },
        { "3", "wiele\nlinii\r\nw polu", "\t" },
        { "4", "Łódź; ul. Świętej Anny 5/7", "-0,01" },
        { "", "pusty pierwszy", "'" },
    };
    MFileCsvWriter writer;
    for (const QStringList& line : lines) {
        for (const QString& field : line)
            writer.addField(field);
        writer.endLine();
    }
    const QString fileName = m_dir.filePath(QStringLiteral("python.csv"));
    QVERIFY(writer.save(fileName));

    QCOMPARE(readCsvWithPython(fileName), lines);
}

void TestCsvWriter::saveReplacesTheFile()
{
    const QString fileName = m_dir.filePath(QStringLiteral("replace.csv"));
    {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a much longer earlier content\nthat must disappear\n");
    }
    MFileCsvWriter writer;
    writer.addField(QStringLiteral("x"));
    writer.endLine();
    QVERIFY(writer.save(fileName));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("x\n"));
}

void TestCsvWriter::unwritableFileIsReported()
{
    MFileCsvWriter writer;
    writer.addField(QStringLiteral("x"));
    writer.endLine();
    QVERIFY(!writer.save(m_dir.filePath(QStringLiteral("no/such/folder/out.csv"))));
}

void TestCsvWriter::fullDiskIsReported_data()
{
    QTest::addColumn<bool>("streamed");
    QTest::newRow("saved in one go") << false;
    QTest::newRow("streamed") << true;
}

void TestCsvWriter::fullDiskIsReported()
{
    QFETCH(bool, streamed);
    const QString folder = m_dir.filePath(QStringLiteral("full"));
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("this machine does not let the test mount a small file system");
    disk.fill();

    // A short text stays in the file's buffer until the end: its failure shows only there.
    const QString file = folder + QStringLiteral("/lista.csv");
    MFileCsvWriter writer;
    if (streamed)
        QVERIFY(writer.open(file));
    writer.addTextField(QStringLiteral("Firma"));
    writer.endLine();
    QVERIFY(!(streamed ? writer.commit() : writer.save(file)));
    QVERIFY(!QFile::exists(file));
}

void TestCsvWriter::streamedFileIsWhatSaveWrites_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("fieldsBeforeOpen");
    QTest::newRow("one short line") << 1 << 0;
    QTest::newRow("many chunks") << 6000 << 0;
    QTest::newRow("title line held before opening") << 6000 << 3;
}

void TestCsvWriter::streamedFileIsWhatSaveWrites()
{
    QFETCH(int, lineCount);
    QFETCH(int, fieldsBeforeOpen);

    // Lines long enough to cross several chunks, with letters of two and
    // three bytes in UTF-8 and fields that need quotes.
    const auto fields = [](int line) {
        return QStringList{ QString::number(line), QStringLiteral("Zakład \"Żuraw\" nr %1").arg(line),
                            QStringLiteral("Łódź€"), QString(), QStringLiteral("%1,50").arg(line % 97) };
    };
    MFileCsvWriter held;
    MFileCsvWriter streamed;
    const QString streamedName = m_dir.filePath(QStringLiteral("streamed.csv"));
    for (int field = 0; field < fieldsBeforeOpen; ++field) {
        held.addField(QStringLiteral("Tytuł %1").arg(field));
        streamed.addField(QStringLiteral("Tytuł %1").arg(field));
    }
    QVERIFY(streamed.open(streamedName));
    for (int line = 0; line < lineCount; ++line) {
        for (const QString& field : fields(line)) {
            held.addField(field);
            streamed.addField(field);
        }
        held.endLine();
        streamed.endLine();
    }
    QVERIFY(streamed.commit());

    QFile file(streamedName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes, written(held));
    QVERIFY(bytes.count('\n') == lineCount);
}

void TestCsvWriter::streamReplacesTheFileOnlyWhenCommitted()
{
    const QString fileName = m_dir.filePath(QStringLiteral("kept.csv"));
    {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier\n");
    }
    const auto content = [&fileName] {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    {
        MFileCsvWriter writer;
        QVERIFY(writer.open(fileName));
        for (int line = 0; line < 20000; ++line) {
            writer.addField(QStringLiteral("wiersz %1").arg(line));
            writer.endLine();
        }
        // Abandoned without commit, as when reading the rows fails.
        QCOMPARE(content(), QByteArray("earlier\n"));
    }
    QCOMPARE(content(), QByteArray("earlier\n"));
    QCOMPARE(QDir(m_dir.path()).entryList({ QStringLiteral("kept*") }, QDir::Files), QStringList{ "kept.csv" });

    MFileCsvWriter writer;
    QVERIFY(!writer.commit());
    QVERIFY(!writer.open(m_dir.filePath(QStringLiteral("no/such/folder/out.csv"))));
    QVERIFY(!writer.commit());
    QVERIFY(writer.open(fileName));
    writer.addField(QStringLiteral("nowy"));
    writer.endLine();
    QVERIFY(writer.commit());
    QCOMPARE(content(), QByteArray("nowy\n"));
}

INVOICE_TEST_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
