#include "MPartyPersonPage.h"

#include "parties/MFormPage.h"
#include "parties/MOptionalDateEdit.h"
#include "parties/MReferenceComboBox.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// The page sets its fields in two columns, 5 pixels apart.
const int columnGap = 5;
const int fieldWidth = 240;

template <class T>
T* named(T* widget, const char* column)
{
    widget->setObjectName(QLatin1String(column));
    return widget;
}

} // namespace

MPartyPersonPage::MPartyPersonPage(QWidget* parent)
    : QWidget(parent)
{
    MFormPage form(this);
    m_firstname = named(new QLineEdit(this), "permit_person_firstname");
    m_secondname = named(new QLineEdit(this), "permit_person_secondname");
    form.addFieldPair(tr("Imię"), m_firstname, fieldWidth, tr("Nazwisko"), m_secondname, fieldWidth, columnGap);
    m_pesel = named(new QLineEdit(this), "permit_person_pesel");
    form.addField(tr("Pesel"), m_pesel, fieldWidth);

    m_documentKind = named(MReferenceComboBox::createDocumentKindBox(this), "person_document_id_kind");
    m_documentNumber = named(new QLineEdit(this), "person_document_number");
    form.addFieldPair(tr("Rodzaj dokumentu"), m_documentKind, fieldWidth, tr("Numer dokumentu"), m_documentNumber,
                      fieldWidth, columnGap);

    m_documentBy = named(new QLineEdit(this), "person_document_by");
    m_documentDate = named(new MOptionalDateEdit(this), "person_document_date");
    m_documentDate->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    form.addFieldPair(tr("Dokument wydany przez"), m_documentBy, fieldWidth, tr("Data wydania dokumentu"),
                      m_documentDate, fieldWidth, columnGap);
    form.finish();
}

MPartyPersonPage::~MPartyPersonPage() = default;

QStringList MPartyPersonPage::personColumns()
{
    return {QStringLiteral("permit_person_firstname"), QStringLiteral("permit_person_secondname"),
            QStringLiteral("permit_person_pesel")};
}

QStringList MPartyPersonPage::documentColumns()
{
    return {QStringLiteral("person_document_id_kind"), QStringLiteral("person_document_number"),
            QStringLiteral("person_document_by"), QStringLiteral("person_document_date")};
}

void MPartyPersonPage::load(const QSqlRecord& row)
{
    const auto text = [&row](const char* column) { return row.value(QLatin1String(column)).toString(); };
    m_firstname->setText(text("permit_person_firstname"));
    m_secondname->setText(text("permit_person_secondname"));
    m_pesel->setText(text("permit_person_pesel"));
    m_documentKind->selectId(row.value(QStringLiteral("person_document_id_kind")).toInt());
    m_documentNumber->setText(text("person_document_number"));
    m_documentBy->setText(text("person_document_by"));
    m_documentDate->setStoredDate(row.value(QStringLiteral("person_document_date")));
}

void MPartyPersonPage::bindValues(QSqlQuery& query) const
{
    query.bindValue(QStringLiteral(":permit_person_firstname"), m_firstname->text());
    query.bindValue(QStringLiteral(":permit_person_secondname"), m_secondname->text());
    query.bindValue(QStringLiteral(":permit_person_pesel"), m_pesel->text());
    query.bindValue(QStringLiteral(":person_document_id_kind"), m_documentKind->id());
    query.bindValue(QStringLiteral(":person_document_number"), m_documentNumber->text());
    query.bindValue(QStringLiteral(":person_document_by"), m_documentBy->text());
    query.bindValue(QStringLiteral(":person_document_date"), m_documentDate->storedDate());
}
