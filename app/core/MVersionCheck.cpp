#include "core/MVersionCheck.h"

#include "views/MMessageBox.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QWidget>

namespace {

const QByteArray answerMarker("#morva-version-upgrade");

} // namespace

MVersionCheck::MVersionCheck(QNetworkAccessManager* manager, QWidget* boxParent, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
    , m_boxParent(boxParent)
{
}

QString MVersionCheck::versionText(int major, int minor, const QString& special)
{
    QString text = QString::number(major) + QLatin1Char('.') + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
    if (!special.isEmpty())
        text += QLatin1Char('-') + special;
    return text;
}

QString MVersionCheck::endpoint()
{
    const QString configured = qEnvironmentVariable("INVOICE_VERSION_ENDPOINT");
    return configured.isEmpty() ? QStringLiteral("https://morva.example/") : configured;
}

QUrl MVersionCheck::requestUrl(const QString& endpoint, int major, int minor, const QString& special)
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

QString MVersionCheck::answerMessage(const QByteArray& body)
{
    const int lineEnd = body.indexOf('\n');
    if (body.left(lineEnd).trimmed() != answerMarker)
        return QString();
    return QString::fromUtf8(lineEnd < 0 ? QByteArray() : body.mid(lineEnd + 1)).trimmed();
}

void MVersionCheck::start(const QString& endpoint, int major, int minor, const QString& special)
{
    QNetworkReply* reply = m_manager->get(QNetworkRequest(requestUrl(endpoint, major, minor, special)));
    connect(reply, &QNetworkReply::finished, this, &MVersionCheck::doVersionUpgradeFinished);
}

void MVersionCheck::doVersionUpgradeFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    reply->deleteLater();

    const QString title = tr("Aktualizacja wersji");
    const QString failure = tr("Błąd podczas sprawdzania aktualizacji wersji.");
    if (reply->error() != QNetworkReply::NoError) {
        MMessageBox::warning(m_boxParent, title, failure + QStringLiteral("<br>") + reply->errorString().toHtmlEscaped());
        return;
    }
    const QString message = answerMessage(reply->readAll());
    if (message.isEmpty())
        MMessageBox::warning(m_boxParent, title, failure);
    else
        MMessageBox::information(m_boxParent, title, message);
}
