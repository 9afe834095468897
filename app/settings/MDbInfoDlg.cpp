#include "MDbInfoDlg.h"

#include "data/MDbBackup.h"
#include "data/MDbInfo.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

QString dataFolder()
{
    return MProgramPaths::pathData + QStringLiteral("data");
}

QString boldLabel(const QString& text)
{
    return QStringLiteral("<b>") + text + QStringLiteral("</b>");
}

QString figuresTable(const QList<MDbInfo::Figure>& figures)
{
    QString html = QStringLiteral("<table cellpadding=\"3\" cellspacing=\"1\" border=\"0\" bgcolor=\"#c0c0c0\" "
                                  "width=\"100%\"><tr bgcolor=\"#f0f0f0\"><td>&nbsp;</td><td align=\"center\">")
                   + MDbInfoDlg::tr("Ilość") + QStringLiteral("</td><td align=\"center\">")
                   + MDbInfoDlg::tr("Ostatnia modyfikacja") + QStringLiteral("</td></tr>");
    for (const MDbInfo::Figure& figure : figures) {
        const QString lastModified =
            figure.lastModified.isEmpty() ? MDbInfoDlg::tr("brak danych") : figure.lastModified;
        html += QStringLiteral("<tr bgcolor=\"#ffffff\"><td bgcolor=\"#f0f0f0\">") + figure.title.toHtmlEscaped()
                + QStringLiteral("</td><td align=\"right\">") + QString::number(figure.count)
                + QStringLiteral("</td><td align=\"right\">") + lastModified.toHtmlEscaped()
                + QStringLiteral("</td></tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

MDbInfoDlg::MDbInfoDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setWindowTitle(tr("Informacje o bazie danych"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setColumnMinimumWidth(1, 10);

    auto* folderButton = new QPushButton(QDir::toNativeSeparators(dataFolder()), this);
    folderButton->setFlat(true);
    folderButton->setCursor(Qt::PointingHandCursor);
    folderButton->setToolTip(tr("Otwórz katalog bazy danych"));
    connect(folderButton, &QPushButton::clicked, this, &MDbInfoDlg::clickPathData);
    layout->addWidget(new QLabel(boldLabel(tr("Katalog bazy danych") + QLatin1Char(':')), this), 0, 0);
    layout->addWidget(folderButton, 0, 2, Qt::AlignLeft);
    layout->setRowMinimumHeight(1, 10);

    layout->addWidget(new QLabel(boldLabel(tr("Plik bazy danych") + QLatin1Char(':')), this), 2, 0);
    layout->addWidget(new QLabel(QStringLiteral("Invoice.db3"), this), 2, 2);
    layout->setRowMinimumHeight(3, 10);

    // QFileInfo gives 0 for a missing file.
    const qint64 bytes = QFileInfo(dataFolder() + QStringLiteral("/Invoice.db3")).size();
    layout->addWidget(new QLabel(boldLabel(tr("Rozmiar bazy danych") + QLatin1Char(':')), this), 4, 0);
    layout->addWidget(new QLabel(MDbInfo::sizeText(bytes), this), 4, 2);
    layout->setRowMinimumHeight(5, 10);

    layout->addWidget(new QLabel(boldLabel(tr("Informacje o danych bazy") + QLatin1Char(':')), this), 6, 0, 1, 3);
    layout->setRowMinimumHeight(7, 5);
    auto* figures = new QLabel(figuresTable(MDbInfo::figures()), this);
    figures->setObjectName(QStringLiteral("figures"));
    figures->setTextFormat(Qt::RichText);
    layout->addWidget(figures, 8, 0, 1, 3);
    layout->setRowMinimumHeight(9, 10);

    auto* backupButton = new QPushButton(tr("Wykonaj"), this);
    backupButton->setFixedSize(80, 25);
    backupButton->setToolTip(tr("Wykonaj kopię zapasową bazy danych"));
    connect(backupButton, &QPushButton::clicked, this, &MDbInfoDlg::clickBackup);
    layout->addWidget(new QLabel(boldLabel(tr("Wykonaj kopię zapasową bazy danych")), this), 10, 0);
    layout->addWidget(backupButton, 10, 2, Qt::AlignLeft);
    layout->setRowMinimumHeight(11, 10);

    auto* closeButton = new QPushButton(QIcon(QStringLiteral(":/resource/close_btn_16_16.png")), tr("Zamknij"), this);
    closeButton->setFixedSize(80, 25);
    connect(closeButton, &QPushButton::clicked, this, &MDbInfoDlg::clickClose);
    layout->addWidget(closeButton, 12, 0, 1, 3, Qt::AlignRight | Qt::AlignBottom);
}

void MDbInfoDlg::clickPathData(bool /*checked*/)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(dataFolder()));
}

void MDbInfoDlg::clickBackup(bool /*checked*/)
{
    QString startFolder = MOptions::option(QStringLiteral("BACKUP_SELF_PATH"));
    if (!QFileInfo(startFolder).isDir())
        startFolder = QDir(QStringLiteral("export")).exists() ? QStringLiteral("export") : QString();

    const QString chosen =
        MFileDialog::getSaveFileName(this, tr("Kopia zapasowa bazy danych"), startFolder, QStringLiteral("*.db3"));
    if (chosen.isEmpty())
        return;
    MOptions::setOption(QStringLiteral("BACKUP_SELF_PATH"), QDir::cleanPath(QFileInfo(chosen).absolutePath()));

    const MDbBackup::Result result = MDbBackup::write(MDbBackup::withSuffix(chosen));
    const QString title = tr("Kopia zapasowa bazy danych");
    switch (result.outcome) {
    case MDbBackup::Outcome::Written:
        MMessageBox::information(this, title, result.message);
        break;
    case MDbBackup::Outcome::SameFile:
        MMessageBox::warning(this, title, result.message);
        break;
    case MDbBackup::Outcome::Failed:
        MMessageBox::critical(this, title, result.message);
        break;
    }
}

void MDbInfoDlg::clickClose(bool /*checked*/)
{
    done(0);
}
