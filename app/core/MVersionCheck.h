#pragma once

#include "data/MProgramVersion.h"
#include "data/MVersionRequest.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QWidget;

// "Sprawdź aktualizacje" for the main window: MVersionRequest's answer shown
// in a message box over the box parent.
class MVersionCheck : public QObject
{
    Q_OBJECT

public:
    MVersionCheck(QNetworkAccessManager* manager, QWidget* boxParent, QObject* parent = nullptr);

    static QString versionText(int major, int minor, const QString& special)
    {
        return MProgramVersion::versionText(major, minor, special);
    }
    static QString endpoint() { return MVersionRequest::endpoint(); }
    static QUrl requestUrl(const QString& endpoint, int major, int minor, const QString& special)
    {
        return MVersionRequest::requestUrl(endpoint, major, minor, special);
    }
    static QString answerMessage(const QByteArray& body) { return MVersionRequest::answerMessage(body); }

    // Sends the request; the answer is shown when it has fully arrived.
    void start(const QString& endpoint, int major, int minor, const QString& special);

private slots:
    void doAnswered(const MDataMessage& message);

private:
    MVersionRequest* m_request;
    QPointer<QWidget> m_boxParent;
};
