#include "MValidators.h"

#include <QRegExp>
#include <QRegExpValidator>

namespace {

QRegExpValidator* numberValidator(QObject* parent, const QString& signs, int decimals)
{
    const QString pattern = QStringLiteral("^([") + signs + QStringLiteral("])?[0-9]{0,10}([,.][0-9]{0,")
        + QString::number(decimals) + QStringLiteral("})?$");
    return new QRegExpValidator(QRegExp(pattern, Qt::CaseSensitive), parent);
}

} // namespace

QRegExpValidator* amountValidator(QObject* parent, int decimals)
{
    return numberValidator(parent, QStringLiteral("+"), decimals);
}

QRegExpValidator* signedAmountValidator(QObject* parent, int decimals)
{
    return numberValidator(parent, QStringLiteral("+-"), decimals);
}

QRegExpValidator* emailValidator(QObject* parent)
{
    static const QString pattern = QStringLiteral(
        "^[a-z0-9!#$%&'*+/=?^_`{|}~-]+(?:\\.[a-z0-9!#$%&'*+/=?^_`{|}~-]*)*"
        "@(?:[a-z0-9](?:[a-z0-9-]*[a-z0-9])?\\.)+[a-z0-9](?:[a-z0-9-]*[a-z0-9])?$");
    return new QRegExpValidator(QRegExp(pattern, Qt::CaseInsensitive), parent);
}

bool isEmailValid(const QString& text)
{
    static const QString pattern = QStringLiteral(
        "^[a-z0-9!#$%&'*+/=?^_`{|}~-]+(?:\\.[a-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@(?:[a-z0-9](?:[a-z0-9-]*[a-z0-9])?\\.)+[a-z0-9](?:[a-z0-9-]*[a-z0-9])?$");
    QRegExp expression(pattern, Qt::CaseInsensitive);
    return expression.exactMatch(text);
}
