#include "data/MBatchPdfNames.h"

#include "data/MDocTemplateData.h"
#include "data/MDocViewRuns.h"
#include "data/MDocumentNumber.h"

#include <QCryptographicHash>

namespace MBatchPdfNames {

QString documentNumber(int idInvoice)
{
    const QString type = MDocTemplateData::invoiceType(idInvoice);
    if (type == QLatin1String("DUPLICATE") || type == QLatin1String("CORRECT_DUPLICATE"))
        return invoiceNumberById(MDocTemplateData::idRecordParent(idInvoice));
    return invoiceNumberById(idInvoice);
}

QString fileName(const QString& chosen, int jobSize, int passCount, int idDocument, const QString& number,
                 int passDocView)
{
    return MDocViewRuns::pdfFileName(chosen, jobSize > 1 || passCount > 1, idDocument, number, passDocView);
}

QString emailPath(const QString& tempBase, const QString& number)
{
    const QByteArray md5 = QCryptographicHash::hash(number.toLatin1(), QCryptographicHash::Md5).toHex();
    return tempBase + QStringLiteral("temp/email_") + QString::fromLatin1(md5) + QStringLiteral(".pdf");
}

QString emailName(const QString& number)
{
    return MDocViewRuns::fileNameText(number) + QStringLiteral(".pdf");
}

} // namespace MBatchPdfNames
