#include "MGenerateDlg.h"

#include "printing/MDocTemplate.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

MGenerateDlg::MGenerateDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setFixedWidth(350);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);

    m_label = new QLabel(QString(), this);
    m_label->setAlignment(Qt::AlignJustify);
    layout->addWidget(m_label, 0, 0);
    layout->setRowMinimumHeight(1, 10);

    auto* stopButton = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("Zatrzymaj"), this);
    stopButton->setFixedSize(100, 25);
    layout->addWidget(stopButton, 2, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    connect(stopButton, &QPushButton::clicked, this, &MGenerateDlg::clickStop);
}

void MGenerateDlg::setText(QString text)
{
    m_label->setText(text);
    m_label->update();
    m_label->repaint();
    update();
    repaint();
}

void MGenerateDlg::setPageText(const QString& message, int page)
{
    m_pageMessage = message;
    m_pageShown = page;
    setText(message + QLatin1Char(' ') + QString::number(page) + QLatin1Char('.'));
}

void MGenerateDlg::showPage(int page)
{
    if (page > m_pageShown)
        setPageText(m_pageMessage, page);
}

void MGenerateDlg::setDocTemplate(MDocTemplate* docTemplate)
{
    m_docTemplate = docTemplate;
}

void MGenerateDlg::clickStop(bool)
{
    if (m_docTemplate)
        m_docTemplate->setDocAborted(true);
    done(0);
}
