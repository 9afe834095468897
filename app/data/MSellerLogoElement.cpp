#include "data/MSellerLogoElement.h"

#include <QFile>
#include <QSqlQuery>
#include <QVariant>

QString MSellerLogoElement::html(int idSeller, const QString& file)
{
    QSqlQuery query(QStringLiteral("SELECT zoom, width, height FROM seller_logo WHERE id_seller = ")
                    + QString::number(idSeller));
    if (!query.next())
        return QString();

    const int zoom = qMax(query.value(0).toInt(), 1);
    const int width = query.value(1).toInt() / zoom;
    const int height = query.value(2).toInt() / zoom;

    QFile logo(file);
    if (!logo.open(QIODevice::ReadOnly))
        return QString();
    return QStringLiteral("<img src=\"%1\" border=\"0\" width=\"%2\" height=\"%3\">")
        .arg(file.toHtmlEscaped())
        .arg(width)
        .arg(height);
}
