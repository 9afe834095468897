#include "MPartyContactPage.h"

#include "parties/MFormPage.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

MPartyContactPage::MPartyContactPage(QWidget* parent)
    : QWidget(parent)
{
    MFormPage form(this);
    const auto addLine = [this, &form](const QString& label, const char* column) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(column));
        form.addField(label, edit, 500);
        return edit;
    };
    m_phone = addLine(tr("Telefon"), "phone");
    m_fax = addLine(tr("Fax"), "fax");
    m_email = addLine(tr("E-mail"), "email");
    m_www = addLine(tr("WWW"), "www");
    form.finish();
}

MPartyContactPage::~MPartyContactPage() = default;

QStringList MPartyContactPage::columns()
{
    return {QStringLiteral("phone"), QStringLiteral("fax"), QStringLiteral("email"), QStringLiteral("www")};
}

void MPartyContactPage::load(const QSqlRecord& row)
{
    m_phone->setText(row.value(QStringLiteral("phone")).toString());
    m_fax->setText(row.value(QStringLiteral("fax")).toString());
    m_email->setText(row.value(QStringLiteral("email")).toString());
    m_www->setText(row.value(QStringLiteral("www")).toString());
}

void MPartyContactPage::bindValues(QSqlQuery& query) const
{
    query.bindValue(QStringLiteral(":phone"), m_phone->text());
    query.bindValue(QStringLiteral(":fax"), m_fax->text());
    query.bindValue(QStringLiteral(":email"), m_email->text());
    query.bindValue(QStringLiteral(":www"), m_www->text());
}
