#include "MPaymentQr.h"

#include "printing/MDocTemplateData.h"
#include "views/MDocumentNumber.h"
#include "views/MIdentifierCheck.h"

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

QString digitsOnly(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\D")));
}

}

qint64 MPaymentQr::amountInGrosze(int idInvoice)
{
    const double total = MDocTemplateData::invoiceType(idInvoice) == QLatin1String("CORRECT")
                             ? MDocTemplateData::invoiceCorrectTotalPrice(idInvoice)
                             : MDocTemplateData::invoiceTotalPrice(idInvoice);
    return grosze(total) - grosze(MDocTemplateData::invoicePartTotalPrice(idInvoice));
}

QString MPaymentQr::text(int idInvoice, QString* reason)
{
    QString failure;
    QString payment;
    const QString type = MDocTemplateData::invoiceType(idInvoice);
    const int id = type == QLatin1String("DUPLICATE") || type == QLatin1String("CORRECT_DUPLICATE")
                       ? MDocTemplateData::idRecordParent(idInvoice)
                       : idInvoice;

    if (id >= 1) {
        QSqlQuery kindQuery(QStringLiteral("SELECT i.invoice_kind FROM invoice i WHERE i.id = ") + QString::number(id));
        if (kindQuery.next() && isRrKind(kindQuery.value(0).toInt())) {
            failure = tr("Jest to faktura RR.");
        } else {
            QSqlQuery query(QStringLiteral("SELECT s.firm, s.firm_short, s.nip, s.bank_account, i.id_currency, "
                                           "i.id_pay_form, i.payed FROM invoice i LEFT JOIN invoice_seller s "
                                           "ON i.id_seller = s.id WHERE i.id = ")
                            + QString::number(id));
            const bool found = query.next();
            QString name = found ? query.value(1).toString().trimmed() : QString();
            if (name.isEmpty() && found)
                name = query.value(0).toString().trimmed();
            const QString nip = digitsOnly(found ? query.value(2).toString() : QString());
            const QString account = digitsOnly(found ? query.value(3).toString() : QString());
            const int currency = found ? query.value(4).toInt() : 0;
            const int payForm = found ? query.value(5).toInt() : 0;
            const bool paid = found && query.value(6).toInt() == 1;

            const qint64 amount = amountInGrosze(id);
            const QString amountText = QString::number(amount).rightJustified(maxAmountLength, QLatin1Char('0'));
            const QString number = invoiceNumberById(id);

            if (name.size() > maxNameLength)
                failure = tr("Nazwa sprzedawcy ma więcej niż 20 znaków.");
            else if (nip.size() != nipLength)
                failure = tr("NIP sprzedawcy nie ma 10 znaków");
            else if (account.size() != accountLength)
                failure = tr("Numer konta bankowego sprzedawcy (bez kodu kraju) nie ma 26 znaków.");
            else if (amountText.size() > maxAmountLength)
                failure = tr("Kwota brutto ma więcej niż 9 znaków.");
            else if (number.size() > maxNumberLength)
                failure = tr("Numer dokumentu ma więcej niż 32 znaki.");
            else if (amount <= 0)
                failure = tr("Kwota brutto nie jest dodatnia.");
            else if (currency >= 1)
                failure = tr("Dokument nie jest w walucie PLN.");
            else if (payForm != payFormNone && payForm != payFormTransfer)
                failure = tr("Wybrana forma płatności nie jest pusta lub nie jest przelewem.");
            else if (paid)
                failure = tr("Dokument ma tekst \"zapłacono\".");
            else if (!isBankAccountValid(account))
                failure = tr("Numer konta bankowego sprzedawcy jest nieprawidłowy lub nie jest kontem polskim.");
            else if (!isNipValid(nip))
                failure = tr("NIP sprzedawcy jest nieprawidłowy.");
            else
                payment = nip + QStringLiteral("|PL|") + account + QLatin1Char('|') + amountText + QLatin1Char('|')
                          + name + QLatin1Char('|') + number + QStringLiteral("|||");
        }
    }

    if (reason)
        *reason = failure;
    return payment;
}
