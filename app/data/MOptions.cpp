#include "data/MOptions.h"

#include <QSqlQuery>
#include <QVariant>

QMap<QString, QString> MOptions::s_optionValues;
QMap<QString, bool> MOptions::s_storedOptionKeys;

QString MOptions::option(const QString& key)
{
    return s_optionValues.value(key);
}

void MOptions::setOption(const QString& key, const QString& value)
{
    // No transaction of its own: a call between a caller's "begin" and
    // "commit" becomes part of the caller's transaction.
    QString statement;
    if (!s_storedOptionKeys.contains(key))
        statement = QStringLiteral("INSERT INTO _options (id, content) VALUES (:id, :content)");
    else if (s_optionValues.value(key) != value)
        statement = QStringLiteral("UPDATE _options SET content = :content WHERE id = :id");

    if (!statement.isEmpty()) {
        QSqlQuery query;
        query.prepare(statement);
        query.bindValue(QStringLiteral(":id"), key);
        // A null text would bind as NULL, which the NOT NULL column refuses.
        query.bindValue(QStringLiteral(":content"), value.isNull() ? QStringLiteral("") : value);
        query.exec();
    }

    s_optionValues.insert(key, value);
    s_storedOptionKeys.insert(key, true);
}

void MOptions::loadOptions()
{
    s_optionValues.clear();
    s_storedOptionKeys.clear();

    QSqlQuery query(QStringLiteral("SELECT id, content FROM _options"));
    while (query.next()) {
        const QString key = query.value(0).toString();
        s_optionValues.insert(key, query.value(1).toString());
        s_storedOptionKeys.insert(key, true);
    }
}
