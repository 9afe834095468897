#include "MInvoicePaymentDlg.h"

#include "data/MPaymentControl.h"
#include "documents/MOkCancelRow.h"
#include "views/MDateEdit.h"
#include "views/MMessageBox.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

MInvoicePaymentDlg::MInvoicePaymentDlg(int viewKind, QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_viewKind(viewKind)
{
    setWindowTitle(tr("Kontrola płatności"));

    m_warning = new QLabel(this);
    m_warning->setFixedWidth(300);
    m_warning->setWordWrap(true);
    m_warning->hide();
    auto* line = new QLabel(QStringLiteral("<hr>"), this);
    line->setFixedWidth(300);

    m_isPayed = createCheckBox(tr("Zapłacone"), false);
    connect(m_isPayed, &QCheckBox::stateChanged, this, &MInvoicePaymentDlg::doStateChangedIsPayed);
    m_withDate = createCheckBox(tr("Wybierz datę zapłaty"), false);
    connect(m_withDate, &QCheckBox::stateChanged, this, &MInvoicePaymentDlg::doStateChangedNoDatePayed);
    m_datePayed = MDateEdit::create(this, 160);
    m_datePayed->setEnabled(false);
    m_isCancelled = createCheckBox(tr("Anulowane"), true);
    connect(m_isCancelled, &QCheckBox::stateChanged, this, &MInvoicePaymentDlg::doStateChangedIsCancelled);

    QGridLayout* buttons = createOkCancelRow(this, &m_buttonOk, &m_buttonCancel);
    connect(m_buttonOk, &QPushButton::clicked, this, &MInvoicePaymentDlg::clickOk);
    connect(m_buttonCancel, &QPushButton::clicked, this, &MInvoicePaymentDlg::clickCancel);

    auto* payment = new QGridLayout();
    payment->setContentsMargins(0, 0, 0, 0);
    payment->setSpacing(0);
    payment->addWidget(m_isPayed, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    payment->setRowMinimumHeight(1, 5);
    payment->addWidget(m_withDate, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    payment->setRowMinimumHeight(3, 1);
    payment->addWidget(m_datePayed, 4, 0, Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(m_warning, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(1, 5);
    layout->addLayout(payment, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(3, 2);
    layout->addWidget(line, 4, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(5, 2);
    layout->addWidget(m_isCancelled, 6, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(7, 15);
    layout->addLayout(buttons, 8, 0, Qt::AlignRight | Qt::AlignBottom);
    layout->setRowStretch(9, 1);
}

QCheckBox* MInvoicePaymentDlg::createCheckBox(const QString& text, bool enabled)
{
    auto* box = new QCheckBox(text, this);
    box->setStyleSheet(QStringLiteral("font-weight: bold;"));
    box->setEnabled(enabled);
    return box;
}

void MInvoicePaymentDlg::setIdsSelected(const QMap<int, int>& ids)
{
    m_ids = ids;
    MPaymentControl::State last;
    if (!MPaymentControl::agree(ids.keys(), &last)) {
        m_warning->setText(tr("<font color=\"#f00000\"><b>Uwaga:</b><br>Zaznaczone wiersze nie mają tych samych "
                              "wartości zapłacone/niezapłacone i/lub daty zapłaty i zostaną nadpisane.")
                           + QStringLiteral("<br></font>"));
        m_warning->show();
        m_isCancelled->setEnabled(true);
        m_isPayed->setEnabled(true);
        return;
    }
    if (last.payed) {
        m_isPayed->setChecked(true);
        m_withDate->setEnabled(true);
    }
    if (!last.datePayed.isEmpty()) {
        m_withDate->setChecked(true);
        m_datePayed->setDate(QDate::fromString(last.datePayed, QStringLiteral("yyyy-MM-dd")));
    }
    if (last.cancelled)
        m_isCancelled->setChecked(true);
    else
        m_isPayed->setEnabled(true);
}

void MInvoicePaymentDlg::doStateChangedIsCancelled(int /*state*/)
{
    if (m_isCancelled->isChecked()) {
        m_isPayed->setEnabled(false);
        m_withDate->setEnabled(false);
        m_datePayed->setEnabled(false);
        return;
    }
    m_isPayed->setEnabled(true);
    m_withDate->setEnabled(m_isPayed->isChecked());
    m_datePayed->setEnabled(m_isPayed->isChecked() && m_withDate->isChecked());
}

void MInvoicePaymentDlg::doStateChangedIsPayed(int /*state*/)
{
    m_withDate->setEnabled(m_isPayed->isChecked());
    m_datePayed->setEnabled(m_isPayed->isChecked() && m_withDate->isChecked());
}

void MInvoicePaymentDlg::doStateChangedNoDatePayed(int /*state*/)
{
    m_datePayed->setEnabled(m_withDate->isChecked());
}

void MInvoicePaymentDlg::clickOk(bool /*b*/)
{
    MPaymentControl::Choice choice;
    choice.payed = m_isPayed->isChecked();
    choice.withDate = m_withDate->isChecked();
    choice.datePayed = m_datePayed->date();
    choice.cancelled = m_isCancelled->isChecked();
    QString error;
    if (!MPaymentControl::write(m_ids.keys(), choice, &error)) {
        QString text = tr("Nie udało się zapisać kontroli płatności. Dane w bazie pozostały bez zmian.");
        if (!error.isEmpty())
            text += QStringLiteral("\n\n") + error;
        MMessageBox::critical(this, tr("Błąd zapisu"), text);
        return;
    }
    if (QWidget* owner = parentWidget()) {
        QMetaObject::invokeMethod(owner, "doChangeDbObject", Qt::DirectConnection, Q_ARG(int, m_viewKind),
                                  Q_ARG(int, 0));
    }
    done(0);
}

void MInvoicePaymentDlg::clickCancel(bool /*b*/)
{
    done(0);
}
