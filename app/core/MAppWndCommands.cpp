#include "MAppWnd.h"

#include "core/MListTab.h"
#include "core/MViewCall.h"
#include "settings/MAboutDlg.h"
#include "settings/MDbInfoDlg.h"
#include "settings/MDoYouKnowWidget.h"
#include "settings/MOptionsDlg.h"
#include "settings/MPageSetupDlg.h"
#include "settings/MProgramInfoDlg.h"
#include "views/MTabWidget.h"

#include <QAbstractItemView>
#include <QAction>

namespace {

const QString buyers = QStringLiteral("MBuyerDbView");
const QString currencyRatings = QStringLiteral("MCurrencyRatingDbView");
const QString endTexts = QStringLiteral("MEndTextDbView");
const QString salesDocuments = QStringLiteral("MInvoiceDbView_Sell");
const QString purchaseDocuments = QStringLiteral("MInvoiceDbView_Buy");
const QString documentPreview = QStringLiteral("MInvoicePrintPreview");
const QString setSelectedPreview = QStringLiteral("MInvoiceSetSelectedPrintPreview");
const QString vatRegister = QStringLiteral("MInvoiceRegisterView");
const QString products = QStringLiteral("MProductDbView");
const QString sellers = QStringLiteral("MSellerDbView");

const QStringList documents = {salesDocuments, purchaseDocuments};
const QStringList recordLists = {buyers, currencyRatings, endTexts, products, sellers};

// The previews print in the document marking chosen in the print dialog.
const int anyDocView = -1;

} // namespace

void MAppWnd::connectCommandActions()
{
    const QList<QPair<QAction*, void (MAppWnd::*)()>> commands = {
        {m_actionAdd, &MAppWnd::doAdd},
        {m_actionPreview, &MAppWnd::doPreview},
        {m_actionEdit, &MAppWnd::doEdit},
        {m_actionDelete, &MAppWnd::doDelete},
        {m_actionCopy, &MAppWnd::doCopy},
        {m_actionCorrect, &MAppWnd::doCorrect},
        {m_actionDuplicate, &MAppWnd::doDuplicate},
        {m_actionDefault, &MAppWnd::doDefault},
        {m_actionPrint, &MAppWnd::doPrint},
        {m_actionPrintPdf, &MAppWnd::doPrintPdf},
        {m_actionSendMailPdf, &MAppWnd::doSendMailPdf},
        {m_actionExportCsv, &MAppWnd::doExportCsv},
        {m_actionExportJpkFa, &MAppWnd::doExportJpkFa},
        {m_actionExportJpkVat, &MAppWnd::doExportJpkVat},
        {m_actionSetSelected, &MAppWnd::doSetSelected},
        {m_actionIsPayed, &MAppWnd::doIsPayed},
    };
    for (const auto& command : commands)
        connect(command.first, &QAction::triggered, this, command.second);
    connect(m_actionShowFilter, &QAction::triggered, this, &MAppWnd::doShowFilter);
}

bool MAppWnd::callCurrentView(const QStringList& viewNames, const char* method, QGenericArgument argument)
{
    QWidget* view = m_tabMain->currentWidget();
    if (!view || !viewNames.contains(view->accessibleName()))
        return false;
    MViewCall::invoke(view, method, argument);
    return true;
}

void MAppWnd::doAdd()
{
    if (!callCurrentView(recordLists, "doNew"))
        callCurrentView(documents, "doDocAdd");
}

void MAppWnd::doEdit()
{
    if (!callCurrentView(recordLists, "doEdit"))
        callCurrentView(documents, "doDocEdit");
}

void MAppWnd::doDelete()
{
    if (!callCurrentView(recordLists, "doDelete"))
        callCurrentView(documents, "doDocDelete");
}

void MAppWnd::doExportCsv()
{
    callCurrentView({buyers, endTexts, products, sellers, salesDocuments, purchaseDocuments}, "doExportCsv");
}

void MAppWnd::doDefault()
{
    callCurrentView({endTexts, sellers}, "doDefault");
}

void MAppWnd::doCopy()
{
    callCurrentView(documents, "doDocCopy");
}

void MAppWnd::doCorrect()
{
    callCurrentView(documents, "doDocCorrect");
}

void MAppWnd::doDuplicate()
{
    callCurrentView(documents, "doDocDuplicate");
}

void MAppWnd::doPreview()
{
    callCurrentView(documents, "doDocPreview");
}

void MAppWnd::doPrint()
{
    if (!callCurrentView(documents, "doDocPrint")
        && !callCurrentView({documentPreview}, "startDocPrint", Q_ARG(int, anyDocView)))
        callCurrentView({vatRegister, setSelectedPreview}, "startDocPrint");
}

void MAppWnd::doPrintPdf()
{
    if (!callCurrentView(documents, "doDocPrintPdf")
        && !callCurrentView({documentPreview}, "startDocPrintPdf", Q_ARG(int, anyDocView)))
        callCurrentView({vatRegister, setSelectedPreview}, "startDocPrintPdf");
}

void MAppWnd::doSendMailPdf()
{
    if (!callCurrentView(documents, "doDocSendMailPdf"))
        callCurrentView({documentPreview}, "doSendMailPdf");
}

void MAppWnd::doSetSelected()
{
    callCurrentView(documents, "startDocSetSelected");
}

void MAppWnd::doIsPayed()
{
    callCurrentView(documents, "doIsPayed");
}

void MAppWnd::doExportJpkFa()
{
    callCurrentView({salesDocuments}, "doExportJpkFa");
}

void MAppWnd::doExportJpkVat()
{
    callCurrentView({salesDocuments}, "doExportJpkVat");
}

void MAppWnd::doShowFilter(bool /*checked*/)
{
    // The stored option, not the action's own toggled state, says whether the
    // panel is shown now.
    QWidget* view = m_tabMain->currentWidget();
    const MListTab* tab = view ? MListTab::byViewName(view->accessibleName()) : nullptr;
    if (!tab)
        return;
    const bool show = option(tab->filterOption) != QLatin1String("1");
    MViewCall::invoke(view, "doShowFilter", Q_ARG(bool, show));
}

void MAppWnd::doDragDrop(bool checked)
{
    setOption(QStringLiteral("DRAG_AND_DROP"), checked ? QStringLiteral("1") : QStringLiteral("0"));

    QWidget* view = m_tabMain->currentWidget();
    const MListTab* tab = view ? MListTab::byViewName(view->accessibleName()) : nullptr;
    if (!tab || !tab->hasTable)
        return;
    const QList<QAbstractItemView*> tables = view->findChildren<QAbstractItemView*>();
    for (QAbstractItemView* table : tables) {
        if (table->accessibleName() == tab->tableName())
            table->setDragEnabled(checked);
    }
}

void MAppWnd::doDoYouKnow(bool checked)
{
    setOption(QStringLiteral("SHOW_DO_YOU_KNOW"), checked ? QStringLiteral("1") : QStringLiteral("0"));
    m_doYouKnowWidget->applyOptions();
}

void MAppWnd::doAbout()
{
    MAboutDlg dialog(this);
    dialog.exec();
}

void MAppWnd::doProgramInfo()
{
    auto* dialog = new MProgramInfoDlg(this);
    dialog->setModal(true);
    dialog->show();
}

void MAppWnd::doOptions()
{
    auto* dialog = new MOptionsDlg(this);
    dialog->setModal(true);
    dialog->show();
}

void MAppWnd::doPageSetup()
{
    auto* dialog = new MPageSetupDlg(this);
    dialog->setModal(true);
    dialog->show();
}

void MAppWnd::doDbInfo()
{
    auto* dialog = new MDbInfoDlg(this);
    dialog->setModal(true);
    dialog->show();
}
