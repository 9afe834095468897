#include "MSellerLogo.h"

#include "data/MProgramPaths.h"

#include <QFile>
#include <QImageReader>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString logoPath(const QString& prefix, int idSeller)
{
    return MProgramPaths::pathTemp + QStringLiteral("template/logo/") + prefix + QString::number(idSeller)
        + QStringLiteral(".png");
}

bool isReadable(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

void removeReadable(const QString& path)
{
    if (isReadable(path))
        QFile::remove(path);
}

// QFile::copy never overwrites, so the target goes first.
bool replaceFile(const QString& source, const QString& target)
{
    if (QFile::exists(target))
        QFile::remove(target);
    return QFile::copy(source, target);
}

} // namespace

MSellerLogo::MSellerLogo(int idSeller)
    : m_idSeller(idSeller)
{
}

QString MSellerLogo::savedPath(int idSeller)
{
    return logoPath(QStringLiteral("seller_"), idSeller);
}

QString MSellerLogo::savedPreviewPath(int idSeller)
{
    return logoPath(QStringLiteral("seller_preview_"), idSeller);
}

QString MSellerLogo::workingPath(int idSeller)
{
    return logoPath(QStringLiteral("_seller_"), idSeller);
}

QString MSellerLogo::workingPreviewPath(int idSeller)
{
    return logoPath(QStringLiteral("_seller_preview_"), idSeller);
}

int MSellerLogo::boundedZoom(int zoom)
{
    return qBound(1, zoom, 4);
}

QImage MSellerLogo::reduced(const QImage& image, int zoom)
{
    const int divisor = boundedZoom(zoom);
    return image.scaled(image.width() / divisor, image.height() / divisor, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

int MSellerLogo::zoom() const
{
    return m_zoom;
}

void MSellerLogo::load()
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT zoom FROM seller_logo WHERE id_seller = :id_seller"));
    query.bindValue(QStringLiteral(":id_seller"), m_idSeller);
    if (query.exec() && query.next())
        m_zoom = boundedZoom(query.value(0).toInt());

    removeWorking();
    const QString saved = savedPath(m_idSeller);
    if (!isReadable(saved))
        return;
    replaceFile(saved, workingPath(m_idSeller));
    if (isReadable(savedPreviewPath(m_idSeller)))
        replaceFile(savedPreviewPath(m_idSeller), workingPreviewPath(m_idSeller));
    else
        writePreview(QImage(workingPath(m_idSeller)));
}

bool MSellerLogo::loadImage(const QString& fileName)
{
    if (!isReadable(fileName))
        return false;
    // A file that is no image changes nothing: the logo in use stays.
    const QImage image(fileName);
    if (image.isNull())
        return false;
    if (!image.save(workingPath(m_idSeller))) {
        removeWorking();
        return false;
    }
    writePreview(image);
    return hasWorkingPreview();
}

void MSellerLogo::setZoom(int zoom)
{
    m_zoom = boundedZoom(zoom);
    if (!hasWorkingLogo())
        return;
    const QImage image(workingPath(m_idSeller));
    if (!image.isNull())
        writePreview(image);
}

void MSellerLogo::removeWorking()
{
    removeReadable(workingPath(m_idSeller));
    removeReadable(workingPreviewPath(m_idSeller));
}

bool MSellerLogo::hasWorkingLogo() const
{
    return isReadable(workingPath(m_idSeller));
}

bool MSellerLogo::hasWorkingPreview() const
{
    return isReadable(workingPreviewPath(m_idSeller));
}

QSize MSellerLogo::workingPreviewSize() const
{
    if (!hasWorkingPreview())
        return QSize();
    return QImageReader(workingPreviewPath(m_idSeller)).size();
}

bool MSellerLogo::isPreviewTooLarge() const
{
    const QSize size = workingPreviewSize();
    return size.isValid() && (size.width() > maxPreviewWidth || size.height() > maxPreviewHeight);
}

bool MSellerLogo::store(QString* error) const
{
    QSqlQuery query;
    QFile file(workingPath(m_idSeller));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        const QImage image = QImage::fromData(data);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO seller_logo (id_seller, zoom, width, height, data) "
                                     "VALUES (:id_seller, :zoom, :width, :height, :data)"));
        query.bindValue(QStringLiteral(":zoom"), m_zoom);
        query.bindValue(QStringLiteral(":width"), image.width());
        query.bindValue(QStringLiteral(":height"), image.height());
        query.bindValue(QStringLiteral(":data"), data);
    } else {
        query.prepare(QStringLiteral("DELETE FROM seller_logo WHERE id_seller = :id_seller"));
    }
    query.bindValue(QStringLiteral(":id_seller"), m_idSeller);
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

void MSellerLogo::publish() const
{
    removeReadable(savedPath(m_idSeller));
    removeReadable(savedPreviewPath(m_idSeller));
    if (hasWorkingLogo())
        replaceFile(workingPath(m_idSeller), savedPath(m_idSeller));
    if (hasWorkingPreview())
        replaceFile(workingPreviewPath(m_idSeller), savedPreviewPath(m_idSeller));
}

void MSellerLogo::writePreview(const QImage& image) const
{
    if (image.isNull() || !reduced(image, m_zoom).save(workingPreviewPath(m_idSeller)))
        removeReadable(workingPreviewPath(m_idSeller));
}
