#include "MTestEnvironment.h"
#include "views/MFileCsvWriter.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
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
    void pythonCsvReadsBackEveryField();
    void saveReplacesTheFile();
    void unwritableFileIsReported();

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

    QProcess python;
    python.start(QStringLiteral("python3"),
                 { QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                   fileName });
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), lines.size());
    for (int row = 0; row < lines.size(); ++row) {
        QStringList fields;
        for (const QJsonValue& field : rows.at(row).toArray())
            fields << field.toString();
        QCOMPARE(fields, lines.at(row));
    }
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

INVOICE_TEST_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
