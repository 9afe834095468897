#include "MDocTemplate.h"

#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "parties/MSellerLogo.h"
#include "data/MPaymentQr.h"
#include "data/MPriceWords.h"
#include "data/MQrCode.h"
#include "data/MSellerLogoElement.h"

#include <QTextEdit>

namespace {

bool isQrCodeShown()
{
    return MOptions::option(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE")) == QLatin1String("1");
}

}

QString MDocTemplate::getHtmlLogo(int idSellerBase)
{
    if (MOptions::option(QStringLiteral("SHOW_LOGO")).toInt() != 1 || idSellerBase < 1)
        return QString();
    const QString file = m_preview ? MSellerLogo::savedPreviewPath(idSellerBase) : MSellerLogo::savedPath(idSellerBase);
    return MSellerLogoElement::html(idSellerBase, file);
}

QString MDocTemplate::getQrcodeHtmlImage(QString str, int widthMM, int heightMM, int scale)
{
    if (!isQrCodeShown() || !m_textEdit || str.isEmpty())
        return QString();
    // The image's size is given in pixels of HTML, which the layout scales to its device.
    return MQrCode::htmlImage(str, MProgramPaths::pathTemp + QStringLiteral("temp/"), m_preview, htmlDpi(), htmlDpi(),
                              widthMM, heightMM, scale);
}

QString MDocTemplate::getQrcodeStringPayment(int idInvoice)
{
    return getQrcodeStringErrorPayment(idInvoice, false);
}

QString MDocTemplate::getQrcodeStringErrorPayment(int idInvoice, bool bReturnError)
{
    if (!isQrCodeShown())
        return QString();
    QString reason;
    const QString text = MPaymentQr::text(idInvoice, &reason);
    return bReturnError ? reason : text;
}

QString MDocTemplate::priceToWords(double price, bool bFullWords, bool bFullCents, QString strCurrency)
{
    return MPriceWords::text(price, bFullWords, bFullCents, strCurrency);
}
