#include "MDocumentActions.h"

#include "data/MDocumentNumber.h"

#include <QSqlQuery>
#include <QVariant>

bool MDocumentActions::isDuplicate(int kind)
{
    switch (kind) {
    case 5: case 6: case 7: case 8: case 10: case 13: case 14: case 17: case 18:
    case 21: case 22: case 25: case 26: case 29: case 30:
        return true;
    default:
        return false;
    }
}

bool MDocumentActions::isPayable(int kind)
{
    return kind >= 0 && kind <= 30 && !isDuplicate(kind);
}

bool MDocumentActions::canCopy(int kind)
{
    return isPayable(kind);
}

int MDocumentActions::correctionKind(int kind)
{
    switch (kind) {
    case 0: return 2;
    case 3: return 4;
    case 11: return 12;
    case 15: return 16;
    case 27: return 28;
    default: return -1;
    }
}

int MDocumentActions::duplicateKind(int kind)
{
    switch (kind) {
    case 0: return 5;
    case 2: return 6;
    case 3: return 7;
    case 4: return 8;
    case 9: return 10;
    case 11: case 12: case 15: case 16: case 19: case 20: case 23: case 24: case 27: case 28:
        return kind + 2;
    default:
        return -1;
    }
}

bool MDocumentActions::readKind(int id, int* kind, int* idParent)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT invoice_kind, id_parent_invoice FROM invoice WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    const bool found = query.exec() && query.next();
    if (kind)
        *kind = found ? query.value(0).toInt() : -1;
    if (idParent)
        *idParent = found ? query.value(1).toInt() : 0;
    return found;
}

QString MDocumentActions::numberText(int id)
{
    int kind = -1;
    int idParent = 0;
    if (readKind(id, &kind, &idParent) && isDuplicate(kind))
        return invoiceNumberById(idParent);
    return invoiceNumberById(id);
}
