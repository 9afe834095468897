// The logo controls of MSellerDlg on its page "Faktury".
#include "MSellerDlg.h"

#include "data/MProgramPaths.h"
#include "parties/MFormPage.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QButtonGroup>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

QWidget* MSellerDlg::createLogoWidgets(QWidget* parent)
{
    m_logoControls = new QWidget(parent);
    auto* layout = new QGridLayout(m_logoControls);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_logoPreview = new QTextEdit(m_logoControls);
    m_logoPreview->setReadOnly(true);
    m_logoPreview->setFixedSize(500, 100);
    m_logoPreview->document()->setDocumentMargin(0);
    layout->addWidget(m_logoPreview, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(1, 5);

    auto* buttons = new QHBoxLayout();
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(10);
    m_logoLoad = new QPushButton(tr("Załaduj logo"), m_logoControls);
    m_logoDelete = new QPushButton(tr("Usuń logo"), m_logoControls);
    connect(m_logoLoad, &QPushButton::clicked, this, &MSellerDlg::clickLogo);
    connect(m_logoDelete, &QPushButton::clicked, this, &MSellerDlg::clickLogoDel);
    buttons->addWidget(m_logoLoad);
    buttons->addWidget(m_logoDelete);
    buttons->addStretch(1);
    layout->addLayout(buttons, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(3, 5);

    auto* zoom = new QHBoxLayout();
    zoom->setContentsMargins(0, 0, 0, 0);
    zoom->setSpacing(10);
    m_logoZoomLabel = MFormPage::boldLabel(tr("Zmniejsz logo"), m_logoControls);
    zoom->addWidget(m_logoZoomLabel);
    m_logoZoomGroup = new QButtonGroup(this);
    m_logoZoomGroup->setExclusive(true);
    for (int divisor = 1; divisor <= 4; ++divisor) {
        auto* button = new QRadioButton(QStringLiteral("x") + QString::number(divisor), m_logoControls);
        button->setStyleSheet(QStringLiteral("font-weight: bold;"));
        button->setObjectName(QStringLiteral("logo_zoom_") + QString::number(divisor));
        m_logoZoomGroup->addButton(button, divisor);
        zoom->addWidget(button);
    }
    m_logoZoomGroup->button(1)->setChecked(true);
    const QList<QAbstractButton*> zoomButtons = m_logoZoomGroup->buttons();
    for (QAbstractButton* button : zoomButtons)
        connect(button, &QAbstractButton::toggled, this, &MSellerDlg::doToggledLogoZoom);
    zoom->addStretch(1);
    layout->addLayout(zoom, 4, 0, Qt::AlignLeft | Qt::AlignTop);
    return m_logoControls;
}

// The preview stays enabled: its note on a new seller is meant to be read, not greyed out.
void MSellerDlg::setLogoEditingEnabled(bool enabled)
{
    m_logoLoad->setEnabled(enabled);
    m_logoDelete->setEnabled(enabled);
    m_logoZoomLabel->setEnabled(enabled);
    const QList<QAbstractButton*> zoomButtons = m_logoZoomGroup->buttons();
    for (QAbstractButton* button : zoomButtons)
        button->setEnabled(enabled);
}

void MSellerDlg::loadLogo()
{
    if (m_idRecord < 1) {
        setLogoText(tr("Logo można załadować podczas edycji sprzedawcy."));
        setLogoEditingEnabled(false);
        return;
    }
    setLogoEditingEnabled(true);
    m_logo.load();
    {
        // The stored divisor is shown, not applied again: the files already follow it.
        const QSignalBlocker blocker(m_logoZoomGroup);
        const QList<QAbstractButton*> zoomButtons = m_logoZoomGroup->buttons();
        for (QAbstractButton* button : zoomButtons) {
            const QSignalBlocker buttonBlocker(button);
            button->setChecked(m_logoZoomGroup->id(button) == m_logo.zoom());
        }
    }
    showLogo();
}

void MSellerDlg::showLogo()
{
    if (!m_logo.hasWorkingPreview()) {
        setLogoText(tr("Brak obrazka logo."));
        m_logoDelete->setEnabled(false);
        return;
    }
    // Emptied first, so that the view reads the changed file again.
    m_logoPreview->setHtml(QString());
    m_logoPreview->setHtml(QStringLiteral("<img src=\"") + MSellerLogo::workingPreviewPath(m_idRecord).toHtmlEscaped()
                           + QStringLiteral("\" border=\"0\">"));
    // The line under an image keeps room for a text's descent: a logo as high as the
    // view would otherwise scroll by those few empty pixels.
    const bool fits = m_logo.workingPreviewSize().height() <= m_logoPreview->viewport()->height();
    m_logoPreview->setVerticalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    m_logoDelete->setEnabled(true);
}

void MSellerDlg::setLogoText(const QString& text)
{
    m_logoPreview->setPlainText(text);
}

void MSellerDlg::clickLogo(bool /*b*/)
{
    const QString fileName = MFileDialog::getOpenFileName(this, tr("Otwórz plik"), MProgramPaths::pathDocuments,
                                                          tr("Obrazek (*.gif *.png *.jpg *.jpeg *.bmp *.tiff)"));
    if (fileName.isEmpty())
        return;
    if (!m_logo.loadImage(fileName))
        MMessageBox::warning(this, tr("Logo sprzedawcy"),
                             tr("Nie można odczytać obrazka z pliku %1. Logo pozostało bez zmian.")
                                 .arg(QDir::toNativeSeparators(fileName)));
    showLogo();
}

void MSellerDlg::clickLogoDel(bool /*b*/)
{
    m_logo.removeWorking();
    showLogo();
}

void MSellerDlg::doToggledLogoZoom(bool checked)
{
    // A change of divisor unchecks one button and checks another; the checked one acts.
    if (!checked)
        return;
    const int divisor = m_logoZoomGroup->checkedId();
    m_logo.setZoom(divisor > 0 ? divisor : 1);
    if (m_logo.hasWorkingLogo())
        showLogo();
}
