#include "data/MJpkDates.h"

#include <QCoreApplication>

namespace {

// The dates of the definitions' own date type, which JPK_VAT(2) and JPK_FA(1) use.
const QDate firstEtdDay(1900, 1, 1);
const QDate lastEtdDay(2030, 12, 31);

QString dayText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

MJpkDates MJpkDates::vat(int version)
{
    if (version == 2)
        return fa();
    return {QDate(2016, 7, 1), QDate(2030, 1, 1), QDate(2006, 1, 1), QDate(2030, 1, 1)};
}

MJpkDates MJpkDates::fa()
{
    return {firstEtdDay, lastEtdDay, firstEtdDay, lastEtdDay};
}

bool MJpkDates::acceptsPeriod(const QDate& from, const QDate& to) const
{
    return from >= firstPeriodDay && from <= lastPeriodDay && to >= firstPeriodDay && to <= lastPeriodDay;
}

QString MJpkDates::periodBoundsText() const
{
    return QCoreApplication::translate("MJpkDates", "od %1 do %2").arg(dayText(firstPeriodDay), dayText(lastPeriodDay));
}

QString MJpkDates::periodRefusal(const QDate& from, const QDate& to) const
{
    if (acceptsPeriod(from, to))
        return QString();
    return QCoreApplication::translate("MJpkDates", "schemat pliku przyjmuje tylko okres %1").arg(periodBoundsText());
}

QString MJpkDates::rowRefusal(const QString& number, std::initializer_list<QString> dayTexts) const
{
    for (const QString& text : dayTexts) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid() && (date < firstRowDay || date > lastRowDay)) {
            return QCoreApplication::translate(
                       "MJpkDates", "dokument %1 ma datę %2 spoza dat, które przyjmuje schemat pliku (od %3 do %4)")
                .arg(number, text, dayText(firstRowDay), dayText(lastRowDay));
        }
    }
    return QString();
}
