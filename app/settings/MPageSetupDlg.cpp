#include "MPageSetupDlg.h"

#include "data/MDefaultOptions.h"
#include "data/MEnvelopeWindow.h"
#include "data/MOptions.h"
#include "printing/MPrinterMargins.h"
#include "settings/MOkCancelLayout.h"
#include "views/MAppServices.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// The sheet is drawn one pixel per millimetre and shown at three quarters.
const QSize sheetSize(212, 299);
const QSize previewSize(159, 225);

QVector<double> printerMargins(QWidget* parent)
{
    // Over the main window: the margins that documents are laid out with now.
    if (qobject_cast<MAppServices*>(parent))
        return MPrinterMargins::values();
    return MDefaultOptions::printerMargins(MOptions::option(QStringLiteral("PRINTER_MARGINS")));
}

QPixmap drawnSheet(const QRect& window, int left, int top, int right, int bottomLine)
{
    QPixmap sheet(sheetSize);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    if (window.isValid())
        painter.fillRect(window, Qt::green);

    painter.setPen(QPen(Qt::gray, 0, Qt::DashLine));
    painter.setFont(QFont(QStringLiteral("Helvetica"), 50));
    painter.drawText(QRect(QPoint(0, 0), QPoint(210, 297)), Qt::AlignCenter, QStringLiteral("A4"));
    painter.drawLine(0, top, 211, top);
    painter.drawLine(0, bottomLine, 211, bottomLine);
    painter.drawLine(left, 0, left, 298);
    painter.drawLine(211 - right, 0, 211 - right, 298);

    painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    painter.drawRect(0, 0, 210, 297);
    painter.end();
    return sheet.scaled(previewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

MPageSetupDlg::MPageSetupDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setWindowTitle(tr("Ustawienia strony"));
    m_tabs = new QTabWidget(this);
    createTab(1);
    createTab(2);

    layOutOkCancel(this, m_tabs, &m_okButton, &m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, &MPageSetupDlg::clickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &MPageSetupDlg::clickCancel);
}

QSpinBox* MPageSetupDlg::createSpinBox(int minimum, int maximum, int value, const char* objectName)
{
    auto* spinBox = new QSpinBox;
    spinBox->setObjectName(QLatin1String(objectName));
    // The range first, so that a stored value outside it shows as the nearer bound.
    spinBox->setRange(minimum, maximum);
    spinBox->setValue(value);
    return spinBox;
}

void MPageSetupDlg::createTab(int tab)
{
    const bool margins = tab == 1;
    QSpinBox* fields[4];
    if (margins) {
        const QVector<double> values = printerMargins(parentWidget());
        m_marginLeft = fields[0] = createSpinBox(0, 50, qRound(values.at(0)), "marginLeft");
        m_marginRight = fields[1] = createSpinBox(0, 50, qRound(values.at(2)), "marginRight");
        m_marginTop = fields[2] = createSpinBox(0, 50, qRound(values.at(1)), "marginTop");
        m_marginBottom = fields[3] = createSpinBox(0, 50, qRound(values.at(3)), "marginBottom");
    } else {
        const QVector<int> values =
            MEnvelopeWindow::values(MOptions::option(QStringLiteral("ENVELOPE_WINDOW_MARGINS")));
        m_envelopeLeft = fields[0] = createSpinBox(100, 130, values.at(0), "envelopeLeft");
        m_envelopeRight = fields[1] = createSpinBox(10, 30, values.at(2), "envelopeRight");
        m_envelopeTop = fields[2] = createSpinBox(40, 70, values.at(1), "envelopeTop");
        m_envelopeHeight = fields[3] = createSpinBox(30, 60, values.at(3), "envelopeHeight");
    }
    const QStringList names = {tr("lewy"), tr("prawy"), tr("górny"), margins ? tr("dolny") : tr("wysokość")};

    auto* fieldsWidget = new QWidget;
    auto* grid = new QGridLayout(fieldsWidget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(1, 5);
    grid->setColumnMinimumWidth(3, 5);
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(QStringLiteral("<b>") + names.at(i) + QStringLiteral("</b>")), i * 2, 0);
        grid->addWidget(fields[i], i * 2, 2);
        grid->addWidget(new QLabel(QStringLiteral("mm")), i * 2, 4);
    }
    grid->setRowMinimumHeight(1, 5);
    grid->setRowMinimumHeight(3, 15);
    grid->setRowMinimumHeight(5, 5);
    if (margins) {
        grid->setRowMinimumHeight(7, 5);
        grid->setRowStretch(8, 100);
    } else {
        grid->setRowStretch(7, 100);
    }

    auto* preview = new QLabel;
    preview->setFixedSize(previewSize);
    auto* page = new QWidget;
    auto* pageGrid = new QGridLayout(page);
    pageGrid->setContentsMargins(5, 5, 5, 5);
    pageGrid->setSpacing(0);
    pageGrid->addWidget(fieldsWidget, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    pageGrid->addWidget(preview, 0, 2, Qt::AlignLeft | Qt::AlignTop);
    pageGrid->setColumnMinimumWidth(1, 20);
    pageGrid->setColumnStretch(2, 1);
    pageGrid->setRowStretch(1, 100);

    if (margins) {
        preview->setObjectName(QStringLiteral("marginsPreview"));
        m_marginsPreview = preview;
        drawMargins();
        for (QSpinBox* field : fields)
            connect(field, QOverload<int>::of(&QSpinBox::valueChanged), this, &MPageSetupDlg::doMarginChanged);
        m_tabs->addTab(page, tr("Marginesy"));
    } else {
        preview->setObjectName(QStringLiteral("envelopePreview"));
        m_envelopePreview = preview;
        drawEnvelopeWindow();
        for (QSpinBox* field : fields)
            connect(field, QOverload<int>::of(&QSpinBox::valueChanged), this,
                    &MPageSetupDlg::doEnvelopeWindowChanged);
        m_tabs->addTab(page, tr("Okienko"));
    }
}

void MPageSetupDlg::drawMargins()
{
    m_marginsPreview->setPixmap(drawnSheet(QRect(), m_marginLeft->value(), m_marginTop->value(),
                                           m_marginRight->value(), 298 - m_marginBottom->value()));
}

void MPageSetupDlg::drawEnvelopeWindow()
{
    const int left = m_envelopeLeft->value();
    const int top = m_envelopeTop->value();
    const int right = m_envelopeRight->value();
    const int height = m_envelopeHeight->value();
    const QRect window(QPoint(left, top), QPoint(210 - right, top + height - 1));
    m_envelopePreview->setPixmap(drawnSheet(window, left, top, right, top + height));
}

void MPageSetupDlg::clickOk(bool /*b*/)
{
    const QString margins = QString::number(m_marginLeft->value()) + QLatin1Char(';')
                            + QString::number(m_marginTop->value()) + QLatin1Char(';')
                            + QString::number(m_marginRight->value()) + QLatin1Char(';')
                            + QString::number(m_marginBottom->value());
    const QString envelope = MEnvelopeWindow::text(
        {m_envelopeLeft->value(), m_envelopeTop->value(), m_envelopeRight->value(), m_envelopeHeight->value()});
    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), margins);
    MOptions::setOption(QStringLiteral("ENVELOPE_WINDOW_MARGINS"), envelope);
    if (qobject_cast<MAppServices*>(parentWidget()))
        MPrinterMargins::load();
    done(0);
}

void MPageSetupDlg::clickCancel(bool /*b*/)
{
    done(0);
}

void MPageSetupDlg::doMarginChanged(int /*i*/)
{
    drawMargins();
}

void MPageSetupDlg::doEnvelopeWindowChanged(int /*i*/)
{
    drawEnvelopeWindow();
}
