#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The default values of the options store: what every key is set to when it
// has no value yet (at start-up and after "Ustawienia domyślne").
class MDefaultOptions
{
public:
    // Every key with a default and its value; the folder defaults lie under
    // `pathDocuments` (which ends in "/"). The forced keys are not included.
    static QMap<QString, QString> defaults(const QString& pathDocuments);

    // Keys whose default also replaces a value naming a path that does not exist.
    static const QStringList& folderKeys();

    // Keys that are set to "1" at every start whatever they hold.
    static const QStringList& forcedKeys();

    // Stores the default of every empty key (and of every folder key naming a
    // missing path) and sets the forced keys, through MOptions::setOption.
    static void store(const QString& pathDocuments);

    // Deletes every option, then stores the defaults anew.
    static void reset(const QString& pathDocuments);

    // The four printer margins in millimetres (left, top, right, bottom) of
    // a PRINTER_MARGINS value; a part that is not a number gives 0, a missing
    // part the default margin.
    static QVector<double> printerMargins(const QString& text);
};
