#pragma once

#include <QObject>

class MTabWidget;
class QPrinter;
class QTextEdit;
class QWidget;

// What the feature folders may ask of the main window, which implements it. A feature
// is handed this (or finds it as its dialog's parent with qobject_cast) and never sees
// the window's own class; options, folders, version and collation it takes from the
// data library (MOptions, MProgramPaths, MProgramVersion, MSqlitePolish).
class MAppServices
{
public:
    virtual ~MAppServices() = default;

    // The window as a widget: the parent of the dialogs that a feature opens over it.
    virtual QWidget* mainWidget() = 0;
    // The tabs of lists and previews: a feature shows its preview there or reads the current list.
    virtual MTabWidget* tabMain() const = 0;
    // Makes the list of view kind `viewKind` the current tab, creating it when needed;
    // with reload, every list of that kind is told to reload as well.
    virtual void loadTab(int viewKind, bool reload = false) = 0;
    // A record of view kind `kind` was saved: its list comes forward and every list hears of it.
    virtual void doChangeDbObject(int kind, int id) = 0;
    // Recomputes at once which of the window's operations are enabled.
    virtual void setEnabledMenuActions() = 0;
    // Closes the current tab: a preview's own "Zamknij".
    virtual void doCloseActiveTab() = 0;
    // Prints a preview's text document on `printer` (a preview's "Drukuj" when `preview`).
    virtual void print(QTextEdit* textEdit, QPrinter* printer, bool preview) = 0;
    // Opens the editor or dialog of a new record of a NewObjectKind, as "Nowy..." does.
    virtual void newRecord(int kind, int docKind) = 0;
    // The invoice editor has finished: the operations follow once it is gone.
    virtual void doFinishedInvoiceDlg(int result) = 0;
    // The options dialog stored new options: the tips panel and the operations follow them.
    virtual void applyOptions() = 0;
};

Q_DECLARE_INTERFACE(MAppServices, "morva.faktury.MAppServices")
