#include "MOpenDlg.h"

#include "views/MAppServices.h"

#include <QPushButton>
#include <QStandardItemModel>

MOpenDlg::MOpenDlg(QWidget* parent, Qt::WindowFlags f)
    : MChooserDlg(parent, f, tr("Otwórz..."))
{
    connect(okButton(), &QPushButton::clicked, this, &MOpenDlg::clickOk);
    const QString iconInvoice = QStringLiteral(":/resource/invoice_32_32.png");
    auto* model = new QStandardItemModel(this);
    addItem(model, tr("Faktury sprzedaży"), iconInvoice, 7);
    addItem(model, tr("Faktury zakupu"), iconInvoice, 8);
    addItem(model, tr("Sprzedawcy"), QStringLiteral(":/resource/seller_32_32.png"), 2);
    addItem(model, tr("Kontrahenci"), QStringLiteral(":/resource/buyer_32_32.png"), 3);
    addItem(model, tr("Produkty"), QStringLiteral(":/resource/product_32_32.png"), 4);
    addItem(model, tr("Teksty końcowe"), QStringLiteral(":/resource/endtext_32_32.png"), 5);
    addItem(model, tr("Notowania walutowe"), QStringLiteral(":/resource/currency_rating_32_32.png"), 10);
    addItem(model, tr("Rejestr VAT"), QStringLiteral(":/resource/vat_register_32_32.png"), 6);
    setListModel(model);
}

void MOpenDlg::loadListItem(const QModelIndex& index)
{
    if (auto* wnd = qobject_cast<MAppServices*>(parentWidget()))
        wnd->loadTab(index.data(ChooserRole::ObjectKind).toInt(), false);
    done(0);
}

void MOpenDlg::clickOk(bool /*b*/)
{
    const QModelIndex index = firstSelected();
    if (index.isValid())
        loadListItem(index);
    else
        done(0);
}
