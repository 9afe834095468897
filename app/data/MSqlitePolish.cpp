#include "MSqlitePolish.h"

#include "data/MSqliteHandle.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf8.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

void resultIcuError(sqlite3_context* context, const char* function, UErrorCode status)
{
    char message[128];
    sqlite3_snprintf(sizeof message, message, "ICU error: %s(): %s", function, u_errorName(status));
    sqlite3_result_error(context, message, -1);
}

// Reads one code point; an ill-formed sequence counts as U+FFFD, so that
// damaged text still compares and matches predictably.
UChar32 nextCodePoint(const uint8_t* text, int32_t& offset, int32_t length)
{
    UChar32 c;
    U8_NEXT(text, offset, length, c);
    return c < 0 ? 0xFFFD : c;
}

// ---- Collation ------------------------------------------------------------

int collate(void* collator, int length1, const void* text1, int length2, const void* text2)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result = ucol_strcollUTF8(static_cast<const UCollator*>(collator),
                                                     static_cast<const char*>(text1), length1,
                                                     static_cast<const char*>(text2), length2, &status);
    if (U_SUCCESS(status))
        return result;
    // A sort needs a total order even where ICU gives up.
    const int bytes = std::memcmp(text1, text2, static_cast<size_t>(qMin(length1, length2)));
    return bytes != 0 ? bytes : length1 - length2;
}

void closeCollator(void* collator)
{
    ucol_close(static_cast<UCollator*>(collator));
}

// icu_load_collation(locale, name)
void loadCollation(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* locale = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* name = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!locale || !name)
        return;

    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale, &status);
    if (U_FAILURE(status)) {
        resultIcuError(context, "ucol_open", status);
        return;
    }
    // The connection owns the collator from here on and closes it with the
    // collation (when it is replaced or the connection closes).
    const int rc = sqlite3_create_collation_v2(sqlite3_context_db_handle(context), name, SQLITE_UTF8, collator,
                                               collate, closeCollator);
    if (rc != SQLITE_OK) {
        ucol_close(collator);
        sqlite3_result_error(context, "Error registering collation", -1);
    }
}

// ---- lower() and upper() --------------------------------------------------

struct CaseMapping
{
    bool toUpper;
    UCaseMap* rootMap;
};

void destroyCaseMapping(void* data)
{
    auto* mapping = static_cast<CaseMapping*>(data);
    ucasemap_close(mapping->rootMap);
    delete mapping;
}

struct CaseMapCloser
{
    void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

// lower(X), lower(X, locale), upper(X), upper(X, locale). Without a locale
// (or with NULL or '') the mapping is the locale-independent one, so the
// result never depends on the environment the program runs in.
void changeCase(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    const auto* mapping = static_cast<const CaseMapping*>(sqlite3_user_data(context));
    const auto* input = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    if (!input)
        return;
    const int32_t inputLength = sqlite3_value_bytes(argv[0]);

    const UCaseMap* map = mapping->rootMap;
    std::unique_ptr<UCaseMap, CaseMapCloser> localeMap;
    if (argc == 2) {
        const auto* locale = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        if (locale && *locale) {
            UErrorCode status = U_ZERO_ERROR;
            localeMap.reset(ucasemap_open(locale, 0, &status));
            if (U_FAILURE(status)) {
                resultIcuError(context, "ucasemap_open", status);
                return;
            }
            map = localeMap.get();
        }
    }

    // Most texts keep their length; the second round takes the exact size
    // that ICU asked for.
    int32_t capacity = inputLength;
    for (int round = 0; round < 2; ++round) {
        auto* output = static_cast<char*>(sqlite3_malloc(capacity + 1));
        if (!output) {
            sqlite3_result_error_nomem(context);
            return;
        }
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = mapping->toUpper
            ? ucasemap_utf8ToUpper(map, output, capacity, input, inputLength, &status)
            : ucasemap_utf8ToLower(map, output, capacity, input, inputLength, &status);
        if (U_SUCCESS(status)) {
            sqlite3_result_text(context, output, length, sqlite3_free);
            return;
        }
        sqlite3_free(output);
        if (status != U_BUFFER_OVERFLOW_ERROR || round == 1) {
            resultIcuError(context, mapping->toUpper ? "ucasemap_utf8ToUpper" : "ucasemap_utf8ToLower", status);
            return;
        }
        capacity = length;
    }
}

// ---- LIKE -----------------------------------------------------------------

constexpr UChar32 anySequence = -1;   // unescaped '%'
constexpr UChar32 anyCharacter = -2;  // unescaped '_'
constexpr UChar32 noEscape = -3;

UChar32 folded(UChar32 c)
{
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

// A pattern decoded once per statement: wildcards, and the other characters
// already case-folded.
struct LikePattern
{
    UChar32 escape = noEscape;
    std::vector<UChar32> tokens;
};

void destroyLikePattern(void* pattern)
{
    delete static_cast<LikePattern*>(pattern);
}

std::unique_ptr<LikePattern> compileLikePattern(const uint8_t* text, int32_t length, UChar32 escape)
{
    auto pattern = std::make_unique<LikePattern>();
    pattern->escape = escape;
    bool escaped = false;
    for (int32_t offset = 0; offset < length;) {
        const UChar32 c = nextCodePoint(text, offset, length);
        if (escaped) {
            pattern->tokens.push_back(folded(c));
            escaped = false;
        } else if (c == escape) {
            // The escape character wins over '%' and '_'; a trailing one is ignored.
            escaped = true;
        } else if (c == '%') {
            if (pattern->tokens.empty() || pattern->tokens.back() != anySequence)
                pattern->tokens.push_back(anySequence);
        } else if (c == '_') {
            pattern->tokens.push_back(anyCharacter);
        } else {
            pattern->tokens.push_back(folded(c));
        }
    }
    return pattern;
}

// Greedy matching that backtracks only to the last '%': linear in practice
// and never worse than pattern length × text length, without recursion.
bool likeMatches(const LikePattern& pattern, const uint8_t* text, int32_t length)
{
    const std::vector<UChar32>& tokens = pattern.tokens;
    const size_t none = tokens.size() + 1;
    size_t token = 0;
    size_t tokenAfterSequence = none;
    int32_t retryOffset = 0;
    int32_t offset = 0;
    while (offset < length) {
        if (token < tokens.size() && tokens[token] == anySequence) {
            tokenAfterSequence = ++token;
            if (token == tokens.size())
                return true;
            retryOffset = offset;
            continue;
        }
        if (token < tokens.size()) {
            int32_t next = offset;
            const UChar32 c = nextCodePoint(text, next, length);
            if (tokens[token] == anyCharacter || tokens[token] == folded(c)) {
                ++token;
                offset = next;
                continue;
            }
        }
        if (tokenAfterSequence == none)
            return false;
        // Let the last '%' swallow one more character and try again from there.
        token = tokenAfterSequence;
        nextCodePoint(text, retryOffset, length);
        offset = retryOffset;
    }
    while (token < tokens.size() && tokens[token] == anySequence)
        ++token;
    return token == tokens.size();
}

// like(pattern, text) and like(pattern, text, escape): "text LIKE pattern [ESCAPE escape]"
void like(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    const auto* patternText = sqlite3_value_text(argv[0]);
    const int32_t patternLength = sqlite3_value_bytes(argv[0]);
    if (patternLength > sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
        sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
        return;
    }

    UChar32 escape = noEscape;
    if (argc == 3) {
        const auto* escapeText = sqlite3_value_text(argv[2]);
        if (!escapeText)
            return;
        const int32_t escapeLength = sqlite3_value_bytes(argv[2]);
        int32_t offset = 0;
        if (escapeLength > 0)
            U8_NEXT(escapeText, offset, escapeLength, escape);
        if (escapeLength == 0 || offset != escapeLength || escape < 0) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }

    const auto* text = sqlite3_value_text(argv[1]);
    if (!patternText || !text)
        return;
    const int32_t textLength = sqlite3_value_bytes(argv[1]);

    // A pattern written in the statement is compiled once and kept by SQLite
    // for the following rows.
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
    std::unique_ptr<LikePattern> compiled;
    if (!pattern || pattern->escape != escape) {
        compiled = compileLikePattern(patternText, patternLength, escape);
        pattern = compiled.get();
    }
    sqlite3_result_int(context, likeMatches(*pattern, text, textLength) ? 1 : 0);
    if (compiled)
        sqlite3_set_auxdata(context, 0, compiled.release(), destroyLikePattern);
}

// ---- Installation ---------------------------------------------------------

bool fail(QString* errorText, const QString& reason)
{
    if (errorText)
        *errorText = reason;
    return false;
}

bool registered(int rc, sqlite3* handle, const char* name, int argc, QString* errorText)
{
    return rc == SQLITE_OK
        || fail(errorText, QStringLiteral("%1/%2: %3")
                               .arg(QLatin1String(name))
                               .arg(argc)
                               .arg(QString::fromUtf8(sqlite3_errmsg(handle))));
}

bool registerFunction(sqlite3* handle, const char* name, int argc, int flags,
                      void (*function)(sqlite3_context*, int, sqlite3_value**), QString* errorText)
{
    return registered(sqlite3_create_function_v2(handle, name, argc, flags, nullptr, function, nullptr, nullptr,
                                                 nullptr),
                      handle, name, argc, errorText);
}

bool registerCaseFunction(sqlite3* handle, const char* name, int argc, bool toUpper, QString* errorText)
{
    UErrorCode status = U_ZERO_ERROR;
    UCaseMap* rootMap = ucasemap_open("", 0, &status);
    if (U_FAILURE(status))
        return fail(errorText, QStringLiteral("ucasemap_open: %1").arg(QLatin1String(u_errorName(status))));
    // SQLite calls destroyCaseMapping also when the registration fails.
    return registered(sqlite3_create_function_v2(handle, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                                 new CaseMapping{toUpper, rootMap}, changeCase, nullptr, nullptr,
                                                 destroyCaseMapping),
                      handle, name, argc, errorText);
}

// Proves that the driver runs our functions: a driver built with a private
// copy of SQLite would hand us a handle of another library instance.
bool answersThroughDriver(const QSqlDatabase& db, QString* errorText)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT lower('ŻÓŁĆ') || ' ' || upper('żółć') || ' ' || ('ZÓŁĆ' LIKE 'zół_')"))
        && query.next() && query.value(0).toString() == QStringLiteral("żółć ŻÓŁĆ 1"))
        return true;
    return fail(errorText, QStringLiteral("self-check failed: %1").arg(query.lastError().text()));
}

} // namespace

const QString MSqlitePolish::sqlCollate = QStringLiteral("COLLATE POLISH");

bool MSqlitePolish::install(const QSqlDatabase& db, QString* errorText)
{
    sqlite3* handle = MSqliteHandle::of(db);
    if (!handle)
        return fail(errorText, QStringLiteral("not an open SQLite connection"));

    constexpr int deterministic = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return registerFunction(handle, "icu_load_collation", 2, SQLITE_UTF8, loadCollation, errorText)
        && registerCaseFunction(handle, "lower", 1, false, errorText)
        && registerCaseFunction(handle, "lower", 2, false, errorText)
        && registerCaseFunction(handle, "upper", 1, true, errorText)
        && registerCaseFunction(handle, "upper", 2, true, errorText)
        && registerFunction(handle, "like", 2, deterministic, like, errorText)
        && registerFunction(handle, "like", 3, deterministic, like, errorText)
        && answersThroughDriver(db, errorText);
}
