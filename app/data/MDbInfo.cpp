#include "data/MDbInfo.h"

#include <QSqlQuery>
#include <QVariant>

QList<MDbInfo::Figure> MDbInfo::figures()
{
    const QList<QPair<QString, QString>> tables = {
        {tr("Dokumenty"), QStringLiteral("invoice")},
        {tr("Sprzedawcy"), QStringLiteral("seller")},
        {tr("Kontrahenci"), QStringLiteral("buyer")},
        {tr("Produkty"), QStringLiteral("product")},
        {tr("Teksty końcowe"), QStringLiteral("end_text")},
        {tr("Notowania walutowe"), QStringLiteral("currency_rating")},
    };

    QList<Figure> figures;
    QSqlQuery query;
    for (const auto& table : tables) {
        if (query.exec(QStringLiteral("SELECT COUNT(*), datetime(MAX(time_modify), 'localtime') FROM ") + table.second)
            && query.next()) {
            Figure figure;
            figure.title = table.first;
            figure.count = query.value(0).toLongLong();
            figure.lastModified = query.value(1).toString();
            figures.append(figure);
        }
        query.clear();
    }
    return figures;
}

QString MDbInfo::sizeText(qint64 bytes)
{
    return QString::number((bytes + 512) / 1024) + QStringLiteral(" KB");
}
