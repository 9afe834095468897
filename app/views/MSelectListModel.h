#pragma once

#include <QIcon>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QVariant>

// The state of a check-list row, in role ItemRole::State of its column-0 item.
namespace CheckItemState {
enum {
    Checked = 1,
    Unchecked = 2,
};
} // namespace CheckItemState

// A flat check list: column 0 holds a check mark, drawn as an icon, that a click toggles;
// the other columns hold text. The owners fill the rows themselves.
class MSelectListModel : public QStandardItemModel
{
    Q_OBJECT

public:
    explicit MSelectListModel(QObject* parent = nullptr);
    ~MSelectListModel() override;

    // Kept for the owner; the model does not read it.
    void setQuery(const QSqlQuery& query);
    QSqlQuery query() const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

public slots:
    void itemClicked(QModelIndex index);

private:
    QSqlQuery m_query;
    const QVariant m_font;
    const QIcon m_checkedIcon;
    const QIcon m_uncheckedIcon;
};
