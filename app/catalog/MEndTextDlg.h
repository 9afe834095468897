#pragma once

#include "parties/MRecordDlg.h"

class QTextEdit;

// One closing text: a plain text of any number of lines, in table end_text. Documents
// keep their own copies, so there is no working-copy mode. Saving reports (5, id) to the
// main window.
class MEndTextDlg : public MRecordDlg
{
    Q_OBJECT

public:
    explicit MEndTextDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MEndTextDlg() override;

public slots:
    // `end_text.id`; below 1 prepares a new text.
    void setIdRecord(int id);

protected:
    bool save(int* savedId) override;

private:
    QTextEdit* m_content = nullptr;
    int m_idRecord = 0;
};
