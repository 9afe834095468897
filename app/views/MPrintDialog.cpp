#include "MPrintDialog.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QQueue>

namespace {

struct Seam
{
    bool automatic = false;
    QQueue<QString> printerNames;
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
        if (seam().printerNames.isEmpty())
            return false;
        printer->setPrinterName(seam().printerNames.dequeue());
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
    seam().printerNames.enqueue(printerName);
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
