#include "MTestDataEnvironment.h"
#include "data/MSqlLineReader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QtTest>

// Splitting a file into lines without holding it: every kind of line end,
// also where a chunk ends between CR and LF, lines over the limit, and a
// file that ends before the size it had at the start.
class TestSqlLineReader : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
};

namespace {

// Each line as read, "<too long>" for a skipped one, then "<end>" or "<read error>".
QStringList readAll(const QByteArray& bytes, qint64 expectedSize, int maxLineLength)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    MSqlLineReader reader(&buffer, expectedSize, maxLineLength);
    QStringList read;
    QByteArray line;
    for (;;) {
        switch (reader.next(&line)) {
        case MSqlLineReader::Status::Line:
            read << QString::fromLatin1(line);
            break;
        case MSqlLineReader::Status::TooLong:
            read << QStringLiteral("<too long>");
            break;
        case MSqlLineReader::Status::End:
            return read << QStringLiteral("<end>");
        case MSqlLineReader::Status::ReadError:
            return read << QStringLiteral("<read error>");
        }
    }
}

} // namespace

void TestSqlLineReader::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("sizeShortBy");
    QTest::addColumn<int>("maxLineLength");
    QTest::addColumn<QStringList>("expected");

    const QStringList abc{"a", "b", "c", "<end>"};
    QTest::newRow("LF") << QByteArray("a\nb\nc\n") << qint64(0) << 100 << abc;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << qint64(0) << 100 << abc;
    QTest::newRow("CR only, as old Mac files") << QByteArray("a\rb\rc\r") << qint64(0) << 100 << abc;
    QTest::newRow("no end after the last line") << QByteArray("a\r\nb\nc") << qint64(0) << 100 << abc;
    QTest::newRow("blank lines stay lines")
        << QByteArray("a\n\r\n\rb") << qint64(0) << 100 << QStringList{"a", "", "", "b", "<end>"};

    // A chunk is 256 KiB: CR as its last byte, LF as the first of the next.
    const QByteArray first(256 * 1024 - 1, 'x');
    QTest::newRow("CR LF split between chunks")
        << first + "\r\nb\n" << qint64(0) << 1024 * 1024
        << QStringList{QString::fromLatin1(first), "b", "<end>"};

    const QByteArray longLine(600 * 1024, 'y');
    QTest::newRow("line over the limit is skipped, the next is read")
        << QByteArray("a\n") + longLine + "\nb\n" << qint64(0) << 1024
        << QStringList{"a", "<too long>", "b", "<end>"};
    QTest::newRow("last line over the limit, without end")
        << QByteArray("a\n") + longLine << qint64(0) << 1024 << QStringList{"a", "<too long>", "<end>"};

    QTest::newRow("file shorter than its size at the start")
        << QByteArray("a\nb\n") << qint64(10) << 100 << QStringList{"a", "b", "<read error>"};
}

void TestSqlLineReader::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, sizeShortBy);
    QFETCH(int, maxLineLength);
    QFETCH(QStringList, expected);

    QCOMPARE(readAll(bytes, bytes.size() + sizeShortBy, maxLineLength), expected);
}

INVOICE_TEST_MAIN(TestSqlLineReader)
#include "tst_sqllinereader.moc"
