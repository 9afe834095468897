// "OK": the checked document saved, the list told, the editor closed.
#include "MInvoiceDlg.h"

#include "data/MDocumentSave.h"
#include "views/MAppServices.h"
#include "views/MMessageBox.h"

void MInvoiceDlg::clickOk(bool /*b*/)
{
    if (!validate())
        return;
    const MDocumentSave::Result result = MDocumentSave::save(saveState());
    if (!result.ok()) {
        // Nothing was written; the editor stays open so "OK" can be pressed again.
        MMessageBox::critical(this, tr("Błąd zapisu"), result.errorText);
        return;
    }
    m_idInvoice = result.id;
    if (MAppServices* wnd = appWnd())
        wnd->doChangeDbObject(result.notice, result.id);
    done(0);
}
