#include "MRecordDlg.h"

#include "views/MMessageBox.h"

#include <QGridLayout>
#include <QIcon>
#include <QMetaObject>
#include <QPushButton>
#include <QTabBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

QPushButton* createButton(const QString& text, const QString& iconPath, QWidget* parent)
{
    auto* button = new QPushButton(QIcon(iconPath), text, parent);
    button->setFixedSize(70, 25);
    return button;
}

} // namespace

MRecordDlg::MRecordDlg(QWidget* parent, int viewKind, bool invoiceMode, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_viewKind(viewKind)
    , m_invoiceMode(invoiceMode)
{
    m_frameLayout = new QGridLayout(this);
    m_frameLayout->setContentsMargins(5, 5, 5, 5);
    m_frameLayout->setSpacing(0);
}

MRecordDlg::~MRecordDlg() = default;

bool MRecordDlg::isInvoiceMode() const
{
    return m_invoiceMode;
}

QGridLayout* MRecordDlg::frameLayout() const
{
    return m_frameLayout;
}

// The buttons are made after the content so that they come last in the tab order;
// the dialog opens with the focus in its first field, so that typing starts there
// and a key pressed at once cannot store an empty record.
void MRecordDlg::addButtonRow(int row)
{
    m_okButton = createButton(tr("OK"), QStringLiteral(":/resource/ok_btn_16_16.png"), this);
    m_cancelButton = createButton(tr("Anuluj"), QStringLiteral(":/resource/cancel_btn_16_16.png"), this);
    connect(m_okButton, &QPushButton::clicked, this, &MRecordDlg::clickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &MRecordDlg::clickCancel);

    auto* buttons = new QGridLayout();
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(m_okButton, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    buttons->setColumnMinimumWidth(1, 5);
    buttons->addWidget(m_cancelButton, 0, 2, Qt::AlignRight | Qt::AlignBottom);
    m_frameLayout->addLayout(buttons, row, 0, Qt::AlignRight | Qt::AlignBottom);
    focusFirstField();
}

void MRecordDlg::focusFirstField()
{
    for (QWidget* widget = nextInFocusChain(); widget != this; widget = widget->nextInFocusChain()) {
        const bool field = isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()
            && widget->isVisibleTo(this) && !widget->focusProxy() && !qobject_cast<QTabBar*>(widget);
        if (field) {
            widget->setFocus();
            return;
        }
    }
}

QString MRecordDlg::tableName(const QString& modelTable, const QString& workingTable) const
{
    return m_invoiceMode ? workingTable : modelTable;
}

QString MRecordDlg::keyName() const
{
    return m_invoiceMode ? QStringLiteral("__id") : QStringLiteral("id");
}

bool MRecordDlg::readRecord(const QString& columns, const QString& table, int id, QSqlRecord* row) const
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE ")
                  + keyName() + QStringLiteral(" = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec() || !query.next())
        return false;
    *row = query.record();
    return true;
}

void MRecordDlg::prepareRecordWrite(QSqlQuery& query, const QString& table, const QStringList& columns,
                                    int id) const
{
    if (id > 0) {
        QStringList assignments;
        for (const QString& column : columns)
            assignments.append(column + QStringLiteral(" = :") + column);
        assignments.append(QStringLiteral("time_modify = current_timestamp"));
        query.prepare(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ")
                      + assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + keyName()
                      + QStringLiteral(" = :id"));
        query.bindValue(QStringLiteral(":id"), id);
    } else {
        query.prepare(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (")
                      + columns.join(QStringLiteral(", ")) + QStringLiteral(", time_create, time_modify) VALUES (:")
                      + columns.join(QStringLiteral(", :"))
                      + QStringLiteral(", current_timestamp, current_timestamp)"));
    }
}

bool MRecordDlg::execRecordWrite(QSqlQuery& query, int* id, const QString& goneText)
{
    if (*id > 0)
        return execUpdate(query, goneText);
    if (!execWrite(query))
        return false;
    *id = query.lastInsertId().toInt();
    return true;
}

bool MRecordDlg::execUpdate(QSqlQuery& query, const QString& goneText)
{
    if (!execWrite(query))
        return false;
    return query.numRowsAffected() > 0 || writeFailed(goneText);
}

bool MRecordDlg::execWrite(QSqlQuery& query)
{
    return query.exec() || writeFailed(query.lastError().text());
}

bool MRecordDlg::writeFailed(const QString& detail)
{
    if (m_writeError.isEmpty())
        m_writeError = detail;
    return false;
}

void MRecordDlg::clickOk(bool /*b*/)
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        showSaveError(db.lastError().text());
        return;
    }
    m_writeError.clear();
    int savedId = 0;
    if (!save(&savedId)) {
        db.rollback();
        showSaveError(m_writeError);
        return;
    }
    if (!db.commit()) {
        const QString detail = db.lastError().text();
        db.rollback();
        showSaveError(detail);
        return;
    }
    reportSaved(savedId);
    done(0);
}

void MRecordDlg::clickCancel(bool /*b*/)
{
    done(0);
}

void MRecordDlg::reportSaved(int id)
{
    // The owner is the main window or the invoice editor; both take the notice in
    // the same slot.
    if (QWidget* owner = parentWidget()) {
        QMetaObject::invokeMethod(owner, "doChangeDbObject", Qt::DirectConnection, Q_ARG(int, m_viewKind),
                                  Q_ARG(int, id));
    }
}

void MRecordDlg::showSaveError(const QString& detail)
{
    QString text = tr("Nie udało się zapisać zmian w bazie danych. Wprowadzone dane pozostały w oknie.");
    if (!detail.trimmed().isEmpty())
        text += QStringLiteral("\n\n") + detail.trimmed();
    MMessageBox::critical(this, tr("Błąd zapisu"), text);
}
