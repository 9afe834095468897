#include "MOptionsDlg.h"

#include "data/MOptions.h"
#include "settings/MOkCancelLayout.h"
#include "settings/MOptionsWidget.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTextEdit>

MOptionsDlg::MOptionsDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setWindowTitle(tr("Opcje"));

    m_optionsWidget = new MOptionsWidget;
    m_optionsWidget->setListWidth(150);
    m_optionsWidget->setFixedSize(750, 350);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 10, 13, 8, 9, 11, 12})
        addPage(id);

    layOutOkCancel(this, m_optionsWidget, &m_okButton, &m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, &MOptionsDlg::clickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &MOptionsDlg::clickCancel);
}

MOptionsDlg::~MOptionsDlg()
{
    qDeleteAll(m_radioGroups);
}

void MOptionsDlg::addPage(int id)
{
    QWidget* page = nullptr;
    QString title;
    switch (id) {
    case 1:
        page = pageChanges();
        title = tr("Zmiany");
        break;
    case 2:
        page = pageLook();
        title = tr("Wygląd");
        break;
    case 3:
        page = pagePrint();
        title = tr("Wydruk");
        break;
    case 4:
        page = pageVat();
        title = tr("VAT");
        break;
    case 5:
        page = pagePrices();
        title = tr("Ceny");
        break;
    case 6:
        page = pageOptimisation();
        title = tr("Optymalizacja");
        break;
    case 7:
        page = pagePayments();
        title = tr("Płatności");
        break;
    case 8:
        page = pageSeller();
        title = tr("Sprzedawca");
        break;
    case 9:
        page = pageBuyer();
        title = tr("Kontrahent");
        break;
    case 10:
        page = pageEmail();
        title = tr("E-mail");
        break;
    case 11:
        page = pageTips();
        title = tr("Porady");
        break;
    case 12:
        page = pageQrCodes();
        title = tr("Kody QR");
        break;
    case 13:
        page = pageEmailTemplates();
        title = tr("Szablony e-mail");
        break;
    default:
        return;
    }
    m_optionsWidget->addItem(title, page);
}

void MOptionsDlg::clickCancel(bool /*b*/)
{
    done(0);
}

void MOptionsDlg::clickVatNegative(bool /*b*/)
{
    for (int row = 0; row < m_vatList->rowCount(); ++row) {
        QStandardItem* item = m_vatList->item(row);
        const int state = item->data(ItemRole::State).toInt();
        if (state == CheckItemState::Checked)
            item->setData(CheckItemState::Unchecked, ItemRole::State);
        else if (state == CheckItemState::Unchecked)
            item->setData(CheckItemState::Checked, ItemRole::State);
    }
}

QCheckBox* MOptionsDlg::checkBox(const QString& key)
{
    auto* box = new QCheckBox;
    box->setObjectName(key);
    box->setChecked(MOptions::option(key).toInt() > 0);
    m_controls.insert(key, {Kind::CheckBox, box, nullptr});
    return box;
}

QComboBox* MOptionsDlg::numberedCombo(const QString& key, const QStringList& items)
{
    auto* combo = new QComboBox;
    combo->setObjectName(key);
    combo->addItems(items);
    // A number that names no item leaves the first one current rather than
    // none, which "OK" would store as "-1".
    const int index = MOptions::option(key).toInt();
    if (index >= 0 && index < combo->count())
        combo->setCurrentIndex(index);
    m_controls.insert(key, {Kind::NumberedCombo, combo, nullptr});
    return combo;
}

QWidget* MOptionsDlg::radioPair(const QString& key, const QString& first, const QString& second)
{
    auto* pair = new QWidget;
    pair->setObjectName(key);
    auto* firstButton = new QRadioButton(first);
    auto* secondButton = new QRadioButton(second);
    auto* layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(firstButton);
    layout->addSpacing(5);
    layout->addWidget(secondButton);

    auto* group = new QButtonGroup;
    group->setExclusive(true);
    group->addButton(firstButton, 0);
    group->addButton(secondButton, 1);
    m_radioGroups.append(group);
    (MOptions::option(key).toInt() != 0 ? secondButton : firstButton)->setChecked(true);
    m_controls.insert(key, {Kind::RadioPair, pair, group});
    return pair;
}

QLineEdit* MOptionsDlg::lineEdit(const QString& key)
{
    auto* edit = new QLineEdit(MOptions::option(key));
    edit->setObjectName(key);
    m_controls.insert(key, {Kind::LineEdit, edit, nullptr});
    return edit;
}

QTextEdit* MOptionsDlg::textEdit(const QString& key)
{
    auto* edit = new QTextEdit;
    edit->setObjectName(key);
    edit->setPlainText(MOptions::option(key));
    m_controls.insert(key, {Kind::TextEdit, edit, nullptr});
    return edit;
}

QListView* MOptionsDlg::checkList(MSelectListModel* model, const QSize& size, const QString& name)
{
    auto* view = new QListView;
    view->setObjectName(name);
    view->setFixedSize(size);
    view->setModel(model);
    connect(view, &QListView::clicked, model, &MSelectListModel::itemClicked);
    return view;
}

MSelectListModel* MOptionsDlg::tableList(const QString& sql, int uncheckedFlag)
{
    auto* model = new MSelectListModel(this);
    QSqlQuery query(sql);
    while (query.next()) {
        auto* item = new QStandardItem(query.value(0).toString());
        item->setData(query.value(1).toInt(), ItemRole::Value);
        item->setData(query.value(2).toInt() != uncheckedFlag ? CheckItemState::Checked : CheckItemState::Unchecked,
                      ItemRole::State);
        model->appendRow(item);
    }
    return model;
}
