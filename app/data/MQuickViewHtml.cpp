#include "MQuickViewHtml.h"

#include "data/MNumberText.h"
#include "data/MTextFunctions.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QSet<int> duplicateKinds = {5, 6, 7, 8, 10, 13, 14, 17, 18, 21, 22, 25, 26, 29, 30};
const QSet<int> correctionKinds = {2, 4, 12, 16, 20, 24, 28};
const QSet<int> settlementKinds = {19, 20, 23, 24};

QString tr(const char* text)
{
    return QCoreApplication::translate("MFastView", text);
}

QString cell(const QString& value)
{
    return QStringLiteral("<td align=\"right\">") + noWrapText(value) + QStringLiteral("</td>");
}

QString money(const QVariant& value)
{
    return numberText(value.toDouble(), 2);
}

QString section(const QString& title, const QString& rows)
{
    if (rows.isEmpty())
        return QString();
    return QStringLiteral("<b>") + title + QStringLiteral(":</b>")
        + QStringLiteral("<table border=\"0\" bgcolor=\"#c6c5c4\" width=\"100%\" cellspacing=\"1\" cellpadding=\"2\">")
        + rows + QStringLiteral("</table>") + QStringLiteral("<font style=\"font-size:5px;\"><br>&nbsp;<br></font>");
}

const QString rowStart = QStringLiteral("<tr bgcolor=\"#ffffff\">");

QString lineRows(int id)
{
    QSqlQuery query;
    QString rows;
    if (!query.exec(QStringLiteral("SELECT p.name, p.unit, p.vat_text, pm.netto_price, pm.vat_price, pm.brutto_price, "
                                   "pm.amount FROM invoice_product_misc pm "
                                   "LEFT JOIN invoice_product p ON p.id = pm.id_product WHERE pm.id_invoice = ")
                    + QString::number(id) + QStringLiteral(" ORDER BY pm.id")))
        return rows;
    int number = 0;
    while (query.next()) {
        ++number;
        rows += rowStart + QStringLiteral("<td colspan=\"5\"><b>") + QString::number(number) + QStringLiteral(".</b> ")
            + query.value(0).toString().toHtmlEscaped() + QStringLiteral("</td></tr>");
        rows += rowStart
            + cell(amountText(query.value(6).toDouble(), 4) + QLatin1Char(' ') + query.value(1).toString().toHtmlEscaped())
            + cell(money(query.value(3))) + cell(query.value(2).toString().toHtmlEscaped()) + cell(money(query.value(4)))
            + cell(money(query.value(5))) + QStringLiteral("</tr>");
    }
    return rows;
}

QString vatSummarySelect(bool part, bool negated)
{
    const QString sign = negated ? QStringLiteral("-") : QString();
    const QString suffix = part ? QStringLiteral("part_price") : QStringLiteral("price");
    return QStringLiteral("SELECT %1isv.netto_%2 AS _netto_price_, v.name AS _vat_name_, %1isv.vat_%2 AS _vat_price_, "
                          "%1isv.brutto_%2 AS _brutto_price_, v.kind AS _vat_kind_, v.val AS _vat_val_ "
                          "FROM invoice_summary_vat isv LEFT JOIN vat v ON isv.id_vat = v.id ")
        .arg(sign, suffix);
}

QString vatSummaryRows(const QStringList& parts)
{
    QSqlQuery query;
    QString rows;
    if (parts.isEmpty()
        || !query.exec(QStringLiteral("SELECT SUM(_t1_._netto_price_), _t1_._vat_name_, SUM(_t1_._vat_price_), "
                                      "SUM(_t1_._brutto_price_) FROM (")
                       + parts.join(QStringLiteral("UNION ALL "))
                       + QStringLiteral(") AS _t1_ GROUP BY _t1_._vat_name_ ORDER BY _t1_._vat_kind_ DESC, "
                                        "_t1_._vat_val_")))
        return rows;
    while (query.next())
        rows += rowStart + cell(money(query.value(0))) + cell(query.value(1).toString().toHtmlEscaped())
            + cell(money(query.value(2)))
            + cell(money(query.value(3))) + QStringLiteral("</tr>");
    return rows;
}

QString totalsSelect(bool part, bool negated)
{
    const QString sign = negated ? QStringLiteral("-") : QString();
    const QString suffix = part ? QStringLiteral("_part") : QString();
    return QStringLiteral("SELECT %1i.global_netto%2 AS _global_netto_, %1i.global_vat%2 AS _global_vat_, "
                          "%1i.global_brutto%2 AS _global_brutto_ FROM invoice i ")
        .arg(sign, suffix);
}

QString totalsRows(const QStringList& parts)
{
    QSqlQuery query;
    if (parts.isEmpty()
        || !query.exec(QStringLiteral("SELECT SUM(_t1_._global_netto_), SUM(_t1_._global_vat_), "
                                      "SUM(_t1_._global_brutto_) FROM (")
                       + parts.join(QStringLiteral("UNION ALL ")) + QStringLiteral(") AS _t1_"))
        || !query.next() || query.value(0).isNull())
        return QString();
    return rowStart + cell(money(query.value(0))) + cell(money(query.value(1))) + cell(money(query.value(2)))
        + QStringLiteral("</tr>");
}

bool kindAndParent(int id, int* kind, int* parent)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT i.invoice_kind, i.id_parent_invoice FROM invoice i WHERE i.id = ")
                    + QString::number(id))
        || !query.next())
        return false;
    *kind = query.value(0).toInt();
    *parent = query.value(1).toInt();
    return true;
}

} // namespace

QString MQuickViewHtml::oneDocument(int id)
{
    int kind = 0;
    int parent = 0;
    if (!kindAndParent(id, &kind, &parent))
        return QString();
    const bool settlement = settlementKinds.contains(kind);
    int shown = id;
    if (duplicateKinds.contains(kind)) {
        shown = parent;
        if (!kindAndParent(shown, &kind, &parent))
            return QString();
    }
    const int corrected = correctionKinds.contains(kind) ? parent : 0;

    const QString shownText = QString::number(shown);
    const QString correctedText = QString::number(corrected);
    QString html;
    if (corrected > 0)
        html += section(tr("Produkty przed korektą"), lineRows(corrected));
    html += section(corrected > 0 ? tr("Produkty po korekcie") : tr("Produkty"), lineRows(shown));

    for (const bool part : {false, true}) {
        if (part && !settlement)
            break;
        QStringList summary{vatSummarySelect(part, false) + QStringLiteral("WHERE isv.id_invoice = ") + shownText
                            + QLatin1Char(' ')};
        QStringList totals{totalsSelect(part, false) + QStringLiteral("WHERE i.id = ") + shownText + QLatin1Char(' ')};
        if (corrected > 0) {
            summary << vatSummarySelect(part, true) + QStringLiteral("WHERE isv.id_invoice = ") + correctedText
                    + QLatin1Char(' ');
            totals << totalsSelect(part, true) + QStringLiteral("WHERE i.id = ") + correctedText + QLatin1Char(' ');
        }
        html += section(part ? tr("Rozliczenie VAT zaliczki") : tr("Podsumowanie VAT"), vatSummaryRows(summary));
        html += section(tr("Razem"), totalsRows(totals));
    }
    return html;
}

QString MQuickViewHtml::severalDocuments(const QList<int>& ids)
{
    QStringList idTexts;
    for (int id : ids)
        idTexts << QString::number(id);
    const QString list = idTexts.join(QLatin1Char(','));

    QStringList parents;
    QSqlQuery query;
    if (query.exec(QStringLiteral("SELECT i.invoice_kind, i.id_parent_invoice FROM invoice i WHERE i.id IN (") + list
                   + QStringLiteral(") "))) {
        while (query.next()) {
            if (correctionKinds.contains(query.value(0).toInt()))
                parents << query.value(1).toString();
        }
    }
    const QString parentList = parents.join(QLatin1Char(','));

    // Advance and final invoices count with their part prices; a corrected parent of an
    // advance or final correction is subtracted with its part prices. Foreign currencies
    // are left out.
    struct Piece
    {
        QString ids;
        bool part;
        bool negated;
        QString kinds;
    };
    QList<Piece> pieces = {{list, false, false, QStringLiteral("NOT IN (19,23)")},
                           {list, true, false, QStringLiteral("IN (19,23)")}};
    if (!parents.isEmpty()) {
        pieces << Piece{parentList, false, true, QStringLiteral("NOT IN (20,24)")}
               << Piece{parentList, true, true, QStringLiteral("IN (20,24)")};
    }
    QStringList summary;
    QStringList totals;
    for (const Piece& piece : pieces) {
        const QString condition = QStringLiteral(") AND i.invoice_kind ") + piece.kinds
            + QStringLiteral(" AND i.id_currency = 0 ");
        summary << vatSummarySelect(piece.part, piece.negated)
                + QStringLiteral("LEFT JOIN invoice i ON i.id = isv.id_invoice WHERE isv.id_invoice IN (") + piece.ids
                + condition;
        totals << totalsSelect(piece.part, piece.negated) + QStringLiteral("WHERE i.id IN (") + piece.ids + condition;
    }
    return section(tr("Podsumowanie VAT"), vatSummaryRows(summary)) + section(tr("Razem"), totalsRows(totals))
        + QStringLiteral("<small><span style=\"color:#808080;\">")
        + tr("Faktury walutowe nie są jeszcze uwzględniane.<br>Duplikaty dokumentów nie są uwzględniane.")
        + QStringLiteral("</span></small>");
}
