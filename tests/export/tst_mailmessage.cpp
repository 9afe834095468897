#include "MTestEnvironment.h"
#include "export/MMailMessage.h"

#include <QApplication>
#include <QtTest>

class TestMailMessage : public QObject
{
    Q_OBJECT

private slots:
    void composesTheWholeMessage();
    void encodedWord_data();
    void encodedWord();
    void encodedWords_data();
    void encodedWords();
    void quotedPrintableBody_data();
    void quotedPrintableBody();
    void base64Lines_data();
    void base64Lines();
    void dotStuffing_data();
    void dotStuffing();
    void headerVariants_data();
    void headerVariants();
    void dateText_data();
    void dateText();
    void stampSeedsIdAndBoundary();
    void sameMillisecondGivesOtherIds();
    void attachmentIsTakenInBlocks_data();
    void attachmentIsTakenInBlocks();
    void unreadableAttachmentStopsComposition();

private:
    static QDateTime sampleTime(int msec = 123);
    static QByteArray composed(MMailMessage& message, const QDateTime& now = sampleTime());
    static QByteArray bodyPart(const QByteArray& message);
};

QDateTime TestMailMessage::sampleTime(int msec)
{
    return QDateTime(QDate(2024, 3, 5), QTime(14, 3, 9, msec), Qt::OffsetFromUTC, 3600);
}

QByteArray TestMailMessage::composed(MMailMessage& message, const QDateTime& now)
{
    if (!message.compose(now))
        return QByteArray();
    QByteArray text;
    while (!message.atEnd())
        text += message.nextBlock();
    return text;
}

// The lines between the text part's header and its closing empty line.
QByteArray TestMailMessage::bodyPart(const QByteArray& message)
{
    const QByteArray start = "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    const int from = message.indexOf(start) + start.size();
    const int to = message.indexOf("\r\n\r\n--", from);
    return message.mid(from, to - from + 2);
}

void TestMailMessage::composesTheWholeMessage()
{
    MMailMessage message(QStringLiteral("Firma \"Alfa\" Sp. z o.o."), QStringLiteral("biuro@alfa.pl"),
                         QStringLiteral("jan.kowalski@example.com"), QStringLiteral("ksiegowosc@alfa.pl"),
                         QStringLiteral("Faktura nr 1/2024: płatność?"),
                         QStringLiteral("Dzień dobry,\nw załączeniu przesyłamy fakturę nr 1/2024 na kwotę 1 230,00 zł "
                                        "(termin = 14 dni).\n\nPozdrawiam\nZażółć gęślą jaźń"));
    message.addAttachment(QFINDTESTDATA("data/faktura.pdf"), QStringLiteral("FV_1_2024.pdf"));
    message.addAttachment(QStringLiteral("/nonexistent/folder/gone.pdf"), QStringLiteral("gone.pdf"));
    message.addAttachment(QFINDTESTDATA("data/zestawienie.bin"), QStringLiteral("Zestawienie \"zamówienia\".bin"));

    QFile expected(QFINDTESTDATA("data/message.eml"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(composed(message), expected.readAll());
}

void TestMailMessage::encodedWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("subject with colon, Polish letters and question mark")
        << QStringLiteral("Faktura nr 1/2024: płatność?")
        << QByteArray("=?utf-8?Q?Faktura_nr_1/2024=3A_p=C5=82atno=C5=9B=C4=87=3F?=");
    QTest::newRow("underscores of a file name") << QStringLiteral("FV_1_2024.pdf")
                                                << QByteArray("=?utf-8?Q?FV=5F1=5F2024=2Epdf?=");
    QTest::newRow("double quotes kept, encoded") << QStringLiteral("Firma \"Alfa\"")
                                                 << QByteArray("=?utf-8?Q?Firma_=22Alfa=22?=");
    QTest::newRow("address specials of a display name")
        << QStringLiteral("Usługi, Jan (Bank) <x@y.pl>;")
        << QByteArray("=?utf-8?Q?Us=C5=82ugi=2C_Jan_=28Bank=29_=3Cx=40y=2Epl=3E=3B?=");
    QTest::newRow("plain ASCII is encoded too") << QStringLiteral("Faktura") << QByteArray("=?utf-8?Q?Faktura?=");
    QTest::newRow("equals sign, tab and line feed") << QStringLiteral("a=b\tc\nd")
                                                    << QByteArray("=?utf-8?Q?a=3Db=09c=0Ad?=");
    QTest::newRow("empty text") << QString() << QByteArray("=?utf-8?Q?" "?=");
    QTest::newRow("long text is one word") << QString(40, QChar(0x0105))
                                           << "=?utf-8?Q?" + QByteArray("=C4=85").repeated(40) + "?=";
}

void TestMailMessage::encodedWord()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, word);
    QCOMPARE(MMailMessage::encodedWord(text), word);
}

void TestMailMessage::encodedWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("headerUsed");
    QTest::addColumn<QByteArray>("words");

    // 75 characters at most: ten letters of six encoded characters each fill a word.
    const QByteArray tenLetters = "=?utf-8?Q?" + QByteArray("=C4=85").repeated(10) + "?=";
    QTest::newRow("split between whole letters")
        << QString(40, QChar(0x0105)) << 0 << QByteArrayList{tenLetters, tenLetters, tenLetters, tenLetters}.join("\n ");
    QTest::newRow("first word leaves room for the header name")
        << QString(12, QChar(0x0105)) << 9
        << "=?utf-8?Q?" + QByteArray("=C4=85").repeated(9) + "?=\n =?utf-8?Q?" + QByteArray("=C4=85").repeated(3) + "?=";
    QTest::newRow("short text stays one word") << QStringLiteral("Faktura 1/2024") << 9
                                               << QByteArray("=?utf-8?Q?Faktura_1/2024?=");
}

void TestMailMessage::encodedWords()
{
    QFETCH(QString, text);
    QFETCH(int, headerUsed);
    QFETCH(QByteArray, words);
    QCOMPARE(MMailMessage::encodedWords(text, headerUsed), words);
}

void TestMailMessage::quotedPrintableBody_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QByteArray>("lines");

    const QString a72(72, QLatin1Char('a'));
    QTest::newRow("a line feed is a line end")
        << QStringLiteral("Zażółć\ngęślą jaźń")
        << QByteArray("Za=C5=BC=C3=B3=C5=82=C4=87\ng=C4=99=C5=9Bl=C4=85 ja=C5=BA=C5=84\n");
    QTest::newRow("CR LF is one line end, empty lines kept") << QStringLiteral("a\r\n\r\nb")
                                                            << QByteArray("a\n\nb\n");
    QTest::newRow("blank at a line end encoded") << QStringLiteral("a \nb ") << QByteArray("a=20\nb=20\n");
    QTest::newRow("equals sign, blank, tab and carriage return") << QStringLiteral("a = b\t\r")
                                                                   << QByteArray("a =3D b=09=0D\n");
    QTest::newRow("75 characters fill a line") << QString(75, QLatin1Char('a')) << QByteArray(75, 'a') + '\n';
    QTest::newRow("76th character goes to the next line")
        << QString(76, QLatin1Char('a')) << QByteArray(75, 'a') + "=\na\n";
    QTest::newRow("escape ending at column 75 stays")
        << a72 + QStringLiteral("ł") << QByteArray(72, 'a') + "=C5=\n=82\n";
    QTest::newRow("escape that would reach column 76 moves")
        << QString(73, QLatin1Char('a')) + QStringLiteral("ł") << QByteArray(73, 'a') + "=\n=C5=82\n";
    QTest::newRow("escape starting at column 75 moves")
        << QString(74, QLatin1Char('a')) + QStringLiteral("ż") << QByteArray(74, 'a') + "=\n=C5=BC\n";
    QTest::newRow("blank before a soft break is kept")
        << QString(74, QLatin1Char('a')) + QStringLiteral(" b") << QByteArray(74, 'a') + " =\nb\n";
    QTest::newRow("every following line holds 75 too")
        << QString(200, QLatin1Char('b'))
        << QByteArray(75, 'b') + "=\n" + QByteArray(75, 'b') + "=\n" + QByteArray(50, 'b') + '\n';
    QTest::newRow("Polish letters only")
        << QString(30, QChar(0x015B))
        << QByteArray("=C5=9B").repeated(12) + "=C5=\n=9B" + QByteArray("=C5=9B").repeated(12) + "=\n"
               + QByteArray("=C5=9B").repeated(5) + '\n';
}

void TestMailMessage::quotedPrintableBody()
{
    QFETCH(QString, body);
    QFETCH(QByteArray, lines);
    QCOMPARE(MMailMessage::quotedPrintableBody(body), lines);
    for (const QByteArray& line : lines.split('\n'))
        QVERIFY2(line.size() <= 76, line.constData());
}

void TestMailMessage::base64Lines_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("lineLengths");

    QTest::newRow("one byte") << 1 << QList<int>{4, 0};
    QTest::newRow("57 bytes make one full line and an empty one") << 57 << QList<int>{76, 0, 0};
    QTest::newRow("114 bytes make two full lines and an empty one") << 114 << QList<int>{76, 76, 0, 0};
    QTest::newRow("130 bytes end in a short line") << 130 << QList<int>{76, 76, 24, 0};
    QTest::newRow("empty file") << 0 << QList<int>{0, 0};
}

void TestMailMessage::base64Lines()
{
    QFETCH(int, size);
    QFETCH(QList<int>, lineLengths);

    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 151 + 7) % 256);
    const QByteArray lines = MMailMessage::base64Lines(data);

    QList<int> lengths;
    for (const QByteArray& line : lines.split('\n'))
        lengths.append(line.size());
    QCOMPARE(lengths, lineLengths);
    QCOMPARE(QByteArray::fromBase64(QByteArray(lines).replace('\n', QByteArray()),
                                    QByteArray::AbortOnBase64DecodingErrors),
             data);
}

void TestMailMessage::dotStuffing_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QByteArray>("transported");

    QTest::newRow("single full stop") << QStringLiteral(".") << QByteArray("..\r\n");
    QTest::newRow("body starting with a full stop") << QStringLiteral(".NET") << QByteArray("..NET\r\n");
    QTest::newRow("soft break before a full stop")
        << QString(75, QLatin1Char('a')) + QStringLiteral(".b") << QByteArray(75, 'a') + "=\r\n..b\r\n";
    QTest::newRow("full stop inside a line") << QStringLiteral("a.b") << QByteArray("a.b\r\n");
}

void TestMailMessage::dotStuffing()
{
    QFETCH(QString, body);
    QFETCH(QByteArray, transported);

    MMailMessage message(QString(), QStringLiteral("a@b.pl"), QStringLiteral("c@d.pl"), QString(),
                         QStringLiteral("Temat"), body);
    const QByteArray text = composed(message);
    QCOMPARE(bodyPart(text), transported);
    QVERIFY(!text.contains("\r\n.\r\n"));
}

void TestMailMessage::headerVariants_data()
{
    QTest::addColumn<QString>("senderName");
    QTest::addColumn<QString>("senderAddress");
    QTest::addColumn<QString>("copyAddress");
    QTest::addColumn<QByteArray>("headers");

    const QByteArray stamp = QByteArray::number(sampleTime().toMSecsSinceEpoch());
    const QByteArray id = QCryptographicHash::hash(stamp + "Id", QCryptographicHash::Md5).toHex();

    QTest::newRow("no sender name, no copy")
        << QString() << QStringLiteral("biuro@alfa.pl") << QString()
        << "Message-Id: <" + id + "@alfa.pl>\r\nTo: jan@beta.pl\r\nFrom: <biuro@alfa.pl>\r\nSubject: ";
    QTest::newRow("sender name and copy")
        << QStringLiteral("Jan Nowak") << QStringLiteral("biuro@alfa.pl") << QStringLiteral("kopia@alfa.pl")
        << "Message-Id: <" + id
               + "@alfa.pl>\r\nTo: jan@beta.pl\r\nCC: kopia@alfa.pl\r\nFrom: =?utf-8?Q?Jan_Nowak?=\r\n\t"
                 "<biuro@alfa.pl>\r\nSubject: ";
    QTest::newRow("sender address without at sign")
        << QString() << QStringLiteral("biuro") << QString()
        << "Message-Id: <" + id + "@localhost>\r\nTo: jan@beta.pl\r\nFrom: <biuro>\r\nSubject: ";
    QTest::newRow("sender address with two at signs")
        << QString() << QStringLiteral("a@b.pl@c.pl") << QString()
        << "Message-Id: <" + id + "@b.pl>\r\nTo: jan@beta.pl\r\nFrom: <a@b.pl@c.pl>\r\nSubject: ";
}

void TestMailMessage::headerVariants()
{
    QFETCH(QString, senderName);
    QFETCH(QString, senderAddress);
    QFETCH(QString, copyAddress);
    QFETCH(QByteArray, headers);

    MMailMessage message(senderName, senderAddress, QStringLiteral("jan@beta.pl"), copyAddress,
                         QStringLiteral("Temat"), QStringLiteral("Treść"));
    const QByteArray text = composed(message);
    QVERIFY(text.startsWith("Date: Tue, 05 Mar 2024 14:03:09 +0100\r\n"));
    QVERIFY2(text.contains("\r\n" + headers + "=?utf-8?Q?Temat?=\r\nMIME-Version: 1.0\r\n"), text.constData());
    QCOMPARE(text.count("\r\nCC: "), copyAddress.isEmpty() ? 0 : 1);
}

void TestMailMessage::dateText_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("winter time in Poland") << sampleTime() << QByteArray("Tue, 05 Mar 2024 14:03:09 +0100");
    QTest::newRow("zero offset, Sunday in December")
        << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59), Qt::OffsetFromUTC, 0)
        << QByteArray("Sun, 31 Dec 2023 23:59:59 +0000");
    QTest::newRow("negative offset with minutes")
        << QDateTime(QDate(2025, 7, 7), QTime(1, 2, 3), Qt::OffsetFromUTC, -(3 * 3600 + 30 * 60))
        << QByteArray("Mon, 07 Jul 2025 01:02:03 -0330");
    QTest::newRow("summer time, Saturday in June")
        << QDateTime(QDate(2024, 6, 1), QTime(8, 0, 0), Qt::OffsetFromUTC, 7200)
        << QByteArray("Sat, 01 Jun 2024 08:00:00 +0200");
}

void TestMailMessage::dateText()
{
    QFETCH(QDateTime, time);
    QFETCH(QByteArray, text);
    QCOMPARE(MMailMessage::dateText(time), text);
}

void TestMailMessage::stampSeedsIdAndBoundary()
{
    MMailMessage message(QString(), QStringLiteral("a@b.pl"), QStringLiteral("c@d.pl"), QString(),
                         QStringLiteral("Temat"), QStringLiteral("Treść"));
    const QByteArray first = composed(message);
    QCOMPARE(composed(message), first);

    const QByteArray stamp = QByteArray::number(sampleTime().toMSecsSinceEpoch());
    const QByteArray boundary = MMailMessage::boundary(stamp);
    QCOMPARE(boundary.size(), 37);
    QVERIFY(QRegularExpression(QStringLiteral("^----_=_NextPart_001_[0-9A-F]{8}\\.[0-9A-F]{8}$"))
                .match(QString::fromLatin1(boundary))
                .hasMatch());
    QVERIFY(first.contains("\tboundary=\"" + boundary + "\"\r\n"));
    QCOMPARE(first.count("--" + boundary + "\r\n"), 1);
    QVERIFY(first.endsWith("\r\n--" + boundary + "--\r\n"));

    const QByteArray later = composed(message, sampleTime(124));
    QVERIFY(!later.contains(boundary));
    QVERIFY(!later.contains(MMailMessage::messageId(stamp, QStringLiteral("a@b.pl"))));
}

// The time stamp alone repeats when two messages go within one millisecond.
void TestMailMessage::sameMillisecondGivesOtherIds()
{
    const QRegularExpression idPattern(QStringLiteral("Message-Id: <([0-9a-f]{32})@b\\.pl>\r\n"));
    const QRegularExpression boundaryPattern(QStringLiteral("boundary=\"(----_=_NextPart_001_[0-9A-F]{8}\\.[0-9A-F]{8})\""));
    QStringList ids;
    QStringList boundaries;
    for (int i = 0; i < 2; ++i) {
        MMailMessage message(QString(), QStringLiteral("a@b.pl"), QStringLiteral("c@d.pl"), QString(),
                             QStringLiteral("Temat"), QStringLiteral("Treść"));
        QVERIFY(message.compose(sampleTime(), MMailMessage::uniquifier()));
        const QString head = QString::fromLatin1(message.nextBlock());
        const QRegularExpressionMatch id = idPattern.match(head);
        const QRegularExpressionMatch boundary = boundaryPattern.match(head);
        QVERIFY2(id.hasMatch() && boundary.hasMatch(), qPrintable(head));
        ids.append(id.captured(1));
        boundaries.append(boundary.captured(1));
    }
    QVERIFY(ids.at(0) != ids.at(1));
    QVERIFY(boundaries.at(0) != boundaries.at(1));
}

void TestMailMessage::attachmentIsTakenInBlocks_data()
{
    QTest::addColumn<int>("size");

    // Files are read 57 * 1024 bytes at a time, whole base64 lines.
    QTest::newRow("one block exactly") << 57 * 1024;
    QTest::newRow("one byte past a block") << 57 * 1024 + 1;
    QTest::newRow("whole lines past three blocks") << 3 * 57 * 1024 + 57 * 5;
    QTest::newRow("two megabytes") << 2 * 1024 * 1024;
}

// However large the file, the text comes in small blocks that together make
// the same lines as the whole file encoded at once.
void TestMailMessage::attachmentIsTakenInBlocks()
{
    QFETCH(int, size);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 151 + i / 256) % 256);
    QFile file(folder.filePath(QStringLiteral("skan.bin")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(size));
    file.close();

    MMailMessage message(QString(), QStringLiteral("a@b.pl"), QStringLiteral("c@d.pl"), QString(),
                         QStringLiteral("Temat"), QStringLiteral("Treść"));
    message.addAttachment(file.fileName(), QStringLiteral("skan.bin"));
    QVERIFY(message.compose(sampleTime()));
    QByteArray text;
    while (!message.atEnd()) {
        const QByteArray block = message.nextBlock();
        QVERIFY2(block.size() <= 100 * 1024, QByteArray::number(block.size()).constData());
        text += block;
    }
    QVERIFY(!message.readFailed());

    const QByteArray start = "Content-Transfer-Encoding: base64\r\n\r\n";
    const int from = text.indexOf(start) + start.size();
    // Up to the line end before the closing delimiter.
    const int to = text.lastIndexOf("\r\n--") + 2;
    QVERIFY(from >= start.size() && to > from);
    QCOMPARE(text.mid(from, to - from),
             MMailMessage::base64Lines(data).replace("\n", "\r\n"));
}

void TestMailMessage::unreadableAttachmentStopsComposition()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MMailMessage message(QString(), QStringLiteral("a@b.pl"), QStringLiteral("c@d.pl"), QString(),
                         QStringLiteral("Temat"), QStringLiteral("Treść"));
    message.addAttachment(QFINDTESTDATA("data/faktura.pdf"), QStringLiteral("faktura.pdf"));
    // A folder exists but cannot be read as a file, whoever runs the test.
    message.addAttachment(folder.path(), QStringLiteral("folder.pdf"));

    QVERIFY(!message.compose(sampleTime()));
    QVERIFY(message.atEnd());
    QVERIFY(message.nextBlock().isEmpty());
}

INVOICE_TEST_MAIN(TestMailMessage)
#include "tst_mailmessage.moc"
