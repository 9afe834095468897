#include "MDocViewRuns.h"

#include "MTextFunctions.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace MDocViewRuns {

QList<int> runs(int docView, bool pdf)
{
    if (docView == 3)
        return {1, 2};
    if (docView == 5 && !pdf)
        return {0, 0};
    return {docView};
}

QString fileNameText(const QString& documentNumber)
{
    return QString(documentNumber).replace(QRegularExpression(QStringLiteral("[^a-zA-Z0-9]")), QStringLiteral("_"));
}

QString pdfFileName(const QString& chosen, bool twoFiles, int idDocument, const QString& documentNumber,
                    int runDocView)
{
    const QString name = QFileInfo(chosen).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString folderPart = chosen.left(chosen.size() - name.size());
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString suffix = dot < 0 ? QStringLiteral("pdf") : name.mid(dot + 1);
    QString inserted;
    if (twoFiles) {
        inserted = QStringLiteral("-") + QString::number(idDocument) + QStringLiteral("-")
                   + fileNameText(documentNumber) + QStringLiteral("-") + docViewName(runDocView, true);
    }
    return folderPart + stem + inserted + QStringLiteral(".") + suffix;
}

} // namespace MDocViewRuns
