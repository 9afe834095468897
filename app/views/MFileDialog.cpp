#include "MFileDialog.h"

#include <QQueue>

namespace {

struct Seam
{
    bool automatic = false;
    QQueue<QString> names;
    QString lastFolder;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

} // namespace

QString MFileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    QString fileName;
    if (takeAnswer(dir, &fileName))
        return fileName;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString MFileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    QString fileName;
    if (takeAnswer(dir, &fileName))
        return fileName;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString MFileDialog::getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    QString fileName;
    if (takeAnswer(dir, &fileName))
        return fileName;
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

void MFileDialog::setAutomatic(bool automatic)
{
    seam().automatic = automatic;
}

void MFileDialog::setNextFileName(const QString& fileName)
{
    seam().names.enqueue(fileName);
}

QString MFileDialog::lastFolder()
{
    return seam().lastFolder;
}

bool MFileDialog::takeAnswer(const QString& dir, QString* fileName)
{
    Seam& s = seam();
    s.lastFolder = dir;
    if (!s.automatic)
        return false;
    *fileName = s.names.isEmpty() ? QString() : s.names.dequeue();
    return true;
}
