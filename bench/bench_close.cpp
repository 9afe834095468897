// Closing the main window on a generated database of 10 000 documents with the
// usual lists open as tabs, with the sales list, the VAT register or the invoice
// editor in front, soon after opening and after a while: the time from the close
// request until the event loop quits, the window is destroyed and the database
// connection is closed. Prints the median [smallest .. largest] of several runs,
// in milliseconds.
//
// Usage: bench_close [runs]

#include "MBenchFigures.h"

#include "MBenchDatabase.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "resources/MResources.h"
#include "views/MListFont.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

using MBenchFigures::closeConnection;
using MBenchFigures::median;
using MBenchFigures::milliseconds;

namespace {

QString spread(const QVector<double>& values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 [%2 .. %3]").arg(median(values), 8, 'f', 1).arg(*low, 0, 'f', 1).arg(*high, 0, 'f', 1);
}

enum class Current { SalesList, Register, Editor };

const char* currentName(Current current)
{
    switch (current) {
    case Current::SalesList:
        return "the sales list";
    case Current::Register:
        return "the VAT register";
    case Current::Editor:
        return "an invoice of 20 lines in the editor";
    }
    return "";
}

// Opens the window with the usual tabs (sales, purchases, buyers, products, sellers, VAT
// register), shows `current` for `pause` ms and then closes the window as the user would.
void measure(QApplication& app, Current current, int pause, int runs)
{
    const int tabs[] = {7, 8, 3, 4, 2, 6};
    QVector<double> closing, destruction, connection, total;
    for (int run = 0; run < runs; ++run) {
        auto window = std::make_unique<MAppWnd>();
        if (window->hasEnded())
            qFatal("the window did not open");
        QApplication::setFont(QFont(QStringLiteral("Arial"), listFontSize()));
        for (int kind : tabs)
            window->loadTab(kind, false);
        window->tabMain()->setCurrentIndex(current == Current::Register ? 5 : 0);
        window->show();
        if (current == Current::Editor) {
            const int edited = MBenchDatabase::invoiceWithLines(20);
            if (edited < 1)
                qFatal("no invoice of 20 lines");
            auto* list = qobject_cast<MInvoiceDbView*>(window->tabMain()->widget(0));
            list->reloadView(7, edited);
            list->doDocEdit();
            if (!window->findChild<QDialog*>())
                qFatal("the editor did not open");
        }
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < pause)
            QApplication::processEvents(QEventLoop::AllEvents, 50);

        // As the program ends: the close request inside the event loop, which quits
        // when the last window has closed.
        QElapsedTimer untilQuit;
        QTimer::singleShot(0, window.get(), [&] {
            untilQuit.start();
            window->close();
        });
        const QMetaObject::Connection quit =
            QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
        app.exec();
        QObject::disconnect(quit);
        closing.append(untilQuit.nsecsElapsed() / 1e6);
        destruction.append(milliseconds([&] {
            window.reset();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }));
        connection.append(milliseconds(&closeConnection));
        total.append(closing.last() + destruction.last() + connection.last());
    }
    std::printf("%s shown, closed after %d ms: median [min .. max] of %d runs, ms\n", currentName(current), pause,
                runs);
    std::printf("  close until the loop quits   %s\n", qPrintable(spread(closing)));
    std::printf("  window destroyed             %s\n", qPrintable(spread(destruction)));
    std::printf("  connection closed            %s\n", qPrintable(spread(connection)));
    std::printf("  together                     %s\n", qPrintable(spread(total)));
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);
    initInvoiceResources();
    MMessageBox::setAutomatic(true);
    const int runs = qMax(1, app.arguments().value(1, QStringLiteral("5")).toInt());

    MAppWnd::initPaths();
    const QString dbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    MBenchDatabase::Size size;
    size.documents = 10000;
    if (!MBenchDatabase::generate(dbFile, MAppWnd::pathTemp, size))
        qFatal("cannot generate the database");

    for (const int pause : {3000, 300}) {
        for (const Current current : {Current::SalesList, Current::Register, Current::Editor})
            measure(app, current, pause, runs);
    }
    return 0;
}
