#include "MInvoiceDuplicateDlg.h"

#include "data/MDocumentActions.h"
#include "data/MInvoiceDuplicate.h"
#include "documents/MOkCancelRow.h"
#include "views/MDateEdit.h"
#include "views/MMessageBox.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTextEdit>

MInvoiceDuplicateDlg::MInvoiceDuplicateDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    m_tabs = new QTabWidget(this);
    createTab(1);
    createTab(2);

    QGridLayout* buttons = createOkCancelRow(this, &m_buttonOk, &m_buttonCancel);
    connect(m_buttonOk, &QPushButton::clicked, this, &MInvoiceDuplicateDlg::clickOk);
    connect(m_buttonCancel, &QPushButton::clicked, this, &MInvoiceDuplicateDlg::clickCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(m_tabs, 0, 0);
    layout->setRowMinimumHeight(1, 5);
    layout->addLayout(buttons, 2, 0, Qt::AlignRight | Qt::AlignBottom);
}

void MInvoiceDuplicateDlg::createTab(int tab)
{
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    QWidget* field = nullptr;
    QString caption;
    if (tab == 1) {
        caption = tr("Data wystawienia");
        m_datePut = MDateEdit::create(page, 160);
        field = m_datePut;
    } else {
        caption = tr("Uwagi (nie zamieszczane na wydruku)");
        m_remark = new QTextEdit(page);
        m_remark->setAcceptRichText(false);
        m_remark->setLineWrapMode(QTextEdit::NoWrap);
        m_remark->setFixedSize(500, 120);
        field = m_remark;
    }
    grid->addWidget(new QLabel(QStringLiteral("<b>") + caption + QStringLiteral("</b>"), page), 0, 0,
                    Qt::AlignLeft | Qt::AlignTop);
    grid->setRowMinimumHeight(1, 1);
    grid->addWidget(field, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    m_tabs->addTab(page, tab == 1 ? tr("Terminy") : tr("Uwagi"));
}

int MInvoiceDuplicateDlg::kind() const
{
    return m_kind;
}

bool MInvoiceDuplicateDlg::validate()
{
    // Any date and any remark make a duplicate.
    return true;
}

void MInvoiceDuplicateDlg::setIdRecordParent(int id)
{
    m_idParent = id;
}

void MInvoiceDuplicateDlg::setIdRecord(int id)
{
    m_idRecord = id;
    if (id < 1) {
        int parentKind = -1;
        if (MDocumentActions::readKind(m_idParent, &parentKind))
            m_kind = MDocumentActions::duplicateKind(parentKind);
    } else {
        MInvoiceDuplicate duplicate;
        if (MInvoiceDuplicate::load(id, &duplicate)) {
            m_kind = duplicate.kind;
            m_datePut->setDate(duplicate.datePut);
            m_remark->setPlainText(duplicate.remark);
        }
    }
    // A parent or duplicate gone meanwhile leaves no kind; the title then names the VAT invoice.
    if (m_kind < 0)
        m_kind = 0;

    QString form;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT basic_form FROM invoice_kind WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), m_kind);
    if (query.exec() && query.next())
        form = query.value(0).toString();
    setWindowTitle(tr("Duplikat - ") + form);
}

void MInvoiceDuplicateDlg::clickOk(bool /*b*/)
{
    if (!validate())
        return;
    const MInvoiceDuplicate::Result result =
        m_idRecord < 1 ? MInvoiceDuplicate::insert(m_idParent, m_datePut->date(), m_remark->toPlainText())
                       : MInvoiceDuplicate::update(m_idRecord, m_kind, m_datePut->date(), m_remark->toPlainText());
    if (result.refused) {
        MMessageBox::information(this, tr("Duplikat dokumentu"),
                                 tr("Do wybranego dokumentu nie można wystawić duplikatu."));
        done(0);
        return;
    }
    if (!result.ok()) {
        QString text = tr("Nie udało się zapisać duplikatu. Wprowadzone dane pozostały w oknie.");
        if (!result.errorText.isEmpty())
            text += QStringLiteral("\n\n") + result.errorText;
        MMessageBox::critical(this, tr("Błąd zapisu"), text);
        return;
    }
    if (QWidget* owner = parentWidget()) {
        QMetaObject::invokeMethod(owner, "doChangeDbObject", Qt::DirectConnection,
                                  Q_ARG(int, MInvoiceDuplicate::listKind(result.kind)), Q_ARG(int, result.id));
    }
    done(0);
}

void MInvoiceDuplicateDlg::clickCancel(bool /*b*/)
{
    done(0);
}
