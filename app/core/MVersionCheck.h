#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

// "Sprawdź aktualizacje": asks the version-upgrade endpoint over HTTP(S)
// whether a newer version exists and shows its answer, once, when the reply
// is complete; a failed request or a body that is not the endpoint's answer
// is shown as an error.
//
// The endpoint is https://morva.example/ unless the environment variable
// INVOICE_VERSION_ENDPOINT names another one. Its answer is a UTF-8 text
// whose first line is "#morva-version-upgrade"; the rest, trimmed, is the
// message for the user.
class MVersionCheck : public QObject
{
    Q_OBJECT

public:
    MVersionCheck(QNetworkAccessManager* manager, QWidget* boxParent, QObject* parent = nullptr);

    // major.minor with the minor in two digits, then "-" + special when there is one: 2.53, 2.05, 2.53-beta.
    static QString versionText(int major, int minor, const QString& special);

    static QString endpoint();

    // endpoint + "get_version_upgrade" with the query keys program,
    // version_major, version_minor (not zero-filled) and version_special.
    static QUrl requestUrl(const QString& endpoint, int major, int minor, const QString& special);

    // The message of an answer, or an empty text when the body is not one.
    static QString answerMessage(const QByteArray& body);

    // Sends the request; the answer is shown when it has fully arrived.
    void start(const QString& endpoint, int major, int minor, const QString& special);

private slots:
    void doVersionUpgradeFinished();

private:
    QNetworkAccessManager* m_manager;
    QPointer<QWidget> m_boxParent;
};
