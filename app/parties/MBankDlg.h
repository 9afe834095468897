#pragma once

#include "parties/MRecordDlg.h"

class QLineEdit;

// One bank account of the seller being edited: a working row of __seller_bank. Saving
// reports (9, the row's __id) to the seller dialog that opened it.
class MBankDlg : public MRecordDlg
{
    Q_OBJECT

public:
    // The only mode: the bank rows of the seller being edited.
    static const int ModeSellerBank = 1;

    MBankDlg(QWidget* parent, int mode, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBankDlg() override;

public slots:
    // `__seller_bank.__id`; below 1 prepares a new account.
    void setIdRecord(int id);

protected:
    bool save(int* savedId) override;

private:
    int m_idRecord = 0;
    const int m_mode;
    QLineEdit* m_bank = nullptr;
    QLineEdit* m_bankAccount = nullptr;
};
