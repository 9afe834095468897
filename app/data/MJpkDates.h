#pragma once

#include <QDate>
#include <QString>

#include <initializer_list>

// The dates that the schema of a JPK file accepts: the period of its header
// and the dates of its rows.
struct MJpkDates
{
    QDate firstPeriodDay;
    QDate lastPeriodDay;
    QDate firstRowDay;
    QDate lastRowDay;

    // JPK_VAT of schema variant 2 or 3.
    static MJpkDates vat(int version);
    // JPK_FA(1).
    static MJpkDates fa();

    bool acceptsPeriod(const QDate& from, const QDate& to) const;
    // "od 2016-07-01 do 2030-01-01", the period's bounds.
    QString periodBoundsText() const;
    // Why a file of this period cannot be written; empty when the schema takes it.
    QString periodRefusal(const QDate& from, const QDate& to) const;
    // Why a file cannot carry document `number` with these dates ("yyyy-MM-dd",
    // an empty one is left out of the file); empty when the schema takes them.
    QString rowRefusal(const QString& number, std::initializer_list<QString> dayTexts) const;
    // The first of the two refusals above for a period and its documents (each with
    // number, issueDate and saleDate); empty when the schema takes them all.
    template <typename Documents>
    QString refusal(const QDate& from, const QDate& to, const Documents& documents) const
    {
        QString text = periodRefusal(from, to);
        for (auto document = documents.cbegin(); text.isEmpty() && document != documents.cend(); ++document)
            text = rowRefusal(document->number, {document->issueDate, document->saleDate});
        return text;
    }
};
