#include "data/MPaymentQr.h"

#include "data/MDocTemplateData.h"
#include "data/MDocumentNumber.h"
#include "data/MIdentifierCheck.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>
#include <QtMath>

namespace {

const int maxNameLength = 20;
const int nipLength = 10;
const int accountLength = 26;
const int maxAmountLength = 9;
const int maxNumberLength = 32;

// invoice.id_pay_form: no pay form chosen, bank transfer.
const int payFormNone = 0;
const int payFormTransfer = 2;

bool isRrKind(int kind)
{
    return kind >= 11 && kind <= 14;
}

qint64 grosze(double amount)
{
    return qFloor(amount * 100.0 + 1e-10 + 0.5);
}

// The gross total (for a correction its difference to the document it corrects) less
// the parts already paid on it and on the documents joined to it.
qint64 amountToPay(int idInvoice)
{
    const double total = MDocTemplateData::invoiceType(idInvoice) == QLatin1String("CORRECT")
                             ? MDocTemplateData::invoiceCorrectTotalPrice(idInvoice)
                             : MDocTemplateData::invoiceTotalPrice(idInvoice);
    return grosze(total) - grosze(MDocTemplateData::invoicePartTotalPrice(idInvoice));
}

QString digitsOnly(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\D")));
}

}

struct MPaymentQr::Payment
{
    QString name;
    QString nip;
    QString account;
    qint64 amount = 0;
    QString amountText;
    QString number;
    int currency = 0;
    int payForm = 0;
    bool paid = false;
};

QString MPaymentQr::text(int idInvoice, QString* reason)
{
    const QString type = MDocTemplateData::invoiceType(idInvoice);
    const int id = type == QLatin1String("DUPLICATE") || type == QLatin1String("CORRECT_DUPLICATE")
                       ? MDocTemplateData::idRecordParent(idInvoice)
                       : idInvoice;

    QString failure;
    QString result;
    if (id >= 1) {
        QSqlQuery kind(QStringLiteral("SELECT i.invoice_kind FROM invoice i WHERE i.id = ") + QString::number(id));
        if (kind.next() && isRrKind(kind.value(0).toInt())) {
            failure = tr("Jest to faktura RR.");
        } else {
            const Payment payment = read(id);
            failure = refusal(payment);
            if (failure.isEmpty())
                result = payment.nip + QStringLiteral("|PL|") + payment.account + QLatin1Char('|') + payment.amountText
                         + QLatin1Char('|') + payment.name + QLatin1Char('|') + payment.number + QStringLiteral("|||");
        }
    }

    if (reason)
        *reason = failure;
    return result;
}

MPaymentQr::Payment MPaymentQr::read(int idInvoice)
{
    Payment payment;
    QSqlQuery query(QStringLiteral("SELECT s.firm, s.firm_short, s.nip, s.bank_account, i.id_currency, i.id_pay_form, "
                                   "i.payed FROM invoice i LEFT JOIN invoice_seller s ON i.id_seller = s.id "
                                   "WHERE i.id = ")
                    + QString::number(idInvoice));
    if (query.next()) {
        payment.name = query.value(1).toString().trimmed();
        if (payment.name.isEmpty())
            payment.name = query.value(0).toString().trimmed();
        payment.nip = digitsOnly(query.value(2).toString());
        payment.account = digitsOnly(query.value(3).toString());
        payment.currency = query.value(4).toInt();
        payment.payForm = query.value(5).toInt();
        payment.paid = query.value(6).toInt() == 1;
    }
    payment.amount = amountToPay(idInvoice);
    payment.amountText = QString::number(payment.amount).rightJustified(maxAmountLength, QLatin1Char('0'));
    payment.number = invoiceNumberById(idInvoice);
    return payment;
}

QString MPaymentQr::refusal(const Payment& payment)
{
    if (payment.name.size() > maxNameLength)
        return tr("Nazwa sprzedawcy ma więcej niż 20 znaków.");
    if (payment.nip.size() != nipLength)
        return tr("NIP sprzedawcy nie ma 10 znaków");
    if (payment.account.size() != accountLength)
        return tr("Numer konta bankowego sprzedawcy (bez kodu kraju) nie ma 26 znaków.");
    if (payment.amountText.size() > maxAmountLength)
        return tr("Kwota brutto ma więcej niż 9 znaków.");
    if (payment.number.size() > maxNumberLength)
        return tr("Numer dokumentu ma więcej niż 32 znaki.");
    if (payment.amount <= 0)
        return tr("Kwota brutto nie jest dodatnia.");
    if (payment.currency >= 1)
        return tr("Dokument nie jest w walucie PLN.");
    if (payment.payForm != payFormNone && payment.payForm != payFormTransfer)
        return tr("Wybrana forma płatności nie jest pusta lub nie jest przelewem.");
    if (payment.paid)
        return tr("Dokument ma tekst \"zapłacono\".");
    if (!isBankAccountValid(payment.account))
        return tr("Numer konta bankowego sprzedawcy jest nieprawidłowy lub nie jest kontem polskim.");
    if (!isNipValid(payment.nip))
        return tr("NIP sprzedawcy jest nieprawidłowy.");
    return QString();
}
