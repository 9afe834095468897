#include "MAppWnd.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

QAction* MAppWnd::createAction(const QString& text, const QString& statusTip, const QString& iconName,
                               bool checkable)
{
    auto* action = new QAction(text, this);
    action->setStatusTip(statusTip);
    action->setCheckable(checkable);
    if (!iconName.isEmpty()) {
        QIcon icon;
        const QString base = QStringLiteral(":/resource/") + iconName;
        icon.addFile(base + QStringLiteral("_tb_16_16.png"), QSize(16, 16), QIcon::Normal, QIcon::Off);
        icon.addFile(base + QStringLiteral("_tb_24_24.png"), QSize(24, 24), QIcon::Normal, QIcon::Off);
        action->setIcon(icon);
    }
    return action;
}

void MAppWnd::createActions()
{
    m_actionNew = createAction(tr("Nowy"), tr("Utwórz nowy wpis lub dokument"), QStringLiteral("new"));
    m_actionOpen = createAction(tr("Otwórz"), tr("Otwórz istniejący dokument"), QStringLiteral("open"));
    m_actionImport = createAction(tr("Importuj do bazy"), tr("Importuj dane do bazy"), QString());
    m_actionExportFromV1 = createAction(tr("Eksportuj z wersji 1"), tr("Eksportuj dane z wersji 1.xx"), QString());
    m_actionRepairDb = createAction(tr("Napraw bazę"), tr("Napraw bazę"), QString());
    m_actionPrint = createAction(tr("Drukuj"), tr("Drukuj dokument"), QStringLiteral("print"));
    m_actionPrintPdf = createAction(tr("Generuj PDF"), tr("Generuj PDF z dokumentu"), QStringLiteral("print_pdf"));
    m_actionSendMailPdf = createAction(tr("Wyślij PDF e-mailem"), tr("Wyślij PDF z dokumentu e-mailem"),
                                       QStringLiteral("email"));
    m_actionPageSetup = createAction(tr("Ustawienia strony"), tr("Ustawienia strony"), QStringLiteral("page_setup"));
    m_actionExportCsv = createAction(tr("Eksportuj do CSV"), tr("Eksportuj CSV z widoku danych"),
                                     QStringLiteral("export_csv"));
    m_actionExportJpkFa = createAction(tr("Eksportuj do JPK_FA"), tr("Eksportuj do JPK_FA"),
                                       QStringLiteral("export_jpk_fa"));
    m_actionExportJpkVat = createAction(tr("Eksportuj do JPK_VAT"), tr("Eksportuj do JPK_VAT"),
                                        QStringLiteral("export_jpk_vat"));
    m_actionAdd = createAction(tr("Dodaj"), tr("Dodaj wpis"), QStringLiteral("record_add"));
    m_actionPreview = createAction(tr("Podgląd"), tr("Podgląd wpisu"), QStringLiteral("record_view"));
    m_actionEdit = createAction(tr("Edytuj"), tr("Edytuj wpisu"), QStringLiteral("record_edit"));
    m_actionDelete = createAction(tr("Usuń"), tr("Usuń wpis"), QStringLiteral("record_delete"));
    m_actionCopy = createAction(tr("Kopiuj"), tr("Kopiuj wpis"), QStringLiteral("record_copy"));
    m_actionCorrect = createAction(tr("Koryguj"), tr("Wystaw korektę wpisu"), QStringLiteral("record_correct"));
    m_actionDuplicate = createAction(tr("Duplikat"), tr("Wystaw duplikat wpisu"), QStringLiteral("record_duplicate"));
    m_actionDefault = createAction(tr("Domyślny"), tr("Ustaw jako domyślny"), QStringLiteral("record_default"), true);
    m_actionSetSelected = createAction(tr("Zestawienie"), tr("Generuj zestawienie"), QString());
    m_actionIsPayed = createAction(tr("Kontrola płatności"), tr("Kontrola płatności"), QString());
    m_actionShowFilter = createAction(tr("Filtracja"), tr("Przełącznik okna filtracji"),
                                      QStringLiteral("window_filter"), true);
    m_actionDragDrop = createAction(tr("Przeciągnij i upuść"), tr("Przełącznik przeciągnij i upuść"),
                                    QStringLiteral("drag_and_drop"), true);
    m_actionDefaultSettings = createAction(tr("Ustawienia domyślne"), tr("Wróć do ustawień domyślnych"), QString());
    m_actionOptions = createAction(tr("Opcje"), tr("Opcje programu"), QStringLiteral("options"));
    m_actionAbout = createAction(tr("O programie"), tr("Informacje o programie"), QString());
    m_actionProgramInfo = createAction(tr("Katalogi programu"), tr("Katalogi programu"),
                                       QStringLiteral("program_info"));
    m_actionDbInfo = createAction(tr("Informacje o bazie danych"), tr("Informacje o bazie danych"),
                                  QStringLiteral("db_info"));
    m_actionDoYouKnow = createAction(tr("Porady i podpowiedzi"), tr("Porady i podpowiedzi"),
                                     QStringLiteral("do_you_know"), true);
    m_actionCheckVersion = createAction(tr("Sprawdź aktualizacje"), tr("Sprawdź aktualizacje"), QString());

    connect(m_actionNew, &QAction::triggered, this, &MAppWnd::doNew);
    connect(m_actionOpen, &QAction::triggered, this, &MAppWnd::doOpen);
    connect(m_actionDragDrop, &QAction::triggered, this, &MAppWnd::doDragDrop);
    connect(m_actionDefaultSettings, &QAction::triggered, this, &MAppWnd::doDefaultSettings);
    connect(m_actionAbout, &QAction::triggered, this, &MAppWnd::doAbout);
    connect(m_actionProgramInfo, &QAction::triggered, this, &MAppWnd::doProgramInfo);
    connect(m_actionOptions, &QAction::triggered, this, &MAppWnd::doOptions);
    connect(m_actionPageSetup, &QAction::triggered, this, &MAppWnd::doPageSetup);
    connect(m_actionDbInfo, &QAction::triggered, this, &MAppWnd::doDbInfo);
    connect(m_actionDoYouKnow, &QAction::triggered, this, &MAppWnd::doDoYouKnow);
    connectCommandActions();
    connect(m_actionRepairDb, &QAction::triggered, this, &MAppWnd::doRepairDb2);
    connect(m_actionImport, &QAction::triggered, this, &MAppWnd::doImport);
    connect(m_actionExportFromV1, &QAction::triggered, this, &MAppWnd::doExportFromV1);
    connect(m_actionCheckVersion, &QAction::triggered, this, &MAppWnd::doCheckVersion);
}

void MAppWnd::createMenus()
{
    m_menuFile = menuBar()->addMenu(tr("&Plik"));
    m_menuFile->addActions({m_actionNew, m_actionOpen});
    m_menuFile->addSeparator();
    m_menuFile->addActions({m_actionImport, m_actionExportFromV1, m_actionRepairDb});
    m_menuFile->addSeparator();
    m_menuFile->addActions({m_actionPrint, m_actionPrintPdf, m_actionSendMailPdf, m_actionPageSetup});
    m_menuFile->addSeparator();
    m_menuFile->addActions({m_actionExportCsv, m_actionExportJpkFa, m_actionExportJpkVat});

    m_menuOperations = menuBar()->addMenu(tr("&Operacje"));
    m_menuOperations->addActions({m_actionAdd, m_actionPreview, m_actionEdit, m_actionDelete});
    m_menuOperations->addSeparator();
    m_menuOperations->addActions({m_actionCopy, m_actionCorrect, m_actionDuplicate});
    m_menuOperations->addSeparator();
    m_menuOperations->addAction(m_actionDefault);
    m_menuOperations->addSeparator();
    m_menuOperations->addAction(m_actionSetSelected);
    m_menuOperations->addSeparator();
    m_menuOperations->addAction(m_actionIsPayed);

    m_menuTools = menuBar()->addMenu(tr("&Narzędzia"));
    m_menuTools->addActions({m_actionShowFilter, m_actionDragDrop});
    m_menuTools->addSeparator();
    m_menuTools->addActions({m_actionDefaultSettings, m_actionOptions});

    m_menuHelp = menuBar()->addMenu(tr("Pomo&c"));
    m_menuHelp->addActions({m_actionAbout, m_actionProgramInfo, m_actionDbInfo, m_actionDoYouKnow});
    m_menuHelp->addSeparator();
    m_menuHelp->addAction(m_actionCheckVersion);
}

void MAppWnd::createToolBar()
{
    m_toolBar = addToolBar(tr("Główny pasek narzędziowy"));
    // saveState() finds the toolbar again by this name.
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setMovable(false);

    const QList<QList<QAction*>> groups = {
        {m_actionNew, m_actionOpen},
        {m_actionAdd, m_actionPreview, m_actionEdit, m_actionDelete},
        {m_actionCopy, m_actionCorrect, m_actionDuplicate},
        {m_actionDefault},
        {m_actionPrint, m_actionPrintPdf, m_actionSendMailPdf, m_actionPageSetup},
        {m_actionExportCsv, m_actionExportJpkFa, m_actionExportJpkVat},
        {m_actionShowFilter, m_actionDragDrop, m_actionOptions},
        {m_actionProgramInfo, m_actionDbInfo, m_actionDoYouKnow},
    };
    for (int i = 0; i < groups.size(); ++i) {
        if (i > 0)
            m_toolBar->addSeparator();
        m_toolBar->addActions(groups.at(i));
    }
}
