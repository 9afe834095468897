#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "catalog/MCurrencyRatingDlg.h"
#include "catalog/MEndTextDlg.h"
#include "parties/MBankDlg.h"
#include "parties/MBuyerCatalogDlg.h"
#include "parties/MBuyerCatalogJoinDlg.h"
#include "parties/MBuyerDlg.h"
#include "parties/MSellerDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include <functional>
#include <memory>

using DialogFactory = std::function<QDialog*(QWidget*)>;
Q_DECLARE_METATYPE(DialogFactory)

// Every record dialog opens with the focus in its first field, and "OK" and
// "Anuluj" come last in its tab order, so that a key typed at once goes into
// the form instead of storing an empty record.
class TestRecordDlgFocus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstFieldHasTheFocusAndButtonsComeLast_data();
    void firstFieldHasTheFocusAndButtonsComeLast();

private:
    std::unique_ptr<MTestDatabase> m_db;
};

void TestRecordDlgFocus::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestRecordDlgFocus::firstFieldHasTheFocusAndButtonsComeLast_data()
{
    QTest::addColumn<DialogFactory>("makeDialog");

    QTest::newRow("buyer") << DialogFactory([](QWidget* owner) { return new MBuyerDlg(owner, false); });
    QTest::newRow("buyer in invoice mode") << DialogFactory([](QWidget* owner) { return new MBuyerDlg(owner, true); });
    QTest::newRow("seller") << DialogFactory([](QWidget* owner) { return new MSellerDlg(owner, false); });
    QTest::newRow("buyer catalog") << DialogFactory([](QWidget* owner) { return new MBuyerCatalogDlg(owner); });
    QTest::newRow("catalog membership") << DialogFactory([](QWidget* owner) { return new MBuyerCatalogJoinDlg(owner); });
    QTest::newRow("bank account")
        << DialogFactory([](QWidget* owner) { return new MBankDlg(owner, MBankDlg::ModeSellerBank); });
    QTest::newRow("closing text") << DialogFactory([](QWidget* owner) { return new MEndTextDlg(owner); });
    QTest::newRow("currency rating")
        << DialogFactory([](QWidget* owner) { return new MCurrencyRatingDlg(owner, false); });
}

void TestRecordDlgFocus::firstFieldHasTheFocusAndButtonsComeLast()
{
    QFETCH(DialogFactory, makeDialog);

    MTestOwner owner;
    QDialog* dialog = makeDialog(&owner);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));

    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QVERIFY(dialog->isAncestorOf(focused));
    QVERIFY2(!qobject_cast<QPushButton*>(focused) && !qobject_cast<QTabBar*>(focused),
             focused->metaObject()->className());

    // The widgets that Tab reaches, in order, from the focused field round to it again.
    QList<QWidget*> chain;
    for (QWidget* widget = focused->nextInFocusChain(); widget != focused; widget = widget->nextInFocusChain()) {
        if (dialog->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()
            && widget->isVisibleTo(dialog))
            chain.append(widget);
    }
    // After the fields come "OK" and "Anuluj"; past them only the tab bar leads back round.
    int cancelIndex = chain.size() - 1;
    while (cancelIndex >= 0 && (qobject_cast<QTabBar*>(chain.at(cancelIndex)) || chain.at(cancelIndex)->focusProxy()))
        --cancelIndex;
    QVERIFY(cancelIndex >= 1);
    const auto* ok = qobject_cast<QPushButton*>(chain.at(cancelIndex - 1));
    const auto* cancel = qobject_cast<QPushButton*>(chain.at(cancelIndex));
    QVERIFY(ok && cancel);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Anuluj"));
    delete dialog;
}

INVOICE_TEST_MAIN(TestRecordDlgFocus)
#include "tst_recorddlgfocus.moc"
