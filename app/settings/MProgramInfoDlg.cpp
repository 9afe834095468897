#include "MProgramInfoDlg.h"

#include "data/MProgramPaths.h"
#include "views/MFileDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

namespace {

const int folderButtonWidth = 400;

void openFolder(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString withoutClosingSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path.left(path.size() - 1) : path;
}

} // namespace

MProgramInfoDlg::MProgramInfoDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_pathInstallation(QDir::toNativeSeparators(QApplication::applicationDirPath()))
{
    setWindowTitle(tr("Katalogi programu"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);

    using Slot = void (MProgramInfoDlg::*)(bool);
    auto addRow = [this, layout](int row, const QString& label, const QString& path, const QString& toolTip,
                                 Slot slot) {
        auto* title = new QLabel(QStringLiteral("<b>") + label + QStringLiteral(":</b>"), this);
        auto* folderButton = new QPushButton(this);
        folderButton->setFlat(true);
        folderButton->setCursor(Qt::PointingHandCursor);
        folderButton->setMaximumWidth(folderButtonWidth);
        folderButton->setText(
            fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, folderButtonWidth));
        folderButton->setToolTip(toolTip);
        auto* openButton = new QPushButton(tr("Otwórz"), this);
        openButton->setCursor(Qt::PointingHandCursor);
        openButton->setToolTip(toolTip);
        connect(folderButton, &QPushButton::clicked, this, slot);
        connect(openButton, &QPushButton::clicked, this, slot);
        layout->addWidget(title, row, 0);
        layout->addWidget(folderButton, row, 2, Qt::AlignLeft);
        layout->addWidget(openButton, row, 4);
        return folderButton;
    };

    addRow(0, tr("Katalog programu"), m_pathInstallation, tr("Otwórz katalog instalacyjny"),
           &MProgramInfoDlg::clickPathInstallation);
    layout->setRowMinimumHeight(1, 5);
    m_dataButton = addRow(2, tr("Katalog bazy danych"), MProgramPaths::pathData + QStringLiteral("data"),
                          tr("Otwórz katalog bazy danych"), &MProgramInfoDlg::clickPathData);
    auto* changeButton = new QPushButton(tr("Zmień"), this);
    changeButton->setCursor(Qt::PointingHandCursor);
    changeButton->setToolTip(tr("Zmień katalog bazy danych"));
    connect(changeButton, &QPushButton::clicked, this, &MProgramInfoDlg::clickPathDataChange);
    layout->addWidget(changeButton, 2, 6);
    layout->setRowMinimumHeight(3, 5);
    addRow(4, tr("Katalog konfiguracji"), MProgramPaths::pathConfig + QStringLiteral("config"),
           tr("Otwórz katalog konfiguracji"), &MProgramInfoDlg::clickPathConfig);
    layout->setRowMinimumHeight(5, 5);
    addRow(6, tr("Katalog dokumentów"), withoutClosingSlash(MProgramPaths::pathDocuments), tr("Otwórz katalog dokumentów"),
           &MProgramInfoDlg::clickPathDocuments);
    layout->setRowMinimumHeight(7, 10);

    for (int column : {1, 3, 5})
        layout->setColumnMinimumWidth(column, 10);

    auto* closeButton = new QPushButton(QIcon(QStringLiteral(":/resource/close_btn_16_16.png")), tr("Zamknij"), this);
    closeButton->setFixedSize(80, 25);
    connect(closeButton, &QPushButton::clicked, this, &MProgramInfoDlg::clickClose);
    layout->addWidget(closeButton, 8, 0, 1, 7, Qt::AlignRight | Qt::AlignBottom);
}

void MProgramInfoDlg::clickPathInstallation(bool /*checked*/)
{
    openFolder(m_pathInstallation);
}

void MProgramInfoDlg::clickPathData(bool /*checked*/)
{
    openFolder(MProgramPaths::pathData + QStringLiteral("data"));
}

void MProgramInfoDlg::clickPathConfig(bool /*checked*/)
{
    openFolder(MProgramPaths::pathConfig + QStringLiteral("config"));
}

void MProgramInfoDlg::clickPathDocuments(bool /*checked*/)
{
    openFolder(withoutClosingSlash(MProgramPaths::pathDocuments));
}

void MProgramInfoDlg::clickPathDataChange(bool /*checked*/)
{
    QString base = MFileDialog::getExistingDirectory(this, tr("Katalog bazy danych"), MProgramPaths::pathData);
    if (base.isEmpty())
        return;

    // The user may pick the base folder, its data folder or its backup folder.
    if (base.endsWith(QLatin1String("/data")))
        base.chop(5);
    else if (base.endsWith(QLatin1String("/data/backup")))
        base.chop(12);

    m_dataButton->setText(QDir::toNativeSeparators(base + QStringLiteral("/data")));

    QSettings settings(MProgramPaths::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("database/path"), QString(base + QLatin1Char('/')));
}

void MProgramInfoDlg::clickClose(bool /*checked*/)
{
    done(0);
}
