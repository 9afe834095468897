#include "MSqlSelectParts.h"

#include <QRegularExpression>
#include <QVector>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The index just past the literal or quoted name opened at `start`, -1 when it never closes.
int skipQuoted(const QString& sql, int start)
{
    const QChar open = sql.at(start);
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    for (int i = start + 1; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        // A doubled quote stands for itself inside the literal.
        if (close != QLatin1Char(']') && i + 1 < sql.size() && sql.at(i + 1) == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

struct Span
{
    int start;
    int end;
};

// The words of `text` outside parentheses, literals and quoted names; `text` is
// a clause of a statement that split() accepted.
QVector<Span> topLevelWords(const QString& text)
{
    QVector<Span> words;
    int depth = 0;
    for (int i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            i = skipQuoted(text, i);
            if (i < 0)
                break;
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        if (!isWordChar(c)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < text.size() && isWordChar(text.at(end)))
            ++end;
        if (depth == 0)
            words.append({ i, end });
        i = end;
    }
    return words;
}

bool namesAlias(const QString& text, const QString& alias)
{
    const QRegularExpression reference(QStringLiteral("(?<![\\w$])") + QRegularExpression::escape(alias)
                                           + QStringLiteral("\\s*\\."),
                                       QRegularExpression::CaseInsensitiveOption);
    return text.contains(reference);
}

// "LEFT [OUTER] JOIN table [AS] alias ON alias.id = <expression>" (or the two sides
// the other way round) gives the table and the alias; anything else gives nothing.
bool readKeyJoin(const QString& term, QString* table, QString* alias)
{
    static const QRegularExpression join(
        QStringLiteral("^LEFT\\s+(?:OUTER\\s+)?JOIN\\s+(\\w+)\\s+(?:AS\\s+)?(\\w+)\\s+ON\\s+(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = join.match(term);
    if (!match.hasMatch())
        return false;
    *table = match.captured(1);
    *alias = match.captured(2);
    // One equality of the key with an expression that holds no further condition
    // and names no further table.
    const QString key = QRegularExpression::escape(*alias) + QStringLiteral("\\.id");
    const QString other = QStringLiteral("[^=<>!,]+");
    const QRegularExpression condition(QStringLiteral("^(?:") + key + QStringLiteral("\\s*=\\s*") + other
                                           + QStringLiteral("|") + other + QStringLiteral("=\\s*") + key
                                           + QStringLiteral(")$"),
                                       QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression anotherCondition(QStringLiteral("\\b(?:ON|AND|OR|WHERE|JOIN|IS|IN)\\b"),
                                                     QRegularExpression::CaseInsensitiveOption);
    const QString on = match.captured(3).trimmed();
    return on.contains(condition) && !on.contains(anotherCondition);
}

} // namespace

MSqlSelectParts::MSqlSelectParts(const QString& sql)
{
    m_valid = split(sql.trimmed());
}

bool MSqlSelectParts::isValid() const
{
    return m_valid;
}

bool MSqlSelectParts::isOrderTotal() const
{
    if (!m_valid || m_orderBy.isEmpty())
        return false;
    const QRegularExpression lastTerm(QStringLiteral("[\\s,]") + QRegularExpression::escape(m_firstExpression)
                                          + QStringLiteral("(?:\\s+(?:ASC|DESC))?$"),
                                      QRegularExpression::CaseInsensitiveOption);
    return m_orderBy.contains(lastTerm);
}

QString MSqlSelectParts::firstColumnSql(const std::function<bool(const QString& table)>& idIsKey) const
{
    QString sql = QStringLiteral("SELECT ") + m_firstColumn + QLatin1Char(' ')
        + (idIsKey ? fromWithoutUnusedJoins(idIsKey) : m_from);
    if (!m_where.isEmpty())
        sql += QStringLiteral(" WHERE ") + m_where;
    if (!m_grouping.isEmpty())
        sql += QLatin1Char(' ') + m_grouping;
    if (!m_orderBy.isEmpty())
        sql += QLatin1Char(' ') + m_orderBy;
    return sql;
}

QString MSqlSelectParts::fromWithoutUnusedJoins(const std::function<bool(const QString& table)>& idIsKey) const
{
    // The FROM clause as its terms: the first table, then one term per join.
    static const QRegularExpression joinWord(QStringLiteral("^(?:LEFT|INNER|CROSS|NATURAL|JOIN|OUTER)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList terms;
    int termStart = 0;
    bool afterJoinWord = false;
    for (const Span& span : topLevelWords(m_from)) {
        const QString word = m_from.mid(span.start, span.end - span.start);
        const bool isJoinWord = word.contains(joinWord);
        // "LEFT OUTER JOIN" starts one term, at its first word.
        if (isJoinWord && !afterJoinWord && span.start > termStart) {
            terms.append(m_from.mid(termStart, span.start - termStart).trimmed());
            termStart = span.start;
        }
        afterJoinWord = isJoinWord;
    }
    terms.append(m_from.mid(termStart).trimmed());
    // A comma join would hide further tables inside the first term.
    if (terms.first().contains(QLatin1Char(',')))
        return m_from;

    QVector<bool> kept(terms.size(), true);
    for (bool removed = true; removed;) {
        removed = false;
        for (int i = terms.size() - 1; i > 0; --i) {
            QString table;
            QString alias;
            if (!kept.at(i) || !readKeyJoin(terms.at(i), &table, &alias) || !idIsKey(table))
                continue;
            QString rest = m_firstColumn + QLatin1Char(' ') + m_where + QLatin1Char(' ') + m_grouping
                + QLatin1Char(' ') + m_orderBy;
            for (int other = 0; other < terms.size(); ++other) {
                if (other != i && kept.at(other))
                    rest += QLatin1Char(' ') + terms.at(other);
            }
            if (!namesAlias(rest, alias)) {
                kept[i] = false;
                removed = true;
            }
        }
    }

    QStringList from;
    for (int i = 0; i < terms.size(); ++i) {
        if (kept.at(i))
            from.append(terms.at(i));
    }
    return from.join(QLatin1Char(' '));
}

QString MSqlSelectParts::rowsOfIdsSql(const QString& ids) const
{
    QString sql = QStringLiteral("SELECT ") + m_columns + QLatin1Char(' ') + m_from + QStringLiteral(" WHERE ")
        + m_firstExpression + QStringLiteral(" IN (") + ids + QLatin1Char(')');
    if (!m_where.isEmpty())
        sql += QStringLiteral(" AND (") + m_where + QLatin1Char(')');
    if (!m_grouping.isEmpty())
        sql += QLatin1Char(' ') + m_grouping;
    return sql;
}

bool MSqlSelectParts::split(const QString& sql)
{
    const int selectEnd = 6;
    if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) || sql.size() <= selectEnd
        || isWordChar(sql.at(selectEnd)))
        return false;

    enum Clause { Columns, From, Where, Grouping, Order };
    Clause clause = Columns;
    int starts[Order + 1] = { selectEnd, -1, -1, -1, -1 };
    int firstComma = -1;
    int lastAs = -1;
    int depth = 0;
    bool firstWord = true;

    for (int i = selectEnd; i < sql.size();) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            i = skipQuoted(sql, i);
            if (i < 0)
                return false;
            firstWord = false;
            continue;
        }
        if ((c == QLatin1Char('-') && sql.midRef(i, 2) == QLatin1String("--"))
            || (c == QLatin1Char('/') && sql.midRef(i, 2) == QLatin1String("/*")) || c == QLatin1Char(';'))
            return false;
        if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (--depth < 0)
                return false;
        } else if (c == QLatin1Char(',') && depth == 0 && clause == Columns && firstComma < 0) {
            firstComma = i;
        }
        if (!isWordChar(c)) {
            ++i;
            continue;
        }

        int end = i;
        while (end < sql.size() && isWordChar(sql.at(end)))
            ++end;
        if (depth == 0) {
            const QString word = sql.mid(i, end - i).toUpper();
            if (firstWord && (word == QLatin1String("DISTINCT") || word == QLatin1String("ALL")))
                return false;
            static const QStringList unsupported = { QStringLiteral("LIMIT"), QStringLiteral("UNION"),
                                                     QStringLiteral("INTERSECT"), QStringLiteral("EXCEPT"),
                                                     QStringLiteral("WINDOW"), QStringLiteral("VALUES") };
            if (unsupported.contains(word))
                return false;

            Clause next = clause;
            if (word == QLatin1String("FROM") && clause == Columns)
                next = From;
            else if (word == QLatin1String("WHERE"))
                next = Where;
            else if (word == QLatin1String("GROUP"))
                next = Grouping;
            else if (word == QLatin1String("ORDER"))
                next = Order;
            else if (word == QLatin1String("AS") && clause == Columns && firstComma < 0)
                lastAs = i;

            if (next != clause) {
                // Each clause once, in the order of the grammar.
                if (next < clause || starts[next] >= 0)
                    return false;
                clause = next;
                starts[next] = i;
            }
        }
        firstWord = false;
        i = end;
    }
    if (depth != 0 || starts[From] < 0)
        return false;

    const auto clauseText = [&](int clauseIndex) {
        const int start = starts[clauseIndex];
        if (start < 0)
            return QString();
        int end = sql.size();
        for (int later = clauseIndex + 1; later <= Order; ++later) {
            if (starts[later] >= 0) {
                end = starts[later];
                break;
            }
        }
        return sql.mid(start, end - start).trimmed();
    };

    m_columns = clauseText(Columns);
    const int columnsEnd = starts[From];
    const int firstEnd = firstComma >= 0 ? firstComma : columnsEnd;
    m_firstColumn = sql.mid(selectEnd, firstEnd - selectEnd).trimmed();
    m_firstExpression = (lastAs >= 0 ? sql.mid(selectEnd, lastAs - selectEnd) : m_firstColumn).trimmed();
    m_from = clauseText(From);
    // The condition without its keyword, so that it can be put in parentheses.
    m_where = clauseText(Where).mid(5).trimmed();
    m_grouping = clauseText(Grouping);
    m_orderBy = clauseText(Order);
    return !m_columns.isEmpty() && !m_firstExpression.isEmpty();
}
