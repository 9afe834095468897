#pragma once

#include <QMainWindow>
#include <QMap>
#include <QString>

// The main window and the hub that every other part of the program calls.
class MAppWnd : public QMainWindow
{
    Q_OBJECT

public:
    // Options: a process-wide cache over table _options; reading never touches the database.
    static QString option(const QString& key);
    static void setOption(const QString& key, const QString& value);
    static void loadOptions();

private:
    static QMap<QString, QString> s_optionValues;
    static QMap<QString, bool> s_storedOptionKeys;
};
