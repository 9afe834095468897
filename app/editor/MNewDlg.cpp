#include "MNewDlg.h"

#include "views/MAppServices.h"

#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>

namespace {

const QString iconInvoice = QStringLiteral(":/resource/invoice_32_32.png");
const QString iconProform = QStringLiteral(":/resource/invoice_proform_32_32.png");
const QString iconBill = QStringLiteral(":/resource/bill_32_32.png");

} // namespace

MNewDlg::MNewDlg(QWidget* parent, Qt::WindowFlags f)
    : MChooserDlg(parent, f, tr("Nowy..."))
{
    connect(okButton(), &QPushButton::clicked, this, &MNewDlg::clickOk);
}

void MNewDlg::loadList(int viewKind, int group)
{
    m_viewKind = viewKind;
    auto* model = new QStandardItemModel(this);
    const bool invoiceKinds = viewKind == 7 || ((viewKind != 8) && group == 0);
    if (invoiceKinds) {
        addItem(model, tr("Faktura"), iconInvoice, 0, 0);
        addItem(model, tr("Faktura metoda kasowa"), iconInvoice, 0, 3);
        addItem(model, tr("Faktura odwrotne obciążenie"), iconInvoice, 0, 15);
        addItem(model, tr("Faktura zaliczkowa"), iconInvoice, 0, 19);
        addItem(model, tr("Faktura końcowa"), iconInvoice, 0, 23);
        addItem(model, tr("Faktura marża"), iconInvoice, 0, 27);
    }
    if (viewKind == 7) {
        addItem(model, tr("Faktura proforma"), iconProform, 1, 1);
        addItem(model, tr("Rachunek"), iconBill, 7, 9);
    } else if (viewKind == 8 || invoiceKinds) {
        addItem(model, tr("Faktura RR"), iconInvoice, 0, 11);
    } else if (group < 0) {
        addItem(model, tr("Faktura"), iconInvoice, 0, -1, 1);
        addItem(model, tr("Faktura proforma"), iconProform, 1, 1);
        addItem(model, tr("Rachunek"), iconBill, 7, 9);
        addItem(model, tr("Sprzedawca"), QStringLiteral(":/resource/seller_32_32.png"), 3);
        addItem(model, tr("Kontrahent"), QStringLiteral(":/resource/buyer_32_32.png"), 4);
        addItem(model, tr("Produkt"), QStringLiteral(":/resource/product_32_32.png"), 5);
        addItem(model, tr("Tekst końcowy"), QStringLiteral(":/resource/endtext_32_32.png"), 6);
        addItem(model, tr("Notowanie walutowe"), QStringLiteral(":/resource/currency_rating_32_32.png"), 8);
    }
    setListModel(model);
}

void MNewDlg::loadListItem(const QModelIndex& index)
{
    const int objectKind = index.data(ChooserRole::ObjectKind).toInt();
    const int docKind = index.data(ChooserRole::DocKind).toInt();
    if (index.data(ChooserRole::Group).toInt() == 1) {
        if (objectKind == 0)
            loadList(m_viewKind, 0);
        return;
    }
    if (auto* wnd = qobject_cast<MAppServices*>(parentWidget()))
        wnd->newRecord(objectKind, docKind);
    done(0);
}

void MNewDlg::clickOk(bool /*b*/)
{
    const QModelIndex index = firstSelected();
    if (index.isValid())
        loadListItem(index);
}
