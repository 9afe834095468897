#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The logo of one seller as the seller dialog works on it. The document templates read
// the saved files ("template/logo/seller_<id>.png" and its preview reduced by the zoom,
// under MProgramPaths::pathTemp), which agree with the seller_logo row. While the dialog is
// open it changes only its working copies ("_seller_<id>.png", "_seller_preview_<id>.png");
// saving the seller turns them into the saved files and the row; the working copies go
// when the dialog ends.
class MSellerLogo
{
public:
    // The largest preview that a document template can place.
    static const int maxPreviewWidth = 400;
    static const int maxPreviewHeight = 200;

    explicit MSellerLogo(int idSeller = 0);

    static QString savedPath(int idSeller);
    static QString savedPreviewPath(int idSeller);
    static QString workingPath(int idSeller);
    static QString workingPreviewPath(int idSeller);

    // The divisors offered are 1 to 4; a stored value outside them would divide by
    // zero or shrink the preview to nothing, so it counts as the nearest one.
    static int boundedZoom(int zoom);
    // Width and height each divided by the zoom, remainders dropped, aspect ratio not kept.
    static QImage reduced(const QImage& image, int zoom);

    int zoom() const;

    // Takes the stored zoom and replaces the working files by copies of the saved ones.
    void load();
    // Makes `fileName` the working logo with its reduced working preview; false, with the
    // working files as they were, when the file is not a readable image.
    bool loadImage(const QString& fileName);
    // A new divisor; with a working logo the working preview follows it.
    void setZoom(int zoom);
    void removeWorking();

    bool hasWorkingLogo() const;
    bool hasWorkingPreview() const;
    // The size of the working preview; invalid without one.
    QSize workingPreviewSize() const;
    bool isPreviewTooLarge() const;

    // Writes the seller_logo row from the working logo, or deletes the row when there is
    // none; runs inside the caller's transaction. False, with the reason, on failure.
    bool store(QString* error) const;
    // With the row stored: copies of the working files replace the saved ones. The working
    // files stay, so that a save that fails after this can be tried again.
    void publish() const;

private:
    void writePreview(const QImage& image) const;

    int m_idSeller = 0;
    int m_zoom = 1;
};
