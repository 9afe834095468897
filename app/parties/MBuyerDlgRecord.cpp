// Loading and storing the buyer of MBuyerDlg.
#include "MBuyerDlg.h"

#include "data/MNumberText.h"
#include "parties/MPartyContactPage.h"
#include "parties/MPartyPersonPage.h"
#include "parties/MReferenceComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

int flag(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

void MBuyerDlg::setIdRecord(int id)
{
    m_idRecord = id;
    if (id < 1)
        m_reduct->setText(numberText(0, 2));
    else
        loadBuyer();
    if (!isInvoiceMode())
        loadDefaults();
    updateAddressTab();
}

void MBuyerDlg::loadBuyer()
{
    QSqlRecord row;
    if (!readRecord(QStringLiteral("firm, nip, regon, bank, bank_account, address, zipcode, city, "
                                   "id_province, id_country, phone, fax, email, www, "
                                   "permit_person_firstname, permit_person_secondname, permit_person_pesel, "
                                   "reduct, additional, "
                                   "person_document_id_kind, person_document_number, person_document_by, "
                                   "person_document_date, id_address_contact, firm_short"),
                    buyerTable(), m_idRecord, &row))
        return;
    const auto text = [&row](const char* column) { return row.value(QLatin1String(column)).toString(); };

    m_firm->setText(text("firm"));
    m_nip->setText(text("nip"));
    m_regon->setText(text("regon"));
    m_bank->setText(text("bank"));
    m_bankAccount->setText(text("bank_account"));
    m_address->setText(text("address"));
    m_zipcode->setText(text("zipcode"));
    m_city->setText(text("city"));
    m_province->selectId(row.value(QStringLiteral("id_province")).toInt());
    m_country->selectId(row.value(QStringLiteral("id_country")).toInt());
    contactPage()->load(row);
    personPage()->load(row);
    m_reduct->setText(numberText(row.value(QStringLiteral("reduct")).toDouble(), 2));
    if (m_additional)
        m_additional->setPlainText(text("additional"));
    m_firmShort->setText(text("firm_short"));

    m_idAddressContact = row.value(QStringLiteral("id_address_contact")).toInt();
    loadContactAddress();
}

void MBuyerDlg::loadContactAddress()
{
    if (m_idAddressContact < 1) {
        m_idAddressContact = 0;
        return;
    }
    QSqlRecord row;
    if (!readRecord(QStringLiteral("address, zipcode, city, id_province, id_country, name"), addressTable(),
                    m_idAddressContact, &row)) {
        // A reference to a row that is gone counts as no contact address.
        m_idAddressContact = 0;
        return;
    }
    m_contactAddress->setText(row.value(0).toString());
    m_contactZipcode->setText(row.value(1).toString());
    m_contactCity->setText(row.value(2).toString());
    m_contactProvince->selectId(row.value(3).toInt());
    m_contactCountry->selectId(row.value(4).toInt());
    m_contactName->setText(row.value(5).toString());
    m_addressKind->setCurrentIndex(1);
}

void MBuyerDlg::loadDefaults()
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id_pay_form, payed, pay_text, day_period, date_sell_in_months, "
                                 "pay_in_days, pay_form_text FROM buyer_defaults WHERE id_buyer = :id_buyer"));
    query.bindValue(QStringLiteral(":id_buyer"), m_idRecord);
    if (query.exec() && query.next()) {
        const int idPayForm = query.value(0).toInt();
        QSqlQuery payForm;
        payForm.prepare(QStringLiteral("SELECT basic_form FROM pay_form WHERE id = :id"));
        payForm.bindValue(QStringLiteral(":id"), idPayForm);
        if (payForm.exec() && payForm.next()) {
            loadPayForms(idPayForm);
            m_payForm->selectText(payForm.value(0).toString());
        }
        // The stored choices win over what the pay form's rule just set.
        m_payed->setChecked(query.value(1).toInt() != 0);
        m_payText->setText(query.value(2).toString());
        m_dayPeriod->setValue(query.value(3).toInt());
        m_dateSellInMonths->setChecked(query.value(4).toInt() != 0);
        m_payInDays->setChecked(query.value(5).toInt() != 0);
        m_payFormText->setText(query.value(6).toString());
    }
    updatePayInDaysCheck(false);
}

bool MBuyerDlg::save(int* savedId)
{
    int contactId = m_idAddressContact;
    int buyerId = m_idRecord;
    if (!saveContactAddress(&contactId) || !saveBuyer(contactId, &buyerId))
        return false;
    if (!isInvoiceMode() && !saveDefaults(buyerId))
        return false;
    *savedId = buyerId;
    return true;
}

bool MBuyerDlg::saveContactAddress(int* contactId)
{
    QSqlQuery query;
    if (m_addressKind->currentIndex() == 1) {
        if (*contactId > 0) {
            query.prepare(QStringLiteral("UPDATE ") + addressTable()
                          + QStringLiteral(" SET address = :address, zipcode = :zipcode, city = :city, "
                                           "id_province = :id_province, id_country = :id_country, name = :name "
                                           "WHERE ")
                          + keyName() + QStringLiteral(" = :id"));
            query.bindValue(QStringLiteral(":id"), *contactId);
        } else {
            query.prepare(QStringLiteral("INSERT INTO ") + addressTable()
                          + QStringLiteral(" (address, zipcode, city, id_province, id_country, name) "
                                           "VALUES (:address, :zipcode, :city, :id_province, :id_country, :name)"));
        }
        query.bindValue(QStringLiteral(":address"), m_contactAddress->text());
        query.bindValue(QStringLiteral(":zipcode"), m_contactZipcode->text());
        query.bindValue(QStringLiteral(":city"), m_contactCity->text());
        query.bindValue(QStringLiteral(":id_province"), m_contactProvince->id());
        query.bindValue(QStringLiteral(":id_country"), m_contactCountry->id());
        query.bindValue(QStringLiteral(":name"), m_contactName->text());
        if (!execWrite(query))
            return false;
        if (*contactId < 1)
            *contactId = query.lastInsertId().toInt();
    } else if (*contactId > 0) {
        query.prepare(QStringLiteral("DELETE FROM ") + addressTable() + QStringLiteral(" WHERE ") + keyName()
                      + QStringLiteral(" = :id"));
        query.bindValue(QStringLiteral(":id"), *contactId);
        if (!execWrite(query))
            return false;
        *contactId = 0;
    }
    return true;
}

bool MBuyerDlg::saveBuyer(int contactId, int* buyerId)
{
    // Column and binding names are the same; the notes exist only in the model table.
    QStringList columns = QStringList{QStringLiteral("firm"), QStringLiteral("nip"), QStringLiteral("regon"),
                                      QStringLiteral("bank"), QStringLiteral("bank_account"),
                                      QStringLiteral("address"), QStringLiteral("zipcode"), QStringLiteral("city"),
                                      QStringLiteral("id_province"), QStringLiteral("id_country")}
        + MPartyContactPage::columns() + MPartyPersonPage::personColumns()
        + QStringList{QStringLiteral("reduct"), QStringLiteral("additional")} + MPartyPersonPage::documentColumns()
        + QStringList{QStringLiteral("id_address_contact"), QStringLiteral("firm_short")};
    if (isInvoiceMode())
        columns.removeOne(QStringLiteral("additional"));

    QSqlQuery query;
    prepareRecordWrite(query, buyerTable(), columns, *buyerId);
    query.bindValue(QStringLiteral(":firm"), m_firm->text());
    query.bindValue(QStringLiteral(":nip"), m_nip->text());
    query.bindValue(QStringLiteral(":regon"), m_regon->text());
    query.bindValue(QStringLiteral(":bank"), m_bank->text());
    query.bindValue(QStringLiteral(":bank_account"), m_bankAccount->text());
    query.bindValue(QStringLiteral(":address"), m_address->text());
    query.bindValue(QStringLiteral(":zipcode"), m_zipcode->text());
    query.bindValue(QStringLiteral(":city"), m_city->text());
    query.bindValue(QStringLiteral(":id_province"), m_province->id());
    query.bindValue(QStringLiteral(":id_country"), m_country->id());
    contactPage()->bindValues(query);
    personPage()->bindValues(query);
    query.bindValue(QStringLiteral(":reduct"), reductValue());
    if (m_additional)
        query.bindValue(QStringLiteral(":additional"), m_additional->toPlainText());
    query.bindValue(QStringLiteral(":id_address_contact"), contactId);
    query.bindValue(QStringLiteral(":firm_short"), m_firmShort->text());
    return execRecordWrite(query, buyerId,
                           tr("Kontrahent o identyfikatorze %1 nie istnieje już w bazie danych.").arg(*buyerId));
}

bool MBuyerDlg::saveDefaults(int buyerId)
{
    QSqlQuery exists;
    exists.prepare(QStringLiteral("SELECT id_buyer FROM buyer_defaults WHERE id_buyer = :id_buyer"));
    exists.bindValue(QStringLiteral(":id_buyer"), buyerId);
    const bool update = exists.exec() && exists.next() && exists.value(0).toInt() > 0;

    QSqlQuery query;
    if (update) {
        query.prepare(QStringLiteral("UPDATE buyer_defaults SET id_pay_form = :id_pay_form, payed = :payed, "
                                     "pay_text = :pay_text, pay_form_text = :pay_form_text, "
                                     "day_period = :day_period, date_sell_in_months = :date_sell_in_months, "
                                     "pay_in_days = :pay_in_days WHERE id_buyer = :id_buyer"));
    } else {
        query.prepare(QStringLiteral("INSERT INTO buyer_defaults (id_buyer, id_pay_form, payed, pay_text, "
                                     "pay_form_text, day_period, date_sell_in_months, pay_in_days) "
                                     "VALUES (:id_buyer, :id_pay_form, :payed, :pay_text, :pay_form_text, "
                                     ":day_period, :date_sell_in_months, :pay_in_days)"));
    }
    query.bindValue(QStringLiteral(":id_buyer"), buyerId);
    query.bindValue(QStringLiteral(":id_pay_form"), m_payForm->id());
    query.bindValue(QStringLiteral(":payed"), flag(m_payed));
    query.bindValue(QStringLiteral(":pay_text"), m_payText->text());
    query.bindValue(QStringLiteral(":pay_form_text"), m_payFormText->text());
    query.bindValue(QStringLiteral(":day_period"), m_dayPeriod->value());
    query.bindValue(QStringLiteral(":date_sell_in_months"), flag(m_dateSellInMonths));
    query.bindValue(QStringLiteral(":pay_in_days"), flag(m_payInDays));
    return execWrite(query);
}
