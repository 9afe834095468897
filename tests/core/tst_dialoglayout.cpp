#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestLayout.h"
#include "catalog/MCurrencyRatingDlg.h"
#include "catalog/MEndTextDlg.h"
#include "catalog/MProductCatalogDlg.h"
#include "catalog/MProductCatalogJoinDlg.h"
#include "catalog/MProductDlg.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "documents/MInvoiceDuplicateDlg.h"
#include "documents/MInvoiceErrorDlg.h"
#include "documents/MInvoicePaymentDlg.h"
#include "editor/MInvoiceDlg.h"
#include "editor/MNewDlg.h"
#include "editor/MOpenDlg.h"
#include "export/MJpkFaDlg.h"
#include "export/MJpkVatDlg.h"
#include "parties/MBankDlg.h"
#include "parties/MBuyerCatalogDlg.h"
#include "parties/MBuyerDlg.h"
#include "parties/MSellerDlg.h"
#include "printing/MDocPreviewDlg.h"
#include "printing/MDocPrintDlg.h"
#include "resources/MResources.h"
#include "settings/MAboutDlg.h"
#include "settings/MDbInfoDlg.h"
#include "settings/MOptionsDlg.h"
#include "settings/MOptionsItem.h"
#include "settings/MOptionsWidget.h"
#include "settings/MPageSetupDlg.h"
#include "settings/MProgramInfoDlg.h"
#include "views/MListFont.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>

using DialogFactory = std::function<QDialog*(MAppWnd*)>;
Q_DECLARE_METATYPE(DialogFactory)

// The dialogs as a user sees them, every page of every tab: no text cut off, no control
// over another, and Tab going through each page row by row. With INVOICE_LAYOUT_GRABS set
// to a folder, each page is also saved there as a picture to look at.
class TestDialogLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pagesAreReadableAndTabFollowsThem_data();
    void pagesAreReadableAndTabFollowsThem();
    void jpkFaNoteStandsTenPixelsBelowTheFields();

private:
    std::unique_ptr<MAppWnd> m_window;
    int m_document = 0;
};

void TestDialogLayout::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    // The program's own font, as main() sets it.
    QApplication::setFont(QFont(QStringLiteral("Arial"), listFontSize()));
    m_document = int(MTestDatabase::insert(QStringLiteral("invoice"),
                                           {{"invoice_kind", 0},
                                            {"invoice_index", 1},
                                            {"date_put", "2024-03-05 00:00:00"},
                                            {"date_sell", "2024-03-05 00:00:00"},
                                            {"date_pay", "2024-03-19 00:00:00"}}));
}

void TestDialogLayout::cleanup()
{
    for (QDialog* dialog : m_window->findChildren<QDialog*>())
        delete dialog;
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
    MMessageBox::takeShown();
}

void TestDialogLayout::pagesAreReadableAndTabFollowsThem_data()
{
    QTest::addColumn<DialogFactory>("makeDialog");
    // Off for a dialog whose list of pages stands beside the page: reading order row by
    // row says nothing about it.
    QTest::addColumn<bool>("rowByRow");

    QTest::newRow("product") << DialogFactory([](MAppWnd* w) { return new MProductDlg(w, false); }) << true;
    QTest::newRow("product line") << DialogFactory([](MAppWnd* w) { return new MProductDlg(w, true); }) << true;
    QTest::newRow("buyer") << DialogFactory([](MAppWnd* w) { return new MBuyerDlg(w, false); }) << true;
    QTest::newRow("seller") << DialogFactory([](MAppWnd* w) { return new MSellerDlg(w, false); }) << true;
    QTest::newRow("bank account") << DialogFactory([](MAppWnd* w) { return new MBankDlg(w, MBankDlg::ModeSellerBank); }) << true;
    QTest::newRow("closing text") << DialogFactory([](MAppWnd* w) { return new MEndTextDlg(w); }) << true;
    QTest::newRow("currency rating") << DialogFactory([](MAppWnd* w) { return new MCurrencyRatingDlg(w, false); }) << true;
    QTest::newRow("product catalog") << DialogFactory([](MAppWnd* w) { return new MProductCatalogDlg(w); }) << true;
    QTest::newRow("product catalogs of products")
        << DialogFactory([](MAppWnd* w) { return new MProductCatalogJoinDlg(w); }) << true;
    QTest::newRow("buyer catalog") << DialogFactory([](MAppWnd* w) { return new MBuyerCatalogDlg(w); }) << true;
    QTest::newRow("new") << DialogFactory([](MAppWnd* w) {
        auto* dialog = new MNewDlg(w);
        dialog->loadList(-1, -1);
        return dialog;
    }) << true;
    QTest::newRow("open") << DialogFactory([](MAppWnd* w) { return new MOpenDlg(w); }) << true;
    QTest::newRow("options") << DialogFactory([](MAppWnd* w) { return new MOptionsDlg(w); }) << false;
    QTest::newRow("page setup") << DialogFactory([](MAppWnd* w) { return new MPageSetupDlg(w); }) << true;
    QTest::newRow("database info") << DialogFactory([](MAppWnd* w) { return new MDbInfoDlg(w); }) << true;
    QTest::newRow("program folders") << DialogFactory([](MAppWnd* w) { return new MProgramInfoDlg(w); }) << true;
    QTest::newRow("about") << DialogFactory([](MAppWnd* w) { return new MAboutDlg(w); }) << true;
    QTest::newRow("document preview") << DialogFactory([](MAppWnd* w) { return new MDocPreviewDlg(w); }) << true;
    QTest::newRow("document print") << DialogFactory([](MAppWnd* w) { return new MDocPrintDlg(w); }) << true;
    QTest::newRow("duplicate") << DialogFactory([](MAppWnd* w) { return new MInvoiceDuplicateDlg(w); }) << true;
    QTest::newRow("payment") << DialogFactory([](MAppWnd* w) { return new MInvoicePaymentDlg(7, w); }) << true;
    QTest::newRow("error check") << DialogFactory([](MAppWnd* w) { return new MInvoiceErrorDlg(w); }) << true;
    QTest::newRow("JPK_FA") << DialogFactory([](MAppWnd* w) { return new MJpkFaDlg(w); }) << true;
    QTest::newRow("JPK_VAT") << DialogFactory([](MAppWnd* w) { return new MJpkVatDlg(w); }) << true;
    QTest::newRow("invoice editor") << DialogFactory([](MAppWnd* w) -> QDialog* {
        w->newRecord(0, 0);
        return w->findChild<MInvoiceDlg*>();
    }) << true;
    QTest::newRow("correction editor") << DialogFactory([this](MAppWnd* w) -> QDialog* {
        w->loadTab(7);
        auto* list = qobject_cast<MInvoiceDbView*>(w->tabMain()->currentWidget());
        if (!list)
            return nullptr;
        list->reloadView(7, m_document);
        list->doDocCorrect();
        return w->findChild<MInvoiceDlg*>();
    }) << true;
}

void TestDialogLayout::pagesAreReadableAndTabFollowsThem()
{
    QFETCH(DialogFactory, makeDialog);
    QFETCH(bool, rowByRow);

    QDialog* dialog = makeDialog(m_window.get());
    QVERIFY(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    const QString grabs = qEnvironmentVariable("INVOICE_LAYOUT_GRABS");
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    QStringList problems;
    const QList<QTabWidget*> tabs = dialog->findChildren<QTabWidget*>();
    const auto look = [&](const QString& where, QWidget* page) {
        QApplication::processEvents();
        for (const QString& problem : MTestLayout::clippedOrOverlapping(dialog))
            problems << where + QStringLiteral(": ") + problem;
        const QStringList steps = rowByRow ? MTestLayout::tabStepsAgainstReadingOrder(page) : QStringList();
        for (const QString& step : steps)
            problems << where + QStringLiteral(": Tab ") + step;
        if (!grabs.isEmpty())
            dialog->grab().save(QDir(grabs).filePath(name + QLatin1Char('_') + where + QStringLiteral(".png")));
    };
    // The options dialog shows one page at a time beside the list of their titles.
    if (auto* options = dialog->findChild<MOptionsWidget*>()) {
        for (MOptionsItem* item : options->items()) {
            item->button()->click();
            look(item->button()->text().replace(QLatin1Char(' '), QLatin1Char('_')), item->widget());
        }
    } else if (tabs.isEmpty()) {
        look(QStringLiteral("dialog"), dialog);
    }
    for (QTabWidget* tab : tabs) {
        for (int page = 0; page < tab->count(); ++page) {
            tab->setCurrentIndex(page);
            look(tab->tabText(page).replace(QLatin1Char(' '), QLatin1Char('_')), tab->widget(page));
        }
    }
    problems.removeDuplicates();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestDialogLayout::jpkFaNoteStandsTenPixelsBelowTheFields()
{
    MJpkFaDlg dialog(m_window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QWidget* dateFrom = dialog.findChild<QWidget*>(QStringLiteral("date_from"));
    QVERIFY(dateFrom);
    const QLabel* note = nullptr;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text().startsWith(QStringLiteral("<b>Uwaga:</b>")))
            note = label;
    QVERIFY(note);
    const int fieldsBottom = dateFrom->mapTo(&dialog, QPoint(0, dateFrom->height())).y();
    QCOMPARE(note->mapTo(&dialog, QPoint(0, 0)).y() - fieldsBottom, 10);
}

INVOICE_TEST_MAIN(TestDialogLayout)
#include "tst_dialoglayout.moc"
