#include "data/MVersionRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

const QByteArray answerMarker("#morva-version-upgrade");

} // namespace

MVersionRequest::MVersionRequest(QNetworkAccessManager* manager, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
{
}

QString MVersionRequest::endpoint()
{
    const QString configured = qEnvironmentVariable("INVOICE_VERSION_ENDPOINT");
    return configured.isEmpty() ? QStringLiteral("https://morva.example/") : configured;
}

QUrl MVersionRequest::requestUrl(const QString& endpoint, int major, int minor, const QString& special)
{
    QString base = endpoint;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return QUrl(base + QStringLiteral("get_version_upgrade") + QStringLiteral("?program=invoice") +
                    QStringLiteral("&version_major=") + QString::number(major) + QStringLiteral("&version_minor=") +
                    QString::number(minor) + QStringLiteral("&version_special=") +
                    QString::fromLatin1(QUrl::toPercentEncoding(special)),
                QUrl::TolerantMode);
}

QString MVersionRequest::answerMessage(const QByteArray& body)
{
    const int lineEnd = body.indexOf('\n');
    if (body.left(lineEnd).trimmed() != answerMarker)
        return QString();
    return QString::fromUtf8(lineEnd < 0 ? QByteArray() : body.mid(lineEnd + 1)).trimmed();
}

void MVersionRequest::start(const QString& endpoint, int major, int minor, const QString& special)
{
    QNetworkReply* reply = m_manager->get(QNetworkRequest(requestUrl(endpoint, major, minor, special)));
    connect(reply, &QNetworkReply::finished, this, &MVersionRequest::doVersionUpgradeFinished);
}

void MVersionRequest::doVersionUpgradeFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    reply->deleteLater();

    const QString title = tr("Aktualizacja wersji");
    const QString failure = tr("Błąd podczas sprawdzania aktualizacji wersji.");
    if (reply->error() != QNetworkReply::NoError) {
        emit answered({MDataMessage::Kind::Warning, title,
                       failure + QStringLiteral("<br>") + reply->errorString().toHtmlEscaped()});
        return;
    }
    const QString message = answerMessage(reply->readAll());
    if (message.isEmpty())
        emit answered({MDataMessage::Kind::Warning, title, failure});
    else
        emit answered({MDataMessage::Kind::Information, title, message});
}
