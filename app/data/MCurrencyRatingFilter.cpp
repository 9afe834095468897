#include "data/MCurrencyRatingFilter.h"

namespace {

QString placeholder(const QString& name, int index)
{
    return QLatin1Char(':') + name + QString::number(index);
}

QStringList placeholders(const QString& name, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(placeholder(name, i));
    return list;
}

} // namespace

MCurrencyRatingFilter::MCurrencyRatingFilter(const QString& uncheckedKeys)
{
    if (uncheckedKeys.isEmpty())
        return;
    for (const QString& key : uncheckedKeys.split(QLatin1Char(';'))) {
        const QString level = key.section(QLatin1Char(','), 0, 0);
        if (level == QLatin1String("1") && key.contains(QLatin1Char(','))) {
            // The rest of the entry: a bank name may hold commas of its own.
            m_banks.append(key.section(QLatin1Char(','), 1));
        } else if (level == QLatin1String("2")) {
            bool ok = false;
            const int id = key.section(QLatin1Char(','), 1, 1).toInt(&ok);
            if (ok)
                m_currencyIds.append(QString::number(id));
        } else if (level == QLatin1String("3")) {
            // A year entry without its month matches no rating, as "2026," matches no month.
            m_months.append(key.section(QLatin1Char(','), 1, 1) + QLatin1Char(',') + key.section(QLatin1Char(','), 2, 2));
        }
    }
}

QStringList MCurrencyRatingFilter::conditions(const QString& monthExpression) const
{
    QStringList list;
    if (!m_banks.isEmpty())
        list.append(QStringLiteral("(cr.bank_name NOT IN (") + placeholders(QStringLiteral("bank"), m_banks.size()).join(QLatin1Char(','))
                    + QStringLiteral("))"));
    if (!m_currencyIds.isEmpty())
        list.append(QStringLiteral("(cr.id_currency_from NOT IN (") + m_currencyIds.join(QLatin1Char(',')) + QStringLiteral("))"));
    if (!m_months.isEmpty())
        list.append(QLatin1Char('(') + monthExpression + QStringLiteral(" NOT IN (")
                    + placeholders(QStringLiteral("month"), m_months.size()).join(QLatin1Char(',')) + QStringLiteral("))"));
    return list;
}

QVariantMap MCurrencyRatingFilter::values() const
{
    QVariantMap map;
    for (int i = 0; i < m_banks.size(); ++i)
        map.insert(placeholder(QStringLiteral("bank"), i), m_banks.at(i));
    for (int i = 0; i < m_months.size(); ++i)
        map.insert(placeholder(QStringLiteral("month"), i), m_months.at(i));
    return map;
}
