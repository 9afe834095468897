#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The payment control data of several documents at once: paid flag, payment date and
// cancel flag. Duplicates have only the cancel flag.
class MPaymentControl
{
public:
    struct State
    {
        int kind = 0;
        bool payed = false;
        QString datePayed; // "yyyy-MM-dd", or empty without a date
        bool cancelled = false;
    };

    struct Choice
    {
        bool payed = false;
        bool withDate = false; // the date is stored only for a paid choice with a date
        QDate datePayed;
        bool cancelled = false;
    };

    // The stored state of document `id`; a document not found reads as an unpaid,
    // not cancelled kind 0 without a date.
    static State read(int id);
    // Whether the documents, taken in ascending id order, all agree: each compared with
    // the one before it on paid flag, date and cancel flag (a duplicate on the cancel
    // flag alone). `last` receives the state of the last document read.
    static bool agree(QList<int> ids, State* last = nullptr);
    // Writes the choice to every document in one transaction; on failure nothing changes
    // and `errorText` (when given) receives the database's reason.
    static bool write(QList<int> ids, const Choice& choice, QString* errorText = nullptr);
};
