#include "MDefaultOptions.h"

#include "data/MOptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

const char* const recordViews[] = { "BUYER_DB_VIEW",        "CURRENCY_RATING_DB_VIEW", "ENDTEXT_DB_VIEW",
                                    "INVOICE_SELL_DB_VIEW", "INVOICE_BUY_DB_VIEW",     "PRODUCT_DB_VIEW",
                                    "SELLER_DB_VIEW" };

struct PartyField
{
    const char* suffix;
    const char* seller;
    const char* buyer;
};

const PartyField partyFields[] = {
    { "NIP", "1", "1" },   { "REGON", "1", "0" }, { "BANK", "1", "0" },    { "BANK_ACCOUNT", "1", "0" },
    { "PROVINCE", "0", "0" }, { "COUNTRY", "0", "0" }, { "PHONE", "1", "0" }, { "FAX", "1", "0" },
    { "EMAIL", "1", "0" }, { "WWW", "1", "0" },
};

const char* const defaultPrinterMargins = "5;5;5;5";

struct Default
{
    const char* key;
    const char* value;
};

const Default singleDefaults[] = {
    // Document printing
    { "PRINTER_MARGINS", defaultPrinterMargins },
    { "ENVELOPE_WINDOW_MARGINS", "115;55;25;45" },
    { "FIT_TO_ENVELOPE_WINDOW_RIGHT", "0" },
    { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW", "1" },
    { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF", "1" },
    { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT", "0" },
    { "SHOW_REDUCT_COLUMNS", "2" },
    { "SHOW_REDUCT_COLUMN_NETTO_BRUTTO", "0" },
    { "SHOW_VAT_RATING_COLUMN", "0" },
    { "SHOW_PRODUCT_CODE_COLUMN", "0" },
    { "SHOW_PRODUCT_SYMBOL_COLUMN", "0" },
    { "FIT_COLUMN_PKWIU_TO_TEXT", "0" },
    { "SHOW_TEXT_FROM_BRUTTO", "1" },
    { "SHOW_PRINT_FOOTER", "1" },
    { "SHOW_MONTH_STYLE", "1" },
    { "FONT_SIZE_DIFF", "2" },
    { "SHOW_VIEW_ORIGINAL_COPY", "1" },
    { "SHOW_LOGO", "1" },
    { "PRINT_ORIENTATION_DOCUMENT", "0" },
    { "SHOW_QR_CODE__PAY_MOBILE", "0" },
    { "SELLER_SHOW_PERSON_ON_DOCUMENT", "1" },
    { "SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT", "1" },
    { "SELLER_SHOW_PERSON_DOCUMENT_DATE", "1" },
    { "BUYER_SHOW_PERSON_DOCUMENT_DATE", "1" },
    // New records and documents
    { "ID_RECORD_DEFAULT_SELLER", "0" },
    { "ID_RECORD_DEFAULT_ENDTEXT", "0" },
    { "ID_DEFAULT_VAT", "0" },
    { "DEFAULT_PRICE_BASE", "0" },
    { "DEFAULT_PRICE_REDUCT", "0" },
    { "DEFAULT_SUMMARY_COUNT", "0" },
    // Application behaviour
    { "ACTIVE_TABLE_CACHE", "1" },
    { "DRAG_AND_DROP", "0" },
    { "EMAIL_PRINT_FOOTER", "1" },
    { "SHOW_DO_YOU_KNOW", "1" },
    { "DO_YOU_KNOW_LAST_ID", "0" },
    { "DO_YOU_KNOW_SPEED", "60" },
};

// Wordings printed on documents; translatable like every text of the main window.
const Default translatedDefaults[] = {
    { "TRANSLATE_DATE_SELL_20130101", QT_TRANSLATE_NOOP("MAppWnd", "dostawy / wykonania usługi") },
    { "TRANSLATE_HEADER_INVOICE_20130101", QT_TRANSLATE_NOOP("MAppWnd", "FAKTURA VAT") },
    { "TRANSLATE_HEADER_INVOICE_CORRECT_20130101", QT_TRANSLATE_NOOP("MAppWnd", "FAKTURA KORYGUJĄCA VAT") },
    { "TRANSLATE_HEADER_INVOICE_PROFORM_20130101", QT_TRANSLATE_NOOP("MAppWnd", "FAKTURA PROFORMA") },
    { "TRANSLATE_PERMIT_PERSON_IN",
      QT_TRANSLATE_NOOP("MAppWnd", "Osoba upoważniona do wystawienia [TYPU_DOKUMENTU]") },
    { "TRANSLATE_PERMIT_PERSON_OUT", QT_TRANSLATE_NOOP("MAppWnd", "Osoba upoważniona do odebrania [TYPU_DOKUMENTU]") },
};

QString latin1(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

QMap<QString, QString> MDefaultOptions::defaults(const QString& pathDocuments)
{
    QMap<QString, QString> values;
    const QString on = QStringLiteral("1");

    for (const char* view : recordViews) {
        const QString suffix = latin1(view);
        values.insert(QStringLiteral("FILTER_SHOW_") + suffix, on);
        values.insert(QStringLiteral("FILTER_SEARCH_COLUMN_") + suffix, on);
        values.insert(QStringLiteral("SEARCH_SWITCH_") + suffix, on);
        values.insert(QStringLiteral("COLUMN_SORT_") + suffix, QStringLiteral("0;0"));
        if (suffix != QLatin1String("ENDTEXT_DB_VIEW"))
            values.insert(QStringLiteral("FILTER_TREE_SWITCH_") + suffix, on);
    }
    values.insert(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW"), on);
    values.insert(QStringLiteral("CATALOG_SWITCH_BUYER_DB_VIEW"), on);
    values.insert(QStringLiteral("CATALOG_SWITCH_PRODUCT_DB_VIEW"), on);

    for (const PartyField& field : partyFields) {
        values.insert(QStringLiteral("SELLER_SHOW_FIELD_") + latin1(field.suffix), latin1(field.seller));
        values.insert(QStringLiteral("BUYER_SHOW_FIELD_") + latin1(field.suffix), latin1(field.buyer));
    }

    for (const Default& single : singleDefaults)
        values.insert(latin1(single.key), latin1(single.value));
    for (const Default& wording : translatedDefaults)
        values.insert(latin1(wording.key), QCoreApplication::translate("MAppWnd", wording.value));

    values.insert(QStringLiteral("PRINT_PDF_PATH"), pathDocuments + QStringLiteral("pdf"));
    values.insert(QStringLiteral("EXPORT_CSV_PATH"), pathDocuments + QStringLiteral("export"));
    values.insert(QStringLiteral("EXPORT_JPK_PATH"), pathDocuments + QStringLiteral("export"));
    values.insert(QStringLiteral("BACKUP_SELF_PATH"), pathDocuments + QStringLiteral("backup"));
    return values;
}

const QStringList& MDefaultOptions::folderKeys()
{
    static const QStringList keys { QStringLiteral("PRINT_PDF_PATH"), QStringLiteral("EXPORT_CSV_PATH"),
                                    QStringLiteral("EXPORT_JPK_PATH"), QStringLiteral("BACKUP_SELF_PATH") };
    return keys;
}

const QStringList& MDefaultOptions::forcedKeys()
{
    static const QStringList keys { QStringLiteral("JPK_FA_SHOW"), QStringLiteral("JPK_VAT_SHOW") };
    return keys;
}

void MDefaultOptions::store(const QString& pathDocuments)
{
    const QMap<QString, QString> values = defaults(pathDocuments);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString current = MOptions::option(it.key());
        const bool missingFolder = folderKeys().contains(it.key()) && !QFileInfo::exists(current);
        if (current.isEmpty() || missingFolder)
            MOptions::setOption(it.key(), it.value());
    }
    for (const QString& key : forcedKeys()) {
        if (MOptions::option(key) != QLatin1String("1"))
            MOptions::setOption(key, QStringLiteral("1"));
    }
}

void MDefaultOptions::reset(const QString& pathDocuments)
{
    QSqlQuery(QStringLiteral("DELETE FROM _options"));
    MOptions::loadOptions();
    store(pathDocuments);
}

QVector<double> MDefaultOptions::printerMargins(const QString& text)
{
    // A damaged value falls back to the default margins as a whole rather
    // than guessing which side a lone number was meant for.
    QStringList parts = text.split(QLatin1Char(';'));
    if (parts.size() < 4)
        parts = latin1(defaultPrinterMargins).split(QLatin1Char(';'));
    QVector<double> margins;
    for (int i = 0; i < 4; ++i)
        margins.append(parts.at(i).toDouble());
    return margins;
}
