#pragma once

#include <QDialog>
#include <QMap>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

// "Kontrola płatności": paid flag, payment date and cancel flag of all selected documents
// at once, preset from them when they agree and with a red warning when they do not.
class MInvoicePaymentDlg : public QDialog
{
    Q_OBJECT
    friend class TestDocumentActionDialogs;

public:
    MInvoicePaymentDlg(int viewKind, QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

    // The selected documents (id to 1); called once, before the dialog is shown.
    void setIdsSelected(const QMap<int, int>& ids);

private slots:
    void clickOk(bool b);
    void clickCancel(bool b);
    void doStateChangedIsCancelled(int state);
    void doStateChangedIsPayed(int state);
    void doStateChangedNoDatePayed(int state);

private:
    QCheckBox* createCheckBox(const QString& text, bool enabled);

    int m_viewKind = 7;
    QMap<int, int> m_ids;
    QLabel* m_warning = nullptr;
    QCheckBox* m_isPayed = nullptr;
    QCheckBox* m_withDate = nullptr;
    QDateEdit* m_datePayed = nullptr;
    QCheckBox* m_isCancelled = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
};
