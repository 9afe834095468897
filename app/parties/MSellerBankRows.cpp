#include "MSellerBankRows.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace {

bool fail(const QSqlError& sqlError, QString* error)
{
    if (error)
        *error = sqlError.text();
    return false;
}

// Ends a transaction of this class: commits when `ok`, else rolls back.
bool finish(QSqlDatabase& db, bool ok, QString* error)
{
    if (ok && db.commit())
        return true;
    if (ok)
        fail(db.lastError(), error);
    db.rollback();
    return false;
}

} // namespace

bool MSellerBankRows::copyIn(int idSeller, QString* error)
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        m_copyFailed = true;
        return fail(db.lastError(), error);
    }

    QSet<int> ids;
    int chosenDefaultId = 0;
    QSqlQuery rows;
    rows.prepare(QStringLiteral("SELECT id, is_default FROM seller_bank WHERE id_seller = :id_seller ORDER BY id"));
    rows.bindValue(QStringLiteral(":id_seller"), idSeller);
    bool ok = rows.exec() || fail(rows.lastError(), error);
    QSqlQuery copy;
    copy.prepare(QStringLiteral("INSERT INTO __seller_bank SELECT NULL, * FROM seller_bank WHERE id = :id"));
    while (ok && rows.next()) {
        copy.bindValue(QStringLiteral(":id"), rows.value(0));
        ok = copy.exec() || fail(copy.lastError(), error);
        if (!ok)
            break;
        const int id = copy.lastInsertId().toInt();
        ids.insert(id);
        if (rows.value(1).toInt() == 1)
            chosenDefaultId = id;
    }
    rows.finish();

    if (!finish(db, ok, error)) {
        m_copyFailed = true;
        return false;
    }
    m_ids.unite(ids);
    if (chosenDefaultId > 0)
        m_chosenDefaultId = chosenDefaultId;
    return true;
}

void MSellerBankRows::add(int id)
{
    if (id > 0)
        m_ids.insert(id);
}

bool MSellerBankRows::remove(const QList<int>& ids, QString* error)
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction())
        return fail(db.lastError(), error);

    QSet<int> remaining = m_ids;
    QSqlQuery query;
    query.prepare(QStringLiteral("DELETE FROM __seller_bank WHERE __id = :id"));
    bool ok = true;
    for (int id : ids) {
        if (id < 1 || !remaining.contains(id))
            continue;
        query.bindValue(QStringLiteral(":id"), id);
        ok = query.exec() || fail(query.lastError(), error);
        if (!ok)
            break;
        remaining.remove(id);
    }

    // The default account is gone: the lowest one left takes its place, marked as
    // such, so that the seller keeps a default account and its bank fields.
    int chosenDefaultId = m_chosenDefaultId;
    if (ok && chosenDefaultId > 0 && !remaining.contains(chosenDefaultId)) {
        chosenDefaultId = remaining.isEmpty() ? 0 : *std::min_element(remaining.cbegin(), remaining.cend());
        if (chosenDefaultId > 0) {
            QSqlQuery mark;
            mark.prepare(QStringLiteral("UPDATE __seller_bank SET is_default = 1 WHERE __id = :id"));
            mark.bindValue(QStringLiteral(":id"), chosenDefaultId);
            ok = mark.exec() || fail(mark.lastError(), error);
        }
    }

    if (!finish(db, ok, error))
        return false;
    m_ids = remaining;
    m_chosenDefaultId = chosenDefaultId;
    return true;
}

bool MSellerBankRows::setDefault(int id, QString* error)
{
    if (!m_ids.contains(id))
        return true;
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE __seller_bank SET is_default = CASE WHEN __id = :id THEN 1 ELSE 0 END "
                                 "WHERE __id IN (")
                  + idText() + QStringLiteral(")"));
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec())
        return fail(query.lastError(), error);
    m_chosenDefaultId = id;
    return true;
}

bool MSellerBankRows::isEmpty() const
{
    return m_ids.isEmpty();
}

QList<int> MSellerBankRows::ids() const
{
    QList<int> ids = m_ids.values();
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString MSellerBankRows::idText() const
{
    QStringList parts = {QStringLiteral("0")};
    for (int id : ids())
        parts.append(QString::number(id));
    return parts.join(QLatin1Char(','));
}

int MSellerBankRows::defaultId() const
{
    if (m_ids.contains(m_chosenDefaultId))
        return m_chosenDefaultId;
    return m_ids.isEmpty() ? 0 : *std::min_element(m_ids.cbegin(), m_ids.cend());
}

void MSellerBankRows::defaultAccount(QString* bank, QString* account) const
{
    // Empty, not null: the seller's bank columns are NOT NULL.
    *bank = QStringLiteral("");
    *account = QStringLiteral("");
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT bank, bank_account FROM __seller_bank WHERE __id = :id"));
    query.bindValue(QStringLiteral(":id"), defaultId());
    if (query.exec() && query.next()) {
        *bank = query.value(0).toString();
        *account = query.value(1).toString();
    }
}

bool MSellerBankRows::writeBack(int idSeller, QString* error) const
{
    // Rows that could not be read in must not be replaced by what little was.
    if (m_copyFailed || idSeller < 1)
        return true;

    QSqlQuery query;
    query.prepare(QStringLiteral("DELETE FROM seller_bank WHERE id_seller = :id_seller"));
    query.bindValue(QStringLiteral(":id_seller"), idSeller);
    if (!query.exec())
        return fail(query.lastError(), error);

    query.prepare(QStringLiteral("INSERT INTO seller_bank (id_seller, bank, bank_account, is_default) "
                                 "SELECT :id_seller, bank, bank_account, is_default FROM __seller_bank WHERE __id = :id"));
    for (int id : ids()) {
        query.bindValue(QStringLiteral(":id_seller"), idSeller);
        query.bindValue(QStringLiteral(":id"), id);
        if (!query.exec())
            return fail(query.lastError(), error);
    }
    return true;
}
