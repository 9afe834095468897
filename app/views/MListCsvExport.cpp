#include "MListCsvExport.h"

#include "data/MSqliteHandle.h"
#include "views/MFileCsvWriter.h"
#include "data/MNumberText.h"
#include "views/MSqlQueryModel.h"

#include <QSqlDatabase>
#include <QVariant>

#include <sqlite3.h>

namespace {

// The value as Qt's SQLite driver reads it.
QVariant driverValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QVariant(QVariant::String);
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default:
        return QString(static_cast<const QChar*>(sqlite3_column_text16(statement, column)),
                       sqlite3_column_bytes16(statement, column) / int(sizeof(QChar)));
    }
}

QString fieldText(const QVariant& value, int kind)
{
    switch (kind) {
    case ColumnKind::Integer:
        return value.toString();
    case ColumnKind::Decimal2:
    case ColumnKind::Amount:
        return numberText(value.toDouble(), 2);
    case ColumnKind::Decimal4:
        return numberText(value.toDouble(), 4);
    default:
        return value.toString().trimmed();
    }
}

// The code point starting at `text`, which is valid UTF-8 of `size` bytes.
uint codePoint(const unsigned char* text)
{
    if (text[0] < 0x80)
        return text[0];
    if (text[0] < 0xE0)
        return ((text[0] & 0x1Fu) << 6) | (text[1] & 0x3Fu);
    if (text[0] < 0xF0)
        return ((text[0] & 0x0Fu) << 12) | ((text[1] & 0x3Fu) << 6) | (text[2] & 0x3Fu);
    return ((text[0] & 0x07u) << 18) | ((text[1] & 0x3Fu) << 12) | ((text[2] & 0x3Fu) << 6) | (text[3] & 0x3Fu);
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(const unsigned char* text, int size)
{
    for (int i = 0; i < size;) {
        const unsigned char lead = text[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + length > size || text[i + 1] < low || text[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if (text[i + k] < 0x80 || text[i + k] > 0xBF)
                return false;
        }
        i += length;
    }
    return true;
}

// Whether the text read as Qt reads it, and trimmed when `trim`, gives its own
// bytes back: valid UTF-8 and, when trimmed, no blank of any kind at either end.
bool passesAsItIs(const unsigned char* text, int size, bool trim)
{
    if (!isValidUtf8(text, size))
        return false;
    if (!trim || size == 0)
        return true;
    int last = size - 1;
    while (last > 0 && (text[last] & 0xC0) == 0x80)
        --last;
    return !QChar::isSpace(codePoint(text)) && !QChar::isSpace(codePoint(text + last));
}

void writeField(sqlite3_stmt* statement, int column, int kind, MFileCsvWriter& writer)
{
    if (column >= sqlite3_column_count(statement)) {
        writer.addField(fieldText(QVariant(), kind));
        return;
    }
    const int type = sqlite3_column_type(statement, column);
    const bool asText = kind != ColumnKind::Decimal2 && kind != ColumnKind::Amount && kind != ColumnKind::Decimal4;
    // Stored numbers stay numbers, negative ones included; only a text can be taken for a formula.
    const bool storedText = asText && kind != ColumnKind::Integer && type == SQLITE_TEXT;
    if (asText && type == SQLITE_NULL) {
        writer.addUtf8Field("", 0);
        return;
    }
    if (asText && (type == SQLITE_INTEGER || type == SQLITE_TEXT)) {
        // SQLite spells an integer in decimal digits, as Qt does.
        const auto* text = sqlite3_column_text(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        if (type == SQLITE_INTEGER || passesAsItIs(text, size, kind != ColumnKind::Integer)) {
            if (storedText)
                writer.addUtf8TextField(reinterpret_cast<const char*>(text), size);
            else
                writer.addUtf8Field(reinterpret_cast<const char*>(text), size);
            return;
        }
    }
    if (storedText)
        writer.addTextField(fieldText(driverValue(statement, column), kind));
    else
        writer.addField(fieldText(driverValue(statement, column), kind));
}

} // namespace

bool MListCsvExport::writeRows(const QString& sql, const QList<int>& columns, const QList<int>& kinds,
                               MFileCsvWriter& writer, QString* errorText)
{
    sqlite3* db = MSqliteHandle::of(QSqlDatabase::database());
    if (!db) {
        *errorText = QStringLiteral("Brak połączenia z bazą danych.");
        return false;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), text.size(), &statement, nullptr) != SQLITE_OK || !statement) {
        *errorText = statement || sqlite3_errcode(db) != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(db))
                                                                   : QStringLiteral("Puste zapytanie.");
        sqlite3_finalize(statement);
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (const int column : columns)
            writeField(statement, column, column < kinds.size() ? kinds.at(column) : ColumnKind::Text, writer);
        writer.endLine();
    }
    if (rc != SQLITE_DONE)
        *errorText = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}
