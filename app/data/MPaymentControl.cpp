#include "MPaymentControl.h"

#include "data/MDocumentActions.h"
#include "data/MSqlTransaction.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

MPaymentControl::State MPaymentControl::read(int id)
{
    State state;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT invoice_kind, is_payed, IFNULL(strftime('%Y-%m-%d', date_payed), ''), "
                                 "is_cancelled FROM invoice WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (query.exec() && query.next()) {
        state.kind = query.value(0).toInt();
        state.payed = query.value(1).toInt() == 1;
        state.datePayed = query.value(2).toString();
        state.cancelled = query.value(3).toInt() == 1;
    }
    return state;
}

bool MPaymentControl::agree(QList<int> ids, State* last)
{
    std::sort(ids.begin(), ids.end());
    State previous;
    bool same = true;
    for (int i = 0; i < ids.size() && same; ++i) {
        const State state = read(ids.at(i));
        if (i > 0) {
            same = state.cancelled == previous.cancelled;
            if (same && MDocumentActions::isPayable(state.kind))
                same = state.payed == previous.payed && state.datePayed == previous.datePayed;
        }
        previous = state;
    }
    if (last)
        *last = previous;
    return same;
}

bool MPaymentControl::write(QList<int> ids, const Choice& choice, QString* errorText)
{
    std::sort(ids.begin(), ids.end());
    const QVariant datePayed = choice.payed && choice.withDate
                                   ? QVariant(choice.datePayed.toString(QStringLiteral("yyyy-MM-dd")))
                                   : QVariant(QVariant::String);
    return MSqlTransaction::run(
        [&]() {
            for (int id : qAsConst(ids)) {
                QSqlQuery cancel;
                cancel.prepare(QStringLiteral("UPDATE invoice SET is_cancelled = :is_cancelled WHERE id = :id"));
                cancel.bindValue(QStringLiteral(":is_cancelled"), choice.cancelled ? 1 : 0);
                cancel.bindValue(QStringLiteral(":id"), id);
                QString error = MSqlTransaction::exec(cancel);
                if (!error.isEmpty())
                    return error;
                int kind = -1;
                if (!MDocumentActions::readKind(id, &kind) || !MDocumentActions::isPayable(kind))
                    continue;
                QSqlQuery payed;
                payed.prepare(QStringLiteral("UPDATE invoice SET is_payed = :is_payed, date_payed = :date_payed "
                                             "WHERE id = :id"));
                payed.bindValue(QStringLiteral(":is_payed"), choice.payed ? 1 : 0);
                payed.bindValue(QStringLiteral(":date_payed"), datePayed);
                payed.bindValue(QStringLiteral(":id"), id);
                error = MSqlTransaction::exec(payed);
                if (!error.isEmpty())
                    return error;
            }
            return QString();
        },
        errorText);
}
