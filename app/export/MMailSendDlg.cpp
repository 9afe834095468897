#include "MMailSendDlg.h"

#include "data/MDocTemplateData.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "data/MScrambleText.h"
#include "export/MMailSmtp.h"
#include "views/MMessageBox.h"
#include "views/MValidators.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExpValidator>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>

namespace {

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), parent);
    label->setFixedWidth(100);
    return label;
}

QPushButton* button(const QString& text, const QString& icon, QWidget* parent)
{
    auto* result = new QPushButton(QIcon(icon), text, parent);
    result->setFixedSize(70, 25);
    return result;
}

} // namespace

MMailSendDlg::MMailSendDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_printFooter(MOptions::option(QStringLiteral("EMAIL_PRINT_FOOTER")).toInt())
    , m_smtpPort(MOptions::option(QStringLiteral("EMAIL_SMTP_PORT")).toInt())
    , m_copyAddress(MOptions::option(QStringLiteral("EMAIL_CC_EMAIL")))
    , m_login(MOptions::option(QStringLiteral("EMAIL_LOGIN")))
    , m_password(unscrambleText(MOptions::option(QStringLiteral("EMAIL_PASSWORD"))))
    , m_subjectTemplate(MOptions::option(QStringLiteral("EMAIL_TEMPLATE_SUBJECT__INVOICE_PDF")))
    , m_bodyTemplate(MOptions::option(QStringLiteral("EMAIL_TEMPLATE_CONTENT_INVOICE_PDF")))
    , m_senderAddress(MOptions::option(QStringLiteral("EMAIL_SENDER_EMAIL")))
    , m_senderName(MOptions::option(QStringLiteral("EMAIL_SENDER_NAME")))
    , m_signature(MOptions::option(QStringLiteral("EMAIL_SENDER_SIGNATURE")))
    , m_smtpServer(MOptions::option(QStringLiteral("EMAIL_SMTP_SERVER")))
{
    setWindowTitle(tr("Wyślij e-mail"));
    m_sendButton = button(tr("Wyślij"), QStringLiteral(":/resource/ok_btn_16_16.png"), this);
    m_cancelButton = button(tr("Anuluj"), QStringLiteral(":/resource/cancel_btn_16_16.png"), this);
    m_closeButton = button(tr("Zamknij"), QStringLiteral(":/resource/close_btn_16_16.png"), this);
    m_closeButton->hide();
    connect(m_sendButton, &QPushButton::clicked, this, &MMailSendDlg::clickSend);
    connect(m_cancelButton, &QPushButton::clicked, this, &MMailSendDlg::clickCancel);
    connect(m_closeButton, &QPushButton::clicked, this, &MMailSendDlg::clickClose);

    m_noticeLabel = new QLabel(this);
    m_noticeLabel->setFixedWidth(510);
    m_noticeLabel->setWordWrap(true);
    if (!hasRequiredOptions()) {
        m_noticeLabel->setText(QStringLiteral("<b><font color=\"#f00000\">")
                               + tr("Nie ma wpisanych wymaganych opcji wysyłki e-mail.") + QStringLiteral("<br>")
                               + tr("Przejdź do opcji i wpisz conajmniej: e-mail, login, adres serwera poczty.")
                               + QStringLiteral("</font></b><br><br>"));
    }

    m_form = new QWidget(this);
    m_recipientEdit = new QLineEdit(m_form);
    m_recipientEdit->setFixedWidth(400);
    m_recipientEdit->setValidator(emailValidator(m_recipientEdit));
    m_copyEdit = new QLineEdit(m_copyAddress, m_form);
    m_copyEdit->setFixedWidth(400);
    m_copyEdit->setValidator(emailValidator(m_copyEdit));
    m_passwordEdit = new QLineEdit(m_form);
    m_passwordEdit->setFixedWidth(400);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_subjectEdit = new QLineEdit(m_form);
    m_subjectEdit->setFixedWidth(400);
    m_bodyEdit = new QTextEdit(m_form);
    m_bodyEdit->setAcceptRichText(false);
    m_bodyEdit->setFixedSize(510, 200);
    m_statusLog = new QTextEdit(this);
    m_statusLog->setFixedSize(510, 75);
    m_statusLog->setReadOnly(true);
    m_statusLog->setHtml(QStringLiteral("<b>") + tr("Komunikaty wysyłki:") + QStringLiteral("</b>"));

    // Names by which tests and accessibility tools find the fields.
    m_recipientEdit->setObjectName(QStringLiteral("recipient"));
    m_copyEdit->setObjectName(QStringLiteral("copy"));
    m_passwordEdit->setObjectName(QStringLiteral("password"));
    m_subjectEdit->setObjectName(QStringLiteral("subject"));
    m_bodyEdit->setObjectName(QStringLiteral("body"));
    m_statusLog->setObjectName(QStringLiteral("log"));

    auto* form = new QGridLayout(m_form);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->setColumnMinimumWidth(1, 10);
    form->setColumnStretch(2, 1);
    int row = 0;
    auto* passwordLabel = boldLabel(tr("Hasło"), m_form);
    if (m_password.isEmpty()) {
        form->addWidget(passwordLabel, row, 0);
        form->addWidget(m_passwordEdit, row++, 2);
        form->setRowMinimumHeight(row++, 10);
    } else {
        passwordLabel->hide();
        m_passwordEdit->hide();
    }
    form->addWidget(boldLabel(tr("Do"), m_form), row, 0);
    form->addWidget(m_recipientEdit, row++, 2);
    form->setRowMinimumHeight(row++, 5);
    form->addWidget(boldLabel(tr("Kopia do"), m_form), row, 0);
    form->addWidget(m_copyEdit, row++, 2);
    form->setRowMinimumHeight(row++, 5);
    form->addWidget(boldLabel(tr("Temat"), m_form), row, 0);
    form->addWidget(m_subjectEdit, row++, 2);
    form->setRowMinimumHeight(row++, 5);
    form->addWidget(boldLabel(tr("Treść"), m_form), row++, 0, 1, 3);
    form->setRowMinimumHeight(row++, 5);
    form->addWidget(m_bodyEdit, row++, 0, 1, 3);
    form->setRowStretch(row, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->addWidget(m_noticeLabel, 0, 0, 1, 2);
    grid->setRowMinimumHeight(1, 5);
    grid->addWidget(m_form, 2, 0, 1, 2);
    grid->setRowMinimumHeight(3, 5);
    grid->addWidget(m_statusLog, 4, 0, 1, 2);
    grid->setRowMinimumHeight(5, 5);
    grid->addWidget(m_sendButton, 6, 0, Qt::AlignLeft);
    grid->addWidget(m_cancelButton, 6, 1, Qt::AlignRight);
    grid->addWidget(m_closeButton, 6, 1, Qt::AlignRight);
}

void MMailSendDlg::setDocumentPdf(int idInvoice, QString filePath, QString fileName)
{
    m_attachmentPaths.append(filePath);
    m_attachmentNames.append(fileName);

    const QString separator = QStringLiteral("\n\n----------\n");
    m_bodyTail.clear();
    if (!m_signature.isEmpty())
        m_bodyTail += separator + m_signature;
    if (m_printFooter != 0) {
        m_bodyTail += separator + tr("E-mail został wysłany z programu morva FAKTURY ") + MProgramVersion::versionText()
                      + QStringLiteral(".");
    }

    int idDocument = idInvoice;
    const QString type = MDocTemplateData::invoiceType(idInvoice);
    if (type == QLatin1String("DUPLICATE") || type == QLatin1String("CORRECT_DUPLICATE"))
        idDocument = MDocTemplateData::idRecordParent(idInvoice);
    if (idDocument <= 0)
        return;

    m_noticeLabel->setText(m_noticeLabel->text() + tr("Wysyłanie dokumentu PDF do "));
    // An RR document is issued by the buyer: the farmer it pays sits on the seller side.
    const QString side = MDocTemplateData::invoiceType3(idDocument) == QLatin1String("INVOICE_RR")
                             ? QStringLiteral("id_seller")
                             : QStringLiteral("id_buyer");
    QSqlQuery query;
    if (query.exec(QStringLiteral("SELECT ib.firm, ib.email FROM invoice i LEFT JOIN invoice_buyer ib ON i.")
                   + side + QStringLiteral(" = ib.id WHERE i.id = ") + QString::number(idDocument))
        && query.next()) {
        // The name is the buyer's own text: shown as it is, never read as markup.
        m_noticeLabel->setText(m_noticeLabel->text() + QStringLiteral("<b>") + query.value(0).toString().toHtmlEscaped()
                               + QStringLiteral("</b>."));
        m_recipient = query.value(1).toString();
        m_recipientEdit->setText(m_recipient);
    }
    m_subjectEdit->setText(m_subjectTemplate);
    m_bodyEdit->setPlainText(m_bodyTemplate);
}

bool MMailSendDlg::hasRequiredOptions() const
{
    return !m_senderAddress.isEmpty() && !m_login.isEmpty() && !m_smtpServer.isEmpty() && m_smtpPort != 0;
}

// Every check runs; the last one that fails names the error.
QString MMailSendDlg::inputError() const
{
    QString error;
    if (m_bodyEdit->toPlainText().trimmed().isEmpty())
        error = tr("Wpisz treść e-maila.");
    if (m_subjectEdit->text().trimmed().isEmpty())
        error = tr("Wpisz temat e-maila.");
    const QString copy = m_copyEdit->text().trimmed();
    if (!copy.isEmpty() && !isEmailValid(copy))
        error = tr("Nieprawidłowy format e-maila kopii.");
    const QString recipient = m_recipientEdit->text().trimmed();
    if (recipient.isEmpty())
        error = tr("Wpisz e-mail odbiorcy.");
    else if (!isEmailValid(recipient))
        error = tr("Nieprawidłowy format e-maila odbiorcy.");
    if (!m_passwordEdit->isHidden() && m_passwordEdit->text().isEmpty())
        error = tr("Wpisz hasło do swojego konta e-mail.");
    if (!hasRequiredOptions()) {
        error = tr("Nie ma wpisanych wymaganych opcji wysyłki e-mail.") + QStringLiteral("\n")
                + tr("Przejdź do opcji i wpisz conajmniej: e-mail, login, adres serwera poczty.");
    }
    // The document is the point of the message: without its file nothing is sent.
    for (const QString& path : m_attachmentPaths) {
        if (!QFileInfo(path).isFile())
            error = tr("Nie ma pliku PDF do załączenia: %1. Wiadomość nie zostanie wysłana.")
                        .arg(QDir::toNativeSeparators(path));
    }
    return error;
}

void MMailSendDlg::clickSend(bool)
{
    const QString error = inputError();
    if (!error.isEmpty()) {
        MMessageBox::warning(this, tr("Błąd wprowadzenia danych"), error);
        return;
    }
    QString password = m_password;
    if (!m_passwordEdit->isHidden())
        password = m_passwordEdit->text();
    m_recipient = m_recipientEdit->text().trimmed();
    m_copyAddress = m_copyEdit->text().trimmed();
    m_subject = m_subjectEdit->text().trimmed();
    const QString body = m_bodyEdit->toPlainText().trimmed() + m_bodyTail;
    showSending(true);

    // The client belongs to the application, not to the dialog: a message under
    // way is finished even when the dialog is closed, and the client goes with
    // its connection.
    auto* client = new MMailSmtp(m_login, password, m_smtpServer, m_smtpPort);
    client->setParent(QCoreApplication::instance());
    connect(client, &MMailSmtp::closed, client, &QObject::deleteLater);
    connect(client, &MMailSmtp::status, this, &MMailSendDlg::statusMailSmtp);
    client->sendMail(m_senderName, m_senderAddress, m_recipient, m_copyAddress, m_subject, body,
                     m_attachmentPaths, m_attachmentNames);
}

void MMailSendDlg::clickCancel(bool)
{
    done(0);
}

void MMailSendDlg::clickClose(bool)
{
    done(1);
}

void MMailSendDlg::statusMailSmtp(const int& code, const QString& str)
{
    QString text = str.trimmed().toHtmlEscaped();
    if (code == MMailSmtp::MessageSent)
        text = QStringLiteral("<b>") + text + QStringLiteral("</b>");
    QTextCursor cursor(m_statusLog->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertHtml(QStringLiteral("<br><font color=\"#808080\">") + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))
                      + QStringLiteral(": </font>") + text + QStringLiteral(" <font color=\"#808080\">(")
                      + QString::number(code) + QStringLiteral(")</font>"));
    m_statusLog->verticalScrollBar()->setValue(m_statusLog->verticalScrollBar()->maximum());
    // Every failure gives the form back as it was typed, so the message can go again.
    if (code != MMailSmtp::LoggingIn && code != MMailSmtp::SendingMessage && code != MMailSmtp::MessageSent)
        showSending(false);
}

void MMailSendDlg::showSending(bool sending)
{
    m_form->setEnabled(!sending);
    m_sendButton->setVisible(!sending);
    m_cancelButton->setVisible(!sending);
    m_closeButton->setVisible(sending);
}
