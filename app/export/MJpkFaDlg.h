#pragma once

#include "export/MJpkDlg.h"

// "Eksport do JPK_FA": the JPK frame with the full seller check; writes one
// JPK_FA(1) file per currency of the selected documents.
class MJpkFaDlg : public MJpkDlg
{
    Q_OBJECT

public:
    explicit MJpkFaDlg(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

protected:
    int checkedVariant() const override;
    MJpkDates schemaDates() const override;
    void afterCheck() override;
    void writeFiles(const QString& fileName) override;
    QString fileCaption() const override;
};
