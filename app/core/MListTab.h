#pragma once

#include <QList>
#include <QString>
#include <QVector>

// One of the record lists that the main window shows as a tab, recognised by
// the accessible name of its view. There is at most one tab per view kind.
struct MListTab
{
    int kind;               // DbObjectKind
    QString viewName;       // accessible name of the view
    bool hasTable;          // the view shows its records in a table (the VAT register does not)
    const char* title;      // tab title, translated in the context "MAppWnd"
    bool reloads;           // receives the main window's changeDbObject
    bool afterInit;         // has an afterInitWidget slot to run once the tab is shown
    QString filterOption;   // "FILTER_SHOW_" option of its filter panel

    // The accessible name of the view's table, empty without one.
    QString tableName() const;

    // Ordered by view kind.
    static const QVector<MListTab>& all();
    static const MListTab* byKind(int kind);
    static const MListTab* byViewName(const QString& viewName);

    // The view kinds to reopen from a stored "TAB_MAIN_OPENED", left to right;
    // empty parts, parts without exactly two fields and other names are skipped.
    static QList<int> storedKinds(const QString& opened);
    // "TAB_MAIN_OPENED" and "TAB_MAIN_CURRENT" for the given tabs, left to right;
    // names that are not lists (print previews) are left out.
    static QString openedOption(const QStringList& tabViewNames);
    static QString currentOption(const QString& currentViewName);
    // The accessible name that a stored "TAB_MAIN_CURRENT" names, empty when malformed.
    static QString storedCurrent(const QString& current);
};
