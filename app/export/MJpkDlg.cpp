#include "export/MJpkDlg.h"

#include "data/MJpkSeller.h"
#include "data/MOptions.h"
#include "views/MFileDialog.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVariant>
#include <QSqlQueryModel>
#include <QStringList>

#include <algorithm>

namespace {

const Qt::Alignment leftTop = Qt::AlignLeft | Qt::AlignTop;
// The grid row between the period fields and the note.
const int noteGapRow = 14;

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFixedWidth(500);
    label->setWordWrap(true);
    label->hide();
    return label;
}

QDateEdit* dateEdit(QWidget* parent)
{
    auto* edit = new QDateEdit(parent);
    edit->setFixedWidth(155);
    edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    edit->setCalendarPopup(true);
    edit->calendarWidget()->setGridVisible(true);
    return edit;
}

} // namespace

MJpkDlg::MJpkDlg(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    createForm();
}

QLabel* MJpkDlg::boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

void MJpkDlg::createForm()
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(5, 5, 5, 5);
    m_grid->setSpacing(0);

    m_redHeader = wrappedLabel(tr("Uzupełnij wymagane dane:"), this);
    QFont bold = m_redHeader->font();
    bold.setBold(true);
    m_redHeader->setFont(bold);
    m_redHeader->setStyleSheet(QStringLiteral("color: #f00000;"));
    m_fullSellerLine = wrappedLabel(tr("- dane sprzedawcy (NIP, nazwa firmy, REGON, województwo, powiat, gmina, ulica, "
                                       "numer domu, miejscowość, kod pocztowy, poczta)"),
                                    this);
    m_shortSellerLine = wrappedLabel(tr("- dane sprzedawcy (NIP, nazwa firmy)"), this);
    m_officeLine = wrappedLabel(tr("- kod urzędu skarbowego"), this);
    m_spacer = wrappedLabel(QStringLiteral(" "), this);
    m_grid->addWidget(m_redHeader, 0, 0, leftTop);
    m_grid->addWidget(m_fullSellerLine, 1, 0, leftTop);
    m_grid->addWidget(m_shortSellerLine, 2, 0, leftTop);
    m_periodLine = wrappedLabel(QString(), this);
    auto* lastLines = new QWidget(this);
    auto* lastLinesLayout = new QVBoxLayout(lastLines);
    lastLinesLayout->setContentsMargins(0, 0, 0, 0);
    lastLinesLayout->setSpacing(0);
    lastLinesLayout->addWidget(m_officeLine);
    lastLinesLayout->addWidget(m_periodLine);
    m_grid->addWidget(lastLines, 3, 0, leftTop);
    m_grid->addWidget(m_spacer, 4, 0, leftTop);

    m_grid->setRowMinimumHeight(6, 5);
    m_grid->addWidget(boldLabel(tr("Dane sprzedawcy"), this), 7, 0, leftTop);
    m_grid->setRowMinimumHeight(8, 1);
    m_sellerList = new QComboBox(this);
    m_sellerList->setObjectName(QStringLiteral("seller"));
    m_sellerList->setFixedWidth(500);
    m_grid->addWidget(m_sellerList, 9, 0, leftTop);
    m_grid->setRowMinimumHeight(10, 5);

    m_officeGroup = new QWidget(this);
    auto* office = new QGridLayout(m_officeGroup);
    office->setContentsMargins(0, 0, 0, 0);
    office->setSpacing(0);
    office->addWidget(boldLabel(tr("Wpisz kod urzędu skarbowego lub wybierz urząd z listy"), m_officeGroup), 0, 0, 1, 3,
                      leftTop);
    office->setRowMinimumHeight(1, 1);
    m_financialOfficeCode = new QLineEdit(m_officeGroup);
    m_financialOfficeCode->setObjectName(QStringLiteral("financial_office_code"));
    m_financialOfficeCode->setFixedWidth(100);
    office->addWidget(m_financialOfficeCode, 2, 0, leftTop);
    office->setColumnMinimumWidth(1, 10);
    m_financialOffice = new QComboBox(m_officeGroup);
    m_financialOffice->setObjectName(QStringLiteral("financial_office_static"));
    m_financialOffice->setFixedWidth(390);
    auto* offices = new QSqlQueryModel(m_financialOffice);
    offices->setQuery(QStringLiteral("SELECT '' AS name, '', '' UNION SELECT name, code, city "
                                     "FROM financial_office_static ORDER BY city, code"));
    while (offices->canFetchMore())
        offices->fetchMore();
    m_financialOffice->setModel(offices);
    office->addWidget(m_financialOffice, 2, 2, leftTop);
    m_grid->addWidget(m_officeGroup, 11, 0, leftTop);
    m_grid->setRowMinimumHeight(12, 5);

    auto* period = new QWidget(this);
    auto* periodLayout = new QGridLayout(period);
    periodLayout->setContentsMargins(0, 0, 0, 0);
    periodLayout->setSpacing(0);
    periodLayout->addWidget(boldLabel(tr("Data od"), period), 0, 0, leftTop);
    periodLayout->setColumnMinimumWidth(1, 10);
    periodLayout->addWidget(boldLabel(tr("Data do"), period), 0, 2, leftTop);
    periodLayout->setRowMinimumHeight(1, 1);
    m_dateFrom = dateEdit(period);
    m_dateFrom->setObjectName(QStringLiteral("date_from"));
    m_dateTo = dateEdit(period);
    m_dateTo->setObjectName(QStringLiteral("date_to"));
    periodLayout->addWidget(m_dateFrom, 2, 0, leftTop);
    periodLayout->addWidget(m_dateTo, 2, 2, leftTop);
    m_grid->addWidget(period, 13, 0, leftTop);
    m_grid->setRowMinimumHeight(noteGapRow, 5);

    m_note = new QLabel(this);
    m_note->setFixedWidth(500);
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::RichText);
    m_grid->addWidget(m_note, 15, 0, leftTop);
    m_grid->setRowMinimumHeight(16, 10);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(5);
    m_ok = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("OK"), this);
    m_cancel = new QPushButton(QIcon(QStringLiteral(":/resource/cancel_btn_16_16.png")), tr("Anuluj"), this);
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setFixedSize(70, 25);
        buttons->addWidget(button);
    }
    m_grid->addLayout(buttons, 17, 0, Qt::AlignRight | Qt::AlignBottom);

    connect(m_ok, &QPushButton::clicked, this, &MJpkDlg::clickOk);
    connect(m_cancel, &QPushButton::clicked, this, &MJpkDlg::clickCancel);
    connect(m_sellerList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MJpkDlg::doCurrentIndexChangedSellerBase);
    connect(m_financialOffice, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MJpkDlg::doCurrentIndexChangedFinancialOfficeStatic);
    connect(m_financialOfficeCode, &QLineEdit::editingFinished, this, &MJpkDlg::doEditingFinishedFinancialOfficeCode);
    for (QDateEdit* edit : {m_dateFrom, m_dateTo})
        connect(edit, &QDateEdit::dateChanged, this, &MJpkDlg::checkRequiredData);
}

QGridLayout* MJpkDlg::gridLayout() const
{
    return m_grid;
}

void MJpkDlg::setNoteGap(int pixels)
{
    m_grid->setRowMinimumHeight(noteGapRow, pixels);
}

void MJpkDlg::setNoteText(const QString& html)
{
    m_note->setText(html);
    // The grid gives an aligned label the height of its unwrapped text; at large font
    // sizes the wrapped note's last line would be cut off.
    m_note->setMinimumHeight(m_note->heightForWidth(m_note->width()));
}

const QList<int>& MJpkDlg::idsSelected() const
{
    return m_ids;
}

int MJpkDlg::idSellerBase() const
{
    return m_sellerList->currentData().toInt();
}

QDate MJpkDlg::dateFrom() const
{
    return m_dateFrom->date();
}

QDate MJpkDlg::dateTo() const
{
    return m_dateTo->date();
}

QString MJpkDlg::financialOfficeCode() const
{
    return m_financialOfficeCode->text();
}

QDate MJpkDlg::lastIssueDate() const
{
    return m_lastDate;
}

void MJpkDlg::setIdsSelected(const QList<int>& ids)
{
    if (!ids.isEmpty()) {
        m_ids = ids;
        QStringList idTexts;
        for (int id : ids)
            idTexts << QString::number(id);
        QSqlQuery query;
        query.exec(QStringLiteral("SELECT i.id, i.id_seller_base, i.date_put FROM invoice i WHERE i.id IN (")
                   + idTexts.join(QLatin1Char(',')) + QStringLiteral(")"));
        while (query.next()) {
            m_sellers.insert(query.value(1).toInt(), true);
            const QDate date = QDate::fromString(query.value(2).toString().left(10), QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid())
                continue;
            if (m_firstDate.isNull() || date < m_firstDate)
                m_firstDate = date;
            if (m_lastDate.isNull() || date > m_lastDate)
                m_lastDate = date;
        }

        QStringList sellerTexts;
        for (int id : m_sellers.keys())
            sellerTexts << QString::number(id);
        QSqlQuery sellers;
        sellers.exec(QStringLiteral("SELECT id || '. ' || firm, id FROM seller WHERE id IN (")
                     + sellerTexts.join(QLatin1Char(',')) + QStringLiteral(") ORDER BY id"));
        while (sellers.next())
            m_sellerList->addItem(sellers.value(0).toString(), sellers.value(1));
        if (m_sellerList->count() > 0)
            m_sellerList->setCurrentIndex(0);

        if (m_firstDate.isValid())
            m_dateFrom->setDate(m_firstDate);
        if (m_lastDate.isValid())
            m_dateTo->setDate(m_lastDate);
    }
    checkRequiredData();
}

void MJpkDlg::checkRequiredData()
{
    const int idSeller = idSellerBase();
    bool fullSeller = true;
    bool shortSeller = true;
    bool officeCode = true;
    if (idSeller > 0) {
        const MJpkSeller seller = MJpkSeller::load(idSeller);
        if (seller.found) {
            shortSeller = seller.hasShortData();
            fullSeller = seller.hasFullData();
        }
        officeCode = !m_financialOfficeCode->text().isEmpty();
    }
    const bool variant2 = checkedVariant() == 2;
    const MJpkDates dates = schemaDates();
    const bool period = dates.acceptsPeriod(dateFrom(), dateTo());
    const bool complete = (variant2 ? fullSeller && officeCode : shortSeller) && period;

    // Without a seller the file would have no taxpayer.
    m_ok->setEnabled(complete && idSeller > 0);
    m_redHeader->setVisible(!complete);
    m_spacer->setVisible(!complete);
    m_fullSellerLine->setVisible(variant2 && !fullSeller);
    m_shortSellerLine->setVisible(!variant2 && !shortSeller);
    m_officeLine->setVisible(variant2 && !officeCode);
    m_periodLine->setText(tr("- okres %1 (innych dat schemat pliku nie przyjmuje)").arg(dates.periodBoundsText()));
    m_periodLine->setVisible(!period);
    m_officeGroup->setVisible(variant2);
    afterCheck();
}

void MJpkDlg::afterCheck()
{
    adjustSize();
}

void MJpkDlg::doCurrentIndexChangedSellerBase(int /*index*/)
{
    const int idSeller = idSellerBase();
    if (idSeller > 0) {
        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT financial_office_code FROM seller WHERE id = :id"));
        query.bindValue(QStringLiteral(":id"), idSeller);
        if (query.exec() && query.next())
            m_financialOfficeCode->setText(query.value(0).toString());
    }
    doEditingFinishedFinancialOfficeCode();
    checkRequiredData();
}

void MJpkDlg::doCurrentIndexChangedFinancialOfficeStatic(int /*index*/)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT code FROM financial_office_static WHERE name = :name"));
    query.bindValue(QStringLiteral(":name"), m_financialOffice->currentText());
    if (!m_financialOffice->currentText().isEmpty() && query.exec() && query.next())
        m_financialOfficeCode->setText(query.value(0).toString());
    checkRequiredData();
}

void MJpkDlg::doEditingFinishedFinancialOfficeCode()
{
    const QString code = m_financialOfficeCode->text();
    int index = -1;
    if (!code.isEmpty()) {
        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT name FROM financial_office_static WHERE code = :code"));
        query.bindValue(QStringLiteral(":code"), code);
        if (query.exec() && query.next())
            index = m_financialOffice->findText(query.value(0).toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    m_financialOffice->setCurrentIndex(index);
    checkRequiredData();
}

QString MJpkDlg::startFolder() const
{
    const QString stored = MOptions::option(QStringLiteral("EXPORT_JPK_PATH"));
    if (!stored.isEmpty() && QDir(stored).exists())
        return stored;
    if (QDir(QStringLiteral("export")).exists())
        return QStringLiteral("export");
    return QString();
}

void MJpkDlg::clickOk(bool /*checked*/)
{
    QString fileName = MFileDialog::getSaveFileName(this, fileCaption(), startFolder(), QStringLiteral("*.xml"));
    if (fileName.isEmpty()) {
        done(0);
        return;
    }
    MOptions::setOption(QStringLiteral("EXPORT_JPK_PATH"), QFileInfo(fileName).absolutePath());
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".xml");
    writeFiles(fileName);
    done(0);
}

void MJpkDlg::clickCancel(bool /*checked*/)
{
    done(0);
}
