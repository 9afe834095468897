#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "views/MListFont.h"
#include "views/MSqlQueryModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

class TestQueryModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void columnKindsFormatAlignAndGiveRawValues_data();
    void columnKindsFormatAlignAndGiveRawValues();
    void everyCellHasTheListFont();
    void defaultRowIsPaintedAcrossAllColumns();
    void cellsAreDraggableNeverEditable();
    void rowsAreFetchedLazilyAndPassTheModelTester();
    void kindsAndDefaultRowSurviveARequery();
};

void TestQueryModel::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QVERIFY(MTestDatabase::connect(QStringLiteral(":memory:")));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE number (id INTEGER PRIMARY KEY, name TEXT, amount NUMBER(16, 4))")));
    QVERIFY(query.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                                      "INSERT INTO number SELECT i, 'wiersz ' || i, i / 4.0 FROM n")));
}

void TestQueryModel::cleanupTestCase()
{
    MTestDatabase::close();
}

void TestQueryModel::columnKindsFormatAlignAndGiveRawValues_data()
{
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QString>("sqlValue");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("rightAligned");
    QTest::addColumn<QVariant>("raw");

    const auto kind = [](int k) { return QList<int>{ k }; };
    QTest::newRow("text as stored, blanks kept") << kind(0) << "'Łódź  '" << "Łódź  " << false << QVariant("Łódź  ");
    QTest::newRow("integer from text with zeros") << kind(1) << "'007'" << "7" << true << QVariant(7);
    QTest::newRow("integer of a whole number") << kind(1) << "42" << "42" << true << QVariant(42);
    QTest::newRow("integer of unreadable text") << kind(1) << "'x1'" << "0" << true << QVariant(0);
    QTest::newRow("two decimals") << kind(2) << "12.5" << "12,50" << true << QVariant(12.5);
    QTest::newRow("amount, no group separator") << kind(3) << "1234567.891" << "1234567,89" << true
                                                << QVariant(1234567.891);
    QTest::newRow("amount stored as text") << kind(3) << "'3.5'" << "3,50" << true << QVariant(3.5);
    QTest::newRow("negative amount") << kind(3) << "-0.5" << "-0,50" << true << QVariant(-0.5);
    QTest::newRow("unreadable amount counts as zero") << kind(3) << "'abc'" << "0,00" << true << QVariant(0.0);
    QTest::newRow("second text kind") << kind(4) << "'abc'" << "abc" << false << QVariant("abc");
    QTest::newRow("four decimals") << kind(5) << "2.5" << "2,5000" << true << QVariant(2.5);
    QTest::newRow("tax identifier as stored") << kind(6) << "'123-456-32-18'" << "123-456-32-18" << false
                                              << QVariant("123-456-32-18");
    QTest::newRow("amount with currency, four decimals") << kind(7) << "'12.5 EUR'" << "12,5000 EUR" << true
                                                         << QVariant("12.5 EUR");
    QTest::newRow("currency after two blanks unchanged") << kind(7) << "'12.5  EUR'" << "12.5  EUR" << true
                                                         << QVariant("12.5  EUR");
    QTest::newRow("amount without currency unchanged") << kind(7) << "'12.5'" << "12.5" << true << QVariant("12.5");
    QTest::newRow("right-aligned text") << kind(8) << "'FV/1/2024'" << "FV/1/2024" << true << QVariant("FV/1/2024");
    QTest::newRow("amount with currency, two decimals") << kind(9) << "'1000 PLN'" << "1000,00 PLN" << true
                                                        << QVariant("1000 PLN");
    QTest::newRow("unknown kind behaves as text") << kind(42) << "12.5" << "12.5" << false << QVariant(12.5);
    QTest::newRow("column beyond the kinds") << QList<int>{} << "12.5" << "12.5" << false << QVariant(12.5);
}

void TestQueryModel::columnKindsFormatAlignAndGiveRawValues()
{
    QFETCH(QList<int>, kinds);
    QFETCH(QString, sqlValue);
    QFETCH(QString, display);
    QFETCH(bool, rightAligned);
    QFETCH(QVariant, raw);

    MSqlQueryModel model;
    model.setColumnKinds(kinds);
    model.setQuery(QStringLiteral("SELECT ") + sqlValue);
    QCOMPARE(model.rowCount(), 1);
    const QModelIndex cell = model.index(0, 0);

    QCOMPARE(cell.data(Qt::DisplayRole).toString(), display);
    QCOMPARE(cell.data(Qt::EditRole).toString(), display);
    const int alignment = cell.data(Qt::TextAlignmentRole).toInt();
    QCOMPARE(alignment, int((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));

    const QVariant user = cell.data(Qt::UserRole);
    if (raw.type() == QVariant::Double) {
        QCOMPARE(user.type(), QVariant::Double);
        QCOMPARE(user.toDouble(), raw.toDouble());
    } else if (raw.type() == QVariant::Int) {
        QVERIFY(user.canConvert<qlonglong>());
        QCOMPARE(user.toLongLong(), raw.toLongLong());
    } else {
        QCOMPARE(user.toString(), raw.toString());
    }
}

void TestQueryModel::everyCellHasTheListFont()
{
    MSqlQueryModel model;
    model.setColumnKinds({ 1, 0 });
    model.setQuery(QStringLiteral("SELECT id, name FROM number WHERE id <= 2"));
    for (int column = 0; column < 2; ++column) {
        const QFont font = model.index(1, column).data(Qt::FontRole).value<QFont>();
        QCOMPARE(font.family(), QStringLiteral("Arial"));
        QCOMPARE(font.pointSize(), listFontSize());
        QCOMPARE(font.weight(), int(QFont::Normal));
        QVERIFY(!font.italic());
    }
    QVERIFY(!model.data(QModelIndex(), Qt::FontRole).isValid());
}

void TestQueryModel::defaultRowIsPaintedAcrossAllColumns()
{
    MSqlQueryModel model;
    model.setQuery(QStringLiteral("SELECT id, name, amount FROM number WHERE id <= 5"));
    QCOMPARE(model.rowDefault(), -1);
    for (int row = 0; row < 5; ++row)
        QVERIFY(!model.index(row, 0).data(Qt::BackgroundRole).isValid());

    model.setRowDefault(3);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QVariant background = model.index(row, column).data(Qt::BackgroundRole);
            if (row != 3) {
                QVERIFY(!background.isValid());
                continue;
            }
            const QBrush brush = background.value<QBrush>();
            QCOMPARE(brush.color(), QColor(Qt::green));
            QCOMPARE(brush.style(), Qt::Dense5Pattern);
        }
    }
    // An invalid index is no row, not even the "none" row -1.
    model.setRowDefault(-1);
    QVERIFY(!model.data(QModelIndex(), Qt::BackgroundRole).isValid());
}

void TestQueryModel::cellsAreDraggableNeverEditable()
{
    MSqlQueryModel model;
    model.setQuery(QStringLiteral("SELECT id, name FROM number WHERE id <= 2"));
    QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
    QCOMPARE(model.flags(model.index(1, 1)), Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.mimeTypes().contains(QStringLiteral("application/x-qabstractitemmodeldatalist")));
}

void TestQueryModel::rowsAreFetchedLazilyAndPassTheModelTester()
{
    MSqlQueryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumnKinds({ 1, 0, 3 });
    model.setQuery(QStringLiteral("SELECT id, name, amount FROM number ORDER BY id"));
    QVERIFY(model.rowCount() > 0);
    QVERIFY(model.rowCount() < 1000);
    QVERIFY(model.canFetchMore());
    while (model.canFetchMore())
        model.fetchMore();
    QCOMPARE(model.rowCount(), 1000);
    QCOMPARE(model.index(999, 2).data().toString(), QStringLiteral("250,00"));
    QCOMPARE(model.index(999, 0).data().toInt(), 1000);
    model.setQuery(QStringLiteral("SELECT id, name, amount FROM number WHERE id > 990"));
    QCOMPARE(model.rowCount(), 10);
    QSqlQuery executed(QStringLiteral("SELECT id, name, amount FROM number WHERE id <= 3 ORDER BY id DESC"));
    model.setQuery(executed);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 0).data().toInt(), 3);
    QCOMPARE(model.record(2).value(0).toInt(), 1);
    // An executed query is read to its end at once, so that it keeps no statement open.
    model.setQuery(QSqlQuery(QStringLiteral("SELECT id, name, amount FROM number ORDER BY id")));
    QCOMPARE(model.rowCount(), 1000);
    QVERIFY(!model.canFetchMore());
    QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
}

void TestQueryModel::kindsAndDefaultRowSurviveARequery()
{
    MSqlQueryModel model;
    model.setColumnKinds({ 1, 0, 5 });
    model.setRowDefault(1);
    model.setQuery(QStringLiteral("SELECT id, name, amount FROM number WHERE id <= 3"));
    model.setQuery(QStringLiteral("SELECT id, name, amount FROM number WHERE id > 996"));
    QCOMPARE(model.columnKinds(), QList<int>({ 1, 0, 5 }));
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("249,2500"));
    QVERIFY(model.index(1, 0).data(Qt::BackgroundRole).isValid());
}

INVOICE_TEST_MAIN(TestQueryModel)
#include "tst_querymodel.moc"
