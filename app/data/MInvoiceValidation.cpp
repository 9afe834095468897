#include "MInvoiceValidation.h"

#include "MInvoiceNumbering.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QString dateTimeFormat = QStringLiteral("yyyy-MM-dd 00:00:00");

QString message(const char* text)
{
    return QCoreApplication::translate("MInvoiceDlg", text);
}

// The first column of the first row of `sql` with its values bound in
// order, or an invalid value when there is no row (or the statement fails).
QVariant firstValue(const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query;
    if (!query.prepare(sql))
        return QVariant();
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return QVariant();
    return query.value(0);
}

bool anyRow(const QString& sql, const QVariantList& values)
{
    return firstValue(sql, values).isValid();
}

QString idList(const QList<int>& keys)
{
    QStringList ids{QStringLiteral("0")};
    for (int key : keys)
        ids << QString::number(key);
    return ids.join(QLatin1Char(','));
}

struct NumberProblems
{
    bool taken = false;
    bool outOfOrder = false;
};

NumberProblems numberProblems(const MDocumentSaveState& state, int period)
{
    NumberProblems problems;
    QString lower;
    QString upper;
    if (!MInvoiceNumbering::periodBounds(period, state.datePut, &lower, &upper))
        return problems;
    const QString dayAfter = state.datePut.addDays(1).toString(dateTimeFormat);
    const QString tail = QStringLiteral(" AND id_seller_base = ? AND invoice_kind IN (") + MInvoiceNumbering::groupKinds(state.kind)
                         + QStringLiteral(") AND id <> ?");
    // A new document has id 0, which no stored document has.
    problems.taken = anyRow(QStringLiteral("SELECT id FROM invoice WHERE date_put >= ? AND date_put < ?"
                                           " AND invoice_index = ?") + tail,
                            {lower, upper, state.number, state.idSellerBase, state.idInvoice});
    problems.outOfOrder = anyRow(QStringLiteral("SELECT id FROM invoice WHERE date_put >= ? AND date_put < ?"
                                                " AND date_put >= ? AND invoice_index < ?") + tail,
                                 {lower, upper, dayAfter, state.number, state.idSellerBase, state.idInvoice});
    return problems;
}

// The first line of the document meeting `condition`, for a refusal that names it.
struct Line
{
    int position = 0; // 1-based in the document; 0 when no line meets the condition
    QString product;
    QString value;    // `column` of that line
};

Line firstLine(const QList<int>& lines, const QString& column, const QString& condition, const QVariantList& values)
{
    Line line;
    QSqlQuery query;
    if (!query.prepare(QStringLiteral("SELECT pm.__id, p.name, ") + column
                       + QStringLiteral(" FROM __invoice_product_misc pm LEFT JOIN __invoice_product p"
                                        " ON p.__id = pm.id_product WHERE p.id IS NOT NULL AND pm.__id IN (")
                       + idList(lines) + QStringLiteral(") AND ") + condition
                       + QStringLiteral(" ORDER BY pm.__id LIMIT 1")))
        return line;
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return line;
    line.position = lines.indexOf(query.value(0).toInt()) + 1;
    line.product = query.value(1).toString();
    line.value = query.value(2).toString();
    return line;
}

// The refusal's own text, then which line it is about and what to change.
QString lineRefusal(const char* text, const Line& line, const char* detail)
{
    return message(text) + QStringLiteral("\n\n")
        + message(detail).arg(line.position).arg(line.product, line.value);
}

QString priceBaseName(bool gross)
{
    return gross ? message("brutto") : message("netto");
}

QString discountKindName(bool amount)
{
    return amount ? message("kwotowy") : message("procentowy");
}

} // namespace

namespace MInvoiceValidation {

int numberingPeriod(int sellerKey)
{
    return sellerKey > 0 ? MInvoiceNumbering::sellerPeriod(sellerKey, 0) : 0;
}

int kindByName(const QString& basicForm, int current)
{
    if (basicForm.isEmpty())
        return current;
    const QVariant id = firstValue(
        QStringLiteral("SELECT id FROM invoice_kind WHERE basic_form = ? AND second_form = ''"), {basicForm});
    return id.isValid() ? id.toInt() : current;
}

int currencyBySymbol(const QString& symbol, int current)
{
    if (symbol.isEmpty())
        return current;
    const QVariant id = firstValue(QStringLiteral("SELECT id FROM currency WHERE symbol = ?"), {symbol});
    return id.isValid() ? id.toInt() : current;
}

QDate paymentDate(const MDocumentSaveState& state)
{
    static const QList<int> formsWithTerm{0, 1, 2, 5, 6, 7};
    const int payForm = state.payForm.isEmpty()
                            ? 0
                            : firstValue(QStringLiteral("SELECT id FROM pay_form WHERE basic_form = ?"),
                                         {state.payForm})
                                  .toInt();
    const bool inDays = state.termInDays && formsWithTerm.contains(payForm);
    return inDays ? state.datePut.addDays(state.termDays) : state.datePay;
}

QString firstProblem(const MDocumentSaveState& state, const Figures& figures)
{
    if (state.sellerKey == 0)
        return state.kind == 11 || state.kind == 12
                   ? message("Aby zapisać dokument należy wybrać kontrahenta.")
                   : message("Aby zapisać dokument należy wybrać sprzedawcę.");
    if (state.kind < 0)
        return message("Aby zapisać dokument należy wybrać rodzaj dokumentu.");
    if (!state.correction && paymentDate(state) < state.datePut)
        return message("Termin płatności nie może być wcześniejszy niż data wystawienia.");

    const NumberProblems number = numberProblems(state, figures.numberingPeriod);
    if (number.taken)
        return message("Wybrany numer dokumentu jest już zajęty w tym okresie numeracyjnym.");
    if (number.outOfOrder)
        return message("Dla wybranej pary numeru dokumentu i daty wystawienia nie można utworzyć dokumentu "
                       "z zachowaniem prawidłowej kolejności.");

    const bool hasLines = !state.lines.isEmpty();
    const QString currencySymbol = QStringLiteral("IFNULL((SELECT symbol FROM currency WHERE id = p.id_currency), '')");
    if (hasLines) {
        const Line line = firstLine(state.lines, currencySymbol, QStringLiteral("p.id_currency <> ?"), {state.idCurrency});
        if (line.position > 0)
            return lineRefusal("Waluta produktu/produktów nie jest zgodna z walutą wybraną dla dokumentu.", line,
                               "Pozycja %1 „%2” jest w walucie %3. Zmień walutę tej pozycji albo dokumentu.");
    }
    if (state.idCurrency > 0 && state.ratingKey > 0) {
        const QVariant from = firstValue(
            QStringLiteral("SELECT id_currency_from FROM __invoice_currency_rating WHERE __id = ?"), {state.ratingKey});
        if (from.isValid() && from.toInt() != state.idCurrency)
            return message("Notowanie kursu waluty wybrane jest dla innej waluty.");
    }
    if (hasLines) {
        Line line = firstLine(state.lines, QStringLiteral("p.count_from_netto"), QStringLiteral("p.count_from_netto <> ?"),
                              {state.grossBase ? 0 : 1});
        if (line.position > 0) {
            line.value = priceBaseName(line.value.toInt() == 0);
            return lineRefusal("Podstawa cenowa produktu/produktów nie jest zgodna z podstawą cenową wybraną dla "
                               "dokumentu.",
                               line,
                               "Pozycja %1 „%2” ma podstawę cenową %3. Zmień podstawę cenową tej pozycji albo "
                               "dokumentu.");
        }
        line = firstLine(state.lines, QStringLiteral("pm.reduct_percent"),
                         QStringLiteral("pm.reduct_percent <> ? AND pm.reduct <> 0.0"), {state.amountDiscount ? 0 : 1});
        if (line.position > 0) {
            line.value = discountKindName(line.value.toInt() == 0);
            return lineRefusal("Rodzaj rabatu (procentowy lub kwotowy) produktu/produktów nie jest zgodny z "
                               "rodzajem rabatu wybranym dla dokumentu.",
                               line, "Pozycja %1 „%2” ma rabat %3. Zmień rodzaj rabatu tej pozycji albo dokumentu.");
        }
    }

    const double limit = figures.grossTotal - (state.correction ? figures.parentGrossTotal : 0.0);
    const double payments = MDocumentSave::amountOf(state.bruttoPart) + figures.advances;
    if (payments > 0.0 && payments > limit + 0.0000000001)
        return message("Kwota wpłaty częściowej jest większa niż kwota brutto dokumentu.");

    if (!state.joins.isEmpty()) {
        const QVariant joined = firstValue(
            QStringLiteral("SELECT CASE WHEN i.invoice_index_string = '' THEN 'id ' || i.id"
                           " ELSE i.invoice_index_string END"
                           " FROM __invoice_join ij LEFT JOIN invoice i ON i.id = ij.id_invoice_join WHERE ij.__id IN (")
                + idList(state.joins)
                + QStringLiteral(") AND (i.invoice_kind NOT IN (19,20) OR i.id_currency <> ?) ORDER BY ij.__id LIMIT 1"),
            {state.idCurrency});
        if (joined.isValid())
            return message("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe z tą samą "
                           "walutą.")
                + QStringLiteral("\n\n")
                + message("Dokument „%1” nie jest fakturą zaliczkową w walucie tego dokumentu. Usuń go z "
                          "załączonych dokumentów.")
                      .arg(joined.toString());
    }
    return QString();
}

} // namespace MInvoiceValidation
