#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The WHERE conditions that the record views build from their filter panel's values (or,
// for their first query, from the same values stored in the options). The views write the
// rest of their SQL themselves.

// The search text as it goes between the apostrophes of a LIKE pattern with ESCAPE '\':
// lower-cased, "'" doubled, "\" doubled, "%" and "_" preceded by "\", so that every
// character the user typed is searched for literally. With taxIdentifier every "-" and
// blank is removed as well (NIP and PESEL are searched without them).
QString searchLikeText(const QString& text, bool taxIdentifier = false);

// "expression LIKE '%likeText%' ESCAPE '\' COLLATE POLISH " for a text from searchLikeText.
QString searchLikeTerm(const QString& expression, const QString& likeText);

// The search condition of a list: "(" + one LIKE term per tab-separated expression of the
// column's entry, joined by " OR ", + ")". Empty when there is nothing to search: an empty
// text, or a column that has no entry (negative, or beyond the list). A column of
// ColumnKind::TaxIdentifier is searched without dashes and blanks.
QString searchCondition(const QString& text, int column, const QStringList& expressions,
                        const QList<int>& columnKinds);

// The catalog conditions for a panel's ";"-joined unchecked catalog ids, over the catalog
// join table's alias (for buyers "bcj", joined on the record's id): "0", the records in no
// catalog, gives "(alias.id_catalog > 0)"; the other ids give
// "(alias.id_catalog NOT IN (ids) OR alias.id_catalog IS NULL)". A record stays listed
// when one of its catalogs is checked. Parts that are not ids are ignored.
QStringList catalogConditions(const QString& uncheckedIds, const QString& joinAlias);

// The integer values of the unchecked filter-tree keys of one group, joined by ",", for a
// "NOT IN (...)" condition: from "1,3;1,12;2,5" group "1" gives "3,12". Keys of other
// groups, keys without a value and values that are not integers are ignored.
QString uncheckedTreeIds(const QString& uncheckedKeys, const QString& group);
