#include "printing/MFilterRegisterView.h"

#include "data/MOptions.h"
#include "data/MRegisterData.h"
#include "views/MDateEdit.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

const char* const registerViewName = "MInvoiceRegisterView";
const char* const optionDateFromKey = "FILTER_INVOICE_REGISTER_DATE_FROM";
const char* const optionDateToKey = "FILTER_INVOICE_REGISTER_DATE_TO";
const char* const optionSellerBaseKey = "FILTER_INVOICE_REGISTER_ID_SELLER_BASE";
const char* const optionSellerBaseDocKey = "FILTER_INVOICE_REGISTER_ID_SELLER_BASE_DOC";
const int panelWidth = 250;

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    return new QLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), parent);
}

QDateEdit* dateEdit(QWidget* parent)
{
    return MDateEdit::create(parent, panelWidth);
}

} // namespace

MFilterRegisterView::MFilterRegisterView(QWidget* parent)
    : QWidget(parent)
    , m_dateFrom(QDate::currentDate())
    , m_datePrint(QDate::currentDate())
    , m_dateTo(QDate::currentDate())
{
}

bool MFilterRegisterView::keepsOptions() const
{
    return parentWidget() && parentWidget()->accessibleName() == QLatin1String(registerViewName);
}

QString MFilterRegisterView::storedOption(const QString& key) const
{
    return keepsOptions() ? MOptions::option(key) : QString();
}

void MFilterRegisterView::storeOption(const QString& key, const QString& value)
{
    if (keepsOptions())
        MOptions::setOption(key, value);
}

QDate MFilterRegisterView::storedDate(const QString& key) const
{
    const QDate date = QDate::fromString(storedOption(key), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date : QDate::currentDate();
}

QDate MFilterRegisterView::optionDateFrom() const
{
    return storedDate(QLatin1String(optionDateFromKey));
}

QDate MFilterRegisterView::optionDateTo() const
{
    return storedDate(QLatin1String(optionDateToKey));
}

int MFilterRegisterView::optionIdSellerBase() const
{
    return storedOption(QLatin1String(optionSellerBaseKey)).toInt();
}

QStringList MFilterRegisterView::optionIdSellerBaseDoc() const
{
    if (!keepsOptions())
        return QStringList();
    const QString text = storedOption(QLatin1String(optionSellerBaseDocKey));
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

void MFilterRegisterView::saveDateFrom()
{
    storeOption(QLatin1String(optionDateFromKey), m_dateFromEdit->date().toString(QStringLiteral("yyyy-MM-dd")));
}

void MFilterRegisterView::saveDateTo()
{
    storeOption(QLatin1String(optionDateToKey), m_dateToEdit->date().toString(QStringLiteral("yyyy-MM-dd")));
}

void MFilterRegisterView::saveIdSellerBase()
{
    storeOption(QLatin1String(optionSellerBaseKey),
                QString::number(comboSellerId(m_sellerBaseCombo->currentIndex())));
}

void MFilterRegisterView::saveIdSellerBaseDoc()
{
    QStringList checked;
    const QAbstractItemModel* model = m_sellerDocList->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data(ItemRole::State).toInt() == CheckItemState::Checked)
            checked << index.data(ItemRole::Value).toString();
    }
    m_idSellerBaseDoc = checked;
    storeOption(QLatin1String(optionSellerBaseDocKey), checked.join(QLatin1Char(',')));
}

int MFilterRegisterView::comboSellerId(int row) const
{
    const QAbstractItemModel* model = m_sellerBaseCombo->model();
    return model->index(row, 1).data().toInt();
}

void MFilterRegisterView::initWidget()
{
    auto* sellerBaseLabel = boldLabel(tr("Sprzedawca (dane do nagłówka)"), this);
    auto* sellerDocLabel = boldLabel(tr("Sprzedawcy (dane dokumentów)"), this);
    auto* dateFromLabel = boldLabel(tr("Data początkowa"), this);
    auto* dateToLabel = boldLabel(tr("Data końcowa"), this);
    auto* datePrintLabel = boldLabel(tr("Data wydruku"), this);
    auto* currencyNote = new QLabel(tr("Faktury walutowe nie są jeszcze uwzględniane."), this);
    currencyNote->setWordWrap(true);
    currencyNote->setFixedWidth(panelWidth);

    m_sellerBaseCombo = new QComboBox(this);
    m_sellerBaseCombo->setFixedWidth(panelWidth);
    auto* sellerBaseModel = new QSqlQueryModel(m_sellerBaseCombo);
    sellerBaseModel->setQuery(QStringLiteral(
        "SELECT '' AS firm, 0 AS id UNION SELECT id || '. ' || firm, id FROM seller ORDER BY id"));
    while (sellerBaseModel->canFetchMore())
        sellerBaseModel->fetchMore();
    m_sellerBaseCombo->setModel(sellerBaseModel);
    m_sellerBaseCombo->setModelColumn(0);
    m_sellerBaseCombo->setCurrentIndex(0);

    m_idSellerBaseDoc = optionIdSellerBaseDoc();

    m_sellerDocList = new QListView(this);
    m_sellerDocList->setFixedSize(panelWidth, 110);
    m_sellerDocList->setSpacing(3);
    auto* sellerDocModel = new MSelectListModel(m_sellerDocList);
    QSqlQuery sellers;
    sellers.exec(QStringLiteral("SELECT firm, id FROM seller ORDER BY id"));
    while (sellers.next()) {
        const QString id = sellers.value(1).toString();
        auto* item = new QStandardItem(id + QStringLiteral(". ") + sellers.value(0).toString());
        item->setData(m_idSellerBaseDoc.contains(id) ? CheckItemState::Checked : CheckItemState::Unchecked,
                      ItemRole::State);
        item->setData(sellers.value(1), ItemRole::Value);
        sellerDocModel->appendRow(item);
    }
    m_sellerDocList->setModel(sellerDocModel);
    connect(m_sellerDocList, &QListView::clicked, sellerDocModel, &MSelectListModel::itemClicked);

    m_dateFromEdit = dateEdit(this);
    m_dateToEdit = dateEdit(this);
    m_datePrintEdit = dateEdit(this);
    connect(m_dateFromEdit, &QDateEdit::dateChanged, this, &MFilterRegisterView::doDateChangedDateFrom);
    connect(m_dateToEdit, &QDateEdit::dateChanged, this, &MFilterRegisterView::doDateChangedDateTo);
    connect(m_datePrintEdit, &QDateEdit::dateChanged, this, &MFilterRegisterView::doDateChangedDatePrint);

    m_showButton = new QPushButton(QIcon(QStringLiteral(":/resource/refresh_btn_16_16.png")), tr("Pokaż"), this);
    m_showButton->setFixedSize(100, 25);
    connect(m_showButton, &QPushButton::clicked, this, &MFilterRegisterView::doClickedRefresh);

    m_idSellerBase = optionIdSellerBase();
    if (m_idSellerBase > 0) {
        for (int row = 0; row < sellerBaseModel->rowCount(); ++row) {
            if (comboSellerId(row) == m_idSellerBase) {
                m_sellerBaseCombo->setCurrentIndex(row);
                break;
            }
        }
    }

    m_dateFrom = optionDateFrom();
    m_dateFromEdit->setDate(m_dateFrom);
    m_dateTo = optionDateTo();
    m_dateToEdit->setDate(m_dateTo);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    QWidget* const rows[] = {sellerBaseLabel, m_sellerBaseCombo, sellerDocLabel, m_sellerDocList,
                             dateFromLabel, m_dateFromEdit, dateToLabel, m_dateToEdit,
                             datePrintLabel, m_datePrintEdit, currencyNote, m_showButton};
    // Each widget follows a gap row: 1 pixel below a label, 5 between groups,
    // 10 around the note.
    const int gapsAfter[] = {1, 5, 1, 5, 1, 5, 1, 5, 1, 10, 10};
    int row = 0;
    for (int i = 0; i < 12; ++i) {
        layout->addWidget(rows[i], row++, 0, topLeft);
        if (i < 11)
            layout->setRowMinimumHeight(row++, gapsAfter[i]);
    }
    layout->setRowStretch(row, 100);

    connect(m_sellerBaseCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MFilterRegisterView::doCurrentIndexChangedSellerBase);
}

void MFilterRegisterView::doClickedRefresh(bool)
{
    if (keepsOptions())
        QMetaObject::invokeMethod(parentWidget(), "reloadView");
}

void MFilterRegisterView::doCurrentIndexChangedSellerBase(int)
{
    m_idSellerBase = comboSellerId(m_sellerBaseCombo->currentIndex());
}

void MFilterRegisterView::doDateChangedDateFrom(const QDate& date)
{
    m_dateFrom = date;
}

void MFilterRegisterView::doDateChangedDateTo(const QDate& date)
{
    m_dateTo = date;
}

void MFilterRegisterView::doDateChangedDatePrint(const QDate& date)
{
    m_datePrint = date;
}

QDate MFilterRegisterView::dateFrom() const
{
    return m_dateFrom;
}

QDate MFilterRegisterView::dateTo() const
{
    return m_dateTo;
}

QDate MFilterRegisterView::datePrint() const
{
    return m_datePrint;
}

int MFilterRegisterView::idSellerBase() const
{
    return m_idSellerBase;
}

int MFilterRegisterView::buildRegisterData()
{
    saveIdSellerBase();
    saveIdSellerBaseDoc();
    saveDateFrom();
    saveDateTo();
    return MRegisterData::build(m_dateFromEdit->date(), m_dateToEdit->date(), m_idSellerBaseDoc);
}
