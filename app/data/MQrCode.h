#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

// The payment QR code as a picture: the symbol of a text, its image and the PNG file
// that a printed document shows.
class MQrCode
{
public:
    // The side of the image in units of `scale`: the module count of a version-5 symbol.
    // Larger symbols are drawn on the same side with fractional modules.
    static const int imageModules = 37;

    // Encodes the UTF-8 bytes of `text` (version 5 or larger when the text needs it,
    // level L, 8-bit, case-sensitive); null when the text cannot be encoded.
    static MQrCode encode(const QString& text);

    bool isNull() const;
    // Modules per side.
    int width() const;
    bool isDark(int row, int column) const;

    // A white square of imageModules × `scale` pixels with the dark modules in black:
    // monochrome, or 32-bit ARGB for the screen (`argb`).
    QImage image(int scale, bool argb) const;

    // The PNG's name in the temporary folder: "qrcode_" (or "qrcode_preview_") and the
    // lower-case hexadecimal MD5 of the text's UTF-8 bytes.
    static QString fileName(const QString& text, bool preview);

    // The size the image is shown at: the millimetres in pixels of the given dpi, rounded
    // at `scale` times the resolution and then divided by `scale`.
    static QSize displaySize(int dpiX, int dpiY, int widthMM, int heightMM, int scale);

    // Draws the code of `text` at `scale` into `folder` + fileName() and returns its image
    // element; empty when the text is empty or cannot be encoded, or the file cannot be
    // written. A scale below 1 counts as 1.
    static QString htmlImage(const QString& text, const QString& folder, bool preview, int dpiX, int dpiY,
                             int widthMM, int heightMM, int scale);

private:
    int m_width = 0;
    QVector<bool> m_dark;
};
