#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "resources/MResources.h"
#include "settings/MPageSetupDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

// The page setup dialog over the options store of a database made by the schema script.
namespace {

// Sheet millimetres (212 x 299 pixels) to the pixels of the 159 x 225 preview.
int previewX(int x)
{
    return qRound(x * 159.0 / 212);
}

int previewY(int y)
{
    return qRound(y * 225.0 / 299);
}

} // namespace

class TestPageSetup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void storedTextsAreShownAndStoredBack_data();
    void storedTextsAreShownAndStoredBack();
    void cancelStoresNothing();
    void envelopePreviewFollowsTheWindow();
    void marginsPreviewFollowsEveryMargin_data();
    void marginsPreviewFollowsEveryMargin();

private:
    static QSpinBox* spinBox(const MPageSetupDlg& dialog, const char* name);
    static QImage preview(const MPageSetupDlg& dialog, const char* name);
    static void click(MPageSetupDlg& dialog, const QString& text);
    // The four spin boxes of a tab in the order the stored text has them.
    static QString shownMargins(const MPageSetupDlg& dialog);
    static QString shownEnvelope(const MPageSetupDlg& dialog);

    QScopedPointer<MTestDatabase> m_db;
};

void TestPageSetup::initTestCase()
{
    initInvoiceResources();
}

void TestPageSetup::init()
{
    m_db.reset(new MTestDatabase);
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("5;5;5;5"));
    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), QStringLiteral("115;55;25;45"));
}

void TestPageSetup::cleanup()
{
    m_db.reset();
}

QSpinBox* TestPageSetup::spinBox(const MPageSetupDlg& dialog, const char* name)
{
    return dialog.findChild<QSpinBox*>(QLatin1String(name));
}

QImage TestPageSetup::preview(const MPageSetupDlg& dialog, const char* name)
{
    return dialog.findChild<QLabel*>(QLatin1String(name))->pixmap(Qt::ReturnByValue).toImage();
}

void TestPageSetup::click(MPageSetupDlg& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text)
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

QString TestPageSetup::shownMargins(const MPageSetupDlg& dialog)
{
    QStringList values;
    for (const char* name : {"marginLeft", "marginTop", "marginRight", "marginBottom"})
        values.append(QString::number(spinBox(dialog, name)->value()));
    return values.join(QLatin1Char(';'));
}

QString TestPageSetup::shownEnvelope(const MPageSetupDlg& dialog)
{
    QStringList values;
    for (const char* name : {"envelopeLeft", "envelopeTop", "envelopeRight", "envelopeHeight"})
        values.append(QString::number(spinBox(dialog, name)->value()));
    return values.join(QLatin1Char(';'));
}

void TestPageSetup::storedTextsAreShownAndStoredBack_data()
{
    QTest::addColumn<QString>("margins");
    QTest::addColumn<QString>("envelope");
    QTest::addColumn<QString>("shownMargins");
    QTest::addColumn<QString>("shownEnvelope");

    QTest::newRow("defaults") << "5;5;5;5" << "115;55;25;45" << "5;5;5;5" << "115;55;25;45";
    QTest::newRow("envelope left above its range") << "5;5;5;5" << "150;55;25;45" << "5;5;5;5" << "130;55;25;45";
    QTest::newRow("every envelope value above") << "5;5;5;5" << "131;71;31;61" << "5;5;5;5" << "130;70;30;60";
    QTest::newRow("every envelope value below") << "5;5;5;5" << "99;39;9;29" << "5;5;5;5" << "100;40;10;30";
    QTest::newRow("a margin above 50") << "60;0;51;7" << "115;55;25;45" << "50;0;50;7" << "115;55;25;45";
    QTest::newRow("fractional margins round") << "4.6;5.4;0.5;12" << "115;55;25;45" << "5;5;1;12" << "115;55;25;45";
    QTest::newRow("envelope part not a number") << "5;5;5;5" << "x;60;20;40" << "5;5;5;5" << "100;60;20;40";
    QTest::newRow("envelope of two parts") << "5;5;5;5" << "120;60" << "5;5;5;5" << "120;60;25;45";
    QTest::newRow("envelope never stored") << "5;5;5;5" << "" << "5;5;5;5" << "115;55;25;45";
    QTest::newRow("margins of two parts") << "7;8" << "115;55;25;45" << "5;5;5;5" << "115;55;25;45";
}

void TestPageSetup::storedTextsAreShownAndStoredBack()
{
    QFETCH(QString, margins);
    QFETCH(QString, envelope);
    QFETCH(QString, shownMargins);
    QFETCH(QString, shownEnvelope);

    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), margins);
    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), envelope);

    MPageSetupDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ustawienia strony"));
    auto* tabs = dialog.findChild<QTabWidget*>();
    QCOMPARE(tabs->tabText(0) + QLatin1Char('|') + tabs->tabText(1), QStringLiteral("Marginesy|Okienko"));
    QCOMPARE(TestPageSetup::shownMargins(dialog), shownMargins);
    QCOMPARE(TestPageSetup::shownEnvelope(dialog), shownEnvelope);

    click(dialog, QStringLiteral("OK"));
    QVERIFY(dialog.isHidden());
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("PRINTER_MARGINS")), shownMargins);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS")), shownEnvelope);
}

void TestPageSetup::cancelStoresNothing()
{
    MPageSetupDlg dialog;
    spinBox(dialog, "marginLeft")->setValue(20);
    spinBox(dialog, "envelopeHeight")->setValue(33);
    click(dialog, QStringLiteral("Anuluj"));
    QVERIFY(dialog.isHidden());
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("PRINTER_MARGINS")), QStringLiteral("5;5;5;5"));
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS")), QStringLiteral("115;55;25;45"));
    QCOMPARE(MOptions::option(QStringLiteral("PRINTER_MARGINS")), QStringLiteral("5;5;5;5"));
}

void TestPageSetup::envelopePreviewFollowsTheWindow()
{
    auto at = [](const QImage& image, int x, int y) { return image.pixelColor(previewX(x), previewY(y)); };

    MPageSetupDlg dialog;
    QImage image = preview(dialog, "envelopePreview");
    QCOMPARE(image.size(), QSize(159, 225));
    // The window spans 115..185 across and 55..99 down.
    QCOMPARE(at(image, 150, 62), QColor(Qt::green));
    QCOMPARE(at(image, 150, 120), QColor(Qt::white));
    QCOMPARE(at(image, 60, 62), QColor(Qt::white));

    spinBox(dialog, "envelopeTop")->setValue(70);
    image = preview(dialog, "envelopePreview");
    QCOMPARE(at(image, 150, 62), QColor(Qt::white));
    QCOMPARE(at(image, 150, 90), QColor(Qt::green));

    spinBox(dialog, "envelopeLeft")->setValue(100);
    QCOMPARE(at(preview(dialog, "envelopePreview"), 108, 90), QColor(Qt::green));
}

void TestPageSetup::marginsPreviewFollowsEveryMargin_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("value");
    // The column (x) or row (y) of the sheet that the dashed line moves to.
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("line");

    QTest::newRow("left") << QByteArray("marginLeft") << 40 << true << 40;
    QTest::newRow("right") << QByteArray("marginRight") << 40 << true << 171;
    QTest::newRow("top") << QByteArray("marginTop") << 40 << false << 40;
    QTest::newRow("bottom") << QByteArray("marginBottom") << 40 << false << 258;
}

void TestPageSetup::marginsPreviewFollowsEveryMargin()
{
    QFETCH(QByteArray, name);
    QFETCH(int, value);
    QFETCH(bool, vertical);
    QFETCH(int, line);

    // The darkest pixel across the preview at the line's place, away from the "A4" text.
    auto darkness = [vertical, line](const QImage& image) {
        int darkest = 255;
        const int place = vertical ? previewX(line) : previewY(line);
        for (int along = 10; along < (vertical ? 60 : 40); ++along) {
            const QColor color = vertical ? image.pixelColor(place, along) : image.pixelColor(along, place);
            darkest = qMin(darkest, color.value());
        }
        return darkest;
    };

    MPageSetupDlg dialog;
    QCOMPARE(darkness(preview(dialog, "marginsPreview")), 255);
    spinBox(dialog, name.constData())->setValue(value);
    QVERIFY(darkness(preview(dialog, "marginsPreview")) < 255);
}

INVOICE_TEST_MAIN(TestPageSetup)
#include "tst_pagesetup.moc"
