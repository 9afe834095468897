#pragma once

#include <QMap>
#include <QString>

// The program's options: a process-wide cache over table _options; reading
// never touches the database.
class MOptions
{
public:
    static QString option(const QString& key);
    static void setOption(const QString& key, const QString& value);
    static void loadOptions();

private:
    static QMap<QString, QString> s_optionValues;
    static QMap<QString, bool> s_storedOptionKeys;
};
