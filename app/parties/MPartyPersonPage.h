#pragma once

#include <QStringList>
#include <QWidget>

class MOptionalDateEdit;
class MReferenceComboBox;
class QLineEdit;
class QSqlQuery;
class QSqlRecord;

// The page "Osoba" that the buyer and the seller dialogs share: the authorised person and
// the identity document, each field named after the column it edits.
class MPartyPersonPage : public QWidget
{
    Q_OBJECT

public:
    explicit MPartyPersonPage(QWidget* parent = nullptr);
    ~MPartyPersonPage() override;

    // The person's and the document's columns, in the order the record statements list
    // them; the statements put other columns between the two groups.
    static QStringList personColumns();
    static QStringList documentColumns();

    // Fills the fields from a row that holds both groups of columns.
    void load(const QSqlRecord& row);
    // Binds each column's ":column": texts as typed, the document kind's id and the date.
    void bindValues(QSqlQuery& query) const;

private:
    QLineEdit* m_firstname = nullptr;
    QLineEdit* m_secondname = nullptr;
    QLineEdit* m_pesel = nullptr;
    MReferenceComboBox* m_documentKind = nullptr;
    QLineEdit* m_documentNumber = nullptr;
    QLineEdit* m_documentBy = nullptr;
    MOptionalDateEdit* m_documentDate = nullptr;
};
