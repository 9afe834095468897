#include "export/MJpkVatDlg.h"

#include "data/MJpkVatWriter.h"
#include "views/MMessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

MJpkVatDlg::MJpkVatDlg(QWidget* parent, Qt::WindowFlags flags)
    : MJpkDlg(parent, flags)
{
    setWindowTitle(tr("Eksport do JPK_VAT"));

    auto* group = new QWidget(this);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(boldLabel(tr("Wersja"), group), 0, Qt::AlignLeft | Qt::AlignTop);
    m_version = new QComboBox(group);
    m_version->setObjectName(QStringLiteral("version"));
    m_version->setFixedWidth(500);
    m_version->addItem(tr("Wersja 2"));
    m_version->addItem(tr("Wersja 3"));
    layout->addWidget(m_version, 0, Qt::AlignLeft | Qt::AlignTop);
    gridLayout()->addWidget(group, 5, 0, Qt::AlignLeft | Qt::AlignTop);

    setNoteText(tr("<b>Uwaga:</b><br><b><span style=\"color:#f00000;\">JPK_VAT wygenerowany tutaj może nie posiadać "
                   "wszystkich potrzebnych informacji.</span></b><br>W szczególności nie ma tu faktur zakupowych i "
                   "walutowych.<br>Faktury walutowe nie są jeszcze uwzględniane."));

    connect(m_version, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MJpkVatDlg::doCurrentIndexChangedJpkVersion);
    m_version->setCurrentIndex(1);
}

void MJpkVatDlg::setIdsSelected(const QList<int>& ids)
{
    MJpkDlg::setIdsSelected(ids);
    // Only variant 2 takes a period that begins before the first day variant 3 knows.
    if ((lastIssueDate().isValid() && lastIssueDate() < QDate(2018, 1, 1))
        || dateFrom() < MJpkDates::vat(3).firstPeriodDay)
        m_version->setCurrentIndex(0);
}

int MJpkVatDlg::schemaVersion() const
{
    return m_schemaVersion;
}

int MJpkVatDlg::checkedVariant() const
{
    return m_schemaVersion;
}

MJpkDates MJpkVatDlg::schemaDates() const
{
    return MJpkDates::vat(m_schemaVersion);
}

QString MJpkVatDlg::fileCaption() const
{
    return tr("Eksport JPK_VAT");
}

void MJpkVatDlg::doCurrentIndexChangedJpkVersion(int index)
{
    if (index == 0)
        m_schemaVersion = 2;
    else if (index == 1)
        m_schemaVersion = 3;
    checkRequiredData();
}

void MJpkVatDlg::writeFiles(const QString& fileName)
{
    MJpkVatRequest request;
    request.version = m_schemaVersion;
    request.ids = idsSelected();
    request.idSeller = idSellerBase();
    request.dateFrom = dateFrom();
    request.dateTo = dateTo();
    request.officeCode = financialOfficeCode();
    const MJpkVatWriter::Result result = MJpkVatWriter::write(fileName, request);
    if (result.outcome == MJpkVatWriter::Outcome::NothingToExport)
        MMessageBox::warning(this, windowTitle(), result.message);
    else if (result.outcome == MJpkVatWriter::Outcome::NotWritten)
        MMessageBox::critical(this, windowTitle(), result.message);
}
