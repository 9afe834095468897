#include "MTextFunctions.h"

#include "data/MOptions.h"

#include <QCoreApplication>

namespace {

const char* const nominativeMonths[12] = {
    QT_TRANSLATE_NOOP("MTextFunctions", "styczeń"),  QT_TRANSLATE_NOOP("MTextFunctions", "luty"),
    QT_TRANSLATE_NOOP("MTextFunctions", "marzec"),   QT_TRANSLATE_NOOP("MTextFunctions", "kwiecień"),
    QT_TRANSLATE_NOOP("MTextFunctions", "maj"),      QT_TRANSLATE_NOOP("MTextFunctions", "czerwiec"),
    QT_TRANSLATE_NOOP("MTextFunctions", "lipiec"),   QT_TRANSLATE_NOOP("MTextFunctions", "sierpień"),
    QT_TRANSLATE_NOOP("MTextFunctions", "wrzesień"), QT_TRANSLATE_NOOP("MTextFunctions", "październik"),
    QT_TRANSLATE_NOOP("MTextFunctions", "listopad"), QT_TRANSLATE_NOOP("MTextFunctions", "grudzień"),
};

const char* const genitiveMonths[12] = {
    QT_TRANSLATE_NOOP("MTextFunctions", "stycznia"),  QT_TRANSLATE_NOOP("MTextFunctions", "lutego"),
    QT_TRANSLATE_NOOP("MTextFunctions", "marca"),     QT_TRANSLATE_NOOP("MTextFunctions", "kwietnia"),
    QT_TRANSLATE_NOOP("MTextFunctions", "maja"),      QT_TRANSLATE_NOOP("MTextFunctions", "czerwca"),
    QT_TRANSLATE_NOOP("MTextFunctions", "lipca"),     QT_TRANSLATE_NOOP("MTextFunctions", "sierpnia"),
    QT_TRANSLATE_NOOP("MTextFunctions", "września"),  QT_TRANSLATE_NOOP("MTextFunctions", "października"),
    QT_TRANSLATE_NOOP("MTextFunctions", "listopada"), QT_TRANSLATE_NOOP("MTextFunctions", "grudnia"),
};

QString translated(const char* text)
{
    return QCoreApplication::translate("MTextFunctions", text);
}

} // namespace

QString docViewName(int docView, bool asKey)
{
    switch (docView) {
    case 0:
        return asKey ? QStringLiteral("bez_opisu") : QString();
    case 1:
        return asKey ? translated("oryginal") : translated("Oryginał");
    case 2:
        return asKey ? translated("kopia") : translated("Kopia");
    case 4:
        return asKey ? translated("oryginal_kopia") : translated("Oryginał | Kopia");
    default:
        return QString();
    }
}

QString noWrapText(QString text)
{
    return text.replace(QLatin1Char(' '), QStringLiteral("<span style=\"color:transparent;\">'</span>"));
}

QString monthName(QString month, bool checkStyle)
{
    bool ok = false;
    const int number = month.toInt(&ok, 10);
    if (!ok || number < 1 || number > 12)
        return QString();
    const bool genitive = checkStyle && MOptions::option(QStringLiteral("SHOW_MONTH_STYLE")).toInt() != 0;
    return translated(genitive ? genitiveMonths[number - 1] : nominativeMonths[number - 1]);
}

QString sqlMonthNameCase(QString column)
{
    QString sql = QStringLiteral(" CASE ");
    for (int number = 1; number <= 12; ++number) {
        const QString twoDigits = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
        sql += QStringLiteral(" WHEN strftime('%m', ") + column + QStringLiteral(") = '") + twoDigits
            + QStringLiteral("' THEN '") + monthName(twoDigits, false) + QStringLiteral("' ");
    }
    sql += QStringLiteral(" END ");
    return sql;
}
