#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestSmtpServer.h"
#include "MTrustedTestCa.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "data/MScrambleText.h"
#include "export/MMailSendDlg.h"
#include "export/MMailSmtp.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

namespace {

const QString kSignature = QStringLiteral("Jan Nowak\nAlfa sp. z o.o.");

template <typename T>
T* field(QDialog& dlg, const QString& name)
{
    return dlg.findChild<T*>(name);
}

QPushButton* button(QDialog& dlg, const QString& text)
{
    const auto buttons = dlg.findChildren<QPushButton*>();
    for (QPushButton* candidate : buttons) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QStringList visibleButtons(QDialog& dlg)
{
    QStringList texts;
    const auto buttons = dlg.findChildren<QPushButton*>();
    for (QPushButton* candidate : buttons) {
        if (candidate->isVisible())
            texts.append(candidate->text());
    }
    return texts;
}

// The codes at the ends of the log's lines, "HH:mm:ss: text (code)".
QList<int> loggedCodes(QDialog& dlg)
{
    QList<int> codes;
    const QRegularExpression line(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d: .+ \\((\\d+)\\)$"));
    const QStringList lines = field<QTextEdit>(dlg, QStringLiteral("log"))->toPlainText().split(QLatin1Char('\n'));
    for (const QString& text : lines) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            codes.append(match.captured(1).toInt());
    }
    return codes;
}

bool isLoggedBold(QDialog& dlg, const QString& text)
{
    for (QTextBlock block = field<QTextEdit>(dlg, QStringLiteral("log"))->document()->begin(); block.isValid();
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat().fontWeight() >= QFont::Bold;
        }
    }
    return false;
}

QList<MMailSmtp*> clients()
{
    return qApp->findChildren<MMailSmtp*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

// The e-mail dialog: the proposed message, the checks of the form and sends
// to a real SMTP server.
class TestMailSendDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void proposesRecipient_data();
    void proposesRecipient();
    void checksForm_data();
    void checksForm();
    void sendsDocument();
    void refusedLoginBringsFormBack();
    void noServerBringsFormBack();
    void untrustedCertificateIsNamedAndFormKept();
    void missingPdfIsNotSent();
    void buyerNameIsPlainText();

private:
    int addBuyer(const QString& firm, const QString& email);
    int addDocument(int kind, int idBuyer, int idSeller, int idParent = 0);
    void setMailOptions(quint16 port, const QString& storedPassword);

    MTestDatabase m_db;
    QTemporaryDir m_files;
    QString m_pdf;
    int m_invoice = 0;
};

void TestMailSendDlg::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QVERIFY(m_files.isValid());
    m_pdf = QFINDTESTDATA("data/faktura.pdf");
    m_invoice = addDocument(1, addBuyer(QStringLiteral("Beta sp. z o.o."), QStringLiteral("biuro@beta.pl")),
                            addBuyer(QStringLiteral("Alfa"), QStringLiteral("alfa@alfa.pl")));
}

void TestMailSendDlg::init()
{
    MMessageBox::takeShown();
    setMailOptions(25, QStringLiteral("x"));
}

int TestMailSendDlg::addBuyer(const QString& firm, const QString& email)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                     {{QStringLiteral("firm"), firm}, {QStringLiteral("email"), email}}));
}

int TestMailSendDlg::addDocument(int kind, int idBuyer, int idSeller, int idParent)
{
    QVariantMap values{{QStringLiteral("invoice_kind"), kind},
                       {QStringLiteral("id_buyer"), idBuyer},
                       {QStringLiteral("id_seller"), idSeller},
                       {QStringLiteral("invoice_index_string"), QStringLiteral("FV/12")}};
    if (idParent > 0)
        values.insert(QStringLiteral("id_parent_invoice"), idParent);
    return int(MTestDatabase::insert(QStringLiteral("invoice"), values));
}

void TestMailSendDlg::setMailOptions(quint16 port, const QString& storedPassword)
{
    MOptions::setOption(QStringLiteral("EMAIL_SENDER_EMAIL"), QStringLiteral("biuro@alfa.pl"));
    MOptions::setOption(QStringLiteral("EMAIL_SENDER_NAME"), QStringLiteral("Alfa"));
    MOptions::setOption(QStringLiteral("EMAIL_LOGIN"), kLogin);
    MOptions::setOption(QStringLiteral("EMAIL_PASSWORD"), storedPassword.isEmpty() ? QString() : scrambleText(storedPassword));
    MOptions::setOption(QStringLiteral("EMAIL_SMTP_SERVER"), QStringLiteral("127.0.0.1"));
    MOptions::setOption(QStringLiteral("EMAIL_SMTP_PORT"), QString::number(port));
    MOptions::setOption(QStringLiteral("EMAIL_CC_EMAIL"), QString());
    MOptions::setOption(QStringLiteral("EMAIL_SENDER_SIGNATURE"), kSignature);
    MOptions::setOption(QStringLiteral("EMAIL_PRINT_FOOTER"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("EMAIL_TEMPLATE_SUBJECT__INVOICE_PDF"), QStringLiteral("Faktura {NUMER}"));
    MOptions::setOption(QStringLiteral("EMAIL_TEMPLATE_CONTENT_INVOICE_PDF"),
                        QStringLiteral("Dzień dobry,\nw załączeniu faktura {NUMER}."));
}

void TestMailSendDlg::proposesRecipient_data()
{
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<QString>("firm");

    // Documents are added in the order of `kinds`; the last one is mailed, each copies the one before.
    QTest::newRow("invoice") << QStringLiteral("1") << QStringLiteral("nabywca@beta.pl") << QStringLiteral("Beta");
    QTest::newRow("duplicate") << QStringLiteral("1 5") << QStringLiteral("nabywca@beta.pl") << QStringLiteral("Beta");
    QTest::newRow("correction duplicate") << QStringLiteral("2 6") << QStringLiteral("nabywca@beta.pl")
                                          << QStringLiteral("Beta");
    QTest::newRow("RR") << QStringLiteral("11") << QStringLiteral("rolnik@gamma.pl") << QStringLiteral("Gamma");
    QTest::newRow("RR duplicate") << QStringLiteral("11 13") << QStringLiteral("rolnik@gamma.pl")
                                  << QStringLiteral("Gamma");
}

void TestMailSendDlg::proposesRecipient()
{
    QFETCH(QString, kinds);
    QFETCH(QString, recipient);
    QFETCH(QString, firm);

    const int idBuyer = addBuyer(QStringLiteral("Beta"), QStringLiteral("nabywca@beta.pl"));
    const int idSeller = addBuyer(QStringLiteral("Gamma"), QStringLiteral("rolnik@gamma.pl"));
    int id = 0;
    for (const QString& kind : kinds.split(QLatin1Char(' ')))
        id = addDocument(kind.toInt(), idBuyer, idSeller, id);

    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(id, m_pdf, QStringLiteral("FV_12.pdf"));
    QCOMPARE(field<QLineEdit>(dlg, QStringLiteral("recipient"))->text(), recipient);
    QCOMPARE(field<QLineEdit>(dlg, QStringLiteral("subject"))->text(), QStringLiteral("Faktura {NUMER}"));
    QCOMPARE(field<QTextEdit>(dlg, QStringLiteral("body"))->toPlainText(),
             QStringLiteral("Dzień dobry,\nw załączeniu faktura {NUMER}."));
    const auto labels = dlg.findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
        return label->text() == QStringLiteral("Wysyłanie dokumentu PDF do <b>") + firm + QStringLiteral("</b>.");
    }));
}

void TestMailSendDlg::checksForm_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<QString>("storedPassword");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("error");

    const QString body = QStringLiteral("Treść");
    const QString subject = QStringLiteral("Temat");
    const QString to = QStringLiteral("jan@beta.pl");
    const QString stored = QStringLiteral("hasło");
    const QString server = QStringLiteral("127.0.0.1");
    QTest::newRow("empty body") << QStringLiteral("  \n ") << subject << QString() << to << stored << server
                                << QStringLiteral("Wpisz treść e-maila.");
    QTest::newRow("empty subject") << body << QStringLiteral(" ") << QString() << to << stored << server
                                   << QStringLiteral("Wpisz temat e-maila.");
    QTest::newRow("body, subject and copy wrong") << QString() << QString() << QStringLiteral("kopia@") << to
                                                  << stored << server
                                                  << QStringLiteral("Nieprawidłowy format e-maila kopii.");
    QTest::newRow("no recipient") << body << subject << QString() << QStringLiteral("  ") << stored << server
                                  << QStringLiteral("Wpisz e-mail odbiorcy.");
    QTest::newRow("bad recipient after bad copy") << body << subject << QStringLiteral("kopia@") << QStringLiteral("jan")
                                                  << stored << server
                                                  << QStringLiteral("Nieprawidłowy format e-maila odbiorcy.");
    QTest::newRow("empty password with the row shown") << body << subject << QString() << to << QString() << server
                                                       << QStringLiteral("Wpisz hasło do swojego konta e-mail.");
    QTest::newRow("no server")
        << QString() << subject << QString() << to << stored << QString()
        << QStringLiteral("Nie ma wpisanych wymaganych opcji wysyłki e-mail.\n"
                          "Przejdź do opcji i wpisz conajmniej: e-mail, login, adres serwera poczty.");
}

void TestMailSendDlg::checksForm()
{
    QFETCH(QString, body);
    QFETCH(QString, subject);
    QFETCH(QString, copy);
    QFETCH(QString, recipient);
    QFETCH(QString, storedPassword);
    QFETCH(QString, server);
    QFETCH(QString, error);

    setMailOptions(25, storedPassword);
    MOptions::setOption(QStringLiteral("EMAIL_SMTP_SERVER"), server);
    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(m_invoice, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg.show();
    QCOMPARE(field<QLineEdit>(dlg, QStringLiteral("password"))->isVisible(), storedPassword.isEmpty());
    field<QTextEdit>(dlg, QStringLiteral("body"))->setPlainText(body);
    field<QLineEdit>(dlg, QStringLiteral("subject"))->setText(subject);
    field<QLineEdit>(dlg, QStringLiteral("copy"))->setText(copy);
    field<QLineEdit>(dlg, QStringLiteral("recipient"))->setText(recipient);

    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).title, QStringLiteral("Błąd wprowadzenia danych"));
    QCOMPARE(shown.at(0).text, error);
    QCOMPARE(visibleButtons(dlg), (QStringList{QStringLiteral("Wyślij"), QStringLiteral("Anuluj")}));
    QVERIFY(clients().isEmpty());
}

// A typed password that the server refuses brings the form back; the next
// send uses the password typed then, and the body carries its tail once.
void TestMailSendDlg::refusedLoginBringsFormBack()
{
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY2(server.start(received.path()), "aiosmtpd (python3-aiosmtpd) did not start");
    const MTrustedTestCa trust(QFINDTESTDATA("data/smtp-test.pem"));
    setMailOptions(server.port(), QString());
    const QString storedPassword = MTestDatabase::storedOption(QStringLiteral("EMAIL_PASSWORD"));

    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(m_invoice, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg.show();
    field<QLineEdit>(dlg, QStringLiteral("password"))->setText(QStringLiteral("złe hasło"));
    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    QCOMPARE(visibleButtons(dlg), QStringList{QStringLiteral("Zamknij")});
    QTRY_COMPARE(loggedCodes(dlg), (QList<int>{10, 50}));
    QCOMPARE(visibleButtons(dlg), (QStringList{QStringLiteral("Wyślij"), QStringLiteral("Anuluj")}));
    QVERIFY(field<QLineEdit>(dlg, QStringLiteral("password"))->isEnabled());
    QTRY_VERIFY(clients().isEmpty());

    field<QLineEdit>(dlg, QStringLiteral("password"))->setText(kPassword);
    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    QTRY_COMPARE(loggedCodes(dlg), (QList<int>{10, 50, 10, 11, 0}));
    QTRY_VERIFY(clients().isEmpty());
    const QJsonObject message = parsedMessage(received.filePath(QStringLiteral("1.eml")));
    QVERIFY(message.value("body").toString().startsWith(QStringLiteral("Dzień dobry,\nw załączeniu faktura {NUMER}.\n\n----------\n")));
    QCOMPARE(message.value("body").toString().count(QStringLiteral("----------")), 2);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("EMAIL_PASSWORD")), storedPassword);
}

void TestMailSendDlg::sendsDocument()
{
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY2(server.start(received.path()), "aiosmtpd (python3-aiosmtpd) did not start");
    const MTrustedTestCa trust(QFINDTESTDATA("data/smtp-test.pem"));
    setMailOptions(server.port(), kPassword);

    const int duplicate = addDocument(5, addBuyer(QStringLiteral("Kopia"), QStringLiteral("kopia@delta.pl")), 0,
                                      m_invoice);
    auto* dlg = new MMailSendDlg(nullptr);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<MMailSendDlg> watched(dlg);
    dlg->setDocumentPdf(duplicate, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg->show();
    QVERIFY(!field<QLineEdit>(*dlg, QStringLiteral("password"))->isVisible());
    field<QLineEdit>(*dlg, QStringLiteral("copy"))->setText(QStringLiteral(" ksiegowa@alfa.pl "));
    QTest::mouseClick(button(*dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    QVERIFY(!field<QLineEdit>(*dlg, QStringLiteral("subject"))->isEnabled());

    QTRY_COMPARE(loggedCodes(*dlg), (QList<int>{10, 11, 0}));
    QVERIFY(isLoggedBold(*dlg, QStringLiteral("Wiadomość została wysłana.")));
    QVERIFY(!isLoggedBold(*dlg, QStringLiteral("Logowanie.")));
    QCOMPARE(visibleButtons(*dlg), QStringList{QStringLiteral("Zamknij")});
    QTRY_VERIFY(clients().isEmpty());

    const QJsonObject delivery = envelope(received.path());
    QCOMPARE(delivery.value("rcpt_tos").toVariant().toStringList(),
             (QStringList{QStringLiteral("biuro@beta.pl"), QStringLiteral("ksiegowa@alfa.pl")}));
    const QJsonObject message = parsedMessage(received.filePath(QStringLiteral("1.eml")));
    QCOMPARE(message.value("subject").toString(), QStringLiteral("Faktura {NUMER}"));
    const QString tail = QStringLiteral("\n\n----------\n") + kSignature
                         + QStringLiteral("\n\n----------\nE-mail został wysłany z programu morva FAKTURY ")
                         + MProgramVersion::versionText() + QStringLiteral(".");
    QCOMPARE(message.value("body").toString(),
             QStringLiteral("Dzień dobry,\nw załączeniu faktura {NUMER}.") + tail + QStringLiteral("\n"));
    const QJsonArray attachments = message.value("attachments").toArray();
    QCOMPARE(attachments.size(), 1);
    QCOMPARE(attachments.at(0).toObject().value("name").toString(), QStringLiteral("FV_12.pdf"));
    QFile pdf(m_pdf);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(QByteArray::fromBase64(attachments.at(0).toObject().value("data").toString().toLatin1()), pdf.readAll());

    QTest::mouseClick(button(*dlg, QStringLiteral("Zamknij")), Qt::LeftButton);
    QTRY_VERIFY(watched.isNull());
}

namespace {

// The form as the user left it: recipient, copy, subject and body.
QStringList typedForm(QDialog& dlg)
{
    return {field<QLineEdit>(dlg, QStringLiteral("recipient"))->text(), field<QLineEdit>(dlg, QStringLiteral("copy"))->text(),
            field<QLineEdit>(dlg, QStringLiteral("subject"))->text(),
            field<QTextEdit>(dlg, QStringLiteral("body"))->toPlainText()};
}

void typeForm(QDialog& dlg)
{
    field<QLineEdit>(dlg, QStringLiteral("copy"))->setText(QStringLiteral("ksiegowa@alfa.pl"));
    field<QLineEdit>(dlg, QStringLiteral("subject"))->setText(QStringLiteral("Faktura FV/12 za marzec"));
    field<QTextEdit>(dlg, QStringLiteral("body"))->setPlainText(QStringLiteral("Dzień dobry,\nprzesyłam fakturę."));
}

// Sends a typed form and expects the one failure `code`, told as `reason`, and
// the form back as it was typed.
void sendAndExpectFormBack(QDialog& dlg, int code, const QString& reason)
{
    typeForm(dlg);
    const QStringList typed = typedForm(dlg);
    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    QTRY_COMPARE(loggedCodes(dlg), QList<int>{code});
    const QString log = field<QTextEdit>(dlg, QStringLiteral("log"))->toPlainText();
    QVERIFY2(log.contains(reason), qPrintable(log));
    QCOMPARE(visibleButtons(dlg), (QStringList{QStringLiteral("Wyślij"), QStringLiteral("Anuluj")}));
    QVERIFY(field<QLineEdit>(dlg, QStringLiteral("recipient"))->isEnabled());
    QCOMPARE(typedForm(dlg), typed);
    QTRY_VERIFY(clients().isEmpty());
}

} // namespace

void TestMailSendDlg::noServerBringsFormBack()
{
    // A port just freed, so nothing listens on it.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    setMailOptions(port, kPassword);

    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(m_invoice, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg.show();
    sendAndExpectFormBack(dlg, MMailSmtp::SocketErrorBase + QAbstractSocket::ConnectionRefusedError,
                          QStringLiteral("Serwer poczty 127.0.0.1 nie przyjął połączenia na porcie %1.").arg(port));
}

// A server whose certificate this computer does not trust: the reason in Polish,
// the form kept, and the same message goes once the certificate is trusted.
void TestMailSendDlg::untrustedCertificateIsNamedAndFormKept()
{
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY2(server.start(received.path()), "aiosmtpd (python3-aiosmtpd) did not start");
    setMailOptions(server.port(), kPassword);

    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(m_invoice, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg.show();
    sendAndExpectFormBack(dlg, MMailSmtp::SocketErrorBase + QAbstractSocket::SslHandshakeFailedError,
                          QStringLiteral("Certyfikat serwera poczty nie jest zaufany w magazynie certyfikatów tego "
                                         "komputera."));
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!QFile::exists(received.filePath(QStringLiteral("1.eml"))));

    const MTrustedTestCa trust(QFINDTESTDATA("data/smtp-test.pem"));
    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    QTRY_COMPARE(loggedCodes(dlg), (QList<int>{113, 10, 11, 0}));
    QTRY_VERIFY(clients().isEmpty());
    const QJsonObject message = parsedMessage(received.filePath(QStringLiteral("1.eml")));
    QCOMPARE(message.value("subject").toString(), QStringLiteral("Faktura FV/12 za marzec"));
    QVERIFY(message.value("body").toString().startsWith(QStringLiteral("Dzień dobry,\nprzesyłam fakturę.")));
}

void TestMailSendDlg::missingPdfIsNotSent()
{
    const QString gone = m_files.filePath(QStringLiteral("usunieta.pdf"));
    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(m_invoice, gone, QStringLiteral("FV_12.pdf"));
    dlg.show();
    QTest::mouseClick(button(dlg, QStringLiteral("Wyślij")), Qt::LeftButton);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, QStringLiteral("Nie ma pliku PDF do załączenia: %1. Wiadomość nie zostanie wysłana.")
                                   .arg(QDir::toNativeSeparators(gone)));
    QCOMPARE(visibleButtons(dlg), (QStringList{QStringLiteral("Wyślij"), QStringLiteral("Anuluj")}));
    QVERIFY(clients().isEmpty());
}

void TestMailSendDlg::buyerNameIsPlainText()
{
    const QString image = QUrl::fromLocalFile(m_pdf).toString();
    const QString firm = QStringLiteral("<i>Gamma</i> <img src=\"%1\"> & Syn").arg(image);
    const int id = addDocument(1, addBuyer(firm, QStringLiteral("gamma@gamma.pl")), 0);
    MMailSendDlg dlg(nullptr);
    dlg.setDocumentPdf(id, m_pdf, QStringLiteral("FV_12.pdf"));
    dlg.show();
    QLabel* notice = nullptr;
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("Wysyłanie dokumentu PDF do ")))
            notice = label;
    }
    QVERIFY(notice);
    // What the label shows, read through the same rich-text engine.
    QTextDocument shown;
    shown.setHtml(notice->text());
    QVERIFY2(shown.toPlainText().endsWith(firm + QStringLiteral(".")), qPrintable(shown.toPlainText()));
    QVERIFY(!notice->text().contains(QStringLiteral("<img")));
    QVERIFY(!notice->text().contains(QStringLiteral("<i>")));
}

INVOICE_TEST_MAIN(TestMailSendDlg)
#include "tst_mailsenddlg.moc"
