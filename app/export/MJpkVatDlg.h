#pragma once

#include "export/MJpkDlg.h"

class QComboBox;

// "Eksport do JPK_VAT": the JPK frame with the choice of schema variant 2 or 3;
// writes one JPK_VAT file of the selected documents.
class MJpkVatDlg : public MJpkDlg
{
    Q_OBJECT

public:
    explicit MJpkVatDlg(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // Also chooses "Wersja 2" when the latest issue date lies before 2018.
    void setIdsSelected(const QList<int>& ids) override;
    int schemaVersion() const;

protected:
    int checkedVariant() const override;
    MJpkDates schemaDates() const override;
    void writeFiles(const QString& fileName) override;
    QString fileCaption() const override;

private slots:
    void doCurrentIndexChangedJpkVersion(int index);

private:
    QComboBox* m_version = nullptr;
    int m_schemaVersion = 3;
};
