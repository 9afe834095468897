#include "core/MAppWnd.h"
#include "core/MSingleApplication.h"
#include "data/MProgramVersion.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MListFont.h"
#include "views/MMessageBox.h"

#include <QFont>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

QString styleSheet(int n)
{
    const QString size = QString::number(n);
    const QString smaller = QString::number(n - 1);
    return QStringLiteral("QHeaderView { font: normal ") + size + QStringLiteral("pt Arial; }\n")
           + QStringLiteral("QHeaderView::down-arrow { image: url(:/resource/sort_header_down.png); }\n")
           + QStringLiteral("QHeaderView::up-arrow { image: url(:/resource/sort_header_up.png); }\n")
           + QStringLiteral("QHeaderView::section { font: normal ") + size + QStringLiteral("pt Arial; }\n")
           + QStringLiteral("QListView { font: normal ") + size + QStringLiteral("pt Arial; }\n")
           + QStringLiteral("QToolBar { border: none; }\n")
           + QStringLiteral("QTabBar::close-button { image: url(:/resource/close_btn_16_16.png); }\n")
           + QStringLiteral("QTabBar::close-button:hover { image: url(:/resource/cancel_btn_16_16.png); }\n")
           + QStringLiteral("QTableView { font: normal ") + size + QStringLiteral("pt Arial; }\n")
           + QStringLiteral("QTableView::item { font: normal ") + size + QStringLiteral("pt Arial; }\n")
           + QStringLiteral("QTableView::item:selected { background-color: #3399ff; color: #ffffff; }\n")
           + QStringLiteral("QTableView::item:focus { background-color: #2080e0; color: #ffffff; }\n")
           + QStringLiteral("QToolTip { font: normal ") + smaller
           + QStringLiteral("pt Arial; background-color: #fffff0; color: #000000; border-color: #c0c0c0; "
                            "border-width: 1px; border-style: solid; padding: 2px; }\n")
           + QStringLiteral("QTreeView { font: normal ") + size + QStringLiteral("pt Arial; }\n");
}

// With INVOICE_AUTOMATIC_DIALOGS=1, no message box or file dialog waits for
// a person: each takes its default answer, and the boxes' texts are written to
// standard error when the program ends. Scripts and tests drive the real
// program this way.
class AutomaticDialogs
{
public:
    AutomaticDialogs()
        : m_enabled(qEnvironmentVariableIntValue("INVOICE_AUTOMATIC_DIALOGS") == 1)
    {
        MMessageBox::setAutomatic(m_enabled);
        MFileDialog::setAutomatic(m_enabled);
    }

    ~AutomaticDialogs()
    {
        if (!m_enabled)
            return;
        for (const MMessageBox::Shown& shown : MMessageBox::takeShown())
            std::fprintf(stderr, "%s: %s\n", qUtf8Printable(shown.title), qUtf8Printable(shown.text));
    }

private:
    bool m_enabled;
};

} // namespace

int main(int argc, char* argv[])
{
    AutomaticDialogs automaticDialogs;

    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));

    MSingleApplication app(argc, argv, QStringLiteral("___morva_invoice___"));
    initInvoiceResources();

    QTranslator qtTranslator;
    QTranslator appTranslator;
    qtTranslator.load(QStringLiteral(":/translation/qt_pl.qm"));
    appTranslator.load(QStringLiteral(":/translation/Invoice_pl.qm"));
    app.installTranslator(&qtTranslator);
    app.installTranslator(&appTranslator);

    app.setOrganizationName(QStringLiteral("morva"));
    app.setApplicationName(QStringLiteral("varneli2"));

    if (app.isRunning()) {
        app.sendMessage(QCoreApplication::translate("main", "__morva_invoice___"));
        MMessageBox::information(nullptr, QStringLiteral("morva FAKTURY"),
                                 QCoreApplication::translate("main", "Aplikacja morva FAKTURY jest już uruchomiona."));
        return 0;
    }

    // Plug-ins beside the program come first; Qt's installed ones (SQLite
    // driver, image formats, print support) stay reachable behind them.
    app.setLibraryPaths(QStringList{QStringLiteral("./"), QStringLiteral("./plugins/")} + app.libraryPaths());

    MAppWnd wnd;
    // The window may have ended the program while it was built; quit() would
    // be lost before the event loop runs, so main ends here itself.
    if (wnd.hasEnded())
        return 0;

    QObject::connect(&app, &MSingleApplication::messageAvailable, &wnd, &MAppWnd::doMessageAvailable);
    wnd.setWindowTitle(QStringLiteral("morva FAKTURY ") + MProgramVersion::versionText());

    QFont font(QStringLiteral("Arial"), listFontSize(), QFont::Normal, false);
    app.setFont(font);
    app.setStyleSheet(styleSheet(listFontSize()));

    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
