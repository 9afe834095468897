#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MProgramPaths.h"
#include "parties/MSellerLogo.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSqlQuery>
#include <QtTest>

// The seller's logo files and its seller_logo row: the preview reduced by the zoom,
// working copies that become the saved files only when the seller is stored.
class TestSellerLogo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void reducedDropsRemaindersAndBoundsTheZoom_data();
    void reducedDropsRemaindersAndBoundsTheZoom();
    void storedLogoBecomesWorkingCopiesWithItsZoom_data();
    void storedLogoBecomesWorkingCopiesWithItsZoom();
    void loadedImageIsStoredWholeAndPublishedReduced();
    void zoomRewritesTheWorkingPreview();
    void zoomWithoutLogoOnlyChangesTheDivisor();
    void removedLogoDeletesRowAndSavedFiles();
    void fileThatIsNoImageKeepsTheLogo();
    void sizeLimitAppliesToTheReducedImage_data();
    void sizeLimitAppliesToTheReducedImage();

private:
    QString writeImage(const QString& name, int width, int height);
    void storeLogo(int idSeller, int width, int height, int zoom);

    MTestDatabase m_db;
};

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestSellerLogo::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    MProgramPaths::pathTemp = m_db.path(QStringLiteral("temp/"));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("template/logo")));
}

void TestSellerLogo::init()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DELETE FROM seller_logo")));
    for (const QString& name : QDir(MProgramPaths::pathTemp + QStringLiteral("template/logo")).entryList(QDir::Files))
        QVERIFY(QFile::remove(MProgramPaths::pathTemp + QStringLiteral("template/logo/") + name));
}

QString TestSellerLogo::writeImage(const QString& name, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString fileName = m_db.path(name);
    if (!image.save(fileName))
        return QString();
    return fileName;
}

// The state a start of the program leaves: the row and both saved files.
void TestSellerLogo::storeLogo(int idSeller, int width, int height, int zoom)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));
    QVERIFY(image.save(MSellerLogo::savedPath(idSeller)));
    QVERIFY(MSellerLogo::reduced(image, zoom).save(MSellerLogo::savedPreviewPath(idSeller)));

    MTestDatabase::insert(QStringLiteral("seller_logo"), {{QStringLiteral("id_seller"), idSeller},
                                                          {QStringLiteral("zoom"), zoom},
                                                          {QStringLiteral("width"), width},
                                                          {QStringLiteral("height"), height},
                                                          {QStringLiteral("data"), data}});
}

void TestSellerLogo::reducedDropsRemaindersAndBoundsTheZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("x1 keeps the size") << 1 << QSize(1201, 502);
    QTest::newRow("x3 drops the remainders") << 3 << QSize(400, 167);
    QTest::newRow("x4") << 4 << QSize(300, 125);
    QTest::newRow("zoom 0 counts as x1") << 0 << QSize(1201, 502);
    QTest::newRow("negative zoom counts as x1") << -2 << QSize(1201, 502);
    QTest::newRow("zoom 9 counts as x4") << 9 << QSize(300, 125);
}

void TestSellerLogo::reducedDropsRemaindersAndBoundsTheZoom()
{
    QFETCH(int, zoom);
    QFETCH(QSize, expected);
    QImage image(1201, 502, QImage::Format_RGB32);
    image.fill(Qt::red);
    QCOMPARE(MSellerLogo::reduced(image, zoom).size(), expected);
}

void TestSellerLogo::storedLogoBecomesWorkingCopiesWithItsZoom_data()
{
    QTest::addColumn<int>("storedZoom");
    QTest::addColumn<int>("zoom");

    QTest::newRow("x2") << 2 << 2;
    QTest::newRow("x4") << 4 << 4;
    QTest::newRow("zoom 0 read as x1") << 0 << 1;
    QTest::newRow("zoom 7 read as x4") << 7 << 4;
}

void TestSellerLogo::storedLogoBecomesWorkingCopiesWithItsZoom()
{
    QFETCH(int, storedZoom);
    QFETCH(int, zoom);
    storeLogo(5, 800, 400, qBound(1, storedZoom, 4));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE seller_logo SET zoom = %1 WHERE id_seller = 5").arg(storedZoom)));
    // A working file left behind by a dialog closed with its window button.
    QVERIFY(!writeImage(QStringLiteral("stale.png"), 10, 10).isEmpty());
    QVERIFY(QFile::copy(m_db.path(QStringLiteral("stale.png")), MSellerLogo::workingPath(5)));

    MSellerLogo logo(5);
    logo.load();

    QCOMPARE(logo.zoom(), zoom);
    QCOMPARE(QImageReader(MSellerLogo::workingPath(5)).size(), QSize(800, 400));
    QVERIFY(logo.hasWorkingPreview());
    logo.setZoom(logo.zoom());
    QCOMPARE(logo.workingPreviewSize(), QSize(800 / zoom, 400 / zoom));
}

void TestSellerLogo::loadedImageIsStoredWholeAndPublishedReduced()
{
    const QString fileName = writeImage(QStringLiteral("logo.bmp"), 1200, 500);
    MSellerLogo logo(3);
    logo.setZoom(3);
    QVERIFY(logo.loadImage(fileName));
    QCOMPARE(logo.workingPreviewSize(), QSize(400, 166));
    QVERIFY(!logo.isPreviewTooLarge());

    QString error;
    QVERIFY2(logo.store(&error), qPrintable(error));
    logo.publish();

    QSqlQuery query(QStringLiteral("SELECT zoom, width, height, data FROM seller_logo WHERE id_seller = 3"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 3);
    QCOMPARE(query.value(1).toInt(), 1200);
    QCOMPARE(query.value(2).toInt(), 500);
    const QByteArray data = query.value(3).toByteArray();
    QVERIFY(data.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(data).size(), QSize(1200, 500));

    QFile saved(MSellerLogo::savedPath(3));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), data);
    QCOMPARE(QImageReader(MSellerLogo::savedPreviewPath(3)).size(), QSize(400, 166));
    logo.removeWorking();
    QVERIFY(!QFile::exists(MSellerLogo::workingPath(3)));
    QVERIFY(!QFile::exists(MSellerLogo::workingPreviewPath(3)));
    QVERIFY(QFile::exists(MSellerLogo::savedPath(3)));
}

void TestSellerLogo::zoomRewritesTheWorkingPreview()
{
    MSellerLogo logo(4);
    QVERIFY(logo.loadImage(writeImage(QStringLiteral("wide.png"), 1000, 300)));
    QCOMPARE(logo.workingPreviewSize(), QSize(1000, 300));
    QVERIFY(logo.isPreviewTooLarge());
    logo.setZoom(2);
    QCOMPARE(logo.workingPreviewSize(), QSize(500, 150));
    logo.setZoom(4);
    QCOMPARE(logo.workingPreviewSize(), QSize(250, 75));
    QCOMPARE(QImageReader(MSellerLogo::workingPath(4)).size(), QSize(1000, 300));
}

void TestSellerLogo::zoomWithoutLogoOnlyChangesTheDivisor()
{
    MSellerLogo logo(6);
    logo.setZoom(2);
    QCOMPARE(logo.zoom(), 2);
    QVERIFY(!logo.hasWorkingLogo());
    QVERIFY(!logo.hasWorkingPreview());

    QVERIFY(logo.loadImage(writeImage(QStringLiteral("later.png"), 100, 60)));
    QCOMPARE(logo.workingPreviewSize(), QSize(50, 30));
}

void TestSellerLogo::removedLogoDeletesRowAndSavedFiles()
{
    storeLogo(7, 300, 100, 1);
    MSellerLogo logo(7);
    logo.load();
    logo.removeWorking();

    QString error;
    QVERIFY2(logo.store(&error), qPrintable(error));
    logo.publish();

    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo WHERE id_seller = 7")), 0);
    for (const QString& path : {MSellerLogo::savedPath(7), MSellerLogo::savedPreviewPath(7),
                                MSellerLogo::workingPath(7), MSellerLogo::workingPreviewPath(7)})
        QVERIFY2(!QFile::exists(path), qPrintable(path));
}

void TestSellerLogo::fileThatIsNoImageKeepsTheLogo()
{
    MSellerLogo logo(8);
    QVERIFY(logo.loadImage(writeImage(QStringLiteral("first.png"), 40, 40)));

    QFile text(m_db.path(QStringLiteral("notes.png")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("to nie jest obrazek");
    text.close();

    const QByteArray preview = readAll(MSellerLogo::workingPreviewPath(8));
    QVERIFY(!preview.isEmpty());
    QVERIFY(!logo.loadImage(text.fileName()));
    QVERIFY(!logo.loadImage(m_db.path(QStringLiteral("missing.png"))));
    QVERIFY(logo.hasWorkingLogo());
    QCOMPARE(readAll(MSellerLogo::workingPreviewPath(8)), preview);
}

void TestSellerLogo::sizeLimitAppliesToTheReducedImage_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("tooLarge");

    QTest::newRow("400 x 200 fits") << QSize(400, 200) << 1 << false;
    QTest::newRow("401 wide is too wide") << QSize(401, 100) << 1 << true;
    QTest::newRow("201 high is too high") << QSize(100, 201) << 1 << true;
    QTest::newRow("1200 x 500 with x2 is too large") << QSize(1200, 500) << 2 << true;
    QTest::newRow("1200 x 500 with x3 fits") << QSize(1200, 500) << 3 << false;
}

void TestSellerLogo::sizeLimitAppliesToTheReducedImage()
{
    QFETCH(QSize, size);
    QFETCH(int, zoom);
    QFETCH(bool, tooLarge);
    MSellerLogo logo(9);
    logo.setZoom(zoom);
    QVERIFY(logo.loadImage(writeImage(QStringLiteral("limit.png"), size.width(), size.height())));
    QCOMPARE(logo.isPreviewTooLarge(), tooLarge);
}

INVOICE_TEST_MAIN(TestSellerLogo)
#include "tst_sellerlogo.moc"
