#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

// Sends one document's PDF by e-mail: proposes the recipient, subject and
// body, checks the form and hands the message to a new SMTP client per send,
// logging every status the client reports.
class MMailSendDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MMailSendDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

    // Attaches the PDF and proposes recipient (the buyer of the document, for a
    // duplicate of the copied one, for RR the party on the seller side),
    // subject and body. Called once, before exec().
    void setDocumentPdf(int idInvoice, QString filePath, QString fileName);

private slots:
    void clickSend(bool b);
    void clickCancel(bool b);
    void clickClose(bool b);
    void statusMailSmtp(const int& code, const QString& str);

private:
    bool hasRequiredOptions() const;
    QString inputError() const;
    void showSending(bool sending);

    QPushButton* m_cancelButton;
    QPushButton* m_closeButton;
    QPushButton* m_sendButton;
    QStringList m_attachmentPaths;
    QStringList m_attachmentNames;
    int m_printFooter;
    int m_smtpPort;
    QLineEdit* m_copyEdit;
    QTextEdit* m_bodyEdit;
    QLineEdit* m_passwordEdit;
    QLineEdit* m_subjectEdit;
    QLineEdit* m_recipientEdit;
    QTextEdit* m_statusLog;
    QLabel* m_noticeLabel;
    QString m_copyAddress;
    QString m_bodyTail;
    QString m_login;
    QString m_password;
    QString m_subjectTemplate;
    QString m_bodyTemplate;
    QString m_senderAddress;
    QString m_senderName;
    QString m_signature;
    QString m_smtpServer;
    QString m_subject;
    QString m_recipient;
    QWidget* m_form;
};
