#include "MAboutDlg.h"

#include "data/MProgramVersion.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const char productSite[] = "https://morva.example/";
const char makersSite[] = "https://morva.example/firma";

QLabel* linkLabel(const QString& address, const QString& toolTip, QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color: #0000f0;\">%1</a>").arg(address), parent);
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(true);
    label->setToolTip(toolTip);
    return label;
}

} // namespace

MAboutDlg::MAboutDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setWindowTitle(tr("O programie"));
    setFixedWidth(350);

    auto* okButton = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("OK"), this);
    okButton->setFixedSize(70, 25);
    connect(okButton, &QPushButton::clicked, this, &MAboutDlg::clickOk);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/resource/about.png")));

    auto* name = new QLabel(QStringLiteral("<b>morva FAKTURY</b><br>") + tr("Wersja") + QLatin1Char(' ')
                                + MProgramVersion::versionText(),
                            this);
    name->setTextFormat(Qt::RichText);

    QLabel* productLink = linkLabel(QLatin1String(productSite), tr("Otwiera stronę produktów morva"), this);

    auto* notice = new QLabel(tr("<br>Zespół morva, 2013–2025"), this);
    notice->setTextFormat(Qt::RichText);

    QLabel* makersLink = linkLabel(QLatin1String(makersSite), tr("Otwiera stronę producenta"), this);

    auto* text = new QGridLayout;
    text->setContentsMargins(0, 0, 0, 0);
    text->setSpacing(0);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    text->addWidget(name, 0, 0, topLeft);
    text->addWidget(productLink, 1, 0, topLeft);
    text->addWidget(notice, 2, 0, topLeft);
    text->addWidget(makersLink, 3, 0, topLeft);
    text->addWidget(okButton, 4, 0, Qt::AlignRight | Qt::AlignBottom);
    text->setColumnStretch(0, 1);
    text->setRowStretch(1, 1);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(picture, 0, 0, topLeft);
    layout->setColumnMinimumWidth(1, 5);
    layout->addLayout(text, 0, 2);
}

void MAboutDlg::clickOk(bool /*checked*/)
{
    done(0);
}
