#include "export/MJpkFaDlg.h"

#include "data/MJpkFaWriter.h"
#include "views/MMessageBox.h"

#include <QStringList>

MJpkFaDlg::MJpkFaDlg(QWidget* parent, Qt::WindowFlags flags)
    : MJpkDlg(parent, flags)
{
    setWindowTitle(tr("Eksport do JPK_FA"));
    setNoteText(tr("<b>Uwaga:</b><br>Jeśli wybrane faktury mają różne waluty to są generowane w osobnych plikach z "
                   "nazwami walut."));
    setNoteGap(10);
}

int MJpkFaDlg::checkedVariant() const
{
    return 2;
}

void MJpkFaDlg::afterCheck()
{
    // The dialog keeps its size.
}

MJpkDates MJpkFaDlg::schemaDates() const
{
    return MJpkDates::fa();
}

QString MJpkFaDlg::fileCaption() const
{
    return tr("Eksport JPK_FA");
}

void MJpkFaDlg::writeFiles(const QString& fileName)
{
    QStringList notWritten;
    const QVector<MJpkFaWriter::CurrencyFile> files = MJpkFaWriter::currencyFiles(idsSelected(), fileName);
    for (const MJpkFaWriter::CurrencyFile& file : files) {
        MJpkFaRequest request;
        request.ids = idsSelected();
        request.idCurrency = file.idCurrency;
        request.currencySymbol = file.symbol;
        request.dateFrom = dateFrom();
        request.dateTo = dateTo();
        request.officeCode = financialOfficeCode();
        request.idSeller = idSellerBase();
        const MJpkFaWriter::Result result = MJpkFaWriter::write(file.fileName, request);
        if (result.outcome != MJpkFaWriter::Outcome::Written)
            notWritten << result.message;
    }
    if (!notWritten.isEmpty())
        MMessageBox::warning(this, windowTitle(), notWritten.join(QLatin1Char('\n')));
}
