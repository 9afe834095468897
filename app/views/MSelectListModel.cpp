#include "MSelectListModel.h"

#include "views/MItemRoles.h"
#include "views/MListFont.h"

MSelectListModel::MSelectListModel(QObject* parent)
    : QStandardItemModel(parent)
    , m_font(listFont())
    , m_checkedIcon(QStringLiteral(":/resource/filter_2_16_16.png"))
    , m_uncheckedIcon(QStringLiteral(":/resource/filter_3_16_16.png"))
{
}

MSelectListModel::~MSelectListModel() = default;

void MSelectListModel::setQuery(const QSqlQuery& query)
{
    m_query = query;
}

QSqlQuery MSelectListModel::query() const
{
    return m_query;
}

QVariant MSelectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::UserRole:
    case ItemRole::State:
    case ItemRole::Value:
        return QStandardItemModel::data(index, role);
    case Qt::FontRole:
        return m_font;
    case Qt::DecorationRole:
        if (index.column() != 0)
            return QVariant();
        switch (QStandardItemModel::data(index, ItemRole::State).toInt()) {
        case CheckItemState::Checked:
            return m_checkedIcon;
        case CheckItemState::Unchecked:
            return m_uncheckedIcon;
        default:
            return QVariant();
        }
    default:
        return QVariant();
    }
}

Qt::ItemFlags MSelectListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

void MSelectListModel::itemClicked(QModelIndex index)
{
    if (!index.isValid() || index.column() != 0 || index.model() != this)
        return;
    const int state = QStandardItemModel::data(index, ItemRole::State).toInt();
    if (state == CheckItemState::Checked)
        setData(index, CheckItemState::Unchecked, ItemRole::State);
    else if (state == CheckItemState::Unchecked)
        setData(index, CheckItemState::Checked, ItemRole::State);
}
