#pragma once

#include <QDialog>
#include <QString>

class QGridLayout;
class QPushButton;
class QSqlQuery;
class QSqlRecord;
class QStringList;

// The frame every record dialog shares: an "OK" / "Anuluj" pair under the dialog's
// content, the choice between the model table and the invoice editor's working copy,
// and the store on "OK", which runs as one transaction and reports the saved record
// to the dialog's owner (the main window, or the invoice editor in invoice mode)
// through the owner's slot doChangeDbObject(int kind, int id).
//
// A failed write rolls everything back, tells the user and leaves the dialog open
// with what was typed, so that nothing is lost and "OK" can simply be pressed again.
class MRecordDlg : public QDialog
{
    Q_OBJECT

public:
    // `viewKind` is the DbObjectKind reported after saving.
    MRecordDlg(QWidget* parent, int viewKind, bool invoiceMode, Qt::WindowFlags flags);
    ~MRecordDlg() override;

    bool isInvoiceMode() const;

protected:
    // The dialog's outer grid (margin 5, spacing 0); the content goes in the rows above
    // the button row.
    QGridLayout* frameLayout() const;
    // Puts the button row in `row` of the outer grid, aligned right and bottom.
    void addButtonRow(int row);

    // The model table's name or, in invoice mode, its working copy's, and the key of
    // either: "buyer" / "id" or "__invoice_buyer" / "__id".
    QString tableName(const QString& modelTable, const QString& workingTable) const;
    QString keyName() const;

    // Reads `columns` (a select list) of record `id` in `table`; false, with `row`
    // untouched, when there is no such row.
    bool readRecord(const QString& columns, const QString& table, int id, QSqlRecord* row) const;
    // Prepares the write of record `id` in `table`: the UPDATE of its row when `id` is
    // above 0, else an INSERT; every column bound by its own name (":firm"), and
    // time_modify (with time_create for a new row) set to the current time.
    void prepareRecordWrite(QSqlQuery& query, const QString& table, const QStringList& columns, int id) const;
    // Runs that write through execWrite; a new record's id then comes from the insert.
    // An UPDATE goes through execUpdate with `goneText`.
    bool execRecordWrite(QSqlQuery& query, int* id, const QString& goneText);
    // Runs the UPDATE of an existing record through execWrite; when it changed no row the
    // record was deleted while the dialog was open, and the store fails with `goneText`.
    bool execUpdate(QSqlQuery& query, const QString& goneText);

    // Writes the form. Runs inside the transaction of clickOk; every write goes through
    // execWrite and a false result ends the store. It must leave the dialog's own state
    // as it found it, because a failed store keeps the dialog open for another try;
    // `savedId` receives the id to report.
    virtual bool save(int* savedId) = 0;

    // Runs a prepared write; on failure keeps its error for the message and returns false.
    bool execWrite(QSqlQuery& query);
    // Keeps the reason of a write that failed outside execWrite; returns false.
    bool writeFailed(const QString& detail);

protected slots:
    virtual void clickOk(bool b);
    virtual void clickCancel(bool b);

private:
    void focusFirstField();
    void reportSaved(int id);
    void showSaveError(const QString& detail);

    QGridLayout* m_frameLayout = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QString m_writeError;
    const int m_viewKind;
    const bool m_invoiceMode;
};
