#pragma once

#include "data/MProgramVersion.h"
#include "views/MAppServices.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

class MDoYouKnowWidget;
class MSplash;
class MTabWidget;
class MVersionCheck;
class QAction;
class QCloseEvent;
class QDialog;
class QMenu;
class QNetworkAccessManager;
class QPainter;
class QPrinter;
class QRectF;
class QTextDocument;
class QTextEdit;
class QTimer;
class QToolBar;

// The main window: the hub of tabs, commands and change notices. The features reach it
// only through MAppServices.
class MAppWnd : public QMainWindow, public MAppServices
{
    Q_OBJECT
    Q_INTERFACES(MAppServices)

public:
    MAppWnd();
    ~MAppWnd() override;

    // Program version 2.53; compared as major * 1000 + minor.
    static const int versionMajor = MProgramVersion::versionMajor;
    static const int versionMinor = MProgramVersion::versionMinor;

    // Program folders, each ending in "/" once found; set once by initPaths.
    // They are MProgramPaths's own, under the names the window's own code uses;
    // features use MProgramPaths.
    static QString& pathConfig;
    static QString& pathTemp;
    static QString& pathData;
    static QString& pathDocuments;
    static QString& pathDbFile;

    // Finds and creates the program folders and reads config/Invoice.ini;
    // a database of an earlier installation named in last_inst.conf of
    // installationDir is copied in when there is none yet.
    static void initPaths(const QString& installationDir = QCoreApplication::applicationDirPath());

    // Options: MOptions's cache over table _options; reading never touches the database.
    // Features use MOptions.
    static QString option(const QString& key);
    static void setOption(const QString& key, const QString& value);
    static void loadOptions();

    // Database opening and upgrade
    static bool createConnection(const QString& dbFile);
    static int dbNumMajor();
    static int dbNumMinor();
    static int dbCheckNumMajor();
    static int dbCheckNumMinor();
    static void deleteUnusedInvoiceCopies();
    void updateInvoiceCopiesMd5();

    // True when the window ended the program while it was being built (missing
    // data folder, database of a newer version); main must not enter the event loop then.
    bool hasEnded() const;

    // Copies the database file to data/backup once a day and, with a suffix,
    // once per suffix; an existing copy is never replaced.
    static void backupDb(const QString& suffix);
    // Empties the temporary folders, keeping the folders themselves.
    static void doCleanDisk();
    void openDb();

    // Option defaults
    void setDefaultOptions();
    void restoreTabs();
    void saveTabs();
    int indexOfTab(const QString& viewName) const;

    QWidget* mainWidget() override;
    MTabWidget* tabMain() const override;
    MDoYouKnowWidget* doYouKnowWidget() const;
    void applyOptions() override;

public slots:
    void doCleanDb();
    void setEnabledMenuActions() override;
    void doCloseActiveTab() override;
    void doCloseRequestedTabMain(int index);
    void doCurrentChangedTabMain(int index);
    void doMessageAvailable(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void splashTimeout();
    void doDefaultSettings();
    void doAbout();
    void doProgramInfo();
    void doOptions();
    void doPageSetup();
    void doDbInfo();
    void doDragDrop(bool checked);
    void doDoYouKnow(bool checked);

    // ---- Data repair (MAppWndRepair.cpp) ----
    // numLastDb: the database version before the caller's upgrade, major * 1000 + minor.
    void doRepairDb(int numLastDb);
    void doRepairDb();
    // "Napraw bazę": the repair with the stored database version.
    void doRepairDb2();

    // ---- Legacy conversion and SQL import (MAppWndImport.cpp) ----
    void doExportFromV1();
    void doImport();

    // ---- Version-upgrade request (MAppWndVersion.cpp) ----
    void doCheckVersion();

private:
    // ---- Open lists after writes of the whole database (MAppWndLists.cpp) ----
    // Reloads every open list and its filter panel, as after a change notice.
    void reloadOpenLists();

    void createActions();
    void createMenus();
    void createToolBar();
    void createCentralWidget();
    QAction* createAction(const QString& text, const QString& statusTip, const QString& iconName,
                          bool checkable = false);
    void applyStyle();
    void closeTab(int index);
    void setActionEnabled(QAction* action, const QString& key);
    void setActionChecked(QAction* action, const QString& key);

    QNetworkAccessManager* m_networkManager = nullptr;
    QTimer* m_enabledActionsTimer = nullptr;
    MTabWidget* m_tabMain = nullptr;
    MDoYouKnowWidget* m_doYouKnowWidget = nullptr;
    QPointer<MSplash> m_splash;
    QTimer* m_splashTimer = nullptr;
    int m_splashMilliseconds = 0;
    bool m_refused = false;
    bool m_ended = false;
    bool m_tabsRestored = false;

    QMap<QString, bool> m_enabledMap;
    QMap<QString, bool> m_checkedMap;

    QMenu* m_menuFile = nullptr;
    QMenu* m_menuOperations = nullptr;
    QMenu* m_menuTools = nullptr;
    QMenu* m_menuHelp = nullptr;
    QToolBar* m_toolBar = nullptr;

    QAction* m_actionNew = nullptr;
    QAction* m_actionOpen = nullptr;
    QAction* m_actionImport = nullptr;
    QAction* m_actionExportFromV1 = nullptr;
    QAction* m_actionRepairDb = nullptr;
    QAction* m_actionPrint = nullptr;
    QAction* m_actionPrintPdf = nullptr;
    QAction* m_actionSendMailPdf = nullptr;
    QAction* m_actionPageSetup = nullptr;
    QAction* m_actionExportCsv = nullptr;
    QAction* m_actionExportJpkFa = nullptr;
    QAction* m_actionExportJpkVat = nullptr;
    QAction* m_actionAdd = nullptr;
    QAction* m_actionPreview = nullptr;
    QAction* m_actionEdit = nullptr;
    QAction* m_actionDelete = nullptr;
    QAction* m_actionCopy = nullptr;
    QAction* m_actionCorrect = nullptr;
    QAction* m_actionDuplicate = nullptr;
    QAction* m_actionDefault = nullptr;
    QAction* m_actionSetSelected = nullptr;
    QAction* m_actionIsPayed = nullptr;
    QAction* m_actionShowFilter = nullptr;
    QAction* m_actionDragDrop = nullptr;
    QAction* m_actionDefaultSettings = nullptr;
    QAction* m_actionOptions = nullptr;
    QAction* m_actionAbout = nullptr;
    QAction* m_actionProgramInfo = nullptr;
    QAction* m_actionDbInfo = nullptr;
    QAction* m_actionDoYouKnow = nullptr;
    QAction* m_actionCheckVersion = nullptr;

    // Printing a text document (MAppWndPrint.cpp)
public slots:
    void print(QTextEdit* textEdit, QPrinter* printer, bool bPreview) override;

public:
    static void printPage(int page, QPainter* painter, QTextDocument* document, const QRectF& body);

    // Tabs, record opening and change notices (MAppWndTabs.cpp)
signals:
    // A record of view kind i was created or changed; id 0 when none in particular.
    void changeDbObject(int i, int id);

public slots:
    // Makes the list of view kind id the current tab, creating it when needed.
    void loadTab(int id, bool reload = false) override;
    void doChangeDbObject(int i, int id) override;
    void doFinishedInvoiceDlg(int result) override;
    // "Nowy..." and "Otwórz..." choosers, run modally.
    void doNew();
    void doOpen();

public:
    // Opens the editor or dialog of a new record of a NewObjectKind.
    void newRecord(int kind, int docKind) override;
    void startEnabledMenuActionsTimer();

protected:
    // Creates and builds the list view of a view kind without a parent;
    // nullptr for a kind without a list.
    virtual QWidget* createListView(int kind);

private slots:
    void doTimeoutEnabledMenuActionsTimer();

private:
    // The open invoice editor, nullptr when there is none.
    QDialog* invoiceDlg() const;
    void openInvoiceDlg(int docKind);
    void closeInvoiceDlg();
    void showRecordDialog(QDialog* dialog);

    // Commands and enabled operations (MAppWndCommands.cpp, MAppWndEnabled.cpp)
public:
    // Checks "Filtracja" when the current list shows its filter panel.
    void updateShowFilterAction();

public slots:
    void doAdd();
    void doPreview();
    void doEdit();
    void doDelete();
    void doCopy();
    void doCorrect();
    void doDuplicate();
    void doDefault();
    void doPrint();
    void doPrintPdf();
    void doSendMailPdf();
    void doExportCsv();
    void doExportJpkFa();
    void doExportJpkVat();
    void doSetSelected();
    void doIsPayed();
    void doShowFilter(bool checked);

private:
    void connectCommandActions();
    // Calls method on the view of the current tab when its accessible name is
    // one of viewNames; false when it is not.
    bool callCurrentView(const QStringList& viewNames, const char* method,
                         QGenericArgument argument = QGenericArgument(nullptr));
    // ---- Legacy conversion and SQL import (MAppWndImport.cpp) ----
    // Where the next import's file dialog opens: the converter's output folder after a conversion.
    QString m_importFolder;

    // ---- Version-upgrade request (MAppWndVersion.cpp) ----
    MVersionCheck* m_versionCheck = nullptr;
};
