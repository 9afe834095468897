#include "MEndTextDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTextEdit>
#include <QVariant>

namespace {

const int endTextViewKind = 5;

} // namespace

MEndTextDlg::MEndTextDlg(QWidget* parent, Qt::WindowFlags flags)
    : MRecordDlg(parent, endTextViewKind, false, flags)
{
    setWindowTitle(tr("Tekst końcowy"));

    auto* tabWidget = new QTabWidget(this);
    auto* page = new QWidget();
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setColumnStretch(0, 1);
    layout->addWidget(new QLabel(QStringLiteral("<b>") + tr("Tekst") + QStringLiteral("</b>"), page), 0, 0);
    layout->setRowMinimumHeight(1, 1);
    m_content = new QTextEdit(page);
    m_content->setObjectName(QStringLiteral("content"));
    m_content->setAcceptRichText(false);
    m_content->setLineWrapMode(QTextEdit::NoWrap);
    m_content->setFixedSize(500, 200);
    layout->addWidget(m_content, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowStretch(3, 100);
    tabWidget->addTab(page, tr("Tekst końcowy"));

    frameLayout()->addWidget(tabWidget, 0, 0);
    frameLayout()->setRowMinimumHeight(1, 5);
    addButtonRow(2);
}

MEndTextDlg::~MEndTextDlg() = default;

void MEndTextDlg::setIdRecord(int id)
{
    m_idRecord = id;
    QSqlRecord row;
    if (id > 0 && readRecord(QStringLiteral("content"), QStringLiteral("end_text"), id, &row))
        m_content->setPlainText(row.value(0).toString());
}

bool MEndTextDlg::save(int* savedId)
{
    QSqlQuery query;
    prepareRecordWrite(query, QStringLiteral("end_text"), {QStringLiteral("content")}, m_idRecord);
    query.bindValue(QStringLiteral(":content"), m_content->toPlainText());
    int id = m_idRecord;
    if (!execRecordWrite(query, &id, tr("Tekst końcowy o identyfikatorze %1 nie istnieje już w bazie danych.").arg(m_idRecord)))
        return false;
    *savedId = id;
    return true;
}
