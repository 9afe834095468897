#include "MInvoiceDbView.h"

#include "data/MDocumentActions.h"
#include "data/MDocKinds.h"
#include "data/MDocumentDelete.h"
#include "data/MDocumentNumber.h"
#include "documents/MInvoiceDuplicateDlg.h"
#include "documents/MInvoiceErrorDlg.h"
#include "documents/MInvoicePaymentDlg.h"
#include "editor/MInvoiceDlg.h"
#include "editor/MNewDlg.h"
#include "printing/MDocPreviewDlg.h"
#include "printing/MDocPrintDlg.h"
#include "views/MMessageBox.h"
#include "views/MTableView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

QDialog* MInvoiceDbView::openInvoiceDlg() const
{
    return dialogParent()->findChild<MInvoiceDlg*>();
}

MInvoiceDlg* MInvoiceDbView::createInvoiceDlg(int kind)
{
    if (openInvoiceDlg())
        return nullptr;
    return new MInvoiceDlg(dialogParent(), Qt::WindowFlags(), kind);
}

void MInvoiceDbView::showInvoiceDlg(MInvoiceDlg* editor)
{
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setModal(false);
    editor->show();
    connect(editor, &QDialog::finished, this, &MInvoiceDbView::doFinishedInvoiceDlg);
}

void MInvoiceDbView::doFinishedInvoiceDlg(int /*result*/)
{
    restartEnabledActionsTimer();
}

void MInvoiceDbView::doDocAdd()
{
    if (openInvoiceDlg())
        return;
    auto* chooser = new MNewDlg(dialogParent());
    chooser->loadList(m_viewKind, -1);
    chooser->exec();
}

void MInvoiceDbView::doDocEdit()
{
    editDocument(currentId());
}

void MInvoiceDbView::cellDoubleClicked(QModelIndex indx)
{
    if (tableView()->isMousePressed())
        editDocument(idOfRow(indx.row()));
}

void MInvoiceDbView::editDocument(int id)
{
    if (id < 1)
        return;
    int kind = -1;
    if (!MDocumentActions::readKind(id, &kind)) {
        // The list is out of date: show what is there now.
        reloadView(m_viewKind, 0);
        return;
    }
    if (MDocumentActions::isDuplicate(kind)) {
        auto* dialog = new MInvoiceDuplicateDlg(dialogParent());
        dialog->setIdRecord(id);
        dialog->setModal(true);
        dialog->show();
        return;
    }
    if (MInvoiceDlg* editor = createInvoiceDlg(kind)) {
        editor->setIdRecord(id, false);
        showInvoiceDlg(editor);
    }
}

void MInvoiceDbView::doDocCopy()
{
    const int id = currentId();
    if (id < 1 || openInvoiceDlg())
        return;
    int kind = -1;
    int idParent = 0;
    MDocumentActions::readKind(id, &kind, &idParent);
    if (!MDocumentActions::canCopy(kind)) {
        MMessageBox::information(this, tr("Kopia dokumentu"), tr("Z wybranego dokumentu nie można utworzyć kopii."));
        return;
    }
    if (MInvoiceDlg* editor = createInvoiceDlg(kind)) {
        // A correction's copy corrects the same document.
        if (MDocKinds::isCorrection(kind))
            editor->setIdRecordParent(idParent);
        editor->setIdRecord(id, true);
        showInvoiceDlg(editor);
    }
}

void MInvoiceDbView::doDocCorrect()
{
    const int id = currentId();
    if (id < 1 || openInvoiceDlg())
        return;
    int kind = -1;
    MDocumentActions::readKind(id, &kind);
    const int correction = MDocumentActions::correctionKind(kind);
    if (correction < 0) {
        MMessageBox::information(this, tr("Korekta dokumentu"), tr("Do wybranego dokumentu nie można wystawić korekty."));
        return;
    }
    if (MInvoiceDlg* editor = createInvoiceDlg(correction)) {
        editor->setDocKind(correction);
        editor->setIdRecordParent(id);
        editor->setIdRecord(id, true);
        showInvoiceDlg(editor);
    }
}

void MInvoiceDbView::doDocDuplicate()
{
    const int id = currentId();
    if (id < 1)
        return;
    int kind = -1;
    MDocumentActions::readKind(id, &kind);
    if (MDocumentActions::duplicateKind(kind) < 0) {
        MMessageBox::information(this, tr("Duplikat dokumentu"),
                                 tr("Do wybranego dokumentu nie można wystawić duplikatu."));
        return;
    }
    auto* dialog = new MInvoiceDuplicateDlg(dialogParent());
    dialog->setIdRecordParent(id);
    dialog->setIdRecord(0);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(false);
    dialog->show();
}

void MInvoiceDbView::doDocDelete()
{
    const int id = currentId();
    if (id < 1)
        return;
    if (!MDocumentActions::readKind(id, nullptr)) {
        reloadView(m_viewKind, 0);
        return;
    }
    if (MDocumentDelete::isReferenced(id)) {
        MMessageBox::information(this, tr("Błąd usunięcia dokumentu"),
                                 tr("Dokumentu nr %1 nie można usunąć, ponieważ inne dokumenty odwołują się do niej.")
                                     .arg(invoiceNumberById(id)));
        return;
    }
    const QString number = MDocumentActions::numberText(id);
    if (!confirmDeletion(tr("Potwierdzenie usunięcia dokumentu"), tr("Na pewno usunąć dokument nr %1?").arg(number)))
        return;
    QString error;
    if (!MDocumentDelete::remove(id, &error)) {
        QString text = tr("Nie udało się usunąć dokumentu nr %1. Dane w bazie pozostały bez zmian.").arg(number);
        if (!error.isEmpty())
            text += QStringLiteral("\n\n") + error;
        MMessageBox::critical(this, tr("Błąd usuwania"), text);
    }
    reloadView(m_viewKind, 0);
}

void MInvoiceDbView::doIsPayed()
{
    auto* dialog = new MInvoicePaymentDlg(m_viewKind, dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    dialog->setIdsSelected(selectedIds());
    dialog->show();
}

void MInvoiceDbView::doCheckErrors()
{
    auto* dialog = new MInvoiceErrorDlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const QList<int> ids = collectSelectedIds();
    for (int id : ids)
        dialog->addDocument(id);
    dialog->setModal(true);
    dialog->checkDocuments();
    dialog->show();
}

namespace {

void showChooser(QDialog* chooser)
{
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setModal(true);
    chooser->show();
}

} // namespace

void MInvoiceDbView::doDocPreview()
{
    if (currentId() > 0)
        showChooser(new MDocPreviewDlg(this));
}

void MInvoiceDbView::doDocPrint()
{
    if (currentId() > 0)
        showChooser(new MDocPrintDlg(this));
}

void MInvoiceDbView::doDocPrintPdf()
{
    if (currentId() < 1)
        return;
    setSendMailMode(false);
    auto* chooser = new MDocPrintDlg(this);
    chooser->setPdfMode(true);
    showChooser(chooser);
}

void MInvoiceDbView::doDocSendMailPdf()
{
    if (currentId() < 1)
        return;
    setSendMailMode(true);
    auto* chooser = new MDocPrintDlg(this);
    chooser->setPdfMode(true);
    chooser->setSendMailMode(true);
    showChooser(chooser);
}

void MInvoiceDbView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* add = addMenuEntry(menu, tr("Nowy"), tr("Nowy dokument"), &MInvoiceDbView::doDocAdd);
    QAction* preview = addMenuEntry(menu, tr("Podgląd"), tr("Podgląd dokumentu"), &MInvoiceDbView::doDocPreview);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj dokument"), &MInvoiceDbView::doDocEdit);
    QAction* remove = addMenuEntry(menu, tr("Usuń"), tr("Usuń dokument"), &MInvoiceDbView::doDocDelete);
    menu.addSeparator();
    QAction* copy = addMenuEntry(menu, tr("Kopiuj"), tr("Kopiuj dokument"), &MInvoiceDbView::doDocCopy);
    QAction* correct = addMenuEntry(menu, tr("Korekta"), tr("Dokument korytujący"), &MInvoiceDbView::doDocCorrect);
    QAction* duplicate = addMenuEntry(menu, tr("Duplikat"), tr("Duplikat dokumentu"), &MInvoiceDbView::doDocDuplicate);
    menu.addSeparator();
    QAction* print = addMenuEntry(menu, tr("Drukuj"), tr("Drukuj dokument"), &MInvoiceDbView::doDocPrint);
    QAction* pdf = addMenuEntry(menu, tr("Generuj PDF"), tr("Generuj PDF z dokumentu"), &MInvoiceDbView::doDocPrintPdf);
    QAction* mail = addMenuEntry(menu, tr("Wyślij PDF e-mailem"), tr("Wyślij PDF z dokumentu e-mailem"),
                                 &MInvoiceDbView::doDocSendMailPdf);
    menu.addSeparator();
    if (m_viewKind == 7)
        addMenuEntry(menu, tr("Sprawdź błędy"), tr("Sprawdź błędy dokumentów"), &MInvoiceDbView::doCheckErrors);
    addMenuEntry(menu, tr("Zestawienie"), tr("Generuj zestawienie"), &MInvoiceDbView::doSetSelected);
    menu.addSeparator();
    addMenuEntry(menu, tr("Kontrola płatności"), tr("Kontrola płatności"), &MInvoiceDbView::doIsPayed);

    copy->setEnabled(false);
    correct->setEnabled(false);
    duplicate->setEnabled(false);
    if (hasCurrentIndex()) {
        int kind = -1;
        MDocumentActions::readKind(currentId(), &kind);
        copy->setEnabled(MDocumentActions::canCopy(kind));
        correct->setEnabled(MDocumentActions::correctionKind(kind) >= 0);
        duplicate->setEnabled(MDocumentActions::duplicateKind(kind) >= 0);
    } else {
        for (QAction* action : {preview, edit, remove, print, pdf})
            action->setEnabled(false);
    }
    if (selectedRowCount() > 1) {
        for (QAction* action : {edit, remove, copy, correct, duplicate, mail})
            action->setEnabled(false);
    }
    if (openInvoiceDlg()) {
        for (QAction* action : {add, edit, remove, copy, correct, duplicate})
            action->setEnabled(false);
    }
    execContextMenu(menu, event);
}
