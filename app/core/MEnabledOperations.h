#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Which operations of the main window the view in the current tab allows,
// and whether "Domyślny" shows its record as the default one.
class MEnabledOperations
{
public:
    // What the decision depends on, gathered from the current view.
    struct State
    {
        QString viewName;           // accessible name of the current tab's widget, empty without a tab
        bool hasCurrentIndex = false;
        int selectedRowCount = 0;
        bool isCurrentDefault = false;
        bool editorOpen = false;    // an invoice editor exists
        bool jpkFaShow = false;     // option "JPK_FA_SHOW" is "1"
        bool jpkVatShow = false;    // option "JPK_VAT_SHOW" is "1"
    };

    // The operation keys in the order the actions are updated.
    static const QStringList& keys();

    // One entry per key of keys().
    static QMap<QString, bool> enabled(const State& state);
    // The one entry "DEFAULT".
    static QMap<QString, bool> checked(const State& state);

    // Whether the view's records include a default one ("Domyślny").
    static bool hasDefaultRecord(const QString& viewName);
};
