#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "documents/MInvoiceDbView.h"
#include "views/MFilterDbView.h"
#include "views/MItemRoles.h"
#include "views/MTableView.h"

#include <QDateTime>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

#include <ctime>
#include <memory>

// Whether an unpaid document is overdue is judged by the local date, in the list's payment
// text and in the filter tree alike. The process runs in a time zone far from UTC, chosen
// so that the local date and the UTC date differ while the test runs.
class TestOverdueToday : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listAndTreeAgreeOnOverdue();

private:
    std::unique_ptr<MTestDatabase> m_db;
};

void TestOverdueToday::initTestCase()
{
    // Kiritimati (UTC+14) is a day ahead of UTC from 10:00 UTC, Pago Pago (UTC-11) a day
    // behind until 11:00 UTC.
    const int utcHour = QDateTime::currentDateTimeUtc().time().hour();
    qputenv("TZ", utcHour >= 11 ? "Pacific/Kiritimati" : "Pacific/Pago_Pago");
    tzset();
    QVERIFY(QDate::currentDate() != QDateTime::currentDateTimeUtc().date());

    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
}

void TestOverdueToday::listAndTreeAgreeOnOverdue()
{
    const QDate today = QDate::currentDate();
    for (const QDate& due : {today.addDays(-1), today})
        MTestDatabase::insert(QStringLiteral("invoice"),
                              {{"invoice_kind", 0},
                               {"is_payed", 0},
                               {"date_put", "2024-03-05 00:00:00"},
                               {"date_sell", "2024-03-05 00:00:00"},
                               {"date_pay", due.toString(QStringLiteral("yyyy-MM-dd 00:00:00"))}});

    MInvoiceDbView view(nullptr, nullptr, 7);
    view.initWidget();
    view.show();
    view.afterInitWidget();

    const int paymentColumn = 12;
    const QAbstractItemModel* list = view.tableView()->model();
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts << list->index(row, paymentColumn).data().toString();
    texts.sort();
    QCOMPARE(texts, (QStringList{QStringLiteral("niezapłacone"), QStringLiteral("przeterminowane (1 dzień)")}));

    auto* tree = view.findChild<MFilterDbView*>()->findChild<QTreeView*>(QStringLiteral("filterTree"));
    QVERIFY(tree);
    const auto* model = qobject_cast<const QStandardItemModel*>(tree->model());
    QVERIFY(model);
    QStringList payment;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex group = model->index(row, 0);
        if (group.data(ItemRole::Value).toInt() != 4)
            continue;
        for (int child = 0; child < model->rowCount(group); ++child) {
            const QModelIndex entry = model->index(child, 0, group);
            payment << entry.data(ItemRole::Value).toString() + QLatin1Char('|') + entry.data().toString();
        }
    }
    payment.sort();
    QCOMPARE(payment, (QStringList{QStringLiteral("0|niezapłacone"), QStringLiteral("3|przeterminowane")}));
}

INVOICE_TEST_MAIN(TestOverdueToday)
#include "tst_overduetoday.moc"
