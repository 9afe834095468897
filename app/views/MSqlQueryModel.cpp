#include "MSqlQueryModel.h"

#include "data/MNumberText.h"
#include "views/MListFont.h"
#include "views/MSqlListRows.h"

#include <QBrush>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

// Rows made known to the views at a time, as the base model fetches them.
const int fetchStep = 255;

const int leftAligned = Qt::AlignLeft | Qt::AlignVCenter;
const int rightAligned = Qt::AlignRight | Qt::AlignVCenter;

bool isRightAligned(int kind)
{
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Decimal2:
    case ColumnKind::Amount:
    case ColumnKind::Decimal4:
    case ColumnKind::CurrencyAmount4:
    case ColumnKind::RightText:
    case ColumnKind::CurrencyAmount2:
        return true;
    default:
        return false;
    }
}

// "12.5 EUR" with the amount in the program's number format; any other shape as it is.
QVariant currencyAmountText(const QVariant& value, int decimals)
{
    const QStringList parts = value.toString().split(QLatin1Char(' '));
    if (parts.size() != 2)
        return value;
    // Stored with a decimal point whatever the locale; unreadable text counts as 0.
    return QVariant(numberText(parts.at(0).toDouble(), decimals) + QLatin1Char(' ') + parts.at(1));
}

} // namespace

MSqlQueryModel::MSqlQueryModel(QObject* parent)
    : QSqlQueryModel(parent)
    , m_font(listFont())
    , m_defaultRowBrush(QBrush(Qt::green, Qt::Dense5Pattern))
{
}

MSqlQueryModel::~MSqlQueryModel() = default;

void MSqlQueryModel::setQuery(const QString& sql, const QSqlDatabase& db)
{
    setQuery(sql, QVariantMap(), db);
}

void MSqlQueryModel::setQuery(const QString& sql, const QVariantMap& values, const QSqlDatabase& db)
{
    auto rows = std::make_unique<MSqlListRows>();
    if (!rows->open(sql, values, db)) {
        QSqlQuery query(db);
        MSqlListRows::run(query, sql, values);
        setQuery(query);
        return;
    }

    // The base model takes the statement's columns from a run that reads no row;
    // the rows come from `rows` through the overrides below.
    m_rows = std::move(rows);
    m_rowsShown = 0;
    m_allShown = false;
    m_resetting = true;
    QSqlQuery columns(db);
    MSqlListRows::run(columns, sql + QStringLiteral(" LIMIT 0"), values);
    QSqlQueryModel::setQuery(columns);
    m_resetting = false;
    if (lastError().isValid()) {
        QSqlQuery query(db);
        MSqlListRows::run(query, sql, values);
        setQuery(query);
        return;
    }
    if (m_rowsShown == 0)
        fetchMore();
}

void MSqlQueryModel::setQuery(const QSqlQuery& query)
{
    m_rows.reset();
    QSqlQueryModel::setQuery(query);
    // A statement read only in part would keep the connection from dropping a table,
    // vacuuming or rolling back while the list is open.
    while (QSqlQueryModel::canFetchMore())
        QSqlQueryModel::fetchMore();
}

QSqlRecord MSqlQueryModel::record(int row) const
{
    if (!m_rows)
        return QSqlQueryModel::record(row);
    QSqlRecord values = record();
    if (row < 0 || row >= m_rowsShown)
        return values;
    for (int column = 0; column < values.count(); ++column)
        values.setValue(column, m_rows->value(row, column));
    return values;
}

int MSqlQueryModel::rowCount(const QModelIndex& parent) const
{
    if (!m_rows)
        return QSqlQueryModel::rowCount(parent);
    return parent.isValid() ? 0 : m_rowsShown;
}

bool MSqlQueryModel::canFetchMore(const QModelIndex& parent) const
{
    if (!m_rows)
        return QSqlQueryModel::canFetchMore(parent);
    return !parent.isValid() && !m_allShown;
}

void MSqlQueryModel::fetchMore(const QModelIndex& parent)
{
    if (!m_rows) {
        QSqlQueryModel::fetchMore(parent);
        return;
    }
    // Views may ask for more while they are told of the rows being added.
    if (parent.isValid() || m_inserting)
        return;
    // The same steps as the base model: the first fetch shows rows 0 .. 255,
    // each further one 255 rows more.
    const int wanted = qMax(m_rowsShown - 1, 0) + fetchStep + 1;
    m_rows->readUpTo(wanted);
    m_allShown = m_rows->count() < wanted;
    const int shown = qMin(wanted, m_rows->count());
    if (shown <= m_rowsShown)
        return;
    if (m_resetting) {
        m_rowsShown = shown;
        return;
    }
    m_inserting = true;
    beginInsertRows(QModelIndex(), m_rowsShown, shown - 1);
    m_rowsShown = shown;
    endInsertRows();
    m_inserting = false;
}

void MSqlQueryModel::clear()
{
    m_rows.reset();
    m_rowsShown = 0;
    m_allShown = false;
    QSqlQueryModel::clear();
}

QVariant MSqlQueryModel::queryValue(const QModelIndex& index, int role) const
{
    if (!m_rows)
        return QSqlQueryModel::data(index, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    if (index.row() >= m_rowsShown)
        return QVariant();
    return m_rows->value(index.row(), index.column());
}

void MSqlQueryModel::setColumnKinds(const QList<int>& kinds)
{
    m_columnKinds = kinds;
}

QList<int> MSqlQueryModel::columnKinds() const
{
    return m_columnKinds;
}

void MSqlQueryModel::setRowDefault(int row)
{
    m_rowDefault = row;
}

int MSqlQueryModel::rowDefault() const
{
    return m_rowDefault;
}

QVariant MSqlQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();

    QVariant value;
    switch (role) {
    case Qt::FontRole:
        return m_font;
    case Qt::BackgroundRole:
        return index.row() == m_rowDefault ? m_defaultRowBrush : QVariant();
    case Qt::TextAlignmentRole:
        value = leftAligned;
        break;
    case Qt::UserRole:
        value = queryValue(index, Qt::DisplayRole);
        break;
    default:
        value = queryValue(index, role);
        break;
    }

    if (!value.isValid() || index.column() >= m_columnKinds.size())
        return value;

    const int kind = m_columnKinds.at(index.column());
    if (role == Qt::TextAlignmentRole)
        return isRightAligned(kind) ? rightAligned : value;

    if (role == Qt::UserRole) {
        switch (kind) {
        case ColumnKind::Integer:
            return value.toLongLong();
        case ColumnKind::Decimal2:
        case ColumnKind::Amount:
        case ColumnKind::Decimal4:
            return value.toDouble();
        default:
            return value;
        }
    }

    switch (kind) {
    case ColumnKind::Integer:
        return value.toLongLong();
    case ColumnKind::Decimal2:
    case ColumnKind::Amount:
        return numberText(value.toDouble(), 2);
    case ColumnKind::Decimal4:
        return numberText(value.toDouble(), 4);
    case ColumnKind::CurrencyAmount4:
        return currencyAmountText(value, 4);
    case ColumnKind::CurrencyAmount2:
        return currencyAmountText(value, 2);
    default:
        return value;
    }
}

Qt::ItemFlags MSqlQueryModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;
}
