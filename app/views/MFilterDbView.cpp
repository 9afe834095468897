#include "MFilterDbView.h"

#include "data/MOptions.h"
#include "views/ItemDelegateCatalogListView.h"
#include "views/ItemDelegateFilterTreeView.h"
#include "views/MHelpButton.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"
#include "views/MSqlQueryTreeModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace {

// What the panel offers each owner, by the owner's accessible name.
struct OwnerKind
{
    const char* name;
    const char* suffix;
    bool catalogs;
    bool filterTree;
};

const OwnerKind ownerKinds[] = {
    {"MBuyerDbView", "BUYER_DB_VIEW", true, true},
    {"MSellerDbView", "SELLER_DB_VIEW", false, true},
    {"MProductDbView", "PRODUCT_DB_VIEW", true, true},
    {"MEndTextDbView", "ENDTEXT_DB_VIEW", false, false},
    {"MCurrencyRatingDbView", "CURRENCY_RATING_DB_VIEW", false, true},
    {"MInvoiceDbView_Sell", "INVOICE_SELL_DB_VIEW", false, true},
    {"MInvoiceDbView_Buy", "INVOICE_BUY_DB_VIEW", false, true},
};

const OwnerKind* ownerKind(const QWidget* owner)
{
    const QString name = owner ? owner->accessibleName() : QString();
    for (const OwnerKind& kind : ownerKinds)
        if (name == QLatin1String(kind.name))
            return &kind;
    return nullptr;
}

const QColor storedSearchColor(255, 255, 159);

const QString catalogAddKey = QStringLiteral("CATALOG_ADD");
const QString catalogEditKey = QStringLiteral("CATALOG_EDIT");
const QString catalogDeleteKey = QStringLiteral("CATALOG_DELETE");
const QString catalogCheckAllKey = QStringLiteral("CATALOG_CHECK_ALL");
const QString catalogUncheckAllKey = QStringLiteral("CATALOG_UNCHECK_ALL");

// A switch with its help button, or any other row of widgets, side by side.
QWidget* rowWidget(QWidget* parent, const QList<QWidget*>& widgets, int spacing)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < widgets.size(); ++i) {
        if (i > 0)
            layout->addSpacing(spacing);
        layout->addWidget(widgets.at(i));
    }
    return row;
}

QCheckBox* sectionSwitch(const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return box;
}

MHelpButton* helpButton(const QString& text, QWidget* parent)
{
    auto* button = new MHelpButton(parent);
    button->setHelpText(text);
    return button;
}

} // namespace

MFilterDbView::MFilterDbView(QWidget* parent)
    : QWidget(parent)
    , m_owner(parent)
    , m_enabledActionsTimer(new QTimer(this))
{
}

MFilterDbView::~MFilterDbView()
{
    m_enabledActionsTimer->stop();
}

QString MFilterDbView::optionSuffix() const
{
    const OwnerKind* kind = ownerKind(m_owner);
    return kind ? QString::fromLatin1(kind->suffix) : QString();
}

bool MFilterDbView::hasCatalogs() const
{
    const OwnerKind* kind = ownerKind(m_owner);
    return kind && kind->catalogs;
}

bool MFilterDbView::hasFilterTree() const
{
    const OwnerKind* kind = ownerKind(m_owner);
    return kind && kind->filterTree;
}

bool MFilterDbView::isSalesList() const
{
    return m_owner && m_owner->accessibleName() == QLatin1String("MInvoiceDbView_Sell");
}

bool MFilterDbView::isPurchaseList() const
{
    return m_owner && m_owner->accessibleName() == QLatin1String("MInvoiceDbView_Buy");
}

QString MFilterDbView::storedOption(const QString& family) const
{
    const QString suffix = optionSuffix();
    return suffix.isEmpty() ? QString() : MOptions::option(family + suffix);
}

void MFilterDbView::storeOption(const QString& family, const QString& value) const
{
    const QString suffix = optionSuffix();
    if (!suffix.isEmpty())
        MOptions::setOption(family + suffix, value);
}

MTableView* MFilterDbView::ownerTableView() const
{
    MTableView* table = nullptr;
    if (ownerKind(m_owner))
        QMetaObject::invokeMethod(m_owner, "tableView", Qt::DirectConnection, Q_RETURN_ARG(MTableView*, table));
    return table;
}

QString MFilterDbView::searchText() const
{
    return m_searchSwitch && m_searchSwitch->isChecked() ? m_searchField->text() : QString();
}

int MFilterDbView::searchColumn() const
{
    return m_searchColumn;
}

QString MFilterDbView::catalogUnchecked() const
{
    return m_catalogUnchecked;
}

QString MFilterDbView::filterTreeUnchecked() const
{
    return m_filterTreeUnchecked;
}

int MFilterDbView::selectedCatalogId() const
{
    if (!m_catalogList || !m_catalogModel || !m_catalogList->selectionModel())
        return -1;
    const QModelIndexList selected = m_catalogList->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return -1;
    int row = selected.first().row();
    for (const QModelIndex& index : selected)
        row = qMin(row, index.row());
    return m_catalogModel->index(row, 0).data(ItemRole::Value).toInt();
}

void MFilterDbView::contextMenuEvent(QContextMenuEvent* /*event*/)
{
}

void MFilterDbView::initWidget()
{
    setLayout(new QGridLayout);

    m_searchSwitch = sectionSwitch(tr("Szukaj"), this);
    MHelpButton* searchHelp = helpButton(
        tr("<b><u>Szukaj:</u></b><br><b>1.</b> Wpisz szukaną frazę oraz wybierz z listy poniżej wśród jakich "
           "danych ma być wyszukiwana.<br><b>2.</b> Po wpisaniu frazy należy kliknąć przycisk "
           "<b>Odśwież</b>.<br><b>3.</b> Wyszukiwanie można włączyć lub wyłączyć klikając w pole "
           "<b>Szukaj</b> po lewej stronie a następnie przycisk <b>Odśwież</b>."),
        this);

    m_catalogSwitch = sectionSwitch(tr("Katalogi"), this);
    m_catalogSwitch->hide();
    MHelpButton* catalogHelp = helpButton(
        tr("<b><u>Katalogi:</u></b><br><b>1.</b> Aby dodać rekordy do katalogów należy na zaznaczonych "
           "wierszach przycisnąć prawym przyciskiem myszy i wybrać <b>Przypisz do katalogów</b>.<br><b>2.</b> "
           "Zaznaczając wybrane katalogi i wciskając przycisk <b>Odśwież</b> pokażą się rekordy z zaznaczonych "
           "katalogów.<br><b>3.</b> Efekt działania katalogów można włączyć lub wyłączyć klikając w pole "
           "<b>Katalogi</b> po lewej stronie a następnie przycisk <b>Odśwież</b>."),
        this);

    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setFixedWidth(240);
    connect(m_searchField, &QLineEdit::returnPressed, this, &MFilterDbView::doReturnPressedFilterString);

    m_columnList = new QComboBox(this);
    m_columnList->setObjectName(QStringLiteral("columnList"));
    m_columnList->setFixedWidth(270);

    m_searchButton = new QPushButton(QIcon(QStringLiteral(":/resource/search_btn_16_16.png")), QString(), this);
    m_searchButton->setObjectName(QStringLiteral("searchButton"));
    m_searchButton->setFixedSize(25, 25);
    m_searchButton->setToolTip(tr("Szukaj"));
    connect(m_searchButton, &QPushButton::clicked, this, &MFilterDbView::doClickedRefresh);

    buildColumnEntries();

    m_catalogQuery = catalogQuery();
    m_catalogList = new QTreeView(this);
    m_catalogList->setObjectName(QStringLiteral("catalogList"));
    m_catalogList->setHeaderHidden(true);
    m_catalogList->setRootIsDecorated(false);
    m_catalogList->setFixedWidth(270);
    m_catalogToolBar = new QToolBar(this);
    if (m_catalogQuery.isEmpty()) {
        m_catalogList->hide();
        m_catalogToolBar->hide();
    } else {
        m_catalogList->setItemDelegate(new ItemDelegateCatalogListView(this));
        loadCatalogList(m_catalogQuery);
        createCatalogActions();
        m_catalogToolBar->setMovable(false);
        m_catalogToolBar->setIconSize(QSize(16, 16));
        for (const auto& action : qAsConst(m_catalogActions))
            m_catalogToolBar->addAction(action.second);
        connect(m_enabledActionsTimer, &QTimer::timeout, this, &MFilterDbView::doTimeoutEnabledActionsTimer);
        m_enabledActionsTimer->start(300);
    }

    m_treeQuery = filterTreeQuery();
    m_filterTree = new QTreeView(this);
    m_filterTree->setObjectName(QStringLiteral("filterTree"));
    m_filterTree->setFixedWidth(270);
    m_filterTree->setHeaderHidden(true);
    if (m_treeQuery.isEmpty()) {
        m_filterTree->hide();
    } else {
        loadFilterTree(m_treeQuery);
        m_filterTree->setSelectionMode(QAbstractItemView::NoSelection);
        m_filterTree->setUniformRowHeights(true);
        m_filterTree->setItemDelegate(new ItemDelegateFilterTreeView(this));
    }

    m_refreshButton = new QPushButton(QIcon(QStringLiteral(":/resource/refresh_btn_16_16.png")), tr("Odśwież"), this);
    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    m_refreshButton->setFixedSize(100, 25);
    connect(m_refreshButton, &QPushButton::clicked, this, &MFilterDbView::doClickedRefresh);

    m_filterSwitch = sectionSwitch(tr("Filtracja"), this);
    MHelpButton* filterHelp = helpButton(
        tr("<b><u>Filtracja:</u></b><br><b>1.</b> Zaznaczając wybrane właściwości w drzewie poniżej i "
           "wciskając przycisk <b>Odśwież</b> pokażą się rekordy z zaznaczonych danych filtrujących.<br><b>2.</b> "
           "Filtrację można włączyć lub wyłączyć klikając w pole <b>Filtracja</b> po lewej stronie a następnie "
           "przycisk <b>Odśwież</b>."),
        this);

    restorePanelState();

    m_filterSwitch->hide();
    buildLayout(rowWidget(this, {m_searchSwitch, searchHelp}, 10), rowWidget(this, {m_catalogSwitch, catalogHelp}, 10),
                rowWidget(this, {m_filterSwitch, filterHelp}, 10));
}

void MFilterDbView::buildColumnEntries()
{
    MTableView* table = ownerTableView();
    const int columnCount = table ? table->horizontalHeader()->count() : 0;
    for (int column = 0; column < columnCount; ++column) {
        const QString title =
            table->model() ? table->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
        // Hidden working columns are titled with a leading "_".
        if (!title.startsWith(QLatin1Char('_')))
            m_columnList->addItem(title, column);
    }

    if (isSalesList() || isPurchaseList()) {
        m_columnList->insertSeparator(m_columnList->count());
        m_columnList->addItem(isSalesList() ? tr("NIP lub PESEL kontrahenta") : tr("NIP sprzedawcy"), columnCount);
        m_columnList->addItem(tr("Nazwa produktu"), columnCount + 1);
    }
}

void MFilterDbView::createCatalogActions()
{
    struct CatalogAction
    {
        QString key;
        QString icon;
        QString text;
        const char* slot;
    };
    const CatalogAction catalogActions[] = {
        {catalogAddKey, QStringLiteral(":/resource/record_add_tb_16_16.png"), tr("Dodaj"), SLOT(doCatalogAdd())},
        {catalogEditKey, QStringLiteral(":/resource/record_edit_tb_16_16.png"), tr("Edytuj"), SLOT(doCatalogEdit())},
        {catalogDeleteKey, QStringLiteral(":/resource/record_delete_tb_16_16.png"), tr("Usuń"),
         SLOT(doCatalogDelete())},
        {catalogCheckAllKey, QStringLiteral(":/resource/filter_2_16_16.png"), tr("Zaznacz wszystkie"),
         SLOT(doCatalogCheckAll())},
        {catalogUncheckAllKey, QStringLiteral(":/resource/filter_3_16_16.png"), tr("Odznacz wszystkie"),
         SLOT(doCatalogUncheckAll())},
    };
    for (const CatalogAction& entry : catalogActions) {
        auto* action = new QAction(QIcon(entry.icon), entry.text, this);
        connect(action, SIGNAL(triggered()), m_owner, entry.slot);
        m_catalogActions << qMakePair(entry.key, action);
    }
}

void MFilterDbView::buildLayout(QWidget* searchHeader, QWidget* catalogHeader, QWidget* filterHeader)
{
    auto* grid = static_cast<QGridLayout*>(layout());
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;

    grid->addWidget(searchHeader, 0, 0, 1, 1, topLeft);
    grid->setRowMinimumHeight(1, 1);
    grid->addWidget(rowWidget(this, {m_searchField, m_searchButton}, 5), 2, 0, 1, 1, Qt::AlignJustify);
    grid->setRowMinimumHeight(3, 1);
    grid->addWidget(m_columnList, 4, 0, 1, 1, Qt::AlignJustify);
    grid->setRowMinimumHeight(5, 5);

    if (m_catalogQuery.isEmpty()) {
        catalogHeader->hide();
    } else {
        m_catalogSwitch->show();
        grid->addWidget(catalogHeader, 6, 0, 1, 1, topLeft);
        grid->setRowMinimumHeight(7, 1);
        grid->addWidget(m_catalogToolBar, 8, 0, 1, 1, topLeft);
        grid->setRowMinimumHeight(9, 1);
        grid->addWidget(m_catalogList, 10, 0, 1, 1, Qt::AlignJustify);
        grid->setRowMinimumHeight(11, 5);
    }

    if (m_treeQuery.isEmpty()) {
        filterHeader->hide();
    } else {
        m_filterSwitch->show();
        grid->addWidget(filterHeader, 12, 0, 1, 1, topLeft);
        grid->setRowMinimumHeight(13, 1);
        grid->addWidget(m_filterTree, 14, 0, 1, 1, Qt::AlignJustify);
        grid->setRowMinimumHeight(15, 5);
    }

    grid->addWidget(rowWidget(this, {m_refreshButton}, 0), 16, 0, 1, 1, topLeft);
    if (m_catalogQuery.isEmpty() && m_treeQuery.isEmpty())
        grid->setRowStretch(17, 100);
}

void MFilterDbView::restorePanelState()
{
    disconnect(m_searchSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedSearchSwitch);
    disconnect(m_catalogSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedCatalogSwitch);
    disconnect(m_filterSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedFilterSwitch);
    disconnect(m_columnList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
               &MFilterDbView::doCurrentIndexChangedFilterColumn);

    const bool searchOn = storedOption(QStringLiteral("SEARCH_SWITCH_")) == QLatin1String("1");
    m_searchSwitch->setChecked(searchOn);
    m_searchField->setEnabled(searchOn);
    m_columnList->setEnabled(searchOn);
    m_searchButton->setEnabled(searchOn);

    const bool catalogsOn = hasCatalogs() && storedOption(QStringLiteral("CATALOG_SWITCH_")) == QLatin1String("1");
    m_catalogSwitch->setChecked(catalogsOn);
    m_catalogList->setEnabled(catalogsOn);
    m_catalogToolBar->setEnabled(catalogsOn);

    const bool treeOn = hasFilterTree() && storedOption(QStringLiteral("FILTER_TREE_SWITCH_")) == QLatin1String("1");
    m_filterSwitch->setChecked(treeOn);
    m_filterTree->setEnabled(treeOn);

    const int column = storedOption(QStringLiteral("FILTER_SEARCH_COLUMN_")).toInt();
    const int entry = column >= 0 ? m_columnList->findData(column) : -1;
    if (entry >= 0) {
        m_columnList->setCurrentIndex(entry);
        m_searchColumn = column;
    }

    const QString text = storedOption(QStringLiteral("FILTER_SEARCH_TEXT_"));
    if (!text.isEmpty()) {
        m_searchField->setText(text);
        setSearchFieldBase(storedSearchColor);
    }

    connect(m_searchSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedSearchSwitch,
            Qt::UniqueConnection);
    connect(m_catalogSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedCatalogSwitch,
            Qt::UniqueConnection);
    connect(m_filterSwitch, &QCheckBox::stateChanged, this, &MFilterDbView::doStateChangedFilterSwitch,
            Qt::UniqueConnection);
    connect(m_columnList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MFilterDbView::doCurrentIndexChangedFilterColumn, Qt::UniqueConnection);
}

void MFilterDbView::setSearchFieldBase(const QColor& color)
{
    QPalette palette = m_searchField->palette();
    palette.setColor(QPalette::Base, color);
    m_searchField->setPalette(palette);
}

void MFilterDbView::loadCatalogList(const QString& sql)
{
    MSelectListModel* previous = m_catalogModel;
    if (previous)
        disconnect(m_catalogList, &QTreeView::clicked, previous, &MSelectListModel::itemClicked);

    m_catalogModel = new MSelectListModel(this);
    if (!sql.isEmpty()) {
        QSqlQuery query;
        query.exec(sql);
        while (query.next()) {
            auto* check = new QStandardItem;
            check->setData(CheckItemState::Checked, ItemRole::State);
            check->setData(query.value(1).toInt(), ItemRole::Value);
            m_catalogModel->appendRow({check, new QStandardItem(query.value(0).toString())});
        }
    }

    QItemSelectionModel* previousSelection = m_catalogList->selectionModel();
    m_catalogList->setModel(m_catalogModel);
    m_catalogList->setColumnWidth(0, 22);
    connect(m_catalogList, &QTreeView::clicked, m_catalogModel, &MSelectListModel::itemClicked);
    // Every model brings its own selection model, which the enabled actions follow.
    connect(m_catalogList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MFilterDbView::doSelectionChangedCatalog);
    if (previousSelection)
        previousSelection->deleteLater();
    if (previous)
        previous->deleteLater();
}

void MFilterDbView::doStateChangedSearchSwitch(int /*state*/)
{
    const bool on = m_searchSwitch->isChecked();
    m_searchField->setEnabled(on);
    m_columnList->setEnabled(on);
    m_searchButton->setEnabled(on);
    storeOption(QStringLiteral("SEARCH_SWITCH_"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void MFilterDbView::doStateChangedCatalogSwitch(int /*state*/)
{
    const bool on = m_catalogSwitch->isChecked();
    m_catalogList->setEnabled(on);
    m_catalogToolBar->setEnabled(on);
    if (hasCatalogs())
        storeOption(QStringLiteral("CATALOG_SWITCH_"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void MFilterDbView::doStateChangedFilterSwitch(int /*state*/)
{
    const bool on = m_filterSwitch->isChecked();
    m_filterTree->setEnabled(on);
    if (hasFilterTree())
        storeOption(QStringLiteral("FILTER_TREE_SWITCH_"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void MFilterDbView::doCurrentIndexChangedFilterColumn(int index)
{
    m_searchColumn = m_columnList->itemData(index).toInt();
    storeOption(QStringLiteral("FILTER_SEARCH_COLUMN_"), QString::number(m_searchColumn));
    storeOption(QStringLiteral("FILTER_SEARCH_TEXT_"), m_searchField->text());
    changedFilter(true);
}

void MFilterDbView::doClickedRefresh(bool /*b*/)
{
    if (hasCatalogs())
        storeOption(QStringLiteral("CATALOG_UNCHECKED_"), uncheckedCatalogIds(false));
    if (hasFilterTree()) {
        const QStringList state = treeState(false);
        storeOption(QStringLiteral("FILTER_TREE_UNCHECKED_"), state.at(0));
        storeOption(QStringLiteral("FILTER_TREE_EXPANDED_"), state.at(1));
        storeOption(QStringLiteral("FILTER_TREE_SWITCH_"),
                    m_filterSwitch->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    storeOption(QStringLiteral("FILTER_SEARCH_TEXT_"), m_searchField->text());
    setSearchFieldBase(searchText().isEmpty() ? QColor(255, 255, 255) : storedSearchColor);
    changedFilter(true);
}

void MFilterDbView::doReturnPressedFilterString()
{
    doClickedRefresh(false);
}

void MFilterDbView::doSelectionChangedCatalog(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    restartEnabledActionsTimer();
}

void MFilterDbView::restartEnabledActionsTimer()
{
    disconnect(m_enabledActionsTimer, &QTimer::timeout, this, &MFilterDbView::doTimeoutEnabledActionsTimer);
    m_enabledActionsTimer->stop();
    connect(m_enabledActionsTimer, &QTimer::timeout, this, &MFilterDbView::doTimeoutEnabledActionsTimer);
    m_enabledActionsTimer->start(300);
}

void MFilterDbView::doTimeoutEnabledActionsTimer()
{
    setEnabledActions();
}

void MFilterDbView::setEnabledActions()
{
    m_actionMap.insert(catalogAddKey, true);
    m_actionMap.insert(catalogEditKey, false);
    m_actionMap.insert(catalogDeleteKey, false);
    m_actionMap.insert(catalogCheckAllKey, true);
    m_actionMap.insert(catalogUncheckAllKey, true);
    if (selectedCatalogId() >= 0) {
        m_actionMap.insert(catalogEditKey, true);
        m_actionMap.insert(catalogDeleteKey, true);
    }
    for (const auto& action : qAsConst(m_catalogActions))
        setActionEnabled(action.second, action.first);
}

void MFilterDbView::setActionEnabled(QAction* action, const QString& key)
{
    const auto wanted = m_actionMap.constFind(key);
    if (wanted != m_actionMap.constEnd() && action->isEnabled() != wanted.value())
        action->setEnabled(wanted.value());
}
