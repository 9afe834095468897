#pragma once

#include <QList>
#include <QSet>
#include <QString>

// The bank accounts of the seller being edited, as working rows of __seller_bank. Only
// the rows this object names belong to the dialog: rows that other dialogs left in the
// working table never mix in. The seller's own seller_bank rows change only when the
// seller is saved (writeBack).
//
// One account is the default. It is the one chosen last (is_default = 1 when copied in
// or set with setDefault) while it exists, otherwise the lowest row, so that deleting
// the default account never leaves the seller without one.
class MSellerBankRows
{
public:
    // Copies the seller's accounts in one transaction. On failure nothing is kept and
    // writeBack will leave the seller's stored accounts alone.
    bool copyIn(int idSeller, QString* error);
    // A row the bank dialog wrote.
    void add(int id);
    // Deletes working rows in one transaction; false (nothing deleted) on failure.
    bool remove(const QList<int>& ids, QString* error);
    // Marks `id` as the default in the working rows; false (nothing changed) on failure.
    bool setDefault(int id, QString* error);

    bool isEmpty() const;
    // Ascending.
    QList<int> ids() const;
    // "0" and then each id, joined by ",": never empty, fit for an IN list.
    QString idText() const;
    // 0 when there is no account.
    int defaultId() const;
    // The default account's bank and number; both empty without one.
    void defaultAccount(QString* bank, QString* account) const;

    // Replaces the seller's seller_bank rows by the working rows; runs inside the
    // caller's transaction and stops at the first failure, with the reason.
    bool writeBack(int idSeller, QString* error) const;

private:
    QSet<int> m_ids;
    int m_chosenDefaultId = 0;
    bool m_copyFailed = false;
};
