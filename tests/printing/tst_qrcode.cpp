#include "MTestEnvironment.h"
#include "data/MQrCode.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The payment QR code as a picture: the symbol libqrencode makes, the image drawn from it,
// the PNG file a banking application must be able to read, and the element that shows it.
class TestQrCode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void modulesMatchTheQrencodeCommand_data();
    void modulesMatchTheQrencodeCommand();
    void imageDrawsEveryModule_data();
    void imageDrawsEveryModule();
    void savedPngDecodesToTheText_data();
    void savedPngDecodesToTheText();
    void displaySize_data();
    void displaySize();
    void elementNamesTheFileByTheTextsMd5_data();
    void elementNamesTheFileByTheTextsMd5();
    void noElementWithoutAPicture_data();
    void noElementWithoutAPicture();

private:
    QTemporaryDir m_dir;
};

namespace {

// A payment text as documents carry it, and one with every field at its longest
// (20-character name, 32-character number, both of two-byte Polish letters), which no
// longer fits a version-5 symbol.
const QString shortPayment = QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma|FV 1/2026|||");
const QString longestPayment = QString::fromUtf8("5260250274|PL|61109010140000071219812874|999999999|"
                                                 "Łąkowa Żółć Ślęża Sp|ŻÓŁĆ-ŚĄĘ-ŹŃ-ŁÓDŹ-GĘŚLĄ-JAŹŃ-1234|||");

// The modules of `-t ASCII` output: two characters per module, "##" dark.
QStringList qrencodeRows(const QString& text)
{
    QProcess qrencode;
    qrencode.start(QStringLiteral("qrencode"), {QStringLiteral("-v"), QStringLiteral("5"), QStringLiteral("-l"),
                                                QStringLiteral("L"), QStringLiteral("-m"), QStringLiteral("0"),
                                                QStringLiteral("-t"), QStringLiteral("ASCII"), QStringLiteral("-o"),
                                                QStringLiteral("-")});
    if (!qrencode.waitForStarted())
        return {};
    qrencode.write(text.toUtf8());
    qrencode.closeWriteChannel();
    if (!qrencode.waitForFinished() || qrencode.exitCode() != 0)
        return {};
    return QString::fromLatin1(qrencode.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray zbarDecode(const QString& png)
{
    QProcess zbarimg;
    // The bytes as the symbol holds them, without zbar's guess of their character set.
    zbarimg.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sbinary"), png});
    if (!zbarimg.waitForFinished())
        return QByteArray();
    return zbarimg.readAllStandardOutput();
}

bool isBlack(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

}

void TestQrCode::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestQrCode::modulesMatchTheQrencodeCommand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");

    QTest::newRow("short ascii") << QStringLiteral("abc") << 37;
    QTest::newRow("payment") << shortPayment << 37;
    QTest::newRow("mixed case stays case-sensitive") << QStringLiteral("Faktura fv/1/2026 ABC abc") << 37;
    QTest::newRow("longest payment needs version 6") << longestPayment << 41;
}

void TestQrCode::modulesMatchTheQrencodeCommand()
{
    QFETCH(QString, text);
    QFETCH(int, width);

    const QStringList rows = qrencodeRows(text);
    QVERIFY2(!rows.isEmpty(), "qrencode (Debian package qrencode) did not run");

    const MQrCode code = MQrCode::encode(text);
    QVERIFY(!code.isNull());
    QCOMPARE(code.width(), width);
    QCOMPARE(rows.size(), width);
    for (int r = 0; r < width; ++r) {
        QCOMPARE(rows.at(r).size(), 2 * width);
        QString ours;
        for (int c = 0; c < width; ++c)
            ours += code.isDark(r, c) ? QStringLiteral("##") : QStringLiteral("  ");
        QCOMPARE(ours, rows.at(r));
    }
}

void TestQrCode::imageDrawsEveryModule_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("argb");
    QTest::addColumn<int>("format");

    QTest::newRow("paper, scale 8") << 8 << false << int(QImage::Format_Mono);
    QTest::newRow("preview, scale 8") << 8 << true << int(QImage::Format_ARGB32);
    QTest::newRow("paper, scale 3") << 3 << false << int(QImage::Format_Mono);
    QTest::newRow("scale 0 counts as 1") << 0 << true << int(QImage::Format_ARGB32);
}

void TestQrCode::imageDrawsEveryModule()
{
    QFETCH(int, scale);
    QFETCH(bool, argb);
    QFETCH(int, format);

    const MQrCode code = MQrCode::encode(shortPayment);
    QCOMPARE(code.width(), 37);
    const QImage image = code.image(scale, argb);
    const int module = qMax(scale, 1);
    QCOMPARE(image.size(), QSize(37 * module, 37 * module));
    QCOMPARE(int(image.format()), format);

    for (int r = 0; r < 37; ++r) {
        for (int c = 0; c < 37; ++c) {
            // Both corners of the module, so that a shifted or shrunk square shows.
            QCOMPARE(isBlack(image, c * module, r * module), code.isDark(r, c));
            QCOMPARE(isBlack(image, c * module + module - 1, r * module + module - 1), code.isDark(r, c));
        }
    }
}

void TestQrCode::savedPngDecodesToTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("preview");

    QTest::newRow("payment, paper") << shortPayment << false;
    QTest::newRow("payment, preview") << shortPayment << true;
    QTest::newRow("longest payment, paper") << longestPayment << false;
    QTest::newRow("longest payment, preview") << longestPayment << true;
}

void TestQrCode::savedPngDecodesToTheText()
{
    QFETCH(QString, text);
    QFETCH(bool, preview);

    const QString folder = m_dir.path() + QStringLiteral("/decode/");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(!MQrCode::htmlImage(text, folder, preview, 96, 96, 20, 20, 8).isEmpty());

    // A reader needs the quiet zone around the symbol, which the document's page gives.
    const QImage saved(folder + MQrCode::fileName(text, preview));
    QCOMPARE(saved.size(), QSize(296, 296));
    QImage framed(saved.width() + 64, saved.height() + 64, QImage::Format_RGB32);
    framed.fill(Qt::white);
    QPainter(&framed).drawImage(32, 32, saved);
    const QString framedPath = folder + QStringLiteral("framed.png");
    QVERIFY(framed.save(framedPath));

    QCOMPARE(zbarDecode(framedPath), text.toUtf8());
}

void TestQrCode::displaySize_data()
{
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<int>("widthMM");
    QTest::addColumn<int>("heightMM");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("96 dpi, 20 mm, scale 8") << 96 << 96 << 20 << 20 << 8 << QSize(75, 75);
    QTest::newRow("rounded at scale 1") << 96 << 96 << 20 << 20 << 1 << QSize(76, 76);
    QTest::newRow("scale 0 counts as 1") << 96 << 96 << 20 << 20 << 0 << QSize(76, 76);
    QTest::newRow("negative scale counts as 1") << 96 << 96 << 20 << 20 << -4 << QSize(76, 76);
    QTest::newRow("each axis its own dpi and size") << 300 << 96 << 20 << 30 << 8 << QSize(236, 113);
}

void TestQrCode::displaySize()
{
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(int, widthMM);
    QFETCH(int, heightMM);
    QFETCH(int, scale);
    QFETCH(QSize, expected);

    QCOMPARE(MQrCode::displaySize(dpiX, dpiY, widthMM, heightMM, scale), expected);
}

void TestQrCode::elementNamesTheFileByTheTextsMd5_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("paper") << false << QStringLiteral("qrcode_");
    QTest::newRow("preview") << true << QStringLiteral("qrcode_preview_");
}

void TestQrCode::elementNamesTheFileByTheTextsMd5()
{
    QFETCH(bool, preview);
    QFETCH(QString, prefix);

    const QString folder = m_dir.path() + QStringLiteral("/names/");
    QVERIFY(QDir().mkpath(folder));
    const QString md5 = QString::fromLatin1(QCryptographicHash::hash(shortPayment.toUtf8(), QCryptographicHash::Md5).toHex());
    const QString path = folder + prefix + md5 + QStringLiteral(".png");

    const QString element = MQrCode::htmlImage(shortPayment, folder, preview, 96, 96, 20, 20, 8);
    QCOMPARE(element, QStringLiteral("<img src=\"%1\" width=\"75\" height=\"75\" border=\"0\">").arg(path));
    QVERIFY(QFileInfo(path).isFile());
    // A second run of the same text writes the same file again.
    QVERIFY(QFile::remove(path));
    QCOMPARE(MQrCode::htmlImage(shortPayment, folder, preview, 96, 96, 20, 20, 8), element);
    QCOMPARE(QImage(path).size(), QSize(296, 296));
}

void TestQrCode::noElementWithoutAPicture_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("folderAtThePngsPath");

    QTest::newRow("empty text") << QString() << false;
    QTest::newRow("text beyond any symbol") << QString(8000, QLatin1Char('x')) << false;
    QTest::newRow("png cannot be written") << shortPayment << true;
}

void TestQrCode::noElementWithoutAPicture()
{
    QFETCH(QString, text);
    QFETCH(bool, folderAtThePngsPath);

    const QString folder = m_dir.path() + QStringLiteral("/blocked/");
    QVERIFY(QDir().mkpath(folder));
    if (folderAtThePngsPath)
        QVERIFY(QDir().mkpath(folder + MQrCode::fileName(text, false)));

    QCOMPARE(MQrCode::htmlImage(text, folder, false, 96, 96, 20, 20, 8), QString());
}

INVOICE_TEST_MAIN(TestQrCode)
#include "tst_qrcode.moc"
