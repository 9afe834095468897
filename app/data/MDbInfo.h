#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// The figures that "Informacje o bazie danych" shows, read from the default connection.
class MDbInfo
{
    Q_DECLARE_TR_FUNCTIONS(MDbInfo)

public:
    struct Figure
    {
        QString title;
        qint64 count = 0;
        // Local time of the last change; empty for an empty table.
        QString lastModified;
    };

    // Documents, sellers, buyers, products, closing texts and currency ratings, in that order.
    static QList<Figure> figures();

    // The size in whole kilobytes, halves rounded up, and " KB".
    static QString sizeText(qint64 bytes);
};
