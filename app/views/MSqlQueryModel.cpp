#include "MSqlQueryModel.h"

#include "data/MNumberText.h"
#include "views/MListFont.h"

#include <QBrush>
#include <QStringList>

namespace {

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
        value = QSqlQueryModel::data(index, Qt::DisplayRole);
        break;
    default:
        value = QSqlQueryModel::data(index, role);
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
