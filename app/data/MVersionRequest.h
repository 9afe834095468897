#pragma once

#include "data/MDataMessage.h"

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// "Sprawdź aktualizacje": asks the version-upgrade endpoint over HTTP(S)
// whether a newer version exists and tells its answer, once, when the reply
// is complete; a failed request or a body that is not the endpoint's answer
// is told as an error.
//
// The endpoint is https://morva.example/ unless the environment variable
// INVOICE_VERSION_ENDPOINT names another one. Its answer is a UTF-8 text
// whose first line is "#morva-version-upgrade"; the rest, trimmed, is the
// message for the user.
class MVersionRequest : public QObject
{
    Q_OBJECT

public:
    explicit MVersionRequest(QNetworkAccessManager* manager, QObject* parent = nullptr);

    static QString endpoint();

    // endpoint + "get_version_upgrade" with the query keys program,
    // version_major, version_minor (not zero-filled) and version_special.
    static QUrl requestUrl(const QString& endpoint, int major, int minor, const QString& special);

    // The message of an answer, or an empty text when the body is not one.
    static QString answerMessage(const QByteArray& body);

    // Sends the request; answered() follows when the reply has fully arrived.
    void start(const QString& endpoint, int major, int minor, const QString& special);

signals:
    void answered(const MDataMessage& message);

private slots:
    void doVersionUpgradeFinished();

private:
    QNetworkAccessManager* m_manager;
};
