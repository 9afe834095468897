// Loading, checking and storing the seller of MSellerDlg.
#include "MSellerDlg.h"

#include "parties/MPartyContactPage.h"
#include "parties/MPartyPersonPage.h"
#include "parties/MReferenceComboBox.h"
#include "views/MMessageBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

// The pattern must number the documents: "[nr]", or "[nr|" with a "]" at or after it.
bool isNumberFormatValid(const QString& format)
{
    if (format.contains(QLatin1String("[nr]")))
        return true;
    const int width = format.indexOf(QLatin1String("[nr|"));
    return width >= 0 && format.indexOf(QLatin1Char(']'), width) >= 0;
}

} // namespace

void MSellerDlg::setIdRecord(int id)
{
    m_idRecord = id;
    if (id > 0)
        loadSeller();
    if (isInvoiceMode()) {
        m_logoControls->hide();
        return;
    }
    m_logo = MSellerLogo(id);
    loadLogo();
    if (id > 0)
        copyBankRows();
    reloadBankList();
}

void MSellerDlg::loadSeller()
{
    QSqlRecord row;
    if (!readRecord(QStringLiteral("firm, nip, regon, bank, bank_account, address, zipcode, city, "
                                   "id_province, id_country, phone, fax, email, www, "
                                   "permit_person_firstname, permit_person_secondname, permit_person_pesel, "
                                   "id_invoice_index_format, invoice_index_format_text, "
                                   "additional, "
                                   "person_document_id_kind, person_document_number, person_document_by, "
                                   "person_document_date, "
                                   "firm_short, "
                                   "financial_office_code, "
                                   "street, address_number1, address_number2, city_post, province2, province3"),
                    sellerTable(), m_idRecord, &row))
        return;
    const auto text = [&row](const char* column) { return row.value(QLatin1String(column)).toString(); };
    const auto number = [&row](const char* column) { return row.value(QLatin1String(column)).toInt(); };

    m_firm->setText(text("firm"));
    m_firmShort->setText(text("firm_short"));
    m_nip->setText(text("nip"));
    m_regon->setText(text("regon"));
    if (isInvoiceMode()) {
        m_bank->setText(text("bank"));
        m_bankAccount->setText(text("bank_account"));
    }
    m_address->setText(text("address"));
    m_street->setText(text("street"));
    m_addressNumber1->setText(text("address_number1"));
    m_addressNumber2->setText(text("address_number2"));
    m_zipcode->setText(text("zipcode"));
    m_city->setText(text("city"));
    m_cityPost->setText(text("city_post"));
    m_province->selectId(number("id_province"));
    m_province2->setText(text("province2"));
    m_province3->setText(text("province3"));
    m_country->selectId(number("id_country"));
    contactPage()->load(row);
    personPage()->load(row);
    // Choosing the period puts its default pattern in place; the stored one replaces it.
    m_numberPeriod->selectId(number("id_invoice_index_format"));
    m_numberFormat->setText(text("invoice_index_format_text"));
    if (!isInvoiceMode()) {
        m_financialOfficeCode->setText(text("financial_office_code"));
        if (!m_financialOfficeCode->text().isEmpty())
            doEditingFinishedFinancialOfficeCode();
        m_additional->setPlainText(text("additional"));
    }
}

bool MSellerDlg::validate()
{
    QString message;
    if (m_numberPeriod->id() <= 0)
        message = tr("Wybierz okres numeracyjny faktur.");
    else if (!isNumberFormatValid(m_numberFormat->text()))
        message = tr("Błędny format numeracji faktur. Brak symbolu numeracji faktur: [nr] lub [nr|...].");
    if (!isInvoiceMode() && m_logo.isPreviewTooLarge())
        message = tr("Obrazek po zmniejszeniu może mieć maksymalnie 400 pikseli szerokości i 200 pikseli wysokości.");

    if (message.isEmpty())
        return true;
    MMessageBox::warning(this, tr("Niezgodność wprowadzonych danych"), message);
    return false;
}

void MSellerDlg::clickOk(bool b)
{
    if (validate())
        MRecordDlg::clickOk(b);
}

void MSellerDlg::done(int r)
{
    if (!isInvoiceMode() && m_idRecord > 0)
        m_logo.removeWorking();
    MRecordDlg::done(r);
}

bool MSellerDlg::save(int* savedId)
{
    int sellerId = m_idRecord;
    if (!saveSeller(&sellerId))
        return false;
    if (!isInvoiceMode()) {
        QString error;
        if (m_idRecord > 0 && !m_logo.store(&error))
            return writeFailed(error);
        if (!m_bankRows.writeBack(sellerId, &error))
            return writeFailed(error);
        // Last, once every write has run: only the commit can still fail, and the working
        // files stay for another try.
        if (m_idRecord > 0)
            m_logo.publish();
    }
    *savedId = sellerId;
    return true;
}

bool MSellerDlg::saveSeller(int* sellerId)
{
    // Column and binding names are the same; the tax office and the notes exist only
    // in the model table.
    QStringList columns =
        QStringList{QStringLiteral("firm"), QStringLiteral("nip"), QStringLiteral("regon"), QStringLiteral("bank"),
                    QStringLiteral("bank_account"), QStringLiteral("address"), QStringLiteral("street"),
                    QStringLiteral("address_number1"), QStringLiteral("address_number2"), QStringLiteral("zipcode"),
                    QStringLiteral("city"), QStringLiteral("city_post"), QStringLiteral("id_province"),
                    QStringLiteral("province2"), QStringLiteral("province3"), QStringLiteral("id_country")}
        + MPartyContactPage::columns() + MPartyPersonPage::personColumns()
        + QStringList{QStringLiteral("id_invoice_index_format"), QStringLiteral("invoice_index_format_text"),
                      QStringLiteral("financial_office_code"), QStringLiteral("additional")}
        + MPartyPersonPage::documentColumns() + QStringList{QStringLiteral("firm_short")};
    if (isInvoiceMode()) {
        columns.removeOne(QStringLiteral("financial_office_code"));
        columns.removeOne(QStringLiteral("additional"));
    }

    QSqlQuery query;
    prepareRecordWrite(query, sellerTable(), columns, *sellerId);

    // In normal mode the seller's own bank columns follow its default account.
    QString bank;
    QString bankAccount;
    if (isInvoiceMode()) {
        bank = m_bank->text();
        bankAccount = m_bankAccount->text();
    } else {
        m_bankRows.defaultAccount(&bank, &bankAccount);
    }

    query.bindValue(QStringLiteral(":firm"), m_firm->text());
    query.bindValue(QStringLiteral(":nip"), m_nip->text());
    query.bindValue(QStringLiteral(":regon"), m_regon->text());
    query.bindValue(QStringLiteral(":bank"), bank);
    query.bindValue(QStringLiteral(":bank_account"), bankAccount);
    query.bindValue(QStringLiteral(":address"), m_address->text());
    query.bindValue(QStringLiteral(":street"), m_street->text());
    query.bindValue(QStringLiteral(":address_number1"), m_addressNumber1->text());
    query.bindValue(QStringLiteral(":address_number2"), m_addressNumber2->text());
    query.bindValue(QStringLiteral(":zipcode"), m_zipcode->text());
    query.bindValue(QStringLiteral(":city"), m_city->text());
    query.bindValue(QStringLiteral(":city_post"), m_cityPost->text());
    query.bindValue(QStringLiteral(":id_province"), m_province->id());
    query.bindValue(QStringLiteral(":province2"), m_province2->text());
    query.bindValue(QStringLiteral(":province3"), m_province3->text());
    query.bindValue(QStringLiteral(":id_country"), m_country->id());
    contactPage()->bindValues(query);
    personPage()->bindValues(query);
    query.bindValue(QStringLiteral(":id_invoice_index_format"), m_numberPeriod->id());
    query.bindValue(QStringLiteral(":invoice_index_format_text"), m_numberFormat->text());
    if (!isInvoiceMode()) {
        query.bindValue(QStringLiteral(":financial_office_code"), m_financialOfficeCode->text());
        query.bindValue(QStringLiteral(":additional"), m_additional->toPlainText());
    }
    query.bindValue(QStringLiteral(":firm_short"), m_firmShort->text());
    return execRecordWrite(query, sellerId,
                           tr("Sprzedawca o identyfikatorze %1 nie istnieje już w bazie danych.").arg(*sellerId));
}
