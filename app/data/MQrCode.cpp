#include "data/MQrCode.h"

#include <QCryptographicHash>
#include <QPainter>
#include <QtMath>

#include <qrencode.h>

namespace {

const int smallestVersion = 5;

int nearest(double value)
{
    return qFloor(value + 0.5);
}

}

MQrCode MQrCode::encode(const QString& text)
{
    MQrCode code;
    QRcode* symbol = QRcode_encodeString(text.toUtf8().constData(), smallestVersion, QR_ECLEVEL_L, QR_MODE_8, 1);
    if (!symbol)
        return code;

    code.m_width = qMax(symbol->width, 1);
    code.m_dark.resize(code.m_width * code.m_width);
    for (int i = 0; i < symbol->width * symbol->width; ++i)
        code.m_dark[i] = symbol->data[i] & 1;
    QRcode_free(symbol);
    return code;
}

bool MQrCode::isNull() const
{
    return m_width == 0;
}

int MQrCode::width() const
{
    return m_width;
}

bool MQrCode::isDark(int row, int column) const
{
    return m_dark.at(row * m_width + column);
}

QImage MQrCode::image(int scale, bool argb) const
{
    const int side = imageModules * qMax(scale, 1);
    QImage image(side, side, argb ? QImage::Format_ARGB32 : QImage::Format_Mono);
    image.fill(Qt::white);

    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(image.rect());
    painter.setBrush(Qt::black);

    const double module = double(side) / qMax(m_width, 1);
    for (int row = 0; row < m_width; ++row) {
        for (int column = 0; column < m_width; ++column) {
            if (isDark(row, column))
                painter.drawRect(QRectF(column * module, row * module, module, module));
        }
    }
    return image;
}

QString MQrCode::fileName(const QString& text, bool preview)
{
    const QByteArray md5 = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex();
    return (preview ? QStringLiteral("qrcode_preview_") : QStringLiteral("qrcode_")) + QString::fromLatin1(md5)
           + QStringLiteral(".png");
}

QSize MQrCode::displaySize(int dpiX, int dpiY, int widthMM, int heightMM, int scale)
{
    scale = qMax(scale, 1);
    return QSize(nearest(double(dpiX) * widthMM * scale / 25.4) / scale,
                 nearest(double(dpiY) * heightMM * scale / 25.4) / scale);
}

QString MQrCode::htmlImage(const QString& text, const QString& folder, bool preview, int dpiX, int dpiY,
                           int widthMM, int heightMM, int scale)
{
    if (text.isEmpty())
        return QString();
    const MQrCode code = encode(text);
    if (code.isNull())
        return QString();

    const QString path = folder + fileName(text, preview);
    if (!code.image(scale, preview).save(path, "PNG"))
        return QString();

    const QSize size = displaySize(dpiX, dpiY, widthMM, heightMM, scale);
    return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" border=\"0\">")
        .arg(path.toHtmlEscaped())
        .arg(size.width())
        .arg(size.height());
}
