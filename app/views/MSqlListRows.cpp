#include "MSqlListRows.h"

#include "views/MSqlRowPage.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

const int pageSize = 256;

// The id as an SQL literal, equal to the value it was read from.
QString literal(const QVariant& id)
{
    if (id.isNull())
        return QStringLiteral("NULL");
    switch (id.userType()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(id.toLongLong());
    case QMetaType::Double:
        return QString::number(id.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return QStringLiteral("X'") + QString::fromLatin1(id.toByteArray().toHex()) + QLatin1Char('\'');
    default:
        return QLatin1Char('\'') + id.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    }
}

// Whether `table`'s primary key is its column id alone.
bool idIsKey(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery columns(db);
    if (!columns.exec(QStringLiteral("PRAGMA table_info(\"") + table + QStringLiteral("\")")))
        return false;
    QStringList key;
    while (columns.next()) {
        if (columns.value(5).toInt() > 0)
            key.append(columns.value(1).toString());
    }
    return key.size() == 1 && key.first().compare(QLatin1String("id"), Qt::CaseInsensitive) == 0;
}

} // namespace

MSqlListRows::MSqlListRows() = default;

MSqlListRows::~MSqlListRows() = default;

bool MSqlListRows::run(QSqlQuery& query, const QString& sql, const QVariantMap& values)
{
    if (!query.prepare(sql))
        return false;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        // A value the statement does not name would make its parameter count wrong.
        if (sql.contains(QRegularExpression(QRegularExpression::escape(value.key()) + QStringLiteral("\\b"))))
            query.bindValue(value.key(), value.value());
    }
    return query.exec();
}

bool MSqlListRows::run(QSqlQuery& query, const QString& sql) const
{
    query.setForwardOnly(true);
    return run(query, sql, m_values);
}

bool MSqlListRows::open(const QString& sql, const QVariantMap& values, const QSqlDatabase& db)
{
    m_db = db;
    m_sql = sql;
    m_values = values;
    m_parts.reset(new MSqlSelectParts(sql));
    if (m_parts->isOrderTotal() && openSorted())
        return true;
    return openInOrder();
}

bool MSqlListRows::openSorted()
{
    // The statement for a page of rows must compile before the ids are read by it.
    QSqlQuery probe(m_db);
    if (!run(probe, m_parts->rowsOfIdsSql(QStringLiteral("NULL"))))
        return false;
    m_columnCount = probe.record().count();
    if (m_columnCount == 0)
        return false;

    // Joins that add no row and no condition cost the sort their reading.
    const QSqlDatabase db = m_db;
    const auto keyOf = [&db](const QString& table) { return idIsKey(db, table); };
    m_idsSql = m_parts->firstColumnSql(keyOf);
    // The first page's ids come from a sort that keeps only them; the order being
    // total, the rest follow from a second sort when the list is first read further.
    if (!readIds(QStringLiteral(" LIMIT %1").arg(pageSize)))
        return false;
    m_sorted = true;
    m_atEnd = m_count < pageSize;
    // The first rows are read now, as the statement stands when the list is shown.
    page(0);
    return true;
}

bool MSqlListRows::openInOrder()
{
    m_sorted = false;
    m_atEnd = false;
    m_count = 0;
    m_columnCount = 0;
    m_ids.clear();
    m_pages.clear();
    return readRunInOrder(pageSize) && m_columnCount > 0;
}

bool MSqlListRows::readIds(const QString& limit)
{
    QSqlQuery ids(m_db);
    if (!run(ids, m_idsSql + limit))
        return false;
    while (ids.next())
        m_ids.append(ids.value(0));
    m_count = m_ids.size();
    return true;
}

bool MSqlListRows::readRunInOrder(int wanted)
{
    // Each run reads at least as many rows as are known: a list read to its end
    // runs its statement a number of times that grows with the log of its rows.
    const int length = qMax(wanted - m_count, qMax(m_count, pageSize));
    QSqlQuery rows(m_db);
    if (!run(rows, m_sql + QStringLiteral(" LIMIT %1 OFFSET %2").arg(length).arg(m_count))) {
        m_atEnd = true;
        return false;
    }
    if (m_columnCount == 0)
        m_columnCount = rows.record().count();
    int read = 0;
    while (m_columnCount > 0 && rows.next()) {
        const int pageIndex = m_count / pageSize;
        if (pageIndex == int(m_pages.size()))
            m_pages.emplace_back(new MSqlRowPage(m_columnCount, pageSize));
        m_pages.back()->storeRow(m_count % pageSize, rows);
        ++m_count;
        ++read;
    }
    m_atEnd = read < length;
    return true;
}

int MSqlListRows::count() const
{
    return m_count;
}

void MSqlListRows::readUpTo(int wanted)
{
    if (m_atEnd || m_count >= wanted)
        return;
    if (m_sorted) {
        // The sort has seen every id before it gives the first: the rest are read
        // to their end at once.
        readIds(QStringLiteral(" LIMIT -1 OFFSET %1").arg(pageSize));
        m_atEnd = true;
        return;
    }
    readRunInOrder(wanted);
}

QVariant MSqlListRows::value(int row, int column)
{
    if (row < 0 || row >= m_count || column < 0 || column >= m_columnCount)
        return QVariant();
    if (m_sorted && column == 0)
        return m_ids.at(row);
    const MSqlRowPage* rows = page(row / pageSize);
    return rows ? rows->value(row % pageSize, column) : QVariant();
}

MSqlRowPage* MSqlListRows::page(int pageIndex)
{
    if (m_sorted && (pageIndex >= int(m_pages.size()) || !m_pages.at(pageIndex)))
        loadPageOfIds(pageIndex);
    return pageIndex < int(m_pages.size()) ? m_pages.at(pageIndex).get() : nullptr;
}

void MSqlListRows::loadPageOfIds(int pageIndex)
{
    const int first = pageIndex * pageSize;
    readUpTo(first + pageSize);
    const int end = qMin(m_count, first + pageSize);

    // Where each id stands in the page; an id listed twice takes its rows in turn.
    QHash<QString, QVector<int>> positions;
    QStringList ids;
    for (int row = first; row < end; ++row) {
        const QString id = literal(m_ids.at(row));
        positions[id].append(row - first);
        ids.append(id);
    }

    if (pageIndex >= int(m_pages.size()))
        m_pages.resize(pageIndex + 1);
    auto rows = std::make_unique<MSqlRowPage>(m_columnCount, pageSize);
    QSqlQuery query(m_db);
    if (!ids.isEmpty() && run(query, m_parts->rowsOfIdsSql(ids.join(QLatin1Char(','))))) {
        while (query.next()) {
            auto found = positions.find(literal(query.value(0)));
            if (found == positions.end() || found->isEmpty())
                continue;
            rows->storeRow(found->takeFirst(), query);
        }
    }
    m_pages[pageIndex] = std::move(rows);
}
