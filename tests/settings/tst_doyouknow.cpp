#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "resources/MResources.h"
#include "settings/MDoYouKnowWidget.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

class TestDoYouKnow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tipsComeInFileOrderAndWrapAround();
    void stripKeepsTheHeightOfItsTallestTip();
    void startsOnTheTipShownLast_data();
    void startsOnTheTipShownLast();
    void speedDecidesWhetherTipsTurnByThemselves_data();
    void speedDecidesWhetherTipsTurnByThemselves();
    void tipsTurnByThemselves();
    void switchingOffHidesAndStops();

private:
    void setOptions(const QString& show, const QString& speed, const QString& lastId);
    static QString shown(const MDoYouKnowWidget& widget);
    static void click(const MDoYouKnowWidget& widget, const char* button);
    static QString lastId();

    QTemporaryDir m_dir;
};

void TestDoYouKnow::initTestCase()
{
    initInvoiceResources();
}

void TestDoYouKnow::init()
{
    QVERIFY(MTestDatabase::connect(m_dir.filePath(QStringLiteral("Invoice.db3"))));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DROP TABLE IF EXISTS _options")));
    QVERIFY(query.exec(QStringLiteral(
        "CREATE TABLE _options (id VARCHAR(255) PRIMARY KEY, content TEXT NOT NULL DEFAULT '')")));
    MOptions::loadOptions();
}

void TestDoYouKnow::cleanup()
{
    MTestDatabase::close();
}

void TestDoYouKnow::setOptions(const QString& show, const QString& speed, const QString& lastId)
{
    MOptions::setOption(QStringLiteral("SHOW_DO_YOU_KNOW"), show);
    MOptions::setOption(QStringLiteral("DO_YOU_KNOW_SPEED"), speed);
    MOptions::setOption(QStringLiteral("DO_YOU_KNOW_LAST_ID"), lastId);
}

// The number over the count, as the panel shows it ("7/25").
QString TestDoYouKnow::shown(const MDoYouKnowWidget& widget)
{
    const QString text = widget.findChild<QLabel*>()->text();
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral(">(\\d+/\\d+)<")).match(text);
    return match.captured(1);
}

void TestDoYouKnow::click(const MDoYouKnowWidget& widget, const char* button)
{
    QTest::mouseClick(widget.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

QString TestDoYouKnow::lastId()
{
    return MTestDatabase::value(QStringLiteral("SELECT content FROM _options WHERE id = 'DO_YOU_KNOW_LAST_ID'"))
        .toString();
}

void TestDoYouKnow::tipsComeInFileOrderAndWrapAround()
{
    setOptions(QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"));
    MDoYouKnowWidget widget;
    widget.applyOptions();
    QCOMPARE(shown(widget), QStringLiteral("1/25"));
    QVERIFY(widget.findChild<QLabel*>()->text().contains(QStringLiteral("Aktualizacje programu.")));

    for (int id = 2; id <= 25; ++id) {
        click(widget, "nextButton");
        QCOMPARE(shown(widget), QStringLiteral("%1/25").arg(id));
        QCOMPARE(lastId(), QString::number(id));
    }
    QVERIFY(widget.findChild<QLabel*>()->text().contains(QStringLiteral("Ustawienia domyślne.")));

    click(widget, "nextButton");
    QCOMPARE(shown(widget), QStringLiteral("1/25"));
    click(widget, "prevButton");
    QCOMPARE(shown(widget), QStringLiteral("25/25"));
    QCOMPARE(MOptions::option(QStringLiteral("DO_YOU_KNOW_LAST_ID")), QStringLiteral("25"));
}

// Every tip fits the strip, and the strip keeps one height whatever tip it shows,
// so that the lists above it do not jump when the tips turn.
void TestDoYouKnow::stripKeepsTheHeightOfItsTallestTip()
{
    setOptions(QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"));
    MDoYouKnowWidget widget;
    widget.resize(700, 40);
    widget.applyOptions();
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    auto* label = widget.findChild<QLabel*>();
    // What a tip needs at the strip's width, measured on a label of its own.
    QLabel measure;
    measure.setWordWrap(true);
    measure.setStyleSheet(label->styleSheet());
    measure.ensurePolished();
    QSet<int> heights;
    QSet<int> neededHeights;
    for (int id = 1; id <= 25; ++id) {
        QApplication::processEvents();
        heights.insert(widget.sizeHint().height());
        measure.setText(label->text());
        const int needed = measure.heightForWidth(label->width());
        neededHeights.insert(needed);
        QVERIFY2(needed <= label->height(), qPrintable(shown(widget)));
        click(widget, "nextButton");
    }
    QVERIFY2(neededHeights.size() > 1, "the tips were meant to differ in length");
    QCOMPARE(heights.size(), 1);
}

void TestDoYouKnow::startsOnTheTipShownLast_data()
{
    QTest::addColumn<QString>("lastId");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("afterNext");
    QTest::newRow("last tip") << QStringLiteral("25") << QStringLiteral("25/25") << QStringLiteral("1/25");
    QTest::newRow("middle tip") << QStringLiteral("7") << QStringLiteral("7/25") << QStringLiteral("8/25");
    QTest::newRow("unknown id keeps the first") << QStringLiteral("99") << QStringLiteral("1/25")
                                                << QStringLiteral("2/25");
    QTest::newRow("not a number keeps the first") << QStringLiteral("x") << QStringLiteral("1/25")
                                                  << QStringLiteral("2/25");
}

void TestDoYouKnow::startsOnTheTipShownLast()
{
    QFETCH(QString, lastId);
    QFETCH(QString, expected);
    QFETCH(QString, afterNext);

    setOptions(QStringLiteral("1"), QStringLiteral("60"), lastId);
    MDoYouKnowWidget widget;
    widget.applyOptions();
    QCOMPARE(shown(widget), expected);
    click(widget, "nextButton");
    QCOMPARE(shown(widget), afterNext);
}

void TestDoYouKnow::speedDecidesWhetherTipsTurnByThemselves_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<bool>("turns");
    QTest::newRow("0 turns by hand only") << QStringLiteral("0") << false;
    QTest::newRow("1 second is too short and turns by hand only") << QStringLiteral("1") << false;
    QTest::newRow("empty turns by hand only") << QString() << false;
    QTest::newRow("60 seconds") << QStringLiteral("60") << true;
}

void TestDoYouKnow::speedDecidesWhetherTipsTurnByThemselves()
{
    QFETCH(QString, speed);
    QFETCH(bool, turns);

    setOptions(QStringLiteral("1"), speed, QStringLiteral("0"));
    MDoYouKnowWidget widget;
    widget.applyOptions();
    auto* timer = widget.findChild<QTimer*>();
    QCOMPARE(timer->isActive(), turns);
    if (turns)
        QCOMPARE(timer->interval(), speed.toInt() * 1000);

    // The arrows work either way.
    click(widget, "nextButton");
    QCOMPARE(shown(widget), QStringLiteral("2/25"));
    QCOMPARE(timer->isActive(), turns);
}

void TestDoYouKnow::tipsTurnByThemselves()
{
    setOptions(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("24"));
    MDoYouKnowWidget widget;
    widget.applyOptions();
    QCOMPARE(shown(widget), QStringLiteral("24/25"));
    QTRY_COMPARE_WITH_TIMEOUT(shown(widget), QStringLiteral("25/25"), 4000);
    QTRY_COMPARE_WITH_TIMEOUT(shown(widget), QStringLiteral("1/25"), 4000);
    QCOMPARE(lastId(), QStringLiteral("1"));
}

void TestDoYouKnow::switchingOffHidesAndStops()
{
    setOptions(QStringLiteral("1"), QStringLiteral("60"), QStringLiteral("5"));
    MDoYouKnowWidget widget;
    widget.applyOptions();
    QVERIFY(widget.isVisible());
    auto* timer = widget.findChild<QTimer*>();

    MOptions::setOption(QStringLiteral("SHOW_DO_YOU_KNOW"), QStringLiteral("0"));
    widget.applyOptions();
    QVERIFY(!widget.isVisible());
    QVERIFY(!timer->isActive());

    MOptions::setOption(QStringLiteral("SHOW_DO_YOU_KNOW"), QStringLiteral("1"));
    widget.applyOptions();
    QVERIFY(widget.isVisible());
    QVERIFY(timer->isActive());
    QCOMPARE(shown(widget), QStringLiteral("5/25"));
}

INVOICE_TEST_MAIN(TestDoYouKnow)
#include "tst_doyouknow.moc"
