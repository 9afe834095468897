#include "MInvoiceErrorDlg.h"

#include "data/MInvoiceErrorRun.h"
#include "printing/MDocTemplate.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

MInvoiceErrorDlg::MInvoiceErrorDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
{
    setWindowTitle(tr("Informacje o błędach"));
    m_tabs = new QTabWidget(this);
    m_tabs->setFixedSize(600, 300);
    m_note = new QLabel(tr("Pokazywany jest tylko pierwszy problem z danej grupy.<br>Na razie sprawdzane są tylko "
                           "braki kodów QR na dokumentach."),
                        this);
    m_buttonOk = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("OK"), this);
    m_buttonOk->setFixedSize(90, 25);
    connect(m_buttonOk, &QPushButton::clicked, this, &MInvoiceErrorDlg::clickContinue);

    auto* buttons = new QGridLayout();
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->setRowStretch(0, 1);
    buttons->addWidget(m_buttonOk, 0, 0, Qt::AlignRight | Qt::AlignBottom);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(m_note, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(1, 5);
    layout->addWidget(m_tabs, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(3, 5);
    layout->addLayout(buttons, 4, 0, Qt::AlignRight | Qt::AlignBottom);
}

void MInvoiceErrorDlg::addDocument(int idInvoice)
{
    m_findings.insert(idInvoice, QString());
}

int MInvoiceErrorDlg::runId() const
{
    return m_runId;
}

bool MInvoiceErrorDlg::checkDocuments()
{
    auto* lookUp = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    for (auto it = m_findings.begin(); it != m_findings.end(); ++it)
        it.value() = lookUp->getQrcodeStringErrorPayment(it.key(), true);
    lookUp->deleteLater();

    QString storeError;
    m_runId = MInvoiceErrorRun::store(m_findings, &storeError);
    if (m_runId > 0) {
        addGroupPage(1);
        auto* model = new MSqlQueryModel(m_table);
        model->setQuery(QStringLiteral("SELECT id_invoice, invoice_index_string, error_content ")
                        + QStringLiteral("FROM __invoice_error ") + QStringLiteral("WHERE id = ")
                        + QString::number(m_runId) + QStringLiteral(" "));
        model->setHeaderData(0, Qt::Horizontal, tr("Id"));
        model->setHeaderData(1, Qt::Horizontal, tr("Numer"));
        model->setHeaderData(2, Qt::Horizontal, tr("Powód"));
        while (model->canFetchMore())
            model->fetchMore();
        model->setColumnKinds({ColumnKind::Integer, ColumnKind::Text, ColumnKind::Text});
        m_table->setModel(model);
        m_table->setColumnWidth(0, 50);
        m_table->setColumnWidth(1, 150);
        m_table->setColumnWidth(2, 100);
        m_table->horizontalHeader()->setStretchLastSection(true);
    } else {
        // Findings that could not be stored cannot be listed, but they are not "no problems".
        const QString outcome = storeError.isEmpty()
            ? tr("Nie znaleziono problemów w zaznaczonych dokumentach.")
            : tr("Nie udało się zapisać wyników sprawdzania: %1").arg(storeError.toHtmlEscaped());
        m_note->setText(m_note->text() + QStringLiteral("<br><span style=\"color: #f00000;\">") + outcome
                        + QStringLiteral("</span>"));
    }
    return m_runId > 0;
}

void MInvoiceErrorDlg::addGroupPage(int group)
{
    if (group != 1)
        return;
    auto* page = new QWidget(m_tabs);
    m_table = new MTableView(page);
    m_table->setWordWrap(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setAcceptDrops(true);
    m_table->setDropIndicatorShown(false);
    m_table->setDragDropMode(QAbstractItemView::DragDrop);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignTop);
    m_table->verticalHeader()->setSectionsClickable(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setSectionsClickable(false);
    m_table->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { font: normal 10pt Arial; padding-left: 5px; padding-right: 5px; padding-top: 3px; }\n"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->setRowStretch(0, 100);
    grid->addWidget(m_table, 0, 0);
    m_tabs->addTab(page, tr("Kod QR"));
}

void MInvoiceErrorDlg::clickContinue(bool /*b*/)
{
    done(1);
}
