#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QMap>

#include "data/MJpkDates.h"

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The frame of the JPK export dialogs: the seller whose data identify the
// taxpayer, the tax office, the period of the header, the check of the seller
// data that a file needs (with a red list of what is missing), the file choice
// with its remembered folder and the OK / Cancel buttons. A derived dialog
// adds its own rows, says which check applies and writes the files.
class MJpkDlg : public QDialog
{
    Q_OBJECT

public:
    // Takes the ids of the selected sales documents: fills the seller list and
    // the period from them. Called once, right after construction.
    virtual void setIdsSelected(const QList<int>& ids);
    const QList<int>& idsSelected() const;
    // Recomputes the red list, the tax office group and the OK button.
    void checkRequiredData();

protected:
    MJpkDlg(QWidget* parent, Qt::WindowFlags flags);

    // The file variant whose seller data the check asks for: 2 (full data and a
    // tax office code) or 3 (NIP and firm).
    virtual int checkedVariant() const = 0;
    // The dates the schema of the file takes.
    virtual MJpkDates schemaDates() const = 0;
    // Called at the end of every check.
    virtual void afterCheck();
    // Writes the files under the chosen name (suffix already added) and tells
    // the user what could not be written.
    virtual void writeFiles(const QString& fileName) = 0;
    // The caption of the save-file dialog.
    virtual QString fileCaption() const = 0;

    // The grid of the frame; row 5 is free for a derived dialog's version group.
    QGridLayout* gridLayout() const;
    void setNoteText(const QString& html);
    // The gap between the period fields and the note; 5 px unless a dialog sets it.
    void setNoteGap(int pixels);
    static QLabel* boldLabel(const QString& text, QWidget* parent);

    int idSellerBase() const;
    QDate dateFrom() const;
    QDate dateTo() const;
    QString financialOfficeCode() const;
    // The latest issue date of the selected documents; null before setIdsSelected.
    QDate lastIssueDate() const;

protected slots:
    void clickOk(bool checked = false);
    void clickCancel(bool checked = false);
    void doCurrentIndexChangedSellerBase(int index);
    void doCurrentIndexChangedFinancialOfficeStatic(int index);
    void doEditingFinishedFinancialOfficeCode();

private:
    void createForm();
    QString startFolder() const;

    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QDate m_firstDate;
    QDate m_lastDate;
    QMap<int, bool> m_sellers;
    QGridLayout* m_grid = nullptr;
    QDateEdit* m_dateFrom = nullptr;
    QDateEdit* m_dateTo = nullptr;
    QLineEdit* m_financialOfficeCode = nullptr;
    QComboBox* m_financialOffice = nullptr;
    QComboBox* m_sellerList = nullptr;
    QLabel* m_spacer = nullptr;
    QLabel* m_officeLine = nullptr;
    QLabel* m_periodLine = nullptr;
    QLabel* m_fullSellerLine = nullptr;
    QLabel* m_shortSellerLine = nullptr;
    QLabel* m_redHeader = nullptr;
    QLabel* m_note = nullptr;
    QWidget* m_officeGroup = nullptr;
    QList<int> m_ids;
};
