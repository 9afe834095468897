#include "MSqlListRows.h"

#include "views/MSqlRowPage.h"

#include <QHash>
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

bool MSqlListRows::open(const QString& sql, const QSqlDatabase& db)
{
    m_db = db;
    m_parts.reset(new MSqlSelectParts(sql));
    if (m_parts->isOrderTotal() && openSorted(db))
        return true;
    return openInOrder(sql, db);
}

bool MSqlListRows::openSorted(const QSqlDatabase& db)
{
    // The statement for a page of rows must compile before the ids are read by it.
    QSqlQuery probe(db);
    probe.setForwardOnly(true);
    if (!probe.exec(m_parts->rowsOfIdsSql(QStringLiteral("NULL"))))
        return false;
    m_columnCount = probe.record().count();

    // Joins that add no row and no condition cost the sort their reading.
    const auto keyOf = [&db](const QString& table) { return idIsKey(db, table); };
    m_idsSql = m_parts->firstColumnSql(keyOf);
    // The first page's ids come from a sort that keeps only them; the order being
    // total, the rest follow from a second sort when the list is first read further.
    m_reader = QSqlQuery(db);
    m_reader.setForwardOnly(true);
    if (m_columnCount == 0 || !m_reader.exec(m_idsSql + QStringLiteral(" LIMIT %1").arg(pageSize)))
        return false;
    m_sorted = true;
    m_restOfIdsPending = true;
    m_atEnd = false;
    // The first rows are read now, as the statement stands when the list is shown.
    page(0);
    return true;
}

bool MSqlListRows::openInOrder(const QString& sql, const QSqlDatabase& db)
{
    m_reader = QSqlQuery(db);
    m_reader.setForwardOnly(true);
    if (!m_reader.exec(sql))
        return false;
    m_columnCount = m_reader.record().count();
    m_sorted = false;
    m_atEnd = m_columnCount == 0;
    return m_columnCount > 0;
}

int MSqlListRows::count() const
{
    return m_count;
}

void MSqlListRows::readUpTo(int wanted)
{
    while (!m_atEnd && m_count < wanted) {
        if (!m_reader.next() && m_restOfIdsPending && m_count == pageSize) {
            m_restOfIdsPending = false;
            m_reader.exec(m_idsSql + QStringLiteral(" LIMIT -1 OFFSET %1").arg(pageSize));
            continue;
        }
        if (!m_reader.isValid()) {
            m_atEnd = true;
            // Ends the statement so that it holds no lock on the database.
            m_reader.finish();
            break;
        }
        if (m_sorted) {
            m_ids.append(m_reader.value(0));
        } else {
            const int pageIndex = m_count / pageSize;
            if (pageIndex == int(m_pages.size()))
                m_pages.emplace_back(new MSqlRowPage(m_columnCount, pageSize));
            m_pages.back()->storeRow(m_count % pageSize, m_reader);
        }
        ++m_count;
    }
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
    query.setForwardOnly(true);
    if (!ids.isEmpty() && query.exec(m_parts->rowsOfIdsSql(ids.join(QLatin1Char(','))))) {
        while (query.next()) {
            auto found = positions.find(literal(query.value(0)));
            if (found == positions.end() || found->isEmpty())
                continue;
            rows->storeRow(found->takeFirst(), query);
        }
    }
    m_pages[pageIndex] = std::move(rows);
}
