#pragma once

#include <QSslConfiguration>
#include <QString>

// While it lives, every TLS socket made takes the test servers' certificate
// (data/smtp-test.pem, a CA of its own) as a trusted authority. A socket copies
// the default configuration when it is made, so the client under test has to
// be made inside the scope.
class MTrustedTestCa
{
public:
    explicit MTrustedTestCa(const QString& certificatePath)
        : m_original(QSslConfiguration::defaultConfiguration())
    {
        QSslConfiguration trusting = m_original;
        trusting.addCaCertificates(certificatePath);
        QSslConfiguration::setDefaultConfiguration(trusting);
    }
    ~MTrustedTestCa() { QSslConfiguration::setDefaultConfiguration(m_original); }
    MTrustedTestCa(const MTrustedTestCa&) = delete;
    MTrustedTestCa& operator=(const MTrustedTestCa&) = delete;

private:
    QSslConfiguration m_original;
};
