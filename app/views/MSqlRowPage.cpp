#include "MSqlRowPage.h"

#include <QSqlQuery>

MSqlRowPage::MSqlRowPage(int columnCount, int capacity)
    : m_columnCount(columnCount)
    , m_cells(columnCount * capacity)
    , m_stored(capacity, false)
{
}

int MSqlRowPage::columnCount() const
{
    return m_columnCount;
}

void MSqlRowPage::storeRow(int position, const QSqlQuery& query)
{
    m_stored[position] = true;
    Cell* cell = m_cells.data() + position * m_columnCount;
    for (int column = 0; column < m_columnCount; ++column, ++cell) {
        const QVariant value = query.value(column);
        cell->type = value.userType();
        if (value.isNull()) {
            cell->length = -1;
            continue;
        }
        switch (cell->type) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            cell->integer = value.toLongLong();
            cell->length = 0;
            break;
        case QMetaType::Double:
            cell->real = value.toDouble();
            cell->length = 0;
            break;
        case QMetaType::QString: {
            const QString text = value.toString();
            cell->offset = m_texts.size();
            cell->length = text.size();
            m_texts += text;
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            cell->offset = m_bytes.size();
            cell->length = bytes.size();
            m_bytes += bytes;
            break;
        }
        default:
            cell->offset = m_others.size();
            cell->length = 0;
            m_others.append(value);
            break;
        }
    }
}

bool MSqlRowPage::hasRow(int position) const
{
    return position >= 0 && position < m_stored.size() && m_stored.at(position);
}

QVariant MSqlRowPage::value(int position, int column) const
{
    if (!hasRow(position) || column < 0 || column >= m_columnCount)
        return QVariant();
    const Cell& cell = m_cells.at(position * m_columnCount + column);
    if (cell.length < 0)
        return QVariant(QVariant::Type(cell.type));
    switch (cell.type) {
    case QMetaType::LongLong:
        return QVariant(qlonglong(cell.integer));
    case QMetaType::Int:
        return QVariant(int(cell.integer));
    case QMetaType::Double:
        return QVariant(cell.real);
    case QMetaType::QString:
        // An empty text stays an empty text, not a null one.
        if (cell.length == 0)
            return QVariant(QString(QLatin1String("")));
        return QVariant(m_texts.mid(cell.offset, cell.length));
    case QMetaType::QByteArray:
        return QVariant(m_bytes.mid(cell.offset, cell.length));
    default:
        return m_others.at(cell.offset);
    }
}
