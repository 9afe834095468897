#include "MReferenceComboBox.h"

#include "data/MSqlitePolish.h"

#include <QSignalBlocker>
#include <QSqlQuery>
#include <QSqlQueryModel>

MReferenceComboBox::MReferenceComboBox(const QString& table, const QString& nameColumn, QWidget* parent)
    : QComboBox(parent)
    , m_table(table)
    , m_nameColumn(nameColumn)
{
}

MReferenceComboBox* MReferenceComboBox::createProvinceBox(QWidget* parent)
{
    auto* box = new MReferenceComboBox(QStringLiteral("province"), QStringLiteral("name"), parent);
    box->loadList(QStringLiteral("SELECT '' AS name, 0 AS id UNION SELECT name, id FROM province ORDER BY name ")
                  + MSqlitePolish::sqlCollate);
    return box;
}

MReferenceComboBox* MReferenceComboBox::createCountryBox(QWidget* parent)
{
    auto* box = new MReferenceComboBox(QStringLiteral("country"), QStringLiteral("name"), parent);
    box->loadList(QStringLiteral("SELECT '' AS name, 0 AS id UNION SELECT name, id FROM country WHERE hidden = 0 "
                                 "ORDER BY name ")
                  + MSqlitePolish::sqlCollate);
    box->selectText(QStringLiteral("Polska"));
    return box;
}

MReferenceComboBox* MReferenceComboBox::createDocumentKindBox(QWidget* parent)
{
    auto* box = new MReferenceComboBox(QStringLiteral("person_document_kind"), QStringLiteral("name"), parent);
    box->loadList(QStringLiteral("SELECT '', 0 UNION ALL SELECT name, id FROM person_document_kind ORDER BY name"));
    return box;
}

void MReferenceComboBox::loadList(const QString& sql)
{
    const QSignalBlocker blocker(this);
    // setModel deletes the list it replaces, since that list is the combo box's child.
    auto* listModel = new QSqlQueryModel(this);
    listModel->setQuery(sql);
    while (listModel->canFetchMore())
        listModel->fetchMore();
    setModel(listModel);
    setModelColumn(0);
    m_keptId = 0;
    setCurrentIndex(count() > 0 ? 0 : -1);
}

void MReferenceComboBox::selectId(int id)
{
    if (id < 1)
        return;
    const QString name = nameOfId(id);
    if (name.isNull())
        return;
    const int index = findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    m_keptId = index < 0 ? id : 0;
}

bool MReferenceComboBox::selectText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

int MReferenceComboBox::id() const
{
    if (currentIndex() < 0)
        return m_keptId;
    const QString text = currentText();
    if (text.isEmpty())
        return 0;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM ") + m_table + QStringLiteral(" WHERE ") + m_nameColumn
                  + QStringLiteral(" = :name"));
    query.bindValue(QStringLiteral(":name"), text);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return 0;
}

QString MReferenceComboBox::nameOfId(int id) const
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT ") + m_nameColumn + QStringLiteral(" FROM ") + m_table
                  + QStringLiteral(" WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (query.exec() && query.next())
        return query.value(0).toString();
    return QString();
}
