#include "MFilterConditions.h"

#include "data/MSqlitePolish.h"
#include "views/MSqlQueryModel.h"

namespace {

// Values go into the SQL text, so only whole numbers are taken.
void appendInteger(QStringList& list, const QString& part)
{
    bool ok = false;
    const qlonglong value = part.toLongLong(&ok);
    if (ok)
        list << QString::number(value);
}

} // namespace

QString searchLikeText(const QString& text, bool taxIdentifier)
{
    // The order matters: the backslashes added before "%" and "_" must not be doubled.
    QString likeText = text.toLower();
    likeText.replace(QLatin1Char('\''), QLatin1String("''"));
    likeText.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    likeText.replace(QLatin1Char('%'), QLatin1String("\\%"));
    likeText.replace(QLatin1Char('_'), QLatin1String("\\_"));
    if (taxIdentifier) {
        likeText.remove(QLatin1Char('-'));
        likeText.remove(QLatin1Char(' '));
    }
    return likeText;
}

QString searchLikeTerm(const QString& expression, const QString& likeText)
{
    return expression + QLatin1String(" LIKE '%") + likeText + QLatin1String("%' ESCAPE '\\' ")
        + MSqlitePolish::sqlCollate;
}

QString searchCondition(const QString& text, int column, const QStringList& expressions,
                        const QList<int>& columnKinds)
{
    if (text.isEmpty() || column < 0 || column >= expressions.size())
        return QString();

    const QString likeText = searchLikeText(text, columnKinds.value(column) == ColumnKind::TaxIdentifier);
    QStringList terms;
    for (const QString& expression : expressions.at(column).split(QLatin1Char('\t')))
        terms << searchLikeTerm(expression, likeText);
    return QLatin1Char('(') + terms.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

QStringList catalogConditions(const QString& uncheckedIds, const QString& joinAlias)
{
    QStringList conditions;
    if (uncheckedIds.isEmpty())
        return conditions;

    QStringList ids;
    for (const QString& id : uncheckedIds.split(QLatin1Char(';'))) {
        if (id == QLatin1String("0"))
            conditions << QLatin1Char('(') + joinAlias + QLatin1String(".id_catalog > 0)");
        else
            appendInteger(ids, id);
    }
    if (!ids.isEmpty())
        conditions << QLatin1Char('(') + joinAlias + QLatin1String(".id_catalog NOT IN (") + ids.join(QLatin1Char(','))
                + QLatin1String(") OR ") + joinAlias + QLatin1String(".id_catalog IS NULL)");
    return conditions;
}

QString uncheckedTreeIds(const QString& uncheckedKeys, const QString& group)
{
    QStringList ids;
    if (uncheckedKeys.isEmpty())
        return QString();
    for (const QString& key : uncheckedKeys.split(QLatin1Char(';'))) {
        const QStringList fields = key.split(QLatin1Char(','));
        if (fields.size() >= 2 && fields.at(0) == group)
            appendInteger(ids, fields.at(1));
    }
    return ids.join(QLatin1Char(','));
}
