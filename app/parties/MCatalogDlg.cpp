#include "MCatalogDlg.h"

#include "parties/MFormPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>

MCatalogDlg::MCatalogDlg(QWidget* parent, int viewKind, const QString& table, const QString& title,
                         Qt::WindowFlags flags)
    : MRecordDlg(parent, viewKind, false, flags)
    , m_table(table)
{
    setWindowTitle(title);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setFixedWidth(500);

    auto* form = new QGridLayout();
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->addWidget(MFormPage::boldLabel(tr("Nazwa"), this), 0, 0, Qt::AlignLeft | Qt::AlignTop);
    form->setRowMinimumHeight(1, 5);
    form->addWidget(m_name, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    form->setRowStretch(3, 100);

    frameLayout()->addLayout(form, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    frameLayout()->setRowMinimumHeight(1, 10);
    addButtonRow(2);
}

MCatalogDlg::~MCatalogDlg() = default;

void MCatalogDlg::setIdRecord(int id)
{
    m_idRecord = id;
    if (id < 1)
        return;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT name FROM ") + m_table + QStringLiteral(" WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (query.exec() && query.next())
        m_name->setText(query.value(0).toString());
}

bool MCatalogDlg::save(int* savedId)
{
    // Every list of the catalog's records reloads its catalogs and keeps its selection.
    *savedId = 0;
    if (m_name->text().trimmed().isEmpty())
        return true;

    QSqlQuery query;
    if (m_idRecord < 1) {
        query.prepare(QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (name) VALUES (:name)"));
        query.bindValue(QStringLiteral(":name"), m_name->text());
        return execWrite(query);
    }
    query.prepare(QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET name = :name WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), m_idRecord);
    query.bindValue(QStringLiteral(":name"), m_name->text());
    return execUpdate(query, tr("Katalog o identyfikatorze %1 nie istnieje już w bazie danych.").arg(m_idRecord));
}
