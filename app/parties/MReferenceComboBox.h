#pragma once

#include <QComboBox>
#include <QString>

// A combo box over a reference table (provinces, countries, pay forms...): the rows of a
// query with the name in column 0 and the id in column 1, an empty row meaning none.
// A stored id is shown by its name; the chosen name becomes an id again by a look-up.
//
// A stored id whose row the list leaves out (a country marked hidden) is shown as no
// choice and kept: id() gives it back until the user chooses another row, so saving a
// record does not lose a reference that the user never touched.
class MReferenceComboBox : public QComboBox
{
    Q_OBJECT

public:
    // `table` and `nameColumn` are fixed identifiers of the program, never user text.
    MReferenceComboBox(const QString& table, const QString& nameColumn, QWidget* parent = nullptr);

    // The lists of the record dialogs, each with its empty first row: provinces and
    // document kinds start empty, countries (only those not hidden) at "Polska".
    static MReferenceComboBox* createProvinceBox(QWidget* parent);
    static MReferenceComboBox* createCountryBox(QWidget* parent);
    static MReferenceComboBox* createDocumentKindBox(QWidget* parent);

    // Fills the list with every row of `sql` and shows its first row; reports no change.
    void loadList(const QString& sql);

    // Shows the row of the stored `id`. An id of 0 or of a missing row changes nothing.
    void selectId(int id);
    // Shows the row whose text is exactly `text`; returns false when there is none.
    bool selectText(const QString& text);

    // The id of the shown name; 0 for the empty row or a name that is not found.
    int id() const;

private:
    QString nameOfId(int id) const;

    const QString m_table;
    const QString m_nameColumn;
    int m_keptId = 0;
};
