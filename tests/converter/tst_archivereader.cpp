#include "CArchiveReader.h"
#include "CArchiveWriter.h"
#include "CLoadError.h"
#include "CRecord.h"
#include "CRecordClass.h"
#include "CRecordMap.h"
#include "MTestEnvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <optional>

class TestArchiveReader : public QObject
{
    Q_OBJECT

private slots:
    void readsTexts_data();
    void readsTexts();
    void readsCountsNumbersAndTimes();
    void readsObjectReferences();
    void laterElementReplacesTheSameKey();
    void failsOnMalformedArchives_data();
    void failsOnMalformedArchives();
    void failingDeviceIsAFileError();
    void messagesNameKindPathAndCause_data();
    void messagesNameKindPathAndCause();
};

namespace {

QByteArray le16(quint16 value)
{
    uchar bytes[2];
    qToLittleEndian(value, bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes), 2);
}

QByteArray le32(quint32 value)
{
    uchar bytes[4];
    qToLittleEndian(value, bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes), 4);
}

QByteArray utf16(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes += le16(c.unicode());
    return bytes;
}

// A device whose every read fails, as a disk that cannot be read.
class BrokenDevice : public QIODevice
{
protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

struct Failure
{
    std::optional<CLoadError> error;
    int elementsKept = 0;
};

Failure readMap(QByteArray bytes, const QByteArray& className)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);
    CRecordMap map(*CRecordClass::find(className));
    Failure failure;
    try {
        map.Serialize(ar);
    } catch (const CLoadError& error) {
        failure.error = error;
    }
    failure.elementsKept = int(map.elements().size());
    return failure;
}

} // namespace

void TestArchiveReader::readsTexts_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("text");

    const QByteArray b254(254, 'a');
    const QByteArray b255(255, 'b');
    const QByteArray b65533(65533, 'c');
    const QByteArray b65534(65534, 'd');
    const QByteArray b70000(70000, 'e');
    const QString w300(300, QChar(0x0119)); // ę

    QTest::newRow("empty") << QByteArray(1, '\0') << QByteArray();
    QTest::newRow("254 bytes with an 8-bit length") << char(254) + b254 << b254;
    QTest::newRow("255 bytes with a 16-bit length") << "\xff" + le16(255) + b255 << b255;
    QTest::newRow("65533 bytes with a 16-bit length") << "\xff" + le16(65533) + b65533 << b65533;
    QTest::newRow("65534 bytes with a 32-bit length") << "\xff" + le16(0xFFFF) + le32(65534) + b65534 << b65534;
    QTest::newRow("70000 bytes with a 32-bit length") << "\xff" + le16(0xFFFF) + le32(70000) + b70000 << b70000;
    QTest::newRow("Windows-1250 bytes unchanged") << QByteArray("\x04\xa3\xf3\x64\x9f") << QByteArray("\xa3\xf3\x64\x9f");
    QTest::newRow("NUL cuts an 8-bit text") << QByteArray("\x07" "abc\0def", 8) << QByteArray("abc");
    QTest::newRow("Polish letters in 16-bit characters")
        << "\xff" + le16(0xFFFE) + char(9) + utf16(QStringLiteral("Zażółć ĘŚ")) << QByteArray("Za\xbf\xf3\xb3\xe6 \xca\x8c");
    QTest::newRow("300 16-bit characters")
        << "\xff" + le16(0xFFFE) + "\xff" + le16(300) + utf16(w300) << QByteArray(300, '\xea');
    QTest::newRow("NUL cuts a 16-bit text")
        << "\xff" + le16(0xFFFE) + char(5) + utf16(QStringLiteral("ab")) + le16(0) + utf16(QStringLiteral("cd"))
        << QByteArray("ab");
    QTest::newRow("65534 16-bit characters, the length after the mark")
        << "\xff" + le16(0xFFFE) + "\xff" + le16(0xFFFE) + utf16(QString(65534, QChar(0x0105))) << QByteArray(65534, '\xb9');
    QTest::newRow("character outside the code page")
        << "\xff" + le16(0xFFFE) + char(3) + utf16(QStringLiteral("a日b")) << QByteArray("a?b");
}

void TestArchiveReader::readsTexts()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, text);

    // An int after the text shows that exactly the text's bytes were taken.
    QByteArray bytes = stored + le32(0x12345678);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);
    QCOMPARE(ar.readString(), text);
    QCOMPARE(ar.readInt(), 0x12345678);
    QVERIFY(buffer.atEnd());
}

void TestArchiveReader::readsCountsNumbersAndTimes()
{
    QByteArray bytes = le16(7) + le16(0xFFFF) + le32(100000) + le32(quint32(-3))
        + QByteArray::fromHex("000000000000f83f") // 1.5
        + le32(1262347384) + le32(quint32(-86400)) + le32(0x8000000A) + le32(0x00000001) + le32(0x00000002)
        + le32(0x8000000A) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);
    QCOMPARE(ar.readCount(), 7u);
    QCOMPARE(ar.readCount(), 100000u);
    QCOMPARE(ar.readInt(), -3);
    QCOMPARE(ar.readDouble(), 1.5);
    QCOMPARE(ar.readTime().seconds, Q_INT64_C(1262347384));
    QCOMPARE(ar.readTime().seconds, Q_INT64_C(-86400));
    QCOMPARE(ar.readTime().seconds, Q_INT64_C(0x0000000200000001));
    QCOMPARE(ar.readTime().seconds, Q_INT64_C(-1));
    QVERIFY(buffer.atEnd());
}

void TestArchiveReader::readsObjectReferences()
{
    const CRecordClass& country = *CRecordClass::find("CCountry");
    // Index 1 is the class, 2 and 3 its first objects, 4 one behind a 32-bit class tag.
    QByteArray bytes = le16(0xFFFF) + le16(1) + le16(8) + "CCountry" + le32(10) + char(1) + "a" // object 2
        + le16(0x8001) + le32(11) + char(1) + "b" // object 3
        + le16(2) // back to object 2
        + le16(0) // null
        + le16(0x7FFF) + le32(0x80000001) + le32(12) + char(1) + "c" // object 4
        + le16(0x7FFF) + le32(3) // back to object 3 with a 32-bit tag
        + le16(0x7FFF) + le32(0); // null with a 32-bit tag
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);

    const auto first = ar.readObject(country);
    const auto second = ar.readObject(country);
    const auto again = ar.readObject(country);
    const auto none = ar.readObject(country);
    const auto big = ar.readObject(country);
    const auto bigBack = ar.readObject(country);
    const auto bigNone = ar.readObject(country);
    QVERIFY(buffer.atEnd());

    QVERIFY(first && second && big);
    QCOMPARE(first->GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (10,'a');"));
    QCOMPARE(second->GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (11,'b');"));
    QCOMPARE(big->GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (12,'c');"));
    QCOMPARE(again, first);
    QCOMPARE(none, nullptr);
    QCOMPARE(bigBack, second);
    QCOMPARE(bigNone, nullptr);
}

void TestArchiveReader::laterElementReplacesTheSameKey()
{
    CArchiveWriter w;
    w.count(3);
    quint32 countryClass = 0;
    w.text("1");
    w.newClass("CCountry", 1, &countryClass);
    w.int32(1).text("first");
    w.text("2");
    w.knownClass(countryClass);
    w.int32(2).text("second");
    w.text("1");
    w.knownClass(countryClass);
    w.int32(3).text("third");

    QByteArray bytes = w.bytes();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);
    CRecordMap map(*CRecordClass::find("CCountry"));
    map.Serialize(ar);
    QCOMPARE(map.elements().size(), size_t(2));
    QCOMPARE(map.elements()[0].key, QByteArray("1"));
    QCOMPARE(map.elements()[0].value->GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (3,'third');"));
    QCOMPARE(map.elements()[1].value->GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (2,'second');"));
}

void TestArchiveReader::failsOnMalformedArchives_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<int>("cause");
    QTest::addColumn<int>("elementsKept");

    const QByteArray countryClass = le16(0xFFFF) + le16(1) + le16(8) + "CCountry";
    const QByteArray one = le16(1) + char(1) + "k";
    const QByteArray two = le16(2) + char(1) + "k";
    const QByteArray three = le16(3) + char(1) + "k";

    QTest::newRow("no element count") << QByteArray("\x01") << QByteArray("CCountry") << 3 << 0;
    QTest::newRow("int cut short") << one + countryClass + "\x01\x00" << QByteArray("CCountry") << 3 << 0;
    QTest::newRow("text longer than the file")
        << one + countryClass + le32(1) + "\xff" + le16(0xFFFF) + le32(0x7FFFFFFF) + "abc" << QByteArray("CCountry") << 3 << 0;
    QTest::newRow("16-bit text longer than the file")
        << one + countryClass + le32(1) + "\xff" + le16(0xFFFE) + "\xff" + le16(0xFFFF) + le32(0xFFFFFFFF)
        << QByteArray("CCountry") << 3 << 0;
    QTest::newRow("class name cut short") << one + le16(0xFFFF) + le16(1) + le16(20) + "CCountry" << QByteArray("CCountry") << 3 << 0;
    QTest::newRow("second element cut short")
        << two + countryClass + le32(1) + char(1) + "a" + char(1) + "l" + le16(0x8001) + le32(2) << QByteArray("CCountry") << 3 << 1;
    QTest::newRow("unknown class") << one + le16(0xFFFF) + le16(1) + le16(4) + "CFoo" + le32(1) << QByteArray("CCountry") << 6 << 0;
    QTest::newRow("record of another class")
        << two + countryClass + le32(1) + char(1) + "a" + char(1) + "l" + le16(0xFFFF) + le16(1) + le16(9) + "CProvince" + le32(2)
               + char(1) + "b"
        << QByteArray("CCountry") << 6 << 1;
    QTest::newRow("fixed class of another schema")
        << one + le16(0xFFFF) + le16(2) + le16(8) + "CCountry" + le32(1) + char(1) + "a" << QByteArray("CCountry") << 7 << 0;
    QTest::newRow("versionable class above its schema")
        << one + le16(0xFFFF) + le16(0x8003) + le16(6) + "CBuyer" + le32(1) << QByteArray("CBuyer") << 7 << 0;
    QTest::newRow("versionable class of schema 0")
        << one + le16(0xFFFF) + le16(0x8000) + le16(8) + "CPayForm" + le32(1) << QByteArray("CPayForm") << 7 << 0;
    QTest::newRow("reference to an object not yet read")
        << two + countryClass + le32(1) + char(1) + "a" + char(1) + "l" + le16(9) << QByteArray("CCountry") << 5 << 1;
    QTest::newRow("object reference to a class")
        << two + countryClass + le32(1) + char(1) + "a" + char(1) + "l" + le16(1) << QByteArray("CCountry") << 5 << 1;
    QTest::newRow("class reference to an object")
        << three + countryClass + le32(1) + char(1) + "a" + char(1) + "l" + le16(0x8001) + le32(2) + char(1) + "b" + char(1)
               + "m" + le16(0x8002)
        << QByteArray("CCountry") << 5 << 2;
    QTest::newRow("class reference before any class") << one + le16(0x8001) << QByteArray("CCountry") << 5 << 0;
    QTest::newRow("32-bit class reference to nothing")
        << one + le16(0x7FFF) + le32(0x80000005) << QByteArray("CCountry") << 5 << 0;
    QTest::newRow("16-bit text of 65534 characters cut short")
        << one + countryClass + le32(1) + "\xff" + le16(0xFFFE) + "\xff" + le16(0xFFFE) + utf16(QStringLiteral("ab"))
        << QByteArray("CCountry") << 3 << 0;
}

void TestArchiveReader::failsOnMalformedArchives()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, className);
    QFETCH(int, cause);
    QFETCH(int, elementsKept);

    const Failure failure = readMap(bytes, className);
    QVERIFY(failure.error);
    QCOMPARE(failure.error->kind(), CLoadError::Archive);
    QCOMPARE(failure.error->cause(), cause);
    QCOMPARE(failure.elementsKept, elementsKept);
}

void TestArchiveReader::failingDeviceIsAFileError()
{
    BrokenDevice device;
    device.open(QIODevice::ReadOnly);
    CArchiveReader ar(&device);
    try {
        ar.readCount();
        QFAIL("a failing device must fail the reading");
    } catch (const CLoadError& error) {
        QCOMPARE(error.kind(), CLoadError::File);
        QCOMPARE(error.message(QStringLiteral("C:\\p\\data\\Buyer.dat")),
                 QStringLiteral("Wyjątek CFileException.\nBłąd pliku danych: C:\\p\\data\\Buyer.dat.\n"
                                "An unspecified error occurred."));
    }
}

void TestArchiveReader::messagesNameKindPathAndCause_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("message");

    const QString archive = QStringLiteral("Wyjątek CArchiveException.\nBłąd pliku danych: /d/data/Invoice.dat.\n");
    const QString file = QStringLiteral("Wyjątek CFileException.\nBłąd pliku danych: /d/data/Invoice.dat.\n");
    QTest::newRow("archive end of file") << int(CLoadError::Archive) << 3
                                         << archive + QStringLiteral("Osiągnięty koniec pliku podczas odczytu obiektu.");
    QTest::newRow("archive wrong format") << int(CLoadError::Archive) << 5 << archive + QStringLiteral("Zły format pliku.");
    QTest::newRow("archive wrong class") << int(CLoadError::Archive) << 6
                                         << archive + QStringLiteral("Próba odczytu obiektu do obiektu złego typu.");
    QTest::newRow("archive wrong schema") << int(CLoadError::Archive) << 7
                                          << archive + QStringLiteral("Próba odczytu obiektu z inna wersją klasy.");
    QTest::newRow("archive unknown cause") << int(CLoadError::Archive) << 8 << archive + QStringLiteral("Błąd nieznany.");
    QTest::newRow("file disk full") << int(CLoadError::File) << 13 << file + QStringLiteral("The disk is full.");
    QTest::newRow("file unknown cause") << int(CLoadError::File) << 15 << file + QStringLiteral("Błąd nieznany.");
    QTest::newRow("memory") << int(CLoadError::Memory) << 0
                            << QStringLiteral("Wyjątek CMemoryException.\nBłąd pliku danych: /d/data/Invoice.dat.\n"
                                              "Out of memory.");
}

void TestArchiveReader::messagesNameKindPathAndCause()
{
    QFETCH(int, kind);
    QFETCH(int, cause);
    QFETCH(QString, message);
    QCOMPARE(CLoadError(CLoadError::Kind(kind), cause).message(QStringLiteral("/d/data/Invoice.dat")), message);
}

INVOICE_TEST_MAIN(TestArchiveReader)
#include "tst_archivereader.moc"
