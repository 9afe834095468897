#include "MEnabledOperations.h"

namespace {

bool isOneOf(const QString& name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names) {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}

} // namespace

bool MEnabledOperations::hasDefaultRecord(const QString& viewName)
{
    return isOneOf(viewName, {"MEndTextDbView", "MSellerDbView"});
}

const QStringList& MEnabledOperations::keys()
{
    static const QStringList operationKeys = {
        QStringLiteral("ADD"),           QStringLiteral("VIEW"),          QStringLiteral("EDIT"),
        QStringLiteral("DELETE"),        QStringLiteral("COPY"),          QStringLiteral("CORRECT"),
        QStringLiteral("DUPLICATE"),     QStringLiteral("DEFAULT"),       QStringLiteral("PRINT"),
        QStringLiteral("PRINT_PDF"),     QStringLiteral("SEND_MAIL_PDF"), QStringLiteral("EXPORT_CSV"),
        QStringLiteral("EXPORT_JPK_FA"), QStringLiteral("EXPORT_JPK_VAT"), QStringLiteral("SHOW_FILTER"),
        QStringLiteral("SET_SELECTED"),  QStringLiteral("IS_PAYED"),
    };
    return operationKeys;
}

QMap<QString, bool> MEnabledOperations::enabled(const State& state)
{
    QMap<QString, bool> map;
    for (const QString& key : keys())
        map.insert(key, false);
    const auto enable = [&map](std::initializer_list<const char*> operations) {
        for (const char* operation : operations)
            map.insert(QString::fromLatin1(operation), true);
    };

    const QString& name = state.viewName;
    const bool oneRow = state.selectedRowCount == 1;

    if (isOneOf(name, {"MBuyerDbView", "MProductDbView", "MCurrencyRatingDbView", "MEndTextDbView",
                       "MSellerDbView"})) {
        enable({"ADD", "SHOW_FILTER"});
        if (name != QLatin1String("MCurrencyRatingDbView"))
            enable({"EXPORT_CSV"});
        if (state.hasCurrentIndex && oneRow) {
            enable({"EDIT", "DELETE"});
            if (hasDefaultRecord(name))
                enable({"DEFAULT"});
        }
    } else if (isOneOf(name, {"MInvoiceDbView_Sell", "MInvoiceDbView_Buy"})) {
        if (!state.editorOpen)
            enable({"ADD"});
        enable({"EXPORT_CSV", "SHOW_FILTER"});
        if (state.hasCurrentIndex) {
            enable({"VIEW", "PRINT", "PRINT_PDF", "SET_SELECTED", "IS_PAYED"});
            if (oneRow)
                enable({"SEND_MAIL_PDF"});
            if (oneRow && !state.editorOpen)
                enable({"EDIT", "DELETE", "COPY", "CORRECT", "DUPLICATE"});
            if (name == QLatin1String("MInvoiceDbView_Sell")) {
                if (state.jpkFaShow)
                    enable({"EXPORT_JPK_FA"});
                if (state.jpkVatShow)
                    enable({"EXPORT_JPK_VAT"});
            }
        }
    } else if (name == QLatin1String("MInvoicePrintPreview")) {
        enable({"PRINT", "PRINT_PDF", "SEND_MAIL_PDF"});
    } else if (name == QLatin1String("MInvoiceRegisterView")) {
        enable({"SHOW_FILTER", "PRINT", "PRINT_PDF"});
    } else if (name == QLatin1String("MInvoiceSetSelectedPrintPreview")) {
        enable({"PRINT", "PRINT_PDF"});
    }
    return map;
}

QMap<QString, bool> MEnabledOperations::checked(const State& state)
{
    const bool isDefault = hasDefaultRecord(state.viewName) && state.hasCurrentIndex
                           && state.selectedRowCount == 1 && state.isCurrentDefault;
    return {{QStringLiteral("DEFAULT"), isDefault}};
}
