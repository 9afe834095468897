#include "MBankDlg.h"

#include "parties/MFormPage.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTabWidget>
#include <QVariant>

MBankDlg::MBankDlg(QWidget* parent, int mode, Qt::WindowFlags flags)
    : MRecordDlg(parent, 9, false, flags)
    , m_mode(mode)
{
    setWindowTitle(tr("Bank"));

    auto* tabWidget = new QTabWidget(this);
    auto* page = new QWidget();
    MFormPage form(page);
    m_bank = new QLineEdit(page);
    m_bank->setObjectName(QStringLiteral("bank"));
    m_bankAccount = new QLineEdit(page);
    m_bankAccount->setObjectName(QStringLiteral("bank_account"));
    form.addFieldPair(tr("Bank"), m_bank, 245, tr("Numer konta"), m_bankAccount, 245);
    form.finish();
    tabWidget->addTab(page, tr("Bank"));

    frameLayout()->addWidget(tabWidget, 0, 0);
    frameLayout()->setRowMinimumHeight(1, 5);
    addButtonRow(2);
}

MBankDlg::~MBankDlg() = default;

void MBankDlg::setIdRecord(int id)
{
    m_idRecord = id;
    if (id < 1 || m_mode != ModeSellerBank)
        return;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT bank, bank_account FROM __seller_bank WHERE __id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (query.exec() && query.next()) {
        m_bank->setText(query.value(0).toString());
        m_bankAccount->setText(query.value(1).toString());
    }
}

bool MBankDlg::save(int* savedId)
{
    if (m_mode != ModeSellerBank)
        return true;
    QSqlQuery query;
    if (m_idRecord > 0) {
        query.prepare(QStringLiteral("UPDATE __seller_bank SET bank = :bank, bank_account = :bank_account "
                                     "WHERE __id = :id"));
        query.bindValue(QStringLiteral(":id"), m_idRecord);
    } else {
        query.prepare(QStringLiteral("INSERT INTO __seller_bank (bank, bank_account) VALUES (:bank, :bank_account)"));
    }
    query.bindValue(QStringLiteral(":bank"), m_bank->text());
    query.bindValue(QStringLiteral(":bank_account"), m_bankAccount->text());
    if (!execWrite(query))
        return false;
    *savedId = m_idRecord > 0 ? m_idRecord : query.lastInsertId().toInt();
    return true;
}
