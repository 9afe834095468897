#include "MDoYouKnowWidget.h"

#include "data/MOptions.h"
#include "views/MListFont.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QXmlStreamReader>

namespace {

QPushButton* arrowButton(const QString& icon, const QString& toolTip, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFlat(true);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(22, 40));
    button->setFixedSize(32, 50);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

MDoYouKnowWidget::MDoYouKnowWidget(QWidget* parent)
    : QWidget(parent)
{
    QPushButton* prevButton = arrowButton(
        QStringLiteral(":/resource/prev_btn_22_40.png"),
        tr("<p>Kliknij aby przeczytać poprzedni tekst okna porady i podpowiedzi</p>"), QStringLiteral("prevButton"),
        this);
    connect(prevButton, &QPushButton::clicked, this, &MDoYouKnowWidget::clickPrev);

    QPushButton* nextButton = arrowButton(
        QStringLiteral(":/resource/next_btn_22_40.png"),
        tr("<p>Kliknij aby przeczytać następny tekst okna porady i podpowiedzi</p>"), QStringLiteral("nextButton"),
        this);
    connect(nextButton, &QPushButton::clicked, this, &MDoYouKnowWidget::clickNext);

    m_textLabel = new QLabel(this);
    m_textLabel->setWordWrap(true);
    m_textLabel->setStyleSheet(QStringLiteral("QWidget { background-color: #fffff0; border: 5px solid #fffff0; }"));

    readTips();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(prevButton, 0, 0);
    layout->addWidget(m_textLabel, 0, 1);
    layout->addWidget(nextButton, 0, 2);

    setToolTip(tr("<p><b>PORADY I PODPOWIEDZI</b></p>"
                  "<p><b>Strzałki po obu stronach</b> pozwalają na przeglądanie kolejnych treści.</p>"
                  "<p>To okno można zamknąć w menu <b>Pomoc &gt; Porady i podpowiedzi</b>.</p>"
                  "<p>Ustawienia tego okna można zmienić w opcjach w zakładce <b>Porady</b>.</p>"));

    m_timer = new QTimer(this);
}

void MDoYouKnowWidget::readTips()
{
    QFile file(QStringLiteral(":/resource/do_you_know.xml"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;

    QXmlStreamReader xml(&file);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("item")
            || !xml.attributes().hasAttribute(QStringLiteral("id")))
            continue;
        const int id = xml.attributes().value(QStringLiteral("id")).toInt();
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        if (id > 0 && !text.isEmpty()) {
            m_ids.insert(m_ids.size(), id);
            m_tips.insert(id, text);
        }
    }
}

QString MDoYouKnowWidget::tipText(int id) const
{
    return id < 1 ? QString() : m_tips.value(id);
}

void MDoYouKnowWidget::showTip()
{
    if (m_position >= m_ids.size() || !m_ids.contains(m_position))
        return;
    const int id = m_ids.value(m_position);
    if (id < 0 || tipText(id).isEmpty())
        return;

    m_textLabel->setText(tipHtml(id));
    MOptions::setOption(QStringLiteral("DO_YOU_KNOW_LAST_ID"), QString::number(id));
}

QString MDoYouKnowWidget::tipHtml(int id) const
{
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" border=\"0\"><tr>"
                          "<td valign=\"middle\" style=\"padding-right: 10px; color: #c0c0c0; font-weight: bold; "
                          "font-size: %1pt;\">%2/%3</td>"
                          "<td width=\"1\" style=\"background-color: #c0c0c0;\"><img src=\":/resource/pixel.gif\" "
                          "width=\"1\" height=\"1\"></td>"
                          "<td style=\"padding-left: 10px;\">%4</td></tr></table>")
        .arg(listFontSize() + 5)
        .arg(id)
        .arg(m_ids.size())
        .arg(tipText(id));
}

void MDoYouKnowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitHeightToTallestTip();
}

// The strip keeps the height of its tallest tip at the present width, so that the
// lists above it do not jump each time a tip of another length turns up.
void MDoYouKnowWidget::fitHeightToTallestTip()
{
    const int width = m_textLabel->width();
    if (width == m_fittedWidth)
        return;
    m_fittedWidth = width;
    QLabel probe;
    probe.setWordWrap(true);
    probe.setStyleSheet(m_textLabel->styleSheet());
    probe.setFont(m_textLabel->font());
    probe.ensurePolished();
    int tallest = 0;
    for (const int id : qAsConst(m_ids)) {
        probe.setText(tipHtml(id));
        tallest = qMax(tallest, probe.heightForWidth(width));
    }
    m_textLabel->setFixedHeight(tallest);
}

void MDoYouKnowWidget::applyOptions()
{
    const int last = MOptions::option(QStringLiteral("DO_YOU_KNOW_LAST_ID")).toInt();
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it) {
        if (it.value() > 0 && it.value() == last)
            m_position = it.key();
    }
    if (m_position >= m_ids.size())
        m_position = 0;

    if (MOptions::option(QStringLiteral("SHOW_DO_YOU_KNOW")).toInt() == 1) {
        show();
        const int period = MOptions::option(QStringLiteral("DO_YOU_KNOW_SPEED")).toInt() * 1000;
        if (period != m_period) {
            m_period = period;
            restartTimer();
        }
    } else {
        hide();
        m_period = 0;
        restartTimer(); // without a period it only stops the timer
    }
    showTip();
}

void MDoYouKnowWidget::restartTimer()
{
    disconnect(m_timer, &QTimer::timeout, this, &MDoYouKnowWidget::doTimeoutTimerPreview);
    m_timer->stop();
    if (m_period > 1000) {
        connect(m_timer, &QTimer::timeout, this, &MDoYouKnowWidget::doTimeoutTimerPreview);
        m_timer->start(m_period);
    }
}

void MDoYouKnowWidget::step(int delta)
{
    if (m_ids.isEmpty())
        return;
    m_position = (m_position + delta + m_ids.size()) % m_ids.size();
}

void MDoYouKnowWidget::clickPrev(bool /*checked*/)
{
    step(-1);
    showTip();
    restartTimer();
}

void MDoYouKnowWidget::clickNext(bool /*checked*/)
{
    step(1);
    showTip();
    restartTimer();
}

void MDoYouKnowWidget::doTimeoutTimerPreview()
{
    step(1);
    showTip();
}
