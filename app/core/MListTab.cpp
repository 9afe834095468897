#include "MListTab.h"

#include "views/MListNames.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

const QString fieldSeparator = QStringLiteral(",");
const QString storedSuffix = QStringLiteral(",0");

} // namespace

const QVector<MListTab>& MListTab::all()
{
    static const QVector<MListTab> tabs = {
        {2, QStringLiteral("MSellerDbView"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Sprzedawcy"), true, true, QStringLiteral("FILTER_SHOW_SELLER_DB_VIEW")},
        {3, QStringLiteral("MBuyerDbView"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Kontrahenci"), true, true, QStringLiteral("FILTER_SHOW_BUYER_DB_VIEW")},
        {4, QStringLiteral("MProductDbView"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Produkty"), true, true, QStringLiteral("FILTER_SHOW_PRODUCT_DB_VIEW")},
        {5, QStringLiteral("MEndTextDbView"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Teksty końcowe"), true, false, QStringLiteral("FILTER_SHOW_ENDTEXT_DB_VIEW")},
        {6, QStringLiteral("MInvoiceRegisterView"), false, QT_TRANSLATE_NOOP("MAppWnd", "Rejestr VAT sprzedaży"),
         false, false, QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW")},
        {7, QStringLiteral("MInvoiceDbView_Sell"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Faktury sprzedaży"), true, true,
         QStringLiteral("FILTER_SHOW_INVOICE_SELL_DB_VIEW")},
        {8, QStringLiteral("MInvoiceDbView_Buy"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Faktury zakupu"), true, true, QStringLiteral("FILTER_SHOW_INVOICE_BUY_DB_VIEW")},
        {10, QStringLiteral("MCurrencyRatingDbView"), true,
         QT_TRANSLATE_NOOP("MAppWnd", "Notowania walutowe"), true, true,
         QStringLiteral("FILTER_SHOW_CURRENCY_RATING_DB_VIEW")},
    };
    return tabs;
}

QString MListTab::tableName() const
{
    return hasTable ? MListNames::tableName(viewName) : QString();
}

const MListTab* MListTab::byKind(int kind)
{
    for (const MListTab& tab : all()) {
        if (tab.kind == kind)
            return &tab;
    }
    return nullptr;
}

const MListTab* MListTab::byViewName(const QString& viewName)
{
    for (const MListTab& tab : all()) {
        if (tab.viewName == viewName)
            return &tab;
    }
    return nullptr;
}

QList<int> MListTab::storedKinds(const QString& opened)
{
    QList<int> kinds;
    const QStringList parts = opened.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const QStringList fields = part.split(fieldSeparator);
        if (fields.size() != 2)
            continue;
        if (const MListTab* tab = byViewName(fields.at(0)))
            kinds.append(tab->kind);
    }
    return kinds;
}

QString MListTab::openedOption(const QStringList& tabViewNames)
{
    QStringList parts;
    for (const QString& name : tabViewNames) {
        if (byViewName(name))
            parts.append(name + storedSuffix);
    }
    return parts.join(QLatin1Char(';'));
}

QString MListTab::currentOption(const QString& currentViewName)
{
    return byViewName(currentViewName) ? currentViewName + storedSuffix : QString();
}

QString MListTab::storedCurrent(const QString& current)
{
    const QStringList fields = current.split(fieldSeparator);
    return fields.size() == 2 ? fields.at(0) : QString();
}
