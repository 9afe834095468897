#pragma once

#include <QList>
#include <QSqlQueryModel>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class MSqlListRows;

// How a list shows one column of its query; the record views' SQL builders read it too.
namespace ColumnKind {
enum {
    Text = 0,
    Integer = 1,
    Decimal2 = 2,
    Amount = 3,
    OtherText = 4,
    Decimal4 = 5,
    TaxIdentifier = 6, // NIP / PESEL, searched without blanks and dashes
    CurrencyAmount4 = 7, // "12.5 EUR", shown with four decimals
    RightText = 8,
    CurrencyAmount2 = 9, // "12.5 EUR", shown with two decimals
};
} // namespace ColumnKind

// The read-only model behind every list: the rows of an SQL query, fetched lazily,
// each column aligned and formatted by its ColumnKind. One row, the default record,
// can be painted with its own background.
//
// The rows are read by MSqlListRows (a sorted list reads its ordered ids first and
// the wide rows by id as they are shown) and kept in compact pages; the base model
// holds only the statement's columns. A statement that cannot be read that way is
// left to the base model, which reads all its rows at once. Either way the model
// keeps no statement unfinished on the connection between two of its calls.
class MSqlQueryModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    explicit MSqlQueryModel(QObject* parent = nullptr);
    ~MSqlQueryModel() override;

    using QSqlQueryModel::record;
    void setQuery(const QString& sql, const QSqlDatabase& db = QSqlDatabase());
    // `sql` with `values` bound to the placeholders (":name") that it names.
    void setQuery(const QString& sql, const QVariantMap& values, const QSqlDatabase& db = QSqlDatabase());
    // An executed query is left to the base model, which reads all its rows at once.
    void setQuery(const QSqlQuery& query);
    // The columns of `row` with its values.
    QSqlRecord record(int row) const;

    // Columns beyond the list behave as plain text.
    void setColumnKinds(const QList<int>& kinds);
    QList<int> columnKinds() const;

    // The row painted as the default record, -1 for none; a row number, not an id.
    void setRowDefault(int row);
    int rowDefault() const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;
    void clear() override;

private:
    QVariant queryValue(const QModelIndex& index, int role) const;

    std::unique_ptr<MSqlListRows> m_rows;
    int m_rowsShown = 0;
    bool m_allShown = false;
    bool m_resetting = false;
    bool m_inserting = false;
    QList<int> m_columnKinds;
    int m_rowDefault = -1;
    const QVariant m_font;
    const QVariant m_defaultRowBrush;
};
