#include "MPrintDialog.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QQueue>

namespace {

// What the next automatic dialog leaves on its printer.
struct Choice
{
    QString printerName;
    QString fileName;
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
};

struct Seam
{
    bool automatic = false;
    QQueue<Choice> choices;
    QStringList shown;
    QString printFolder;
    int printed = 0;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

} // namespace

bool MPrintDialog::exec(QWidget* parent, QPrinter* printer, const QString& title)
{
    if (seam().automatic) {
        seam().shown.append(title);
        if (seam().choices.isEmpty())
            return false;
        const Choice choice = seam().choices.dequeue();
        if (choice.fileName.isEmpty()) {
            printer->setPrinterName(choice.printerName);
            return true;
        }
        // As QPrintDialog leaves it for its file entry.
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(choice.fileName);
        printer->setCopyCount(choice.copies);
        printer->setPrintRange(choice.fromPage > 0 ? QPrinter::PageRange : QPrinter::AllPages);
        printer->setFromTo(choice.fromPage, choice.toPage);
        return true;
    }
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void MPrintDialog::setAutomatic(bool automatic)
{
    seam().automatic = automatic;
}

void MPrintDialog::setNextPrinterName(const QString& printerName)
{
    Choice choice;
    choice.printerName = printerName;
    seam().choices.enqueue(choice);
}

void MPrintDialog::setNextPrintToFile(const QString& fileName, int copies, int fromPage, int toPage)
{
    Choice choice;
    choice.fileName = fileName;
    choice.copies = copies;
    choice.fromPage = fromPage;
    choice.toPage = toPage;
    seam().choices.enqueue(choice);
}

QStringList MPrintDialog::takeShown()
{
    const QStringList shown = seam().shown;
    seam().shown.clear();
    return shown;
}

void MPrintDialog::preparePrinter(QPrinter* printer)
{
    if (!seam().automatic || seam().printFolder.isEmpty())
        return;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(
        QDir(seam().printFolder).filePath(QStringLiteral("print-%1.pdf").arg(++seam().printed)));
}

void MPrintDialog::setPrintFolder(const QString& folder)
{
    seam().printFolder = folder;
    seam().printed = 0;
}
