#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// The conditions that the unchecked entries of the currency ratings' filter tree put on
// the list. The keys come as the filter panel (or the stored options) gives them: entries
// separated by ";", each its tree level and value joined by ",": "1,<bank name>",
// "2,<currency id>", "3,<year>,<month>".
class MCurrencyRatingFilter
{
public:
    explicit MCurrencyRatingFilter(const QString& uncheckedKeys);

    // "(cr.bank_name NOT IN (...))", "(cr.id_currency_from NOT IN (...))" and
    // "(<monthExpression> NOT IN (...))", each only when that level has unchecked
    // entries. Bank names and months are named by the placeholders of values().
    QStringList conditions(const QString& monthExpression) const;
    // The texts that the conditions name, by placeholder (":bank0", ":month0", ...).
    QVariantMap values() const;

private:
    QStringList m_banks;
    QStringList m_currencyIds;
    QStringList m_months;
};
