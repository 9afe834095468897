// Document kinds: title, kind list, correction layout and the widgets that
// depend on the kind; the buyer tabs of the chosen buyer kind.
#include "MInvoiceDlg.h"

#include "data/MDocKinds.h"
#include "views/MHelpButton.h"
#include "views/MTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTabWidget>

void MInvoiceDlg::setDocKind(int kind)
{
    m_docKind = kind;
    disconnect(m_docKindCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
               &MInvoiceDlg::doCurrentIndexChangedDocKind);

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT basic_form FROM invoice_kind WHERE id = ?"));
    query.addBindValue(kind);
    const QString title = query.exec() && query.next() ? query.value(0).toString() : QString();
    setWindowTitle(title);

    if (MDocKinds::isCorrection(kind))
        m_isCorrection = true;

    // Kinds the editor never opens get an empty combo, not a failing statement.
    const QString offered = MDocKinds::offeredKinds(kind);
    auto* model = new QSqlQueryModel(m_docKindCombo);
    if (!offered.isEmpty()) {
        model->setQuery(QStringLiteral("SELECT basic_form, id FROM invoice_kind WHERE id IN (") + offered
                        + QStringLiteral(") ORDER BY basic_form"));
        while (model->canFetchMore())
            model->fetchMore();
    }
    // The combo deletes its previous model itself when it is the model's parent.
    m_docKindCombo->setModel(model);
    m_docKindCombo->setCurrentIndex(m_docKindCombo->findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive));
    connect(m_docKindCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedDocKind);

    if (m_isCorrection) {
        m_datePutLabel->setText(QStringLiteral("<b>") + tr("Data wystawienia korekty") + QStringLiteral("</b>"));
        m_endText->setFixedSize(485, 75);
        m_endText2->setFixedSize(485, 75);
        m_additional->setFixedSize(500, 75);
        m_correctReasonSection->setVisible(true);
    }
    updateDocKindWidgets();
}

// The kind shown in the combo becomes the document kind; unchanged when none is found.
void MInvoiceDlg::readShownKind()
{
    const QString text = m_docKindCombo->currentText();
    if (text.isEmpty())
        return;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM invoice_kind WHERE basic_form = ? AND second_form = ''"));
    query.addBindValue(text);
    if (query.exec() && query.next())
        m_docKind = query.value(0).toInt();
}

void MInvoiceDlg::updateDocKindWidgets()
{
    readShownKind();

    const bool margin = MDocKinds::isMargin(m_docKind);
    m_hideVat->setEnabled(!margin);
    m_summaryCount->setEnabled(!margin);
    m_priceNetto->setEnabled(!margin);
    if (margin) {
        m_hideVat->setChecked(true);
        m_priceBrutto->setChecked(true);
        m_summaryCount->setCurrentIndex(0);
    }
    m_profitProcedure->setVisible(margin);

    const bool joined = MDocKinds::hasJoinedDocuments(m_docKind);
    const int invoicesTab = m_tabMain->indexOf(m_invoicesPage);
    if (joined && invoicesTab < 0)
        m_tabMain->addTab(m_invoicesPage, tr("Faktury"));
    else if (!joined && invoicesTab >= 0)
        m_tabMain->removeTab(invoicesTab);
    m_contractTextLabel->setVisible(joined);
    m_contractText->setVisible(joined);
    m_contractTextHelp->setVisible(joined);
}

void MInvoiceDlg::doCurrentIndexChangedDocKind(int /*index*/)
{
    updateDocKindWidgets();
    updateInvoiceIndex(true);
}

void MInvoiceDlg::updateBuyerTabs()
{
    if (!m_buyerKind || m_buyerKind->currentText().isEmpty())
        return;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id, name, num FROM invoice_buyer_kind WHERE name = ?"));
    query.addBindValue(m_buyerKind->currentText());
    if (!query.exec() || !query.next() || query.value(0).toInt() <= 0)
        return;

    const QStringList parts = query.value(1).toString().split(QStringLiteral(" + "));
    const int num = query.value(2).toInt();
    m_buyerTabs->setTabText(0, parts.value(0));
    if (num == 1) {
        if (m_buyerTabs->count() > 1)
            m_buyerTabs->removeTab(1);
    } else if (num > 1) {
        if (m_buyerTabs->indexOf(m_buyer2Page) < 0)
            m_buyerTabs->addTab(m_buyer2Page, parts.value(1));
        else
            m_buyerTabs->setTabText(m_buyerTabs->indexOf(m_buyer2Page), parts.value(1));
    }
}

void MInvoiceDlg::doCurrentIndexChangedBuyerKind(int /*index*/)
{
    updateBuyerTabs();
}
