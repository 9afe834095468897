#include "MAppWnd.h"

#include "core/MDefaultOptions.h"
#include "views/MMessageBox.h"

#include <QSqlQuery>
#include <QVariant>

QMap<QString, QString> MAppWnd::s_optionValues;
QMap<QString, bool> MAppWnd::s_storedOptionKeys;

QString MAppWnd::option(const QString& key)
{
    return s_optionValues.value(key);
}

void MAppWnd::setOption(const QString& key, const QString& value)
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
        query.bindValue(QStringLiteral(":content"), value);
        query.exec();
    }

    s_optionValues.insert(key, value);
    s_storedOptionKeys.insert(key, true);
}

void MAppWnd::loadOptions()
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

void MAppWnd::setDefaultOptions()
{
    MDefaultOptions::store(pathDocuments);

    const QString geometry = option(QStringLiteral("MAIN_WINDOW_GEOMETRY"));
    if (!geometry.isEmpty())
        restoreGeometry(QByteArray::fromHex(geometry.toLatin1()));
    const QString state = option(QStringLiteral("MAIN_WINDOW_STATE"));
    if (!state.isEmpty())
        restoreState(QByteArray::fromHex(state.toLatin1()), 0);

    loadPrinterMargins();
}

void MAppWnd::loadPrinterMargins()
{
    const QVector<double> margins = MDefaultOptions::printerMargins(option(QStringLiteral("PRINTER_MARGINS")));
    m_marginLeft = margins.at(0);
    m_marginTop = margins.at(1);
    m_marginRight = margins.at(2);
    m_marginBottom = margins.at(3);
}

void MAppWnd::doDefaultSettings()
{
    const QMessageBox::StandardButton answer = MMessageBox::warning(
        this, tr("Potwierdzenie usunięcia ustawień"),
        tr("Na pewno usunąć ustawienia programu i wrócić do ustawień domyślnych?<br><br>Aby zobaczyć wszystkie "
           "efekty ustawień domyślnych w aktywnych oknach programu należy je zamknąć i otworzyć ponownie."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    // No window geometry is stored any more, so only the margins change.
    MDefaultOptions::reset(pathDocuments);
    loadPrinterMargins();
}
