#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QSqlQuery;
class QSqlRecord;

// The page "Kontakt" that the buyer and the seller dialogs share: phone, fax, e-mail and
// web address, each a line edit named after the column it edits.
class MPartyContactPage : public QWidget
{
    Q_OBJECT

public:
    explicit MPartyContactPage(QWidget* parent = nullptr);
    ~MPartyContactPage() override;

    // The page's columns, in the order the record statements list them.
    static QStringList columns();

    // Fills the fields from a row that holds the page's columns.
    void load(const QSqlRecord& row);
    // Binds each column's ":column" to the text of its field as typed.
    void bindValues(QSqlQuery& query) const;

private:
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_fax = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_www = nullptr;
};
