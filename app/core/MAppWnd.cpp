#include "MAppWnd.h"

#include "core/MSplash.h"
#include "core/MVersionCheck.h"
#include "data/MBackupFile.h"
#include "data/MSqlTransaction.h"
#include "settings/MDoYouKnowWidget.h"
#include "settings/MProgramInfoDlg.h"
#include "views/MListFont.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QNetworkAccessManager>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolButton>

MAppWnd::MAppWnd()
{
    setListFontSizeForDpi(logicalDpiX());
    pathDbFile.clear();

    initPaths();

    m_networkManager = new QNetworkAccessManager();
    m_enabledActionsTimer = new QTimer(this);

    applyStyle();

    createActions();
    createMenus();
    createToolBar();
    createCentralWidget();

    if (!QDir(pathData).exists()) {
        MMessageBox::critical(nullptr, tr("Błąd połączenia z bazą danych"),
                              tr("Nie można odnaleźć katalogu z bazą danych."));
        MProgramInfoDlg dialog(this);
        dialog.setModal(true);
        // The window is not shown yet: centred on the screen, not on its unused place.
        dialog.adjustSize();
        dialog.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dialog.size(),
                                               dialog.screen()->availableGeometry()));
        dialog.exec();
        m_ended = true;
        return;
    }

    pathDbFile = pathData + QStringLiteral("data/Invoice.db3");
    const bool connected = createConnection(pathDbFile);

    m_splash = new MSplash(QPixmap(QStringLiteral(":/resource/intro.png")), Qt::WindowStaysOnTopHint);
    m_splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash->showMessage(connected ? tr("Trwa otwieranie bazy danych.\nMoże to potrwać kilka chwil...")
                                    : tr("Brak połączenia z bazą danych."),
                          Qt::AlignLeft, Qt::black);
    m_splash->show();

    openDb();
    if (m_refused) {
        m_splash->close();
        m_ended = true;
        return;
    }

    loadOptions();
    setDefaultOptions();
    // Backup copies that an earlier run did not finish.
    MBackupFile::removeStale(pathData + QStringLiteral("data/backup"));
    MBackupFile::removeStale(option(QStringLiteral("BACKUP_SELF_PATH")));

    m_splashMilliseconds = 0;
    m_splashTimer = new QTimer(this);
    connect(m_splashTimer, &QTimer::timeout, this, &MAppWnd::splashTimeout);
    m_splashTimer->start(1000);

    restoreTabs();
    m_doYouKnowWidget->applyOptions();

    connect(m_tabMain, &QTabWidget::currentChanged, this, &MAppWnd::doCurrentChangedTabMain);
}

MAppWnd::~MAppWnd()
{
    closeInvoiceDlg();
    // The splash has no parent; it must not outlive a window that is gone.
    if (m_splash)
        m_splash->close();
}

bool MAppWnd::hasEnded() const
{
    return m_ended;
}

void MAppWnd::applyStyle()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QPalette palette = QApplication::palette();
    const struct
    {
        QPalette::ColorRole role;
        QColor color;
    } colors[] = {
        {QPalette::Window, QColor(0xf4, 0xf4, 0xf0)},
        {QPalette::WindowText, Qt::black},
        {QPalette::Base, Qt::white},
        {QPalette::AlternateBase, QColor(0xec, 0xec, 0xe8)},
        {QPalette::ToolTipBase, QColor(0xff, 0xff, 0xf0)},
        {QPalette::ToolTipText, Qt::black},
        {QPalette::Text, Qt::black},
        {QPalette::Button, QColor(0xe4, 0xe4, 0xe0)},
        {QPalette::ButtonText, Qt::black},
        {QPalette::BrightText, Qt::red},
        {QPalette::Link, QColor(0x2a, 0x82, 0xda)},
        {QPalette::Highlight, QColor(0x33, 0x99, 0xff)},
        {QPalette::HighlightedText, Qt::white},
    };
    for (const auto& entry : colors)
        palette.setBrush(QPalette::Active, entry.role, QBrush(entry.color));
    QApplication::setPalette(palette);

    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
}

void MAppWnd::createCentralWidget()
{
    auto* central = new QWidget(this);

    m_tabMain = new MTabWidget(central);
    m_tabMain->setMovable(true);
    m_tabMain->setTabsClosable(true);
    m_tabMain->setSelectionBehaviorOnRemove(QTabBar::SelectPreviousTab);

    auto* closeButton = new QToolButton(m_tabMain);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setAutoRaise(true);
    m_tabMain->setCornerWidget(closeButton, Qt::TopRightCorner);
    connect(closeButton, &QToolButton::clicked, this, &MAppWnd::doCloseActiveTab);
    connect(m_tabMain, &QTabWidget::tabCloseRequested, this, &MAppWnd::doCloseRequestedTabMain);

    m_doYouKnowWidget = new MDoYouKnowWidget(central);

    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabMain, 0, 0);
    layout->addWidget(m_doYouKnowWidget, 1, 0);
    layout->setRowStretch(0, 100);
    layout->setColumnStretch(0, 100);
    setCentralWidget(central);
}

void MAppWnd::splashTimeout()
{
    if (!m_splash)
        return;
    m_splashMilliseconds += m_splashTimer->interval();
    if (m_splashMilliseconds < 2000)
        return;

    m_splashTimer->stop();
    setEnabledMenuActions();
    if (option(QStringLiteral("MAIN_WINDOW_GEOMETRY")).isEmpty()
        || option(QStringLiteral("MAIN_WINDOW_STATE")).isEmpty())
        showMaximized();
    else
        show();
    m_splash->finish(this);
}

void MAppWnd::closeEvent(QCloseEvent* event)
{
    // Closed while the splash is up: the start ends here, the window must not appear later.
    if (m_splashTimer && m_splashTimer->isActive()) {
        m_splashTimer->stop();
        if (m_splash)
            m_splash->close();
    }
    // One commit for both: each commit waits for the disk, and the user waits for the close.
    MSqlTransaction::run([this] {
        setOption(QStringLiteral("MAIN_WINDOW_GEOMETRY"), QString::fromLatin1(saveGeometry().toHex()));
        setOption(QStringLiteral("MAIN_WINDOW_STATE"), QString::fromLatin1(saveState(0).toHex()));
        return QString();
    });
    closeInvoiceDlg();
    doCleanDisk();
    event->accept();
}

void MAppWnd::doMessageAvailable(const QString& /*message*/)
{
    // A second start only asks for attention: bring the running window forward.
    if (!isVisible())
        return;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

QWidget* MAppWnd::mainWidget()
{
    return this;
}

MTabWidget* MAppWnd::tabMain() const
{
    return m_tabMain;
}

MDoYouKnowWidget* MAppWnd::doYouKnowWidget() const
{
    return m_doYouKnowWidget;
}

void MAppWnd::applyOptions()
{
    m_doYouKnowWidget->applyOptions();
    setEnabledMenuActions();
}
